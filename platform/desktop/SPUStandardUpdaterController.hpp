#pragma once

#include "platform/foundation/Error.hpp"

#include <memory>
#include <optional>
#include <string>

namespace platform {

class SPUUpdater;

/// The update framework's callbacks to its delegate. Called on the thread that turns the virtual
/// clock (the main thread).
class SPUUpdaterDelegate {
public:
    virtual ~SPUUpdaterDelegate() = default;
    virtual void updaterDidNotFindUpdate(SPUUpdater&) {}
    virtual void updaterDidAbortWithError(SPUUpdater&, const Error&) {}
    virtual void updaterDidFindValidUpdate(SPUUpdater&, const std::string& /*version*/) {}
    /// Always called once at the end of every cycle, with the cycle's error if it had one.
    virtual void updaterDidFinishUpdateCycle(SPUUpdater&, const std::optional<Error>&) {}
};

/// The updater of the update framework stand-in.
class SPUUpdater {
public:
    bool automaticallyChecksForUpdates = false;
    /// Starts one update cycle; it always finishes (`updaterDidFinishUpdateCycle`) after the
    /// configured duration of virtual time, with the configured outcome. Journalled.
    void checkForUpdatesInBackground();
    bool isStarted() const { return started_; }

private:
    friend class SPUStandardUpdaterController;
    struct State;
    std::shared_ptr<State> state_;
    bool started_ = false;
};

/// The update framework's standard controller, on the simulated desktop. The delegate must outlive
/// the controller; a cycle whose controller is gone calls nothing.
class SPUStandardUpdaterController {
public:
    SPUStandardUpdaterController(bool startingUpdater, SPUUpdaterDelegate* updaterDelegate,
                                 void* userDriverDelegate = nullptr);
    ~SPUStandardUpdaterController();
    SPUStandardUpdaterController(const SPUStandardUpdaterController&) = delete;
    SPUStandardUpdaterController& operator=(const SPUStandardUpdaterController&) = delete;

    SPUUpdater& updater() { return *updater_; }
    /// Starts the updater. Throws `platform::Error` when the simulator makes the start fail
    /// (`HostControl::setUpdaterStartError`).
    void startUpdater();

private:
    std::unique_ptr<SPUUpdater> updater_;
};

} // namespace platform
