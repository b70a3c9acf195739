#include "platform/desktop/CGEvent.hpp"

#include "platform/internal/DesktopModel.hpp"
#include "platform/internal/DesktopState.hpp"

namespace platform {

using desktop_detail::DesktopModel;

namespace desktop_detail {
int desktopForKeyCode(int keyCode);
void switchDesktop(DesktopModel& m, int n);
} // namespace desktop_detail

namespace {

void deliver(DesktopModel& m, pid_t target, const CGEvent& event, bool hid) {
    JournalEntry j;
    j.kind = JournalEntry::Kind::keyEvent;
    j.pid = target;
    j.what = std::to_string(event.keyCode);
    j.detail = std::string(event.keyDown ? "down" : "up") + " flags=" + std::to_string(event.flags) +
               (hid ? " tap" : " pid");
    if (!m.accessibilityTrusted) {
        j.detail += " dropped";
        j.result = -1;
        m.record(j);
        return;
    }
    m.record(j);
    if (!event.keyDown) return;
    if (event.keyCode == 45 && (event.flags & kCGEventFlagMaskCommand)) {
        m.openNewWindow(target);
    } else if (hid && (event.flags & kCGEventFlagMaskControl)) {
        if (int n = desktop_detail::desktopForKeyCode(event.keyCode)) desktop_detail::switchDesktop(m, n);
    }
}

} // namespace

std::optional<CGEventSource> CGEventSourceCreate(CGEventSourceStateID state) {
    auto holder = desktop_detail::currentModel();
    DesktopModel::Txn t(*holder);
    if (holder->eventSourceFails) return std::nullopt;
    return CGEventSource{state};
}

std::optional<CGEvent> CGEventCreateKeyboardEvent(const std::optional<CGEventSource>&, CGKeyCode key,
                                                  bool keyDown) {
    auto holder = desktop_detail::currentModel();
    DesktopModel::Txn t(*holder);
    if (holder->eventSourceFails) return std::nullopt;
    return CGEvent{key, keyDown, 0};
}

void CGEventPost(CGEventTapLocation, const CGEvent& event) {
    auto holder = desktop_detail::currentModel();
    DesktopModel::Txn t(*holder);
    deliver(*holder, holder->frontPid, event, true);
}

void CGEventPostToPid(pid_t pid, const CGEvent& event) {
    auto holder = desktop_detail::currentModel();
    DesktopModel::Txn t(*holder);
    deliver(*holder, pid, event, false);
}

} // namespace platform
