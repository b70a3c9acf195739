#include "platform/internal/DesktopModel.hpp"
#include "platform/internal/OwnWindowBridge.hpp"

#include "platform/desktop/CoordinateSpace.hpp"
#include "platform/desktop/LargestOverlap.hpp"

#include "platform/internal/DesktopClock.hpp"

#include <algorithm>
#include <cmath>

namespace platform::desktop_detail {

CGRect DisplayRecord::visibleFrame() const {
    if (spec.visibleFrame) return *spec.visibleFrame;
    const CGRect& f = spec.frame;
    return {f.minX(), f.minY(), f.width(), std::max(0.0, f.height() - 25)};
}

DesktopModel::DesktopModel() {
    addProgram();
}

void DesktopModel::addProgram() {
    AppRecord program;
    program.pid = programPid;
    program.spec.bundleIdentifier = "com.quorvane.Tilmora";
    program.spec.localizedName = "Tilmora";
    program.spec.activationPolicy = NSApplicationActivationPolicy::accessory;
    program.state = AppState::running;
    program.listed = true;
    program.isProgram = true;
    program.order = nextOrder++;
    apps[programPid] = program;
}

void DesktopModel::startProgram() {
    if (liveApp(programPid)) return;
    programPid = nextPid++;
    addProgram();
    notify(true, "NSWorkspaceDidLaunchApplicationNotification", programPid);
}

DesktopModel::Txn::Txn(DesktopModel& m)
    : m_(m) {
    m_.mutex.lock();
    ++m_.depth;
}

DesktopModel::Txn::~Txn() {
    std::vector<PendingNotification> out;
    std::vector<std::function<void()>> calls;
    std::function<void(const PendingNotification&)> poster;
    if (--m_.depth == 0) {
        out.swap(m_.pending);
        calls.swap(m_.pendingCalls);
        poster = m_.poster;
    }
    m_.mutex.unlock();
    if (poster) {
        for (const auto& n : out)
            poster(n);
    }
    for (auto& call : calls)
        call();
}

double DesktopModel::now() const {
    return clockNow();
}

void DesktopModel::record(JournalEntry entry) {
    entry.time = now();
    // A bounded journal: a long run that never reads it keeps the newest entries only.
    if (journal.size() >= maxJournalEntries) journal.erase(journal.begin(), journal.begin() + maxJournalEntries / 2);
    journal.push_back(std::move(entry));
}

void DesktopModel::after(double delay, std::function<void(DesktopModel&)> event, std::string label) {
    std::weak_ptr<DesktopModel> weak = weak_from_this();
    clockSchedule(
        now() + std::max(0.0, delay),
        [weak, event = std::move(event)] {
            if (auto self = weak.lock()) {
                Txn t(*self);
                event(*self);
            }
        },
        "desktop: " + std::move(label));
}

void DesktopModel::notify(bool workspace, std::string name, pid_t pid) {
    pending.push_back({workspace, std::move(name), pid});
}

double DesktopModel::mainHeight() const {
    return displays.empty() ? 0 : displays.front().spec.frame.height();
}

DisplayRecord* DesktopModel::displayByID(std::uint32_t id) {
    for (auto& d : displays)
        if (d.spec.displayID == id) return &d;
    return nullptr;
}

DisplayRecord* DesktopModel::displayByUid(std::uint64_t uid) {
    for (auto& d : displays)
        if (d.uid == uid) return &d;
    return nullptr;
}

DisplayRecord* DesktopModel::displayForRect(const CGRect& frame) {
    std::vector<CGRect> frames;
    frames.reserve(displays.size());
    for (const auto& d : displays)
        frames.push_back(d.spec.frame);
    if (auto i = indexOfLargestOverlap(frame, frames)) return &displays[*i];
    // No overlap: the display whose centre is nearest, so that a window off every display still
    // belongs to one (and to that display's Spaces).
    DisplayRecord* best = nullptr;
    double bestDist = 0;
    for (auto& d : displays) {
        double dx = d.spec.frame.midX() - frame.midX(), dy = d.spec.frame.midY() - frame.midY();
        double dist = std::hypot(dx, dy);
        if (!best || dist < bestDist) {
            best = &d;
            bestDist = dist;
        }
    }
    return best;
}

DisplayRecord* DesktopModel::displayOfSpace(std::uint64_t space) {
    for (auto& d : displays)
        if (std::find(d.spaces.begin(), d.spaces.end(), space) != d.spaces.end()) return &d;
    return nullptr;
}

bool DesktopModel::spaceIsActive(std::uint64_t space) const {
    for (const auto& d : displays)
        if (d.activeSpace == space) return true;
    return false;
}

// ---------------------------------------------------------------- displays and screens

std::uint64_t DesktopModel::newSpaceID() {
    std::uint64_t id = nextSpace;
    nextSpace += 2;
    return id;
}

std::uint64_t DesktopModel::addDisplay(const DisplaySpec& spec) {
    DisplayRecord d;
    d.uid = nextDisplayUid++;
    d.spec = spec;
    for (int i = 0; i < std::max(1, spec.spaces); ++i)
        d.spaces.push_back(newSpaceID());
    d.activeSpace = d.spaces.front();
    displays.push_back(d);
    displaysChanged();
    return d.uid;
}

void DesktopModel::removeDisplay(std::uint32_t id) {
    auto it = std::find_if(displays.begin(), displays.end(),
                           [&](const DisplayRecord& d) { return d.spec.displayID == id; });
    if (it == displays.end()) return;
    DisplayRecord gone = *it;
    displays.erase(it);
    if (!displays.empty()) {
        // A new main display moves the origin of the global space.
        CGPoint shift = displays.front().spec.frame.origin;
        shiftGlobalSpace(shift);
        gone.spec.frame.origin.x -= shift.x;
        gone.spec.frame.origin.y -= shift.y;
        // The windows of the unplugged display move onto the main display, keeping their place
        // relative to the display where it fits, and join its active Space.
        DisplayRecord& main = displays.front();
        CGRect vis = main.visibleFrame();
        for (auto& [n, w] : windows) {
            if (w.closed) continue;
            bool onGone = std::find(gone.spaces.begin(), gone.spaces.end(), w.space) != gone.spaces.end();
            if (!onGone) continue;
            CGRect f = w.spec.frame;
            double x = vis.minX() + (f.minX() - gone.spec.frame.minX());
            double top = vis.maxY() - (gone.spec.frame.maxY() - f.maxY());
            double width = std::min(f.width(), vis.width()), height = std::min(f.height(), vis.height());
            x = std::clamp(x, vis.minX(), vis.maxX() - width);
            top = std::clamp(top, vis.minY() + height, vis.maxY());
            w.spec.frame = {x, top - height, width, height};
            w.space = main.activeSpace;
        }
        // The program's own windows learn where the window server put them.
        for (auto& [n, w] : windows) {
            if (!w.closed && w.own)
                pendingCalls.push_back([number = n, frame = w.spec.frame] {
                    OwnWindowBridge::windowServerMoved(number, frame);
                });
        }
    }
    displaysChanged();
}

void DesktopModel::shiftGlobalSpace(CGPoint shift) {
    if (shift.x == 0 && shift.y == 0) return;
    for (auto& d : displays) {
        d.spec.frame.origin.x -= shift.x;
        d.spec.frame.origin.y -= shift.y;
        if (d.spec.visibleFrame) {
            d.spec.visibleFrame->origin.x -= shift.x;
            d.spec.visibleFrame->origin.y -= shift.y;
        }
    }
    for (auto& [n, w] : windows) {
        w.spec.frame.origin.x -= shift.x;
        w.spec.frame.origin.y -= shift.y;
    }
}

void DesktopModel::setDisplayFrame(DisplayRecord& d, const CGRect& frame,
                                   std::optional<CGRect> visibleFrame) {
    const CGRect old = d.spec.frame;
    d.spec.frame = frame;
    d.spec.visibleFrame = visibleFrame;
    const double dx = frame.minX() - old.minX(), dTop = frame.maxY() - old.maxY();
    const CGRect vis = d.visibleFrame();
    for (auto& [n, w] : windows) {
        if (w.closed || w.own || displayOfSpace(w.space) != &d) continue;
        CGRect f = w.spec.frame;
        f.origin.x += dx;
        f.origin.y += dTop;
        if (frame.intersection(f) != f) {
            double width = std::min(f.width(), vis.width()), height = std::min(f.height(), vis.height());
            double x = std::clamp(f.minX(), vis.minX(), vis.maxX() - width);
            double top = std::clamp(f.maxY(), vis.minY() + height, vis.maxY());
            f = {x, top - height, width, height};
        }
        w.spec.frame = f;
    }
    if (&d == &displays.front()) shiftGlobalSpace(d.spec.frame.origin);
    displaysChanged();
}

std::shared_ptr<const ScreenSnapshot> DesktopModel::snapshotOf(const DisplayRecord& d) const {
    auto s = std::make_shared<ScreenSnapshot>();
    s->uid = d.uid;
    s->displayID = d.spec.displayID;
    s->name = d.spec.name;
    s->frame = d.spec.frame;
    s->visibleFrame = d.visibleFrame();
    s->backingScaleFactor = d.spec.backingScaleFactor;
    if (d.spec.hasScreenNumber)
        s->deviceDescription["NSScreenNumber"] = d.spec.screenNumberOverride
                                                     ? *d.spec.screenNumberOverride
                                                     : CFValue(std::int64_t(d.spec.displayID));
    s->deviceDescription["NSDeviceIsScreen"] = CFValue("YES");
    s->deviceDescription["NSDeviceSize"] = CFValue(
        CFDictionary{{"width", CFValue(d.spec.frame.width())}, {"height", CFValue(d.spec.frame.height())}});
    return s;
}

void DesktopModel::publishScreens(std::optional<std::size_t> count) {
    std::vector<std::shared_ptr<const ScreenSnapshot>> list;
    for (const auto& d : displays)
        if (d.spec.inScreenList) list.push_back(snapshotOf(d));
    if (count && *count < list.size()) list.resize(*count);
    published = std::move(list);
    notify(false, "NSApplicationDidChangeScreenParametersNotification");
}

void DesktopModel::displaysChanged() {
    ++publishGeneration;
    if (screenListLag <= 0 && transientCounts.empty()) {
        publishScreens(std::nullopt);
        return;
    }
    std::uint64_t generation = publishGeneration;
    double t = 0;
    for (std::size_t count : transientCounts) {
        after(
            t,
            [generation, count](DesktopModel& m) {
                if (m.publishGeneration == generation) m.publishScreens(count);
            },
            "transient screen list");
        t += transientStep;
    }
    after(
        std::max(t, screenListLag),
        [generation](DesktopModel& m) {
            if (m.publishGeneration == generation) m.publishScreens(std::nullopt);
        },
        "screen list");
}

void DesktopModel::switchSpace(DisplayRecord& d, std::uint64_t space) {
    if (d.activeSpace == space) return;
    if (std::find(d.spaces.begin(), d.spaces.end(), space) == d.spaces.end()) return;
    d.activeSpace = space;
    JournalEntry e;
    e.kind = JournalEntry::Kind::spaceSwitch;
    e.what = std::to_string(d.spec.displayID);
    e.detail = std::to_string(space);
    record(e);
    notify(true, "NSWorkspaceActiveSpaceDidChangeNotification");
}

// ---------------------------------------------------------------- applications

AppRecord* DesktopModel::app(pid_t pid) {
    auto it = apps.find(pid);
    return it == apps.end() ? nullptr : &it->second;
}

AppRecord* DesktopModel::liveApp(pid_t pid) {
    AppRecord* a = app(pid);
    return a && a->state != AppState::terminated ? a : nullptr;
}

std::vector<pid_t> DesktopModel::runningPids(const std::function<bool(const AppRecord&)>& keep) const {
    std::vector<std::pair<std::uint64_t, pid_t>> found;
    for (const auto& [pid, a] : apps)
        if (a.state != AppState::terminated && keep(a)) found.push_back({a.order, pid});
    std::sort(found.begin(), found.end());
    std::vector<pid_t> pids;
    for (const auto& f : found)
        pids.push_back(f.second);
    return pids;
}

pid_t DesktopModel::startInstance(const std::string& bundleId, bool activateIt, bool immediate) {
    auto it = installed.find(bundleId);
    if (it == installed.end()) return 0;
    AppRecord a;
    a.pid = nextPid++;
    a.spec = it->second;
    if (!a.spec.localizedName && a.spec.bundleIdentifier.empty()) a.spec.localizedName = "App";
    a.launchRequestedAt = now();
    apps[a.pid] = a;
    pid_t pid = a.pid;
    JournalEntry e;
    e.kind = JournalEntry::Kind::launch;
    e.pid = pid;
    e.what = bundleId;
    record(e);
    if (a.spec.neverStarts) return pid;
    if (immediate) {
        finishLaunch(pid, activateIt);
        for (const auto& tw : a.spec.windowsAtLaunch)
            openWindow(pid, tw.window);
        return pid;
    }
    after(
        a.spec.launchDelay, [pid, activateIt](DesktopModel& m) { m.finishLaunch(pid, activateIt); },
        "launch " + bundleId);
    for (const auto& tw : a.spec.windowsAtLaunch) {
        double delay = std::max(tw.delay, a.spec.launchDelay);
        after(
            delay,
            [pid, spec = tw.window](DesktopModel& m) {
                AppRecord* r = m.liveApp(pid);
                if (r && r->state == AppState::running) m.openWindow(pid, spec);
            },
            "window of " + bundleId);
    }
    return pid;
}

void DesktopModel::finishLaunch(pid_t pid, bool activateIt) {
    AppRecord* a = liveApp(pid);
    if (!a || a->state != AppState::launching) return;
    a->state = AppState::running;
    a->listed = true;
    a->order = nextOrder++;
    notify(true, "NSWorkspaceDidLaunchApplicationNotification", pid);
    if (activateIt && a->spec.activationPolicy == NSApplicationActivationPolicy::regular)
        makeFrontmost(pid, true);
}

bool DesktopModel::activate(pid_t pid, unsigned options) {
    AppRecord* a = liveApp(pid);
    JournalEntry e;
    e.kind = JournalEntry::Kind::activation;
    e.pid = pid;
    e.what = std::to_string(options);
    if (!a || a->state != AppState::running ||
        a->spec.activationPolicy == NSApplicationActivationPolicy::prohibited) {
        e.detail = "not running";
        e.result = 0;
        record(e);
        return false;
    }
    bool all = (options & 1u) != 0;
    switch (a->spec.activation) {
    case ActivationBehaviour::immediate:
        e.detail = "activated";
        e.result = 1;
        record(e);
        makeFrontmost(pid, all);
        return true;
    case ActivationBehaviour::delayed:
        e.detail = "delayed";
        e.result = 1;
        record(e);
        after(
            a->spec.activationDelay,
            [pid, all](DesktopModel& m) {
                if (m.liveApp(pid)) m.makeFrontmost(pid, all);
            },
            "activate");
        return true;
    case ActivationBehaviour::ignored:
        e.detail = "ignored";
        e.result = 1;
        record(e);
        return true;
    case ActivationBehaviour::refused:
        e.detail = "refused";
        record(e);
        return false;
    }
    return false;
}

void DesktopModel::makeFrontmost(pid_t pid, bool allWindows) {
    AppRecord* a = liveApp(pid);
    if (!a) return;
    a->hidden = false;
    std::vector<std::uint32_t> mine = appWindowsInOrder(pid);
    if (allWindows) {
        for (auto it = mine.rbegin(); it != mine.rend(); ++it)
            raise(*it);
    } else if (auto f = focusedWindow(pid)) {
        raise(*f);
    }
    // An application whose windows all lie on inactive Spaces takes the user to its front window's Space.
    bool anyVisible = false;
    std::optional<std::uint32_t> first;
    for (auto n : mine) {
        const WindowRecord& w = windows.at(n);
        if (w.spec.minimized) continue;
        if (!first) first = n;
        if (w.spec.onAllSpaces || spaceIsActive(w.space)) anyVisible = true;
    }
    if (!anyVisible && first) {
        if (DisplayRecord* d = displayOfSpace(windows.at(*first).space))
            switchSpace(*d, windows.at(*first).space);
    }
    if (frontPid != pid) {
        const bool programLeaves = frontPid == programPid;
        frontPid = pid;
        notify(true, "NSWorkspaceDidActivateApplicationNotification", pid);
        if (programLeaves) pendingCalls.push_back([] { OwnWindowBridge::programLeftFront(); });
    }
}

void DesktopModel::endApp(pid_t pid, bool includingProgram) {
    AppRecord* a = liveApp(pid);
    if (!a || (a->isProgram && !includingProgram)) return;
    bool wasListed = a->listed;
    a->state = AppState::terminated;
    a->listed = false;
    for (auto& [n, w] : windows)
        if (w.pid == pid) w.closed = true;
    zOrder.erase(
        std::remove_if(zOrder.begin(), zOrder.end(), [&](std::uint32_t n) { return windows.at(n).closed; }),
        zOrder.end());
    if (wasListed) notify(true, "NSWorkspaceDidTerminateApplicationNotification", pid);
    if (frontPid == pid) {
        frontPid = 0;
        // The application owning the frontmost ordinary window comes forward.
        for (auto n : zOrder) {
            const WindowRecord& w = windows.at(n);
            AppRecord* other = liveApp(w.pid);
            if (other && !other->isProgram && other->state == AppState::running && onScreen(w) &&
                w.spec.layer == 0) {
                makeFrontmost(w.pid, false);
                break;
            }
        }
    }
}

bool DesktopModel::openNewWindow(pid_t pid) {
    AppRecord* a = liveApp(pid);
    if (!a || a->state != AppState::running || !a->spec.newWindow) return false;
    TimedWindow tw = *a->spec.newWindow;
    std::size_t existing = appWindowsInOrder(pid).size();
    tw.window.frame.origin.x += 22.0 * double(existing);
    tw.window.frame.origin.y -= 22.0 * double(existing);
    after(
        tw.delay,
        [pid, spec = tw.window](DesktopModel& m) {
            if (m.liveApp(pid)) {
                std::uint32_t n = m.openWindow(pid, spec);
                m.raise(n);
            }
        },
        "new window");
    return true;
}

// ---------------------------------------------------------------- windows

WindowRecord DesktopModel::newWindowRecord(pid_t pid, const WindowSpec& spec, bool own, std::uint32_t number) {
    WindowRecord w;
    w.number = number != 0 ? number : nextWindow++;
    w.pid = pid;
    w.spec = spec;
    w.own = own;
    if (w.spec.minSize) {
        w.spec.frame.size.width = std::max(w.spec.frame.size.width, w.spec.minSize->width);
        w.spec.frame.size.height = std::max(w.spec.frame.size.height, w.spec.minSize->height);
    }
    if (DisplayRecord* d = displayForRect(spec.frame)) {
        if (spec.desktop >= 1 && std::size_t(spec.desktop) <= d->spaces.size())
            w.space = d->spaces[std::size_t(spec.desktop) - 1];
        else
            w.space = d->activeSpace;
    }
    return w;
}

std::uint32_t DesktopModel::openWindow(pid_t pid, const WindowSpec& spec, bool own, std::uint32_t number) {
    WindowRecord w = newWindowRecord(pid, spec, own, number);
    const std::uint32_t opened = w.number;
    windows[opened] = std::move(w);
    // New windows open in front of the other windows of their layer. A fresh number is in no
    // order yet, so only a reserved one needs the search.
    if (number != 0) zOrder.erase(std::remove(zOrder.begin(), zOrder.end(), opened), zOrder.end());
    zOrder.insert(zOrder.begin(), opened);
    return opened;
}

void DesktopModel::openWindows(pid_t pid, const std::vector<WindowSpec>& specs) {
    std::vector<std::uint32_t> opened;
    opened.reserve(specs.size());
    for (const WindowSpec& spec : specs) {
        WindowRecord w = newWindowRecord(pid, spec, false, 0);
        opened.push_back(w.number);
        // Fresh numbers are the highest yet, so the end is the right place.
        windows.insert_or_assign(windows.end(), w.number, std::move(w));
    }
    // The last opened is frontmost, as after one `openWindow` per spec.
    zOrder.insert(zOrder.begin(), opened.rbegin(), opened.rend());
}

WindowRecord* DesktopModel::window(std::uint32_t number) {
    auto it = windows.find(number);
    return it == windows.end() ? nullptr : &it->second;
}

WindowRecord* DesktopModel::liveWindow(std::uint32_t number) {
    WindowRecord* w = window(number);
    return w && !w->closed ? w : nullptr;
}

bool DesktopModel::onScreen(const WindowRecord& w) const {
    if (w.closed || !w.orderedIn || w.spec.minimized) return false;
    auto it = apps.find(w.pid);
    if (it == apps.end() || it->second.state == AppState::terminated || it->second.hidden) return false;
    if (displays.empty()) return false;
    return w.spec.onAllSpaces || spaceIsActive(w.space);
}

const WindowRecord* DesktopModel::windowAt(CGPoint location) const {
    const WindowRecord* hit = nullptr;
    for (auto n : zOrder) {
        const auto& w = windows.at(n);
        if (!onScreen(w) || w.spec.alpha <= 0 || w.spec.ignoresMouseEvents || !w.spec.frame.contains(location))
            continue;
        if (!hit || w.spec.layer > hit->spec.layer) hit = &w;
    }
    return hit;
}

void DesktopModel::raise(std::uint32_t number) {
    auto it = std::find(zOrder.begin(), zOrder.end(), number);
    if (it == zOrder.end()) return;
    zOrder.erase(it);
    zOrder.insert(zOrder.begin(), number);
}

std::vector<std::uint32_t> DesktopModel::appWindowsInOrder(pid_t pid) const {
    std::vector<std::uint32_t> out;
    for (auto n : zOrder) {
        const WindowRecord& w = windows.at(n);
        if (w.pid == pid && !w.closed && !w.own) out.push_back(n);
    }
    return out;
}

std::optional<std::uint32_t> DesktopModel::focusedWindow(pid_t pid) const {
    for (auto n : appWindowsInOrder(pid)) {
        const WindowRecord& w = windows.at(n);
        if (w.spec.inAXList && !w.spec.minimized && (w.spec.onAllSpaces || spaceIsActive(w.space))) return n;
    }
    return std::nullopt;
}

std::optional<std::uint32_t> DesktopModel::keyWindow() const {
    if (frontPid == 0) return std::nullopt;
    return focusedWindow(frontPid);
}

CGPoint DesktopModel::axPosition(const WindowRecord& w) const {
    return flipRect(w.spec.frame, mainHeight()).origin;
}

void DesktopModel::placeOnDisplaySpace(WindowRecord& w) {
    DisplayRecord* now = displayForRect(w.spec.frame);
    DisplayRecord* before = displayOfSpace(w.space);
    if (now && now != before) w.space = now->activeSpace;
}

void DesktopModel::applyPosition(std::uint32_t number, CGPoint topLeft) {
    WindowRecord* w = liveWindow(number);
    if (!w) return;
    const CGRect placed{topLeft.x + w->spec.nudge, topLeft.y + w->spec.nudge, w->spec.frame.width(),
                        w->spec.frame.height()};
    w->spec.frame.origin = flipRect(placed, mainHeight()).origin;
    placeOnDisplaySpace(*w);
}

std::int32_t DesktopModel::writeGeometry(std::uint32_t number, bool isPosition, const AXValue& value) {
    WindowRecord* w = liveWindow(number);
    if (!w) return -25202; // kAXErrorInvalidUIElement
    if (!(isPosition ? w->spec.positionSettable : w->spec.sizeSettable))
        return -25205; // kAXErrorAttributeUnsupported
    if (w->failedWrites < w->spec.failFirstWrites) {
        ++w->failedWrites;
        return -25204; // kAXErrorCannotComplete
    }
    auto apply = [number, value, isPosition](DesktopModel& model) {
        if (isPosition)
            model.applyPosition(number, value.point);
        else
            model.applySize(number, value.size);
    };
    if (w->spec.applyDelay > 0)
        after(w->spec.applyDelay, apply, isPosition ? "apply AXPosition" : "apply AXSize");
    else
        apply(*this);
    return 0;
}

void DesktopModel::applySize(std::uint32_t number, CGSize size) {
    WindowRecord* w = liveWindow(number);
    if (!w) return;
    double width = size.width, height = size.height;
    if (w->spec.minSize) {
        width = std::max(width, w->spec.minSize->width);
        height = std::max(height, w->spec.minSize->height);
    }
    if (w->spec.maxSize) {
        width = std::min(width, w->spec.maxSize->width);
        height = std::min(height, w->spec.maxSize->height);
    }
    width = std::max(width, 1.0);
    height = std::max(height, 1.0);
    // The top-left corner stays where it is.
    double top = w->spec.frame.maxY();
    w->spec.frame = {w->spec.frame.minX(), top - height, width, height};
    placeOnDisplaySpace(*w);
}

void DesktopModel::toggleZoom(WindowRecord& w) {
    if (w.zoomRestore) {
        w.spec.frame = *w.zoomRestore;
        w.zoomRestore.reset();
    } else if (auto* d = displayForRect(w.spec.frame)) {
        w.zoomRestore = w.spec.frame;
        const CGRect vis = d->visibleFrame();
        double width = vis.width(), height = vis.height();
        if (w.spec.maxSize) {
            width = std::min(width, w.spec.maxSize->width);
            height = std::min(height, w.spec.maxSize->height);
        }
        w.spec.frame = {vis.minX(), vis.maxY() - height, width, height};
    }
}

} // namespace platform::desktop_detail
