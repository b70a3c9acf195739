#include "platform/desktop/WindowList.hpp"

#include "platform/desktop/CoordinateSpace.hpp"
#include "platform/internal/DesktopModel.hpp"
#include "platform/internal/DesktopState.hpp"

#include <algorithm>

namespace platform {

using desktop_detail::DesktopModel;
using desktop_detail::WindowRecord;

namespace {

CFValue workspaceValue(WorkspaceNumberForm form, std::uint64_t space) {
    switch (form) {
    case WorkspaceNumberForm::int32:
        return CFValue(std::int32_t(space));
    case WorkspaceNumberForm::int64:
        return CFValue(std::int64_t(space));
    case WorkspaceNumberForm::platformInt:
        return CFValue(CFValue::PlatformInt{std::int64_t(space)});
    case WorkspaceNumberForm::number:
        return CFValue(CFValue::Number{double(space)});
    case WorkspaceNumberForm::absent:
        break;
    }
    return {};
}

CFDictionary entryOf(const DesktopModel& m, const WindowRecord& w) {
    CFDictionary d;
    d[kCGWindowNumber] = CFValue(std::int32_t(w.number));
    d[kCGWindowOwnerPID] = CFValue(std::int32_t(w.pid));
    auto app = m.apps.find(w.pid);
    if (app != m.apps.end() && app->second.spec.localizedName)
        d[kCGWindowOwnerName] = CFValue(*app->second.spec.localizedName);
    if (!w.spec.nameHiddenInList && !m.windowNamesHidden) d[kCGWindowName] = CFValue(w.spec.title);
    const CGRect bounds = flipRect(w.spec.frame, m.mainHeight());
    d[kCGWindowBounds] = CFValue(CFDictionary{{"X", CFValue(bounds.origin.x)},
                                              {"Y", CFValue(bounds.origin.y)},
                                              {"Width", CFValue(bounds.size.width)},
                                              {"Height", CFValue(bounds.size.height)}});
    if (m.onScreen(w)) d[kCGWindowIsOnscreen] = CFValue(true);
    d[kCGWindowLayer] = CFValue(std::int32_t(w.spec.layer));
    d[kCGWindowAlpha] = CFValue(w.spec.alpha);
    d[kCGWindowStoreType] = CFValue(std::int32_t(1));
    d[kCGWindowSharingState] = CFValue(std::int32_t(1));
    if (m.workspaceForm != WorkspaceNumberForm::absent)
        d[kCGWindowWorkspace] = workspaceValue(m.workspaceForm, w.space);
    return d;
}

} // namespace

std::optional<CFArray> CGWindowListCopyWindowInfo(CGWindowListOption option, CGWindowID relativeToWindow) {
    auto holder = desktop_detail::currentModel();
    DesktopModel& m = *holder;
    DesktopModel::Txn txn(m);
    if (m.windowListUnavailable) return std::nullopt;

    // Front to back: higher layers first, then the z-order.
    std::vector<const WindowRecord*> order;
    for (auto n : m.zOrder) {
        const WindowRecord& w = m.windows.at(n);
        if (!w.closed) order.push_back(&w);
    }
    std::stable_sort(order.begin(), order.end(), [](const WindowRecord* a, const WindowRecord* b) {
        return a->spec.layer > b->spec.layer;
    });

    CFArray out;
    if (option & kCGWindowListOptionIncludingWindow &&
        !(option & (kCGWindowListOptionOnScreenAboveWindow | kCGWindowListOptionOnScreenBelowWindow))) {
        for (const auto* w : order)
            if (w->number == relativeToWindow) out.emplace_back(entryOf(m, *w));
        return out;
    }
    auto relative = std::find_if(order.begin(), order.end(),
                                 [&](const WindowRecord* w) { return w->number == relativeToWindow; });
    for (auto it = order.begin(); it != order.end(); ++it) {
        const WindowRecord& w = **it;
        bool onScreen = m.onScreen(w);
        if (option & (kCGWindowListOptionOnScreenOnly | kCGWindowListOptionOnScreenAboveWindow |
                      kCGWindowListOptionOnScreenBelowWindow)) {
            if (!onScreen) continue;
        }
        if ((option & kCGWindowListExcludeDesktopElements) && w.spec.layer < 0) continue;
        if (relative != order.end()) {
            bool isRelative = it == relative;
            if ((option & kCGWindowListOptionOnScreenAboveWindow) && !(it < relative) &&
                !(isRelative && (option & kCGWindowListOptionIncludingWindow)))
                continue;
            if ((option & kCGWindowListOptionOnScreenBelowWindow) && !(it > relative) &&
                !(isRelative && (option & kCGWindowListOptionIncludingWindow)))
                continue;
        }
        out.emplace_back(entryOf(m, w));
    }
    return out;
}

} // namespace platform
