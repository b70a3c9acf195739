#pragma once

#include "shell/AppDelegate.hpp"

#include <cstddef>
#include <memory>
#include <string>

namespace tilmora {

/// The program as the console runs it on the simulated desktop: its application delegate (and so
/// its shell), and everything it wrote to its standard output since the console started
/// capturing it, which outlives the clearing of the log file at launch. One per process; main
/// thread.
class ProgramHost {
public:
    static ProgramHost& shared();

    /// Routes the program's standard output into the journal (nothing reaches the transcript).
    void captureOutput();

    /// Runs the entry on the current desktop: installs the hooks of the layers above the shell,
    /// creates the application delegate, sets the accessory policy, activates and runs the
    /// application (which finishes launching).
    void launch();
    /// The running shell, or null before a launch and after a quit.
    std::shared_ptr<AppDelegate> shell() const;
    /// Sends `quitApp` to the shell; the delegate is released afterwards.
    void quit();

    /// The journal's text written since the previous call (or since capturing began).
    std::string takeNewOutput();
    /// The whole journal.
    const std::string& output() const { return output_; }

    /// Forgets the program and its output and gives standard output back (tests).
    void reset();

    /// How many alerts `show alerts` has already printed.
    std::size_t alertsShown = 0;

private:
    std::shared_ptr<AppDelegateWrapper> wrapper_;
    std::string output_;
    std::size_t outputTaken_ = 0;
    bool capturing_ = false;
};

} // namespace tilmora
