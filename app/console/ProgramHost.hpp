#pragma once

#include "shell/AppDelegate.hpp"

#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

namespace tilmora {

/// The program as the console runs it on the simulated desktop: its application delegate (and so
/// its shell), and everything it wrote to its standard output, and the platform's diagnostics
/// (the system log, the user defaults' reports), since the console started capturing them, which
/// outlives the clearing of the log file at launch. One per process; main thread, except the
/// journal, which any thread may write and read.
class ProgramHost {
public:
    static ProgramHost& shared();

    /// Routes the program's standard output and the platform's standard error into the journal
    /// (nothing reaches the transcript or the terminal).
    void captureOutput();

    /// Runs the entry on the current desktop: installs the hooks of the layers above the shell,
    /// creates the application delegate, sets the accessory policy, activates and runs the
    /// application (which finishes launching). After the program ended it starts a new instance,
    /// as a user who reopens the app: the previous one's shared instances and platform state
    /// (`SharedInstances::resetProgram`) go first, so that it reads its settings, layouts,
    /// snapshots and chords anew, and its process joins the desktop's running applications
    /// again; the desktop and the user folders stay as they are.
    void launch();
    /// The running shell, or null before a launch and after the program ended.
    std::shared_ptr<AppDelegate> shell() const;
    /// Whether the program was launched and its application object has not terminated.
    bool running() const;
    /// Whether the program's application object terminated (the Quit item, its chord, `quitApp`)
    /// while its objects are still held: `end` then releases them.
    bool terminated() const;
    /// Sends `quitApp` to the shell, as the Quit item does, then ends the program.
    void quit();
    /// Ends the program: terminates its application object when it still runs (the
    /// will-terminate clean-up runs once), then releases the delegate and so every object of the
    /// program, while the platform is still alive. The console calls it when the program quits
    /// and when the console ends, before any shared instance is destroyed. Nothing happens when
    /// no program is held.
    void end();

    /// The journal's text written since the previous call (or since capturing began), as far as
    /// it is still kept.
    std::string takeNewOutput();
    /// The journal as kept: the newest `maxKeptOutput` bytes at most, cut at a line start; a newest
    /// line longer than that is kept whole, alone.
    std::string output() const;
    /// The size in bytes of the journal as kept (`output().size()`, without the copy).
    std::size_t outputSize() const;
    /// Whether the program wrote anything since capturing began (kept or dropped since).
    bool hasOutput() const;
    /// Whether older output was dropped from the journal.
    bool outputTruncated() const;
    /// How much of the program's output the journal keeps for `expect log` and `show log`.
    static constexpr std::size_t maxKeptOutput = 1u << 20;

    /// Forgets the program and its output and gives standard output back (tests).
    void reset();

    /// How many alerts `show alerts` has already printed.
    std::size_t alertsShown = 0;

private:
    /// Drops what the ended program left in memory and starts its process again.
    void startAnew();

    std::shared_ptr<AppDelegateWrapper> wrapper_;
    /// A program ended since the last `reset`: the next launch starts a new instance.
    bool ended_ = false;
    void append(std::string_view text);

    mutable std::mutex outputMutex_; // guards the journal: output_, outputBase_, outputTaken_
    std::string output_;
    /// Offset in the whole output of `output_`'s first byte, and of the first byte not yet taken.
    std::size_t outputBase_ = 0;
    std::size_t outputTaken_ = 0;
    bool capturing_ = false;
};

} // namespace tilmora
