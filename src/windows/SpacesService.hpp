#pragma once

#include "platform/dispatch/Lock.hpp"
#include "platform/foundation/Date.hpp"
#include "platform/foundation/NotificationCenter.hpp"
#include "platform/foundation/SharedInstance.hpp"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform::ui {
class Panel;
}

namespace tilmora {

/// Learns the ids of the Spaces the user visits and can bring the screen back to a known Space.
///
/// With anchors on (`settings::spacesEnableAnchors`), each change of the active Space places a tiny, nearly
/// invisible panel (an anchor) on the new Space, asks which Space the frontmost application's
/// focused window lies on and remembers the panel under that Space id. `switchToSpace` brings a
/// Space's anchor panel to the front, which makes the desktop switch to that Space, and hands the
/// focus back 0.08 s later. Anchors are only ever added; each stays on its Space, ordered out
/// between uses, for the rest of the run. `settings::spacesKillSwitch` turns everything off.
///
/// Settings (standard user defaults, read at every use): `settings::spacesKillSwitch` (Boolean, default
/// false), `settings::spacesEnableAnchors` (a stored Boolean, default false),
/// `settings::spacesEnableSwitching` (a stored Boolean, default true), `settings::spacesLogDiagnostics`
/// (Boolean, default false) and `settings::verboseLogging` (a stored Boolean, default false); a stored value
/// that is not a Boolean counts as missing for the "stored Boolean" readings.
///
/// Log: "[SPACE][SERVICE] " + message through `print`, only while `settings::spacesLogDiagnostics` or
/// `settings::verboseLogging` is true; the one exception is the first unresolved anchor with diagnostics
/// off, which is written once per service.
///
/// Threads: anchor and switch work runs on the main thread; calls from other threads are forwarded
/// to the main queue. `lock` guards the anchors, `started` and the provider, for short sections.
class SpacesService {
public:
    /// Answers the Space of a window number; installed by
    /// `WindowManager::configureSpacesServiceIfNeeded()`.
    using PrimarySpaceProvider = std::function<std::optional<std::uint64_t>(std::uint32_t)>;

    static SpacesService& shared();
    ~SpacesService();
    SpacesService(const SpacesService&) = delete;
    SpacesService& operator=(const SpacesService&) = delete;

    /// The installed Space lookup (empty until one is installed). Any thread.
    PrimarySpaceProvider primarySpaceProvider() const;
    void setPrimarySpaceProvider(PrimarySpaceProvider provider);

    /// Starts the service once: observes the active-Space changes (delivered on the main queue)
    /// and makes the anchor of the Space active now. A second call logs "start() ignored (already
    /// started)."; with the kill switch on it logs "SpacesService start skipped: kill switch
    /// enabled." and stays unstarted, so a later call may start it. Main thread (the anchor work
    /// is forwarded there from elsewhere).
    void start();

    /// Makes an anchor for the current Space when anchors are enabled or `force` is true (never
    /// with the kill switch on). Off the main thread the call is forwarded to the main queue.
    void ensureAnchorForCurrentSpace(bool force);

    /// Asks the desktop to switch to Space `spaceID` through its anchor. True when the switch was
    /// requested, or at once when the call was forwarded from another thread to the main queue;
    /// false with the kill switch on, with switching off and no `force`, or when no anchor is known
    /// for that Space. A forced call first records the current Space's anchor.
    bool switchToSpace(std::uint64_t spaceID, bool force);

    /// Whether at least one anchor is known. Any thread.
    bool hasAnyAnchor() const;
    /// The known Space ids, ascending. Any thread.
    std::vector<std::uint64_t> knownSpaceIDs() const;
    /// Whether `start` has started the service. Any thread.
    bool isStarted() const;

private:
    friend class platform::SharedInstance<SpacesService>;
    SpacesService();

    struct Anchor {
        std::uint64_t spaceID = 0;
        std::shared_ptr<platform::ui::Panel> window;
        std::uint32_t cgWindowID = 0;
        platform::Date createdAt;
    };

    std::optional<std::uint64_t> resolveCurrentSpaceIDFromFrontmostWindow();
    static std::optional<std::int32_t> cgWorkspaceID(std::uint32_t windowNumber);
    static bool killSwitch();
    static bool anchorsEnabled();
    static bool switchingEnabled();
    static bool diagnosticsEnabled();
    static void log(const std::string& message);
    /// "[a, b, ...]" of the known ids; takes `lock`.
    std::string knownSpacesText() const;

    mutable platform::Lock lock{"SpacesService"};
    PrimarySpaceProvider provider_;
    std::map<std::uint64_t, Anchor> anchors;
    std::optional<platform::ObserverToken> observer;
    bool started = false;
    bool didWarnAnchorResolveFailure = false;
    /// Held weakly by the blocks the service hands to the main queue: a block that runs after the
    /// service is gone does nothing.
    std::shared_ptr<SpacesService*> self_;
};

} // namespace tilmora
