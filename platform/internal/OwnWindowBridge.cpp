#include "platform/internal/OwnWindowBridge.hpp"

#include "platform/internal/DesktopModel.hpp"
#include "platform/internal/DesktopState.hpp"
#include "platform/dispatch/DispatchQueue.hpp"
#include "platform/dispatch/MainThread.hpp"
#include "platform/ui/Application.hpp"
#include "platform/ui/Window.hpp"

#include <algorithm>

namespace platform::OwnWindowBridge {

using desktop_detail::DesktopModel;
using desktop_detail::WindowRecord;

namespace {

/// The window record's spec of one of the program's windows: not in Accessibility's lists.
WindowSpec recordSpecOf(const OwnWindowSpec& spec) {
    WindowSpec w;
    w.title = spec.title;
    w.frame = spec.frame;
    w.layer = spec.level;
    w.alpha = spec.alpha;
    w.onAllSpaces = spec.onAllSpaces;
    w.ignoresMouseEvents = spec.ignoresMouseEvents;
    w.minimized = spec.minimized;
    w.inAXList = false;
    w.subrole.reset();
    return w;
}

/// The program's live record of `number`; null when there is none (never ordered in, removed) or
/// when the number belongs to another application's window.
WindowRecord* ownRecord(DesktopModel& m, std::uint32_t number) {
    WindowRecord* w = m.window(number);
    return w && w->own && !w->closed ? w : nullptr;
}

/// Makes the record of a window ordered in for the first time, on the active Space of the display
/// that holds most of its frame, in front of the z-order.
void openRecord(DesktopModel& m, std::uint32_t number, const OwnWindowSpec& spec) {
    if (WindowRecord* w = m.window(number); w && !w->own) return;
    // A number reserved from an earlier desktop must not collide with later ones.
    if (number >= m.nextWindow) m.nextWindow = number + 1;
    m.openWindow(m.programPid, recordSpecOf(spec), true, number);
}

/// Moves the window onto the active Space of the display that holds most of its frame.
void joinActiveSpace(DesktopModel& m, WindowRecord& w) {
    if (auto* d = m.displayForRect(w.spec.frame)) w.space = d->activeSpace;
}

} // namespace

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
    WindowRecord* w = ownRecord(m, number);
    if (!w) {
        if (spec.visible) openRecord(m, number, spec);
        return;
    }
    const bool orderedIn = !w->orderedIn && spec.visible;
    w->spec = recordSpecOf(spec);
    w->orderedIn = spec.visible;
    if (orderedIn)
        joinActiveSpace(m, *w);
    else
        m.placeOnDisplaySpace(*w);
}

void orderFront(std::uint32_t number, const OwnWindowSpec& spec, Ordering ordering) {
    auto holder = desktop_detail::currentModel();
    DesktopModel& m = *holder;
    DesktopModel::Txn txn(m);
    OwnWindowSpec shown = spec;
    shown.visible = true;
    WindowRecord* w = ownRecord(m, number);
    if (!w) {
        openRecord(m, number, shown);
        return;
    }
    const bool wasOrderedOut = !w->orderedIn;
    w->spec = recordSpecOf(shown);
    w->orderedIn = true;
    m.placeOnDisplaySpace(*w);
    m.raise(number);
    if (shown.onAllSpaces || m.spaceIsActive(w->space)) return;
    if (ordering == Ordering::makingKey) {
        if (auto* d = m.displayOfSpace(w->space)) {
            m.switchSpace(*d, w->space);
            return;
        }
    }
    if (ordering == Ordering::makingKey || wasOrderedOut || shown.moveToActiveSpace) joinActiveSpace(m, *w);
}

std::optional<std::uint32_t> ownWindowAt(const CGPoint& location) {
    auto holder = desktop_detail::currentModel();
    DesktopModel& m = *holder;
    DesktopModel::Txn txn(m);
    const WindowRecord* hit = m.windowAt(location);
    if (!hit || !hit->own || hit->pid != m.programPid) return std::nullopt;
    return hit->number;
}

std::optional<CGRect> zoom(std::uint32_t number) {
    auto holder = desktop_detail::currentModel();
    DesktopModel& m = *holder;
    DesktopModel::Txn txn(m);
    WindowRecord* w = ownRecord(m, number);
    if (!w || !m.onScreen(*w)) return std::nullopt;
    m.toggleZoom(*w);
    return w->spec.frame;
}

void remove(std::uint32_t number) {
    auto holder = desktop_detail::currentModel();
    DesktopModel& m = *holder;
    DesktopModel::Txn txn(m);
    if (WindowRecord* w = ownRecord(m, number)) {
        w->closed = true;
        m.zOrder.erase(std::remove(m.zOrder.begin(), m.zOrder.end(), number), m.zOrder.end());
    }
}

void discard(std::uint32_t number) {
    auto holder = desktop_detail::currentModel();
    DesktopModel& m = *holder;
    DesktopModel::Txn txn(m);
    if (WindowRecord* w = m.window(number); w && w->own) {
        m.zOrder.erase(std::remove(m.zOrder.begin(), m.zOrder.end(), number), m.zOrder.end());
        m.windows.erase(number);
    }
}

void windowServerMoved(std::uint32_t number, const CGRect& frame) {
    auto adopt = [number, frame] {
        if (auto* window = ui::Application::shared().windowWithNumber(long(number)))
            window->setFrame(frame, true);
    };
    if (isMainThread()) {
        adopt();
    } else {
        DispatchQueue::main().async(adopt);
    }
}

void endProgram() {
    auto holder = desktop_detail::currentModel();
    DesktopModel& m = *holder;
    DesktopModel::Txn txn(m);
    m.endApp(m.programPid, true);
}

void activateProgram() {
    auto holder = desktop_detail::currentModel();
    DesktopModel& m = *holder;
    DesktopModel::Txn txn(m);
    m.makeFrontmost(m.programPid, false);
}

void programLeftFront() {
    auto resign = [] {
        auto& application = ui::Application::shared();
        if (!application.isTerminated()) application.resignActive();
    };
    if (isMainThread()) {
        resign();
    } else {
        DispatchQueue::main().async(resign);
    }
}

} // namespace platform::OwnWindowBridge
