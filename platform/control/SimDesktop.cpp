#include "platform/control/SimDesktop.hpp"

#include "platform/internal/DesktopModel.hpp"
#include "platform/internal/DesktopTransaction.hpp"
#include "platform/internal/DesktopNotifications.hpp"
#include "platform/internal/DesktopState.hpp"
#include "platform/internal/InputState.hpp"
#include "platform/internal/OwnWindowBridge.hpp"
#include "platform/dispatch/MainThread.hpp"
#include "platform/desktop/NSWorkspace.hpp"
#include "platform/foundation/NotificationCenter.hpp"
#include "platform/control/DisplayRange.hpp"
#include "platform/control/SharedInstances.hpp"
#include "platform/foundation/Error.hpp"

#include <algorithm>
#include <mutex>

namespace platform {

using desktop_detail::AppRecord;
using desktop_detail::DesktopModel;

namespace {

SimDesktop::WindowState stateOf(const DesktopModel& m, const desktop_detail::WindowRecord& w) {
    SimDesktop::WindowState s;
    s.number = w.number;
    s.pid = w.pid;
    s.title = w.spec.title;
    s.frame = w.spec.frame;
    s.space = w.space;
    s.onScreen = m.onScreen(w);
    s.minimized = w.spec.minimized;
    s.fullScreen = w.spec.fullScreen;
    s.closed = w.closed;
    return s;
}

DisplaySpec laptopSpec() {
    DisplaySpec d;
    d.displayID = 1;
    d.name = "Built-in Retina Display";
    d.frame = {0, 0, 1440, 900};
    d.visibleFrame = CGRect{0, 0, 1440, 875};
    d.backingScaleFactor = 2;
    d.vendor = 1552;
    d.model = 41040;
    d.serial = 0;
    d.builtin = true;
    return d;
}

} // namespace

SimDesktop& SimDesktop::shared() {
    // Stateless: the record store lives in the platform (`desktop_detail::currentModel`).
    static SimDesktop desktop;
    return desktop;
}

void SimDesktop::clear() {
    desktop_detail::replaceModel();
    NSWorkspace::shared().notificationCenter().removeAllObservers();
}

std::shared_ptr<DesktopModel> SimDesktop::model() const {
    return desktop_detail::currentModel();
}

// ----------------------------------------------------------------------------------- fixtures

static void replaceDisplays(DesktopModel& m, const std::vector<DisplaySpec>& specs) {
    m.displays.clear();
    for (const auto& s : specs)
        m.addDisplay(s);
    for (auto& [n, w] : m.windows) {
        if (auto* d = m.displayForRect(w.spec.frame)) w.space = d->activeSpace;
    }
    // A fixture stands from the start: its screen list is published at once.
    ++m.publishGeneration;
    m.publishScreens(std::nullopt);
}

void SimDesktop::useLaptop() {
    TXN;
    replaceDisplays(m, {laptopSpec()});
}

void SimDesktop::useLaptopWithExternal() {
    TXN;
    DisplaySpec ext;
    ext.displayID = 2;
    ext.name = "DELL U2720Q";
    ext.frame = {1440, 0, 1920, 1080};
    ext.visibleFrame = CGRect{1440, 0, 1920, 1055};
    ext.backingScaleFactor = 1;
    ext.vendor = 4268;
    ext.model = 41329;
    ext.serial = 808530252;
    replaceDisplays(m, {laptopSpec(), ext});
}

void SimDesktop::useTwoIdenticalDisplays() {
    TXN;
    DisplaySpec a;
    a.displayID = 1;
    a.name = "LG HDR 4K";
    a.frame = {0, 0, 1920, 1080};
    a.backingScaleFactor = 1;
    a.vendor = 7789;
    a.model = 30471;
    DisplaySpec b = a;
    b.displayID = 2;
    b.frame = {1920, 0, 1920, 1080};
    replaceDisplays(m, {a, b});
}

// ----------------------------------------------------------------------------------- displays

namespace {

/// Throws `platform::Error` naming display `displayID` and what of `spec` lies outside `DisplayRange`.
void requireDisplayInRange(std::uint32_t displayID, const DisplaySpec& spec) {
    if (auto problem = DisplayRange::problem(spec))
        throw Error("display " + std::to_string(displayID) + ": " + *problem);
}

} // namespace

void SimDesktop::addDisplay(const DisplaySpec& spec) {
    requireDisplayInRange(spec.displayID, spec);
    TXN;
    m.addDisplay(spec);
}

void SimDesktop::removeDisplay(std::uint32_t displayID) {
    {
        TXN;
        m.removeDisplay(displayID);
    }
    // A pointer on the unplugged display goes to the nearest display left.
    if (isMainThread()) {
        auto& input = input_detail::state();
        input.pointer = input_detail::keepOnDisplays(input.pointer);
    }
}

void SimDesktop::renumberDisplay(std::uint32_t from, std::uint32_t to) {
    TXN;
    if (auto* d = m.displayByID(from)) {
        d->spec.displayID = to;
        m.displaysChanged();
    }
}

void SimDesktop::swapDisplayNumbers(std::uint32_t a, std::uint32_t b) {
    TXN;
    auto* da = m.displayByID(a);
    auto* db = m.displayByID(b);
    if (!da || !db) return;
    std::swap(da->spec.displayID, db->spec.displayID);
    m.displaysChanged();
}

void SimDesktop::setDisplayFrame(std::uint32_t displayID, const CGRect& frame,
                                 std::optional<CGRect> visibleFrame) {
    DisplaySpec checked;
    checked.frame = frame;
    checked.visibleFrame = visibleFrame;
    requireDisplayInRange(displayID, checked);
    TXN;
    if (auto* d = m.displayByID(displayID)) m.setDisplayFrame(*d, frame, visibleFrame);
}

void SimDesktop::updateDisplay(std::uint32_t displayID, const DisplaySpec& spec) {
    requireDisplayInRange(displayID, spec);
    TXN;
    if (auto* d = m.displayByID(displayID)) {
        DisplaySpec next = spec;
        next.spaces = int(d->spaces.size());
        next.frame = d->spec.frame;
        next.visibleFrame = d->spec.visibleFrame;
        d->spec = next;
        // The frame changes last, so that the display's windows move with it.
        m.setDisplayFrame(*d, spec.frame, spec.visibleFrame);
    }
}

void SimDesktop::setScreenListLag(double seconds) {
    TXN;
    m.screenListLag = seconds;
}

void SimDesktop::setScreenListTransients(std::vector<std::size_t> counts, double stepSeconds) {
    TXN;
    m.transientCounts = std::move(counts);
    m.transientStep = stepSeconds;
}

std::vector<std::uint32_t> SimDesktop::displayIDs() const {
    TXN;
    std::vector<std::uint32_t> out;
    for (const auto& d : m.displays)
        out.push_back(d.spec.displayID);
    return out;
}

// ----------------------------------------------------------------------------------- Spaces

std::vector<std::uint64_t> SimDesktop::spaces(std::uint32_t displayID) const {
    TXN;
    auto* d = m.displayByID(displayID);
    return d ? d->spaces : std::vector<std::uint64_t>{};
}

int SimDesktop::desktopCountFor(const CGRect& frame) const {
    TXN;
    auto* d = m.displayForRect(frame);
    return d ? static_cast<int>(d->spaces.size()) : 0;
}

std::uint64_t SimDesktop::activeSpace(std::uint32_t displayID) const {
    TXN;
    auto* d = m.displayByID(displayID);
    return d ? d->activeSpace : 0;
}

void SimDesktop::switchToDesktop(std::uint32_t displayID, int desktop) {
    TXN;
    auto* d = m.displayByID(displayID);
    if (d && desktop >= 1 && std::size_t(desktop) <= d->spaces.size())
        m.switchSpace(*d, d->spaces[std::size_t(desktop) - 1]);
}

std::uint64_t SimDesktop::addSpace(std::uint32_t displayID) {
    TXN;
    auto* d = m.displayByID(displayID);
    if (!d) return 0;
    d->spaces.push_back(m.newSpaceID());
    return d->spaces.back();
}

// ----------------------------------------------------------------------------------- applications

void SimDesktop::install(const AppSpec& spec) {
    TXN;
    AppSpec s = spec;
    if (s.bundlePath.empty())
        s.bundlePath = "/Applications/" + s.localizedName.value_or(s.bundleIdentifier) + ".app";
    m.installed[s.bundleIdentifier] = s;
}

pid_t SimDesktop::run(const std::string& bundleIdentifier, const std::vector<WindowSpec>& windows) {
    TXN;
    pid_t pid = m.startInstance(bundleIdentifier, false, true);
    if (pid == 0) return 0;
    m.openWindows(pid, windows);
    return pid;
}

pid_t SimDesktop::run(const AppSpec& spec, const std::vector<WindowSpec>& windows) {
    install(spec);
    return run(spec.bundleIdentifier, windows);
}

pid_t SimDesktop::launch(const std::string& bundleIdentifier) {
    TXN;
    return m.startInstance(bundleIdentifier, true, false);
}

void SimDesktop::quit(pid_t pid) {
    TXN;
    m.endApp(pid);
}

void SimDesktop::setFrontmost(pid_t pid) {
    TXN;
    m.makeFrontmost(pid, true);
}

pid_t SimDesktop::frontmost() const {
    TXN;
    return m.frontPid;
}

std::vector<pid_t> SimDesktop::pids(const std::string& bundleIdentifier) const {
    TXN;
    return m.runningPids([&](const AppRecord& a) { return a.spec.bundleIdentifier == bundleIdentifier; });
}

void SimDesktop::updateApp(pid_t pid, const AppSpec& spec) {
    TXN;
    if (auto* a = m.app(pid)) a->spec = spec;
}

// ----------------------------------------------------------------------------------- windows

std::uint32_t SimDesktop::openWindow(pid_t pid, const WindowSpec& spec) {
    TXN;
    if (!m.liveApp(pid)) return 0;
    return m.openWindow(pid, spec);
}

void SimDesktop::closeWindow(std::uint32_t number) {
    TXN;
    if (auto* w = m.liveWindow(number)) {
        w->closed = true;
        m.zOrder.erase(std::remove(m.zOrder.begin(), m.zOrder.end(), number), m.zOrder.end());
    }
}

void SimDesktop::setWindowFrame(std::uint32_t number, const CGRect& frame) {
    TXN;
    if (auto* w = m.liveWindow(number)) {
        w->spec.frame = frame;
        m.placeOnDisplaySpace(*w);
    }
}

void SimDesktop::dragWindowByTitleBar(std::uint32_t number, double dx, double dy) {
    TXN;
    auto* w = m.liveWindow(number);
    if (!w || !w->spec.movesWithTitleBarDrag) return;
    auto move = [number, dx, dy](DesktopModel& model) {
        if (auto* live = model.liveWindow(number)) {
            live->spec.frame.origin.x += dx;
            live->spec.frame.origin.y += dy;
            model.placeOnDisplaySpace(*live);
        }
    };
    if (w->spec.titleBarDragLag > 0)
        m.after(w->spec.titleBarDragLag, move, "title-bar move");
    else
        move(m);
}

void SimDesktop::setWindowTitle(std::uint32_t number, const std::string& title) {
    TXN;
    if (auto* w = m.liveWindow(number)) w->spec.title = title;
}

void SimDesktop::setWindowMinimized(std::uint32_t number, bool minimized) {
    TXN;
    if (auto* w = m.liveWindow(number)) w->spec.minimized = minimized;
}

void SimDesktop::moveWindowToDesktop(std::uint32_t number, int desktop) {
    TXN;
    auto* w = m.liveWindow(number);
    if (!w) return;
    auto* d = m.displayForRect(w->spec.frame);
    if (d && desktop >= 1 && std::size_t(desktop) <= d->spaces.size())
        w->space = d->spaces[std::size_t(desktop) - 1];
}

void SimDesktop::updateWindow(std::uint32_t number, const WindowSpec& spec) {
    TXN;
    if (auto* w = m.liveWindow(number)) {
        CGRect frame = w->spec.frame;
        bool minimized = w->spec.minimized, fullScreen = w->spec.fullScreen;
        w->spec = spec;
        w->spec.frame = frame;
        w->spec.minimized = minimized;
        w->spec.fullScreen = fullScreen;
        w->failedWrites = 0;
    }
}

std::optional<SimDesktop::WindowState> SimDesktop::windowState(std::uint32_t number) const {
    TXN;
    auto* w = m.window(number);
    if (!w) return std::nullopt;
    return stateOf(m, *w);
}

std::vector<SimDesktop::WindowState> SimDesktop::windowsOf(pid_t pid) const {
    TXN;
    std::vector<WindowState> out;
    for (auto n : m.appWindowsInOrder(pid))
        out.push_back(stateOf(m, m.windows.at(n)));
    return out;
}

std::vector<SimDesktop::WindowState> SimDesktop::allWindows() const {
    TXN;
    std::vector<WindowState> out;
    for (auto n : m.zOrder)
        if (!m.windows.at(n).closed) out.push_back(stateOf(m, m.windows.at(n)));
    return out;
}

std::optional<SimDesktop::WindowState> SimDesktop::windowAt(CGPoint location) const {
    TXN;
    const desktop_detail::WindowRecord* hit = m.windowAt(location);
    if (!hit) return std::nullopt;
    return stateOf(m, *hit);
}

void SimDesktop::clickWindow(std::uint32_t number) {
    TXN;
    auto* w = m.liveWindow(number);
    if (!w) return;
    m.makeFrontmost(w->pid, false);
    m.raise(number);
}

void SimDesktop::clickDesktop(CGPoint location) {
    TXN;
    if (m.frontPid != m.programPid) return;
    const bool onVisibleFrame = std::any_of(m.displays.begin(), m.displays.end(), [&](const auto& d) {
        return d.visibleFrame().contains(location);
    });
    if (!onVisibleFrame) return;
    m.frontPid = 0;
    m.pendingCalls.push_back([] { OwnWindowBridge::programLeftFront(); });
}

// ----------------------------------------------------------------------------------- own windows

pid_t SimDesktop::programPid() const {
    TXN;
    return m.programPid;
}

void SimDesktop::startProgram() {
    TXN;
    m.startProgram();
}

// ----------------------------------------------------------------------------------- knobs

void SimDesktop::setOnlineDisplayListError(std::int32_t error) {
    TXN;
    m.onlineDisplayListError = error;
}
void SimDesktop::setWindowListUnavailable(bool v) {
    TXN;
    m.windowListUnavailable = v;
}
void SimDesktop::setWindowNamesHidden(bool v) {
    TXN;
    m.windowNamesHidden = v;
}
void SimDesktop::setWorkspaceNumberForm(WorkspaceNumberForm f) {
    TXN;
    m.workspaceForm = f;
}
void SimDesktop::setSpaceAnswerForm(SpaceAnswerForm f) {
    TXN;
    m.spaceAnswerForm = f;
}
void SimDesktop::setConnectionID(std::uint32_t id) {
    TXN;
    m.connectionID = id;
}
void SimDesktop::removeSymbol(const std::string& name) {
    TXN;
    m.removedSymbols.insert(name);
}
void SimDesktop::setSkyLightLoadable(bool v) {
    TXN;
    m.skyLightLoadable = v;
}
void SimDesktop::queueSkyLightMoveResults(const std::vector<std::int32_t>& codes) {
    TXN;
    m.skyLightMoveResults.insert(m.skyLightMoveResults.end(), codes.begin(), codes.end());
}
void SimDesktop::setSkyLightMoveTakesEffect(bool v) {
    TXN;
    m.skyLightMoveTakesEffect = v;
}
void SimDesktop::setLegacyMoveWorks(bool v) {
    TXN;
    m.legacyMoveWorks = v;
}
void SimDesktop::setAccessibilityTrusted(bool v) {
    TXN;
    m.accessibilityTrusted = v;
}
int SimDesktop::accessibilityPrompts() const {
    TXN;
    return m.accessibilityPrompts;
}
void SimDesktop::setAXValueCreationFails(bool v) {
    TXN;
    m.axValueCreationFails = v;
}
void SimDesktop::setAXValueConversionFails(bool v) {
    TXN;
    m.axValueConversionFails = v;
}
void SimDesktop::setAutomationStatus(int s) {
    TXN;
    m.automationStatus = s;
}
void SimDesktop::setAutomationPromptGrants(bool v) {
    TXN;
    m.automationPromptGrants = v;
}
int SimDesktop::automationPrompts() const {
    TXN;
    return m.automationPrompts;
}
void SimDesktop::setScriptCreationFails(bool v) {
    TXN;
    m.scriptCreationFails = v;
}
void SimDesktop::queueScriptFailure(int n, const std::string& message) {
    TXN;
    m.scriptFailures.push_back({n, message});
}
void SimDesktop::setEventSourceFails(bool v) {
    TXN;
    m.eventSourceFails = v;
}

void SimDesktop::setExecutableMissing(const std::string& path, bool missing) {
    TXN;
    if (missing)
        m.missingExecutables.insert(path);
    else
        m.missingExecutables.erase(path);
}

void SimDesktop::queueLaunchctlResult(const std::string& sub, int status, const std::string& out,
                                      const std::string& err) {
    TXN;
    m.launchctlResults[sub].push_back({status, out, err});
}

bool SimDesktop::launchctlServiceLoaded(const std::string& target) const {
    TXN;
    return m.launchctlLoaded.count(target) != 0;
}

void SimDesktop::setLoginItemStatus(int status) {
    TXN;
    m.loginItemStatus = status;
}
void SimDesktop::setLoginItemRegisterOutcome(int statusAfter, std::optional<std::string> error) {
    TXN;
    m.loginItemStatusAfterRegister = statusAfter;
    m.loginItemRegisterError = std::move(error);
}
void SimDesktop::setLoginItemUnregisterError(std::optional<std::string> error) {
    TXN;
    m.loginItemUnregisterError = std::move(error);
}
int SimDesktop::loginItemStatus() const {
    TXN;
    return m.loginItemStatus;
}
void SimDesktop::setUpdateCycleOutcome(int outcome, double seconds) {
    TXN;
    m.updateOutcome = outcome;
    m.updateCycleDuration = seconds;
}

// ----------------------------------------------------------------------------------- journal

std::vector<JournalEntry> SimDesktop::journal() const {
    TXN;
    return m.journal;
}

std::vector<JournalEntry> SimDesktop::journal(JournalEntry::Kind kind) const {
    TXN;
    std::vector<JournalEntry> out;
    for (const auto& e : m.journal)
        if (e.kind == kind) out.push_back(e);
    return out;
}

void SimDesktop::clearJournal() {
    TXN;
    m.journal.clear();
}

} // namespace platform
