#include "windows/SpacesService.hpp"

#include "model/HookRegistry.hpp"
#include "model/Log.hpp"
#include "model/Settings.hpp"
#include "platform/desktop/Accessibility.hpp"
#include "platform/desktop/NSRunningApplication.hpp"
#include "platform/desktop/NSWorkspace.hpp"
#include "platform/desktop/WindowList.hpp"
#include "platform/dispatch/DispatchQueue.hpp"
#include "platform/dispatch/MainQueueDelivery.hpp"
#include "platform/dispatch/MainThread.hpp"
#include "platform/foundation/SharedInstance.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "platform/ui/Application.hpp"
#include "platform/ui/Panel.hpp"
#include "windows/AXAttributeNames.hpp"

#include <limits>

namespace tilmora {

using platform::CFValue;

namespace {

// The launch's Spaces set-up installs the mover's lookup; without one the window list answers.
const HookRegistry::Registration providerHook("SpacesService.primarySpaceProvider", [] {
    return static_cast<bool>(SpacesService::shared().primarySpaceProvider());
});

/// Seconds between bringing an anchor to the front and handing the focus back.
constexpr double kSwitchHandBackDelay = 0.08;
/// Collection behaviour of an anchor panel: move to the active Space, transient, ignores the
/// window cycle, full-screen auxiliary.
constexpr unsigned kAnchorCollectionBehavior =
    platform::ui::CollectionBehavior::moveToActiveSpace | platform::ui::CollectionBehavior::transient |
    platform::ui::CollectionBehavior::ignoresCycle | platform::ui::CollectionBehavior::fullScreenAuxiliary;
static_assert(kAnchorCollectionBehavior == 330);

std::shared_ptr<platform::ui::Panel> makeAnchorPanel() {
    using namespace platform::ui;
    auto panel = std::make_shared<Panel>(Rect(10, 10, 1, 1), StyleMask::nonactivatingPanel,
                                         BackingStore::buffered, false);
    panel->setLevel(WindowLevel::floating);
    panel->isOpaque = false;
    panel->hasShadow = false;
    panel->backgroundColor = Color::clearColor();
    panel->setIgnoresMouseEvents(true);
    panel->setAlphaValue(0.01);
    panel->collectionBehavior = kAnchorCollectionBehavior;
    panel->orderFrontRegardless();
    return panel;
}

} // namespace

SpacesService& SpacesService::shared() {
    return platform::SharedInstance<SpacesService>::get();
}

SpacesService::SpacesService()
    : self_(std::make_shared<SpacesService*>(this)) {}

SpacesService::~SpacesService() {
    // Only a test fixture's reset destroys the service; the run's one service keeps its observer.
    if (observer && platform::SharedInstance<platform::NSWorkspace>::exists())
        platform::NSWorkspace::shared().notificationCenter().removeObserver(*observer);
}

SpacesService::PrimarySpaceProvider SpacesService::primarySpaceProvider() const {
    return lock.withLock([&] { return provider_; });
}

void SpacesService::setPrimarySpaceProvider(PrimarySpaceProvider provider) {
    lock.withLock([&] { provider_ = std::move(provider); });
}

void SpacesService::start() {
    std::weak_ptr<SpacesService*> weakSelf = self_;
    const bool didStart = lock.withLock([&] {
        if (started) {
            log("start() ignored (already started).");
            return false;
        }
        if (killSwitch()) {
            log("SpacesService start skipped: kill switch enabled.");
            return false;
        }
        started = true;
        observer = platform::NSWorkspace::shared().notificationCenter().addObserver(
            platform::NSWorkspaceActiveSpaceDidChangeNotification, nullptr,
            platform::MainQueueDelivery::shared(), [weakSelf](const platform::Notification&) {
                if (auto self = weakSelf.lock()) (*self)->ensureAnchorForCurrentSpace(false);
            });
        return true;
    });
    if (!didStart) return;
    ensureAnchorForCurrentSpace(false);
    log("SpacesService started.");
}

void SpacesService::ensureAnchorForCurrentSpace(bool force) {
    if (!platform::isMainThread()) {
        std::weak_ptr<SpacesService*> weakSelf = self_;
        platform::DispatchQueue::main().async([weakSelf, force] {
            if (auto self = weakSelf.lock()) (*self)->ensureAnchorForCurrentSpace(force);
        });
        return;
    }
    if (killSwitch() || (!anchorsEnabled() && !force)) return;

    auto panel = makeAnchorPanel();
    const long number = panel->windowNumber();
    if (number <= 0 || number > long(std::numeric_limits<std::uint32_t>::max())) {
        panel->orderOut();
        log("Anchor creation failed: invalid CGWindowID.");
        return;
    }
    const std::string numberText = std::to_string(number);

    const auto spaceID = resolveCurrentSpaceIDFromFrontmostWindow();
    if (!spaceID) {
        panel->orderOut();
        if (diagnosticsEnabled()) {
            log("Anchor created but SpaceID could not be resolved. windowNumber=" + numberText);
        } else if (!didWarnAnchorResolveFailure) {
            didWarnAnchorResolveFailure = true;
            print("[SPACE][SERVICE] Anchor created but SpaceID could not be resolved (further warnings "
                  "suppressed). "
                  "windowNumber=" +
                  numberText);
        }
        return;
    }

    const bool added = lock.withLock([&] {
        if (anchors.count(*spaceID)) return false;
        anchors[*spaceID] = Anchor{*spaceID, panel, std::uint32_t(number), platform::Date::now()};
        return true;
    });
    if (!added) {
        // The Space already has its anchor; this panel is not needed.
        panel->orderOut();
        return;
    }
    log("Discovered SpaceID=" + std::to_string(*spaceID) + " (anchor windowNumber=" + numberText +
        "). KnownSpaces=" + knownSpacesText());
}

bool SpacesService::switchToSpace(std::uint64_t spaceID, bool force) {
    if (!platform::isMainThread()) {
        std::weak_ptr<SpacesService*> weakSelf = self_;
        platform::DispatchQueue::main().async([weakSelf, spaceID, force] {
            if (auto self = weakSelf.lock()) (*self)->switchToSpace(spaceID, force);
        });
        return true;
    }
    if (killSwitch() || (!switchingEnabled() && !force)) return false;

    ensureAnchorForCurrentSpace(force);

    const auto anchor = lock.withLock([&]() -> std::optional<Anchor> {
        auto it = anchors.find(spaceID);
        if (it == anchors.end()) return std::nullopt;
        return it->second;
    });
    if (!anchor) {
        log("Switch requested to SpaceID=" + std::to_string(spaceID) +
            " but no anchor exists yet. KnownSpaces=" + knownSpacesText());
        return false;
    }

    const auto previous = platform::NSWorkspace::shared().frontmostApplication();
    platform::ui::Application::shared().activate(true);
    anchor->window->makeKeyAndOrderFront();
    platform::DispatchQueue::main().asyncAfter(platform::DispatchTime::now() + kSwitchHandBackDelay,
                                               [panel = anchor->window, previous] {
                                                   panel->orderOut();
                                                   if (previous)
                                                       platform::NSRunningApplication(*previous).activate(
                                                           platform::NSApplicationActivateIgnoringOtherApps);
                                               });
    log("Switch requested to SpaceID=" + std::to_string(spaceID) +
        " via anchor windowID=" + std::to_string(anchor->cgWindowID) + ".");
    return true;
}

bool SpacesService::hasAnyAnchor() const {
    return lock.withLock([&] { return !anchors.empty(); });
}

std::vector<std::uint64_t> SpacesService::knownSpaceIDs() const {
    return lock.withLock([&] {
        std::vector<std::uint64_t> ids;
        for (const auto& entry : anchors)
            ids.push_back(entry.first); // the map keeps them ascending
        return ids;
    });
}

bool SpacesService::isStarted() const {
    return lock.withLock([&] { return started; });
}

std::optional<std::uint64_t> SpacesService::resolveCurrentSpaceIDFromFrontmostWindow() {
    const auto app = platform::NSWorkspace::shared().frontmostApplication();
    if (!app) return std::nullopt;
    CFValue focused;
    if (platform::AXUIElementCopyAttributeValue(
            platform::AXUIElementCreateApplication(app->processIdentifier()), "AXFocusedWindow", focused) !=
            platform::kAXErrorSuccess ||
        !focused.asElement())
        return std::nullopt;
    CFValue numberValue;
    if (platform::AXUIElementCopyAttributeValue(*focused.asElement(), kAXWindowNumberAttribute,
                                                numberValue) != platform::kAXErrorSuccess ||
        !numberValue.isNumber())
        return std::nullopt;
    const auto number = numberValue.integerValue();
    if (!number || *number < 1 || *number > std::int64_t(std::numeric_limits<std::uint32_t>::max()))
        return std::nullopt;
    if (const auto provider = primarySpaceProvider()) {
        if (auto id = provider(std::uint32_t(*number))) return id;
    }
    const auto workspace = cgWorkspaceID(std::uint32_t(*number));
    if (!workspace || *workspace < 0) return std::nullopt;
    return std::uint64_t(*workspace);
}

std::optional<std::int32_t> SpacesService::cgWorkspaceID(std::uint32_t windowNumber) {
    const auto list =
        platform::CGWindowListCopyWindowInfo(platform::kCGWindowListOptionAll, platform::kCGNullWindowID);
    if (!list) return std::nullopt;
    for (const CFValue& entry : *list) {
        const auto* fields = entry.asDictionary();
        if (!fields) continue;
        const CFValue* number = platform::lookup(*fields, platform::kCGWindowNumber);
        if (!number || !number->isNumber() || number->integerValue() != std::int64_t(windowNumber)) continue;
        const CFValue* workspace = platform::lookup(*fields, platform::kCGWindowWorkspace);
        if (!workspace || !workspace->isNumber()) return std::nullopt;
        const auto value = workspace->integerValue();
        if (!value || *value < std::numeric_limits<std::int32_t>::min() ||
            *value > std::numeric_limits<std::int32_t>::max())
            return std::nullopt;
        return std::int32_t(*value);
    }
    return std::nullopt;
}

bool SpacesService::killSwitch() {
    return platform::UserDefaults::standard().boolForKey(settings::spacesKillSwitch.key);
}

bool SpacesService::anchorsEnabled() {
    return settings::read(settings::spacesEnableAnchors);
}

bool SpacesService::switchingEnabled() {
    return settings::read(settings::spacesEnableSwitching);
}

bool SpacesService::diagnosticsEnabled() {
    return platform::UserDefaults::standard().boolForKey(settings::spacesLogDiagnostics.key) ||
           settings::read(settings::verboseLogging);
}

void SpacesService::log(const std::string& message) {
    if (diagnosticsEnabled()) print("[SPACE][SERVICE] " + message);
}

std::string SpacesService::knownSpacesText() const {
    std::string text = "[";
    for (auto id : knownSpaceIDs()) {
        if (text.size() > 1) text += ", ";
        text += std::to_string(id);
    }
    return text + "]";
}

} // namespace tilmora
