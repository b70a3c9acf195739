#pragma once

#include <functional>

namespace tilmora {

/// The signals that end or interrupt a console session. SIGTERM, SIGHUP, SIGPIPE (its output's
/// reader went away; the write that met it fails) and every other signal whose default action ends
/// the process without a fault (SIGQUIT, SIGUSR1, SIGUSR2, SIGALRM, SIGVTALRM, SIGPROF, SIGXCPU,
/// SIGXFSZ, SIGPOLL, SIGPWR, SIGSTKFLT and the real-time signals) end it; SIGINT ends it too,
/// except in an interactive session on a terminal, where it interrupts (Ctrl-C stops the running
/// command or clears the line being typed). The fault signals (SIGSEGV, SIGBUS, SIGILL, SIGFPE,
/// SIGABRT, SIGTRAP, SIGSYS) keep their default action. The handler only records the signal and
/// writes a byte to a pipe (`descriptor()`), which the console's waits watch: the session then
/// unwinds normally (the program ends as at `quit`, the settings are written, a script's private
/// folder is removed) and the process exits with 128 + the signal's number. Once an ending signal
/// came, a wait for a lock another program holds on a database (the snapshot store) gives up, so
/// that save fails and leaves the store as it was (`SQLiteControl::abandonBusyWaitsWhen`, installed
/// by `install`).
///
/// Process-wide; `install` and `uninstall` on the main thread, the queries from any thread (the
/// handler may run on any thread).
class SessionSignals {
public:
    /// What SIGINT does.
    enum class Interrupt { endsSession, stopsCommand };

    /// Installs the handlers (and makes the pipe); a second call only changes what SIGINT does.
    /// Throws `std::runtime_error` when the pipe cannot be made.
    static void install(Interrupt interrupt);
    /// Restores the previous handlers, closes the pipe and forgets every signal received.
    static void uninstall();
    static bool installed();

    /// The signal that ends the session, 0 while none came.
    static int endingSignal();
    /// Whether an interrupt (Ctrl-C on a terminal) came and was not taken yet.
    static bool interruptPending();
    /// Whether an interrupt came since the last call; forgets it.
    static bool takeInterrupt();
    /// Whether the command being run should stop: an ending signal or an interrupt pending.
    static bool stopsCommand() { return endingSignal() != 0 || interruptPending(); }

    /// Readable once a signal came (until `drain`); -1 when not installed.
    static int descriptor();
    /// Empties the pipe; the signals received stay recorded.
    static void drain();

    /// The seconds an ending signal leaves the session to end on its own before the watchdog ends
    /// the process (wall-clock time).
    static constexpr double graceSeconds = 3.0;
    /// Arms the watchdog (once installed): a thread of its own that, when an ending signal came and
    /// the process still runs `graceSeconds` later (the main thread blocked in a system call, say),
    /// runs `lastResort` and ends the process at once with 128 + the signal's number. What was
    /// stored stays stored. `lastResort` runs on the watchdog's thread while the main thread may
    /// still run: only what is safe then (writing the settings under their own locks, removing a
    /// fresh private folder, giving the terminal back), and nothing that may wait without end (see
    /// `runWithin`). `uninstall` stops the watchdog. Main thread.
    static void armWatchdog(std::function<void()> lastResort);

    /// The wall-clock seconds the watchdog's last resort gives a write that may meet a lock the
    /// blocked main thread holds (`runWithin`).
    static constexpr double lastWriteSeconds = 0.3;
    /// Runs `work` on a thread of its own and waits at most `seconds` (wall-clock time) for it;
    /// true when it finished in time. A `work` still running then goes on until the process ends.
    /// For the watchdog's last resort, which must end the process whatever blocks. Any thread.
    static bool runWithin(double seconds, std::function<void()> work);
};

} // namespace tilmora
