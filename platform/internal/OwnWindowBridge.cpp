#include "platform/internal/OwnWindowBridge.hpp"

#include "platform/internal/DesktopModel.hpp"
#include "platform/control/SimDesktop.hpp"
#include "platform/internal/DesktopState.hpp"

namespace platform::OwnWindowBridge {

using desktop_detail::DesktopModel;

pid_t programPid() {
    return desktop_detail::programPid();
}

std::uint32_t newWindowNumber() {
    auto holder = desktop_detail::currentModel();
    DesktopModel::Txn txn(*holder);
    return holder->nextWindow++;
}

void sync(std::uint32_t number, const OwnWindowSpec& spec) {
    auto holder = desktop_detail::currentModel();
    DesktopModel& m = *holder;
    DesktopModel::Txn txn(m);
    auto* w = m.window(number);
    if (w && !w->own) return;
    if (!w || w->closed) {
        if (!spec.visible) return;
        // A number reserved from an earlier desktop must not collide with later ones.
        if (number >= m.nextWindow) m.nextWindow = number + 1;
        m.openWindow(m.programPid, desktop_detail::windowSpecOf(spec), true, number);
        return;
    }
    bool orderedIn = !w->orderedIn && spec.visible;
    w->spec = desktop_detail::windowSpecOf(spec);
    w->orderedIn = spec.visible;
    if (orderedIn) {
        if (auto* d = m.displayForRect(w->spec.frame)) w->space = d->activeSpace;
    } else {
        m.placeOnDisplaySpace(*w);
    }
}

void orderFront(std::uint32_t number) {
    auto holder = desktop_detail::currentModel();
    DesktopModel& m = *holder;
    DesktopModel::Txn txn(m);
    if (auto* w = m.liveWindow(number); w && w->own) m.raise(number);
}

void remove(std::uint32_t number) {
    SimDesktop::shared().removeOwnWindow(number);
}

} // namespace platform::OwnWindowBridge
