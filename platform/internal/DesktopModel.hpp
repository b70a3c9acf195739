#pragma once

// The simulated desktop's one record store. Internal to platform/desktop: the app-facing calls
// and the control API (`SimDesktop`) both work on it; nothing else includes this header.

#include "platform/desktop/AXUIElement.hpp"
#include "platform/desktop/CFValue.hpp"
#include "platform/control/DesktopJournal.hpp"
#include "platform/control/DesktopSpecs.hpp"
#include "platform/desktop/Geometry.hpp"

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace platform::desktop_detail {

struct DisplayRecord {
    std::uint64_t uid = 0; // stable across renumbering
    DisplaySpec spec;      // frame and visible frame in global coordinates
    std::vector<std::uint64_t> spaces;
    std::uint64_t activeSpace = 0;
    CGRect visibleFrame() const;
};

/// What `NSScreen` shows: a copy of one display as the screen list published it.
struct ScreenSnapshot {
    std::uint64_t uid = 0;
    std::uint32_t displayID = 0;
    std::string name;
    CGRect frame;
    CGRect visibleFrame;
    double backingScaleFactor = 1;
    CFDictionary deviceDescription;
};

enum class AppState { launching, running, terminated };

struct AppRecord {
    pid_t pid = 0;
    AppSpec spec;
    AppState state = AppState::launching;
    bool hidden = false;
    bool listed = false; // appears in the running list (finished launching)
    double launchRequestedAt = 0;
    std::uint64_t order = 0; // running-list order
    bool isProgram = false;
};

struct WindowRecord {
    std::uint32_t number = 0;
    pid_t pid = 0;
    WindowSpec spec; // spec.frame is the current frame (global)
    std::uint64_t space = 0;
    bool closed = false;
    bool orderedIn = true;
    bool own = false;
    int failedWrites = 0;
    std::optional<CGRect> zoomRestore;
    std::optional<CGRect> fullScreenRestore;
};

struct PendingNotification {
    bool workspace = true; // workspace center, else the default center
    std::string name;
    pid_t pid = 0; // NSWorkspaceApplicationKey, 0 = none
};

class DesktopModel : public std::enable_shared_from_this<DesktopModel> {
public:
    DesktopModel();

    // --- locking: every entry point holds a Txn; notifications are posted after the outermost
    // Txn has released the lock.
    class Txn {
    public:
        explicit Txn(DesktopModel& m);
        ~Txn();
        Txn(const Txn&) = delete;
        Txn& operator=(const Txn&) = delete;

    private:
        DesktopModel& m_;
    };

    std::recursive_mutex mutex;
    int depth = 0;
    std::vector<PendingNotification> pending;
    /// Calls to make once the lock is released (after the notifications).
    std::vector<std::function<void()>> pendingCalls;
    /// Hands a notification to the centres (set by SimDesktop); called without the lock.
    std::function<void(const PendingNotification&)> poster;

    // --- state
    std::vector<DisplayRecord> displays; // first = main (menu bar) display
    std::vector<std::shared_ptr<const ScreenSnapshot>> published;
    double screenListLag = 0;
    std::vector<std::size_t> transientCounts;
    double transientStep = 0;
    std::uint64_t publishGeneration = 0;

    std::map<std::string, AppSpec> installed;
    std::map<pid_t, AppRecord> apps;
    std::map<std::uint32_t, WindowRecord> windows;
    std::vector<std::uint32_t> zOrder; // front to back
    pid_t frontPid = 0;
    pid_t programPid = 400;
    pid_t nextPid = 501;
    std::uint32_t nextWindow = 100;
    std::uint64_t nextSpace = 1;
    std::uint64_t nextDisplayUid = 1;
    std::uint64_t nextOrder = 1;

    std::vector<JournalEntry> journal;
    /// The journal keeps at most this many entries; the oldest half goes when it is full.
    static constexpr std::size_t maxJournalEntries = 20000;

    // permissions and services
    bool accessibilityTrusted = true;
    int accessibilityPrompts = 0;
    int automationStatus = 0; // 0 granted, -1743 denied, -1744 consent needed
    bool automationPromptGrants = true;
    int automationPrompts = 0;
    bool axValueCreationFails = false;
    bool axValueConversionFails = false;
    bool windowListUnavailable = false;
    std::int32_t onlineDisplayListError = 0; // non-zero: CGGetOnlineDisplayList fails with it
    bool windowNamesHidden = false;
    WorkspaceNumberForm workspaceForm = WorkspaceNumberForm::int32;
    SpaceAnswerForm spaceAnswerForm = SpaceAnswerForm::uint64Numbers;
    std::uint32_t connectionID = 0x1234;
    std::set<std::string> removedSymbols;
    bool skyLightLoadable = true;
    std::deque<std::int32_t> skyLightMoveResults;
    bool skyLightMoveTakesEffect = true;
    bool legacyMoveWorks = true;
    bool scriptCreationFails = false;
    std::deque<std::pair<int, std::string>> scriptFailures;
    bool eventSourceFails = false;
    std::set<std::string> missingExecutables;
    struct ToolResult {
        int status = 0;
        std::string out;
        std::string err;
    };
    std::map<std::string, std::deque<ToolResult>> launchctlResults;
    int loginItemStatus = 0; // SMAppService::Status
    int loginItemStatusAfterRegister = 1;
    std::optional<std::string> loginItemRegisterError;
    std::optional<std::string> loginItemUnregisterError;
    int updateOutcome = 0; // 0 no update, 1 valid update found, 2 aborted with an error
    double updateCycleDuration = 0.5;
    std::set<std::string> launchctlLoaded;

    // --- helpers (call with the lock held)
    double now() const;
    void record(JournalEntry entry);
    void after(double delay, std::function<void(DesktopModel&)> event, std::string label);
    void notify(bool workspace, std::string name, pid_t pid = 0);

    double mainHeight() const;
    DisplayRecord* displayByID(std::uint32_t id);
    DisplayRecord* displayByUid(std::uint64_t uid);
    DisplayRecord* displayForRect(const CGRect& globalFrame);
    DisplayRecord* displayOfSpace(std::uint64_t space);
    bool spaceIsActive(std::uint64_t space) const;

    // displays and screens
    /// A fresh Space id. Ids go up in steps of 2 from 1, so that beyond a display's first Desktop an
    /// id is never its Desktop number (code that mixes the two up shows it).
    std::uint64_t newSpaceID();
    std::uint64_t addDisplay(const DisplaySpec& spec);
    void removeDisplay(std::uint32_t id);
    /// Moves every display and window by -shift (the global space follows a new main display).
    void shiftGlobalSpace(CGPoint shift);
    /// A resolution or arrangement change: the display's windows (not the program's own) keep
    /// their place relative to its top-left corner; one that no longer lies inside the new frame is
    /// pulled into the visible frame. The main display's origin stays (0, 0).
    void setDisplayFrame(DisplayRecord& d, const CGRect& frame, std::optional<CGRect> visibleFrame);
    void displaysChanged();
    void publishScreens(std::optional<std::size_t> count);
    std::shared_ptr<const ScreenSnapshot> snapshotOf(const DisplayRecord& d) const;
    void switchSpace(DisplayRecord& d, std::uint64_t space);

    // applications
    AppRecord* app(pid_t pid);
    AppRecord* liveApp(pid_t pid);
    /// The running (not terminated) applications that `keep` accepts, in launch order.
    std::vector<pid_t> runningPids(const std::function<bool(const AppRecord&)>& keep) const;
    pid_t startInstance(const std::string& bundleId, bool activate, bool immediate);
    void finishLaunch(pid_t pid, bool activate);
    bool activate(pid_t pid, unsigned options);
    void makeFrontmost(pid_t pid, bool allWindows);
    /// Ends a running application: its windows close, it leaves the running applications (with
    /// the workspace's did-terminate notification) and the next application comes forward. The
    /// program itself ends only with `includingProgram` (its application object terminated).
    void endApp(pid_t pid, bool includingProgram = false);
    /// The program's process starts again after it ended: a new pid, listed among the running
    /// applications (last), not frontmost, with the did-launch notification. Nothing while the
    /// program runs.
    void startProgram();
    /// Adds the running program's record under `programPid`.
    void addProgram();
    bool openNewWindow(pid_t pid);

    // windows
    /// Opens a window in front of its layer; `number` 0 takes the next free number, another number
    /// (reserved earlier from `nextWindow`) is used as given and replaces a closed record of it.
    std::uint32_t openWindow(pid_t pid, const WindowSpec& spec, bool own = false, std::uint32_t number = 0);
    /// Opens `specs` in order with fresh numbers, as that many `openWindow` calls would (the last
    /// in front), in time linear in the windows already open plus the new ones.
    void openWindows(pid_t pid, const std::vector<WindowSpec>& specs);
    /// The record of a window about to open (number, frame raised to its minimum size, Space);
    /// takes a fresh number when `number` is 0. Changes nothing else.
    WindowRecord newWindowRecord(pid_t pid, const WindowSpec& spec, bool own, std::uint32_t number);
    WindowRecord* window(std::uint32_t number);
    WindowRecord* liveWindow(std::uint32_t number);
    bool onScreen(const WindowRecord& w) const;
    /// The window that a click at `location` (global points, y up) lands on: the topmost on-screen
    /// window of the highest layer whose frame holds the point, leaving out windows that are fully
    /// transparent or let clicks pass through; null when there is none.
    const WindowRecord* windowAt(CGPoint location) const;
    void raise(std::uint32_t number);
    std::vector<std::uint32_t> appWindowsInOrder(pid_t pid) const; // front to back
    std::optional<std::uint32_t> focusedWindow(pid_t pid) const;
    std::optional<std::uint32_t> keyWindow() const;
    void applyPosition(std::uint32_t number, CGPoint topLeft);
    void applySize(std::uint32_t number, CGSize size);
    void placeOnDisplaySpace(WindowRecord& w);
    /// The zoom button: a window zoomed before goes back to the frame it had then; any other fills
    /// the visible frame of the display that holds most of it (the nearest one when none does) from
    /// its top-left corner, within its maximum size. Without displays it stays.
    void toggleZoom(WindowRecord& w);
    /// A position (top-left coordinates) or size write under the window's write rules: read-only
    /// answers kAXErrorAttributeUnsupported, the first k writes kAXErrorCannotComplete; a delayed
    /// window applies it later. Returns the Accessibility error code.
    std::int32_t writeGeometry(std::uint32_t number, bool isPosition, const AXValue& value);
    /// The window's Accessibility position (top-left coordinates of the main display).
    CGPoint axPosition(const WindowRecord& w) const;
};

} // namespace platform::desktop_detail
