#pragma once

#include <csignal>
#include <sys/types.h>

namespace tilmora {

/// Makes an interactive session the only process its terminal's keys signal. A program started by
/// a parent that does not manage jobs (`make demo`, `sh -c`) shares that parent's process group:
/// Ctrl-C at the prompt would reach the parent as well, which then dies or fails once the session
/// ends. While one of these lives, the process is the leader of a process group of its own and
/// that group is the terminal's foreground group, so Ctrl-C, Ctrl-\ and the like reach only the
/// session; Ctrl-Z is ignored meanwhile, since no parent could continue a stopped session. The
/// destructor gives the terminal back to the group that had it and restores Ctrl-Z, on every way
/// out of `main` (quit, Ctrl-D, an ending signal, an error). A process that leads its group
/// already (started by a shell that manages jobs, or a session leader) is left as it is.
///
/// Writes nothing and logs nothing; a step the system refuses leaves things as they are. One at
/// a time, on the main thread.
class TerminalForeground {
public:
    /// Takes the terminal at `descriptor` when it is the controlling terminal and the process's
    /// group is its foreground group.
    explicit TerminalForeground(int descriptor);
    ~TerminalForeground();
    TerminalForeground(const TerminalForeground&) = delete;
    TerminalForeground& operator=(const TerminalForeground&) = delete;

    /// Whether the process took a group of its own and the terminal with it.
    bool taken() const { return taken_; }

    /// Gives the terminal back to the group that had it, as the destructor does, for a process
    /// about to end without unwinding (the session watchdog's thread). Safe from any thread.
    void giveBack() const;

private:
    int descriptor_;
    pid_t previousGroup_ = -1;
    bool taken_ = false;
    struct sigaction previousStop_ {};
};

} // namespace tilmora
