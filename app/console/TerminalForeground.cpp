#include "console/TerminalForeground.hpp"

#include <unistd.h>

namespace tilmora {

namespace {

/// `tcsetpgrp` from a group that is not in the foreground signals SIGTTOU, which would stop the
/// process: it is blocked around the call.
bool giveTerminal(int descriptor, pid_t group) {
    sigset_t block;
    sigset_t previous;
    sigemptyset(&block);
    sigaddset(&block, SIGTTOU);
    sigprocmask(SIG_BLOCK, &block, &previous);
    const bool given = ::tcsetpgrp(descriptor, group) == 0;
    sigprocmask(SIG_SETMASK, &previous, nullptr);
    return given;
}

} // namespace

TerminalForeground::TerminalForeground(int descriptor)
    : descriptor_(descriptor) {
    const pid_t foreground = ::tcgetpgrp(descriptor);
    const pid_t own = ::getpgrp();
    if (foreground < 0 || foreground != own || own == ::getpid()) return;
    if (::setpgid(0, 0) != 0) return;
    if (!giveTerminal(descriptor, ::getpid())) {
        // Back into the parent's group, as it was.
        ::setpgid(0, own);
        return;
    }
    previousGroup_ = own;
    taken_ = true;
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGTSTP, &ignore, &previousStop_);
}

void TerminalForeground::giveBack() const {
    if (taken_) giveTerminal(descriptor_, previousGroup_);
}

TerminalForeground::~TerminalForeground() {
    if (!taken_) return;
    giveTerminal(descriptor_, previousGroup_);
    sigaction(SIGTSTP, &previousStop_, nullptr);
}

} // namespace tilmora
