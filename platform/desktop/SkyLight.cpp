#include "platform/desktop/SkyLight.hpp"

#include "platform/internal/DesktopModel.hpp"
#include "platform/internal/DesktopTransaction.hpp"

#include <algorithm>
#include <map>

namespace platform {

using desktop_detail::DesktopModel;

namespace {

constexpr DLHandle kSkyLightHandle = 0x5c1;

std::uint64_t getActiveSpace(DesktopModel& m) {
    if (m.displays.empty()) return 0;
    if (auto key = m.keyWindow()) {
        if (auto* d = m.displayOfSpace(m.windows.at(*key).space)) return d->activeSpace;
    }
    return m.displays.front().activeSpace;
}

CFValue spaceValue(SpaceAnswerForm form, std::uint64_t space) {
    switch (form) {
    case SpaceAnswerForm::uint64Numbers:
        return CFValue(std::uint64_t(space));
    case SpaceAnswerForm::int64Numbers:
        return CFValue(std::int64_t(space));
    case SpaceAnswerForm::platformIntNumbers:
        return CFValue(CFValue::PlatformInt{std::int64_t(space)});
    case SpaceAnswerForm::numberObjects:
        return CFValue(CFValue::Number{double(space)});
    case SpaceAnswerForm::dictionariesId64:
        return CFValue(
            CFDictionary{{"id64", CFValue(std::int64_t(space))}, {"type", CFValue(std::int32_t(0))}});
    case SpaceAnswerForm::dictionariesManagedSpaceID:
        return CFValue(CFDictionary{{"ManagedSpaceID", CFValue(std::int64_t(space))},
                                    {"type", CFValue(std::int32_t(0))}});
    case SpaceAnswerForm::empty:
        break;
    }
    return {};
}

std::int32_t moveWindows(DesktopModel& m, const char* function, CGSConnectionID cid, const CFArray& windows,
                         CGSSpaceID space, std::int32_t rc, bool moves) {
    JournalEntry j;
    j.kind = JournalEntry::Kind::spaceMove;
    j.what = function;
    std::string list;
    for (const auto& v : windows)
        list += (list.empty() ? "" : ",") + v.description();
    j.detail = "windows=[" + list + "] space=" + std::to_string(space);
    if (cid == 0 || cid != m.connectionID) rc = 1000; // kCGErrorFailure
    j.result = rc;
    if (!windows.empty()) {
        if (auto n = windows.front().integerValue()) j.window = std::uint32_t(*n);
    }
    m.record(j);
    if (rc != 0 || !moves) return rc;
    auto* target = m.displayOfSpace(space);
    if (!target) return rc;
    for (const auto& v : windows) {
        auto n = v.integerValue();
        if (!n) continue;
        auto* w = m.liveWindow(std::uint32_t(*n));
        if (!w) continue;
        auto* from = m.displayOfSpace(w->space);
        if (from && from != target) {
            // Keep the place relative to the display's top-left corner, inside the new display.
            CGRect f = w->spec.frame, tf = target->spec.frame;
            double width = std::min(f.width(), tf.width()), height = std::min(f.height(), tf.height());
            double x =
                std::clamp(tf.minX() + (f.minX() - from->spec.frame.minX()), tf.minX(), tf.maxX() - width);
            double top =
                std::clamp(tf.maxY() - (from->spec.frame.maxY() - f.maxY()), tf.minY() + height, tf.maxY());
            w->spec.frame = {x, top - height, width, height};
        }
        w->space = space;
    }
    return rc;
}

using Table = std::map<std::string, SymbolAddress>;

const Table& table() {
    static const Table t = {
        {"CGSMainConnectionID", reinterpret_cast<SymbolAddress>(&CGSMainConnectionID)},
        {"SLSMainConnectionID", reinterpret_cast<SymbolAddress>(&CGSMainConnectionID)},
        {"CGSCopySpacesForWindows", reinterpret_cast<SymbolAddress>(&CGSCopySpacesForWindows)},
        {"SLSCopySpacesForWindows", reinterpret_cast<SymbolAddress>(&CGSCopySpacesForWindows)},
        {"CGSCopyManagedDisplaySpaces", reinterpret_cast<SymbolAddress>(&CGSCopyManagedDisplaySpaces)},
        {"SLSCopyManagedDisplaySpaces", reinterpret_cast<SymbolAddress>(&CGSCopyManagedDisplaySpaces)},
        {"CGSGetActiveSpace", reinterpret_cast<SymbolAddress>(&CGSGetActiveSpace)},
        {"SLSGetActiveSpace", reinterpret_cast<SymbolAddress>(&CGSGetActiveSpace)},
        {"SLSMoveWindowsToManagedSpace", reinterpret_cast<SymbolAddress>(&SLSMoveWindowsToManagedSpace)},
        {"CGSMoveWindowsToManagedSpace", reinterpret_cast<SymbolAddress>(&CGSMoveWindowsToManagedSpace)},
    };
    return t;
}

} // namespace

DLHandle dlopen(const std::string& path, int /*mode*/) {
    TXN;
    if (path == kSkyLightFrameworkPath && m.skyLightLoadable) return kSkyLightHandle;
    return 0;
}

SymbolAddress dlsym(DLHandle handle, const std::string& name) {
    TXN;
    if (handle != kRTLDDefault && !(handle == kSkyLightHandle && m.skyLightLoadable)) return nullptr;
    if (m.removedSymbols.count(name)) return nullptr;
    auto it = table().find(name);
    return it == table().end() ? nullptr : it->second;
}

CGSConnectionID CGSMainConnectionID() {
    TXN;
    return m.connectionID;
}

std::optional<CFArray> CGSCopySpacesForWindows(CGSConnectionID cid, int mask, const CFArray& windows) {
    TXN;
    if (cid == 0 || cid != m.connectionID) return std::nullopt;
    CFArray out;
    if (m.spaceAnswerForm == SpaceAnswerForm::empty) return out;
    std::vector<std::uint64_t> seen;
    for (const auto& v : windows) {
        auto n = v.integerValue();
        if (!n || *n < 0) continue;
        auto* w = m.liveWindow(std::uint32_t(*n));
        if (!w || w->space == 0) continue;
        bool active = w->spec.onAllSpaces || m.spaceIsActive(w->space);
        bool include = ((mask & 0x01) && active) || ((mask & 0x02) && !active) || (mask & 0x04);
        if (!include || std::find(seen.begin(), seen.end(), w->space) != seen.end()) continue;
        seen.push_back(w->space);
        out.push_back(spaceValue(m.spaceAnswerForm, w->space));
    }
    return out;
}

std::optional<CFArray> CGSCopyManagedDisplaySpaces(CGSConnectionID cid) {
    TXN;
    if (cid == 0 || cid != m.connectionID) return std::nullopt;
    CFArray out;
    for (std::size_t i = 0; i < m.displays.size(); ++i) {
        const auto& d = m.displays[i];
        CFArray spaces;
        for (auto s : d.spaces)
            spaces.emplace_back(CFDictionary{{"id64", CFValue(std::int64_t(s))},
                                             {"ManagedSpaceID", CFValue(std::int64_t(s))},
                                             {"type", CFValue(std::int32_t(0))}});
        CFDictionary entry;
        entry["Display Identifier"] =
            CFValue(i == 0 ? std::string("Main") : "DISPLAY-" + std::to_string(d.spec.displayID));
        entry["Current Space"] =
            CFValue(CFDictionary{{"id64", CFValue(std::int64_t(d.activeSpace))},
                                 {"ManagedSpaceID", CFValue(std::int64_t(d.activeSpace))}});
        entry["Spaces"] = CFValue(std::move(spaces));
        out.emplace_back(std::move(entry));
    }
    return out;
}

CGSSpaceID CGSGetActiveSpace(CGSConnectionID cid) {
    TXN;
    if (cid == 0 || cid != m.connectionID) return 0;
    return getActiveSpace(m);
}

std::int32_t SLSMoveWindowsToManagedSpace(CGSConnectionID cid, const CFArray& windows, CGSSpaceID space) {
    TXN;
    std::int32_t rc = 0;
    if (!m.skyLightMoveResults.empty()) {
        rc = m.skyLightMoveResults.front();
        m.skyLightMoveResults.pop_front();
    }
    return moveWindows(m, "SLSMoveWindowsToManagedSpace", cid, windows, space, rc, m.skyLightMoveTakesEffect);
}

std::int32_t CGSMoveWindowsToManagedSpace(CGSConnectionID cid, const CFArray& windows, CGSSpaceID space) {
    TXN;
    return moveWindows(m, "CGSMoveWindowsToManagedSpace", cid, windows, space, 0, m.legacyMoveWorks);
}

} // namespace platform
