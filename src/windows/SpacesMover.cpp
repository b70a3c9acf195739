#include "windows/SpacesMover.hpp"

#include "model/Log.hpp"
#include "platform/dispatch/DispatchQueue.hpp"
#include "platform/dispatch/DispatchSemaphore.hpp"
#include "platform/dispatch/Lock.hpp"
#include "platform/dispatch/MainThread.hpp"
#include "platform/foundation/SharedInstance.hpp"
#include "windows/SpacesService.hpp"
#include "windows/WindowManager.hpp"

#include <cmath>
#include <initializer_list>
#include <limits>
#include <type_traits>
#include <variant>

namespace tilmora::WindowManager {

using platform::CFArray;
using platform::CFDictionary;
using platform::CFValue;

namespace {

constexpr std::uint64_t kLargestSpaceID = std::uint64_t(std::numeric_limits<std::int64_t>::max());
/// How long a lookup asked off the main thread waits for the main queue, seconds.
constexpr double kOffMainLookupWait = 1.0;

/// The first symbol found among `names` in `handle`, cast to the wanted function type.
template <class Fn>
Fn loadSymbol(platform::DLHandle handle, std::initializer_list<const char*> names) {
    for (const char* name : names)
        if (auto address = platform::dlsym(handle, name)) return reinterpret_cast<Fn>(address);
    return nullptr;
}

/// The process's one mover, held so that a test fixture's reset replaces it.
struct MoverHolder {
    std::shared_ptr<SpacesMover> mover = SpacesMover::make();
    static MoverHolder& shared() { return platform::SharedInstance<MoverHolder>::get(); }
};

/// The once-per-process configuration of the Spaces service.
struct ServiceConfiguration {
    platform::Lock lock{"spacesServiceConfigLock"};
    bool didConfigureSpacesService = false;
    static ServiceConfiguration& shared() { return platform::SharedInstance<ServiceConfiguration>::get(); }
};

} // namespace

std::shared_ptr<SpacesMover> SpacesMover::make() {
    return std::shared_ptr<SpacesMover>(new SpacesMover());
}

SpacesMover::SpacesMover() {
    connection = platform::CGSMainConnectionID();
    copySpacesFn = &platform::CGSCopySpacesForWindows;
    copyManagedDisplaySpacesFn = &platform::CGSCopyManagedDisplaySpaces;
    getActiveSpaceFn =
        loadSymbol<GetActiveSpaceFn>(platform::kRTLDDefault, {"CGSGetActiveSpace", "SLSGetActiveSpace"});
    cgsVoidMoveFn = loadSymbol<VoidMoveFn>(platform::kRTLDDefault, {"CGSMoveWindowsToManagedSpace"});
    skylightHandle = platform::dlopen(platform::kSkyLightFrameworkPath, platform::kRTLDLazy);
    if (skylightHandle != 0)
        moveFn = loadSymbol<MoveFn>(skylightHandle,
                                    {"SLSMoveWindowsToManagedSpace", "CGSMoveWindowsToManagedSpace"});
}

bool SpacesMover::ensureAvailable() {
    if (skylightHandle != 0 && connection != 0 && moveFn) return true;
    if (!didWarnUnavailable.exchange(true))
        print("[SPACE][WARN] Spaces move API unavailable. Windows may restore onto the current Space only.");
    return false;
}

bool SpacesMover::ensureLookupAvailable() {
    if (connection != 0 && (copySpacesFn || copyManagedDisplaySpacesFn || getActiveSpaceFn)) return true;
    if (!didWarnLookupUnavailable.exchange(true))
        print("[SPACE][WARN] SpaceID lookup API unavailable. Space-aware restore cannot be verified; falling "
              "back "
              "to geometry-only restore.");
    return false;
}

std::optional<std::uint64_t> SpacesMover::primarySpaceID(std::uint32_t windowID) {
    if (platform::isMainThread()) return lookupOnMain(windowID);

    // The answer goes into state shared with the main-queue block, never onto this stack, so an
    // answer that comes after the wait has ended is simply dropped.
    struct Pending {
        platform::Lock lock{"SpacesMover.lookup"};
        std::optional<std::uint64_t> answer;
        platform::DispatchSemaphore done{0};
    };
    auto pending = std::make_shared<Pending>();
    std::weak_ptr<SpacesMover> weakSelf = weak_from_this();
    platform::DispatchQueue::main().async([weakSelf, pending, windowID] {
        std::optional<std::uint64_t> answer;
        if (auto self = weakSelf.lock()) answer = self->lookupOnMain(windowID);
        pending->lock.withLock([&] { pending->answer = answer; });
        pending->done.signal();
    });
    pending->done.wait(platform::DispatchTime::now() + kOffMainLookupWait);
    return pending->lock.withLock([&] { return pending->answer; });
}

std::optional<std::uint64_t> SpacesMover::lookupOnMain(std::uint32_t windowID) {
    if (!ensureLookupAvailable() || !copySpacesFn) return std::nullopt;
    const CFArray list64 = makeCFNumberArray64({windowID});
    if (auto id = firstSpaceID(copySpacesFn(connection, 0x01, list64), "0x01/arr64")) return id;
    if (auto id = firstSpaceID(copySpacesFn(connection, 0x07, list64), "0x07/arr64")) return id;
    const CFArray list32 = makeCFNumberArray32({windowID});
    if (auto id = firstSpaceID(copySpacesFn(connection, 0x01, list32), "0x01/arr32")) return id;
    if (auto id = firstSpaceID(copySpacesFn(connection, 0x07, list32), "0x07/arr32")) return id;
    if (!didLogLookupDiagnostics.exchange(true))
        print("[SPACE][DIAG] CGSCopySpacesForWindows returned empty for windowID=" +
              std::to_string(windowID) + " (selectors 0x01, 0x07).");
    return std::nullopt;
}

std::optional<std::uint64_t> SpacesMover::firstSpaceID(const std::optional<CFArray>& answer,
                                                       const char* label) {
    if (!answer || answer->empty()) return std::nullopt;
    const CFValue& first = answer->front();
    if (auto id = extractSpaceID(first)) {
        lookupEverReturnedNonEmpty = true;
        if (!didLogLookupDiagnostics.exchange(true))
            print(std::string("[SPACE][DIAG] CGSCopySpacesForWindows selector=") + label +
                  " returned non-empty.");
        return id;
    }
    if (const CFDictionary* entry = first.asDictionary()) {
        for (const char* key : {"id64", "ManagedSpaceID"}) {
            const CFValue* value = platform::lookup(*entry, key);
            if (!value) continue;
            if (auto id = extractSpaceID(*value)) {
                lookupEverReturnedNonEmpty = true;
                return id;
            }
        }
    }
    return std::nullopt;
}

std::optional<int> SpacesMover::desktopNumber(std::uint64_t spaceID) {
    if (!copyManagedDisplaySpacesFn || connection == 0) return std::nullopt;
    const auto displays = copyManagedDisplaySpacesFn(connection);
    if (!displays) return std::nullopt;
    for (const CFValue& display : *displays) {
        const CFDictionary* entry = display.asDictionary();
        if (!entry) continue;
        const CFValue* spaces = platform::lookup(*entry, "Spaces");
        if (!spaces || !spaces->asArray()) continue;
        int position = 0;
        for (const CFValue& space : *spaces->asArray()) {
            ++position;
            const CFDictionary* fields = space.asDictionary();
            if (!fields) continue;
            const CFValue* id64 = platform::lookup(*fields, "id64");
            if (!id64 || extractSpaceID(*id64) != spaceID) continue;
            if (position <= 9) return position;
            return std::nullopt;
        }
    }
    return std::nullopt;
}

CFArray SpacesMover::makeCFNumberArray32(const std::vector<std::uint32_t>& windowIDs) {
    CFArray list;
    for (auto id : windowIDs)
        if (id <= std::uint32_t(std::numeric_limits<std::int32_t>::max()))
            list.emplace_back(static_cast<std::int32_t>(id));
    return list;
}

CFArray SpacesMover::makeCFNumberArray64(const std::vector<std::uint32_t>& windowIDs) {
    CFArray list;
    for (auto id : windowIDs)
        list.emplace_back(static_cast<std::int64_t>(id));
    return list;
}

std::optional<std::uint64_t> SpacesMover::extractSpaceID(const CFValue& value) {
    return std::visit(
        [](const auto& v) -> std::optional<std::uint64_t> {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::uint64_t>) {
                if (v <= kLargestSpaceID) return v;
                return std::nullopt;
            } else if constexpr (std::is_same_v<T, std::int32_t> || std::is_same_v<T, std::int64_t>) {
                if (v >= 0) return std::uint64_t(v);
                return std::nullopt;
            } else if constexpr (std::is_same_v<T, CFValue::PlatformInt>) {
                if (v.value >= 0) return std::uint64_t(v.value);
                return std::nullopt;
            } else if constexpr (std::is_same_v<T, CFValue::Number> || std::is_same_v<T, double>) {
                double d;
                if constexpr (std::is_same_v<T, double>)
                    d = v;
                else
                    d = v.value;
                // A number object read as unsigned 64-bit: negative values and values of 2^63 or
                // more land above the signed range and are not Space ids.
                if (!std::isfinite(d) || d < 0 || d >= 9223372036854775808.0) return std::nullopt;
                return std::uint64_t(d);
            } else {
                return std::nullopt;
            }
        },
        value.storage());
}

SpacesMover& spacesMover() {
    return *MoverHolder::shared().mover;
}

void configureSpacesServiceIfNeeded() {
    auto& configuration = ServiceConfiguration::shared();
    configuration.lock.withLock([&] {
        if (configuration.didConfigureSpacesService) return;
        configuration.didConfigureSpacesService = true;
        SpacesService::shared().setPrimarySpaceProvider(
            [](std::uint32_t windowNumber) -> std::optional<std::uint64_t> {
                if (windowNumber == 0) return std::nullopt;
                return spacesMover().primarySpaceID(windowNumber);
            });
        logLine("SPACE", "SpacesService configured (once).");
    });
}

} // namespace tilmora::WindowManager
