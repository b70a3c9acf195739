#include "console/SessionSignals.hpp"

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <stdexcept>
#include <string>

#include <fcntl.h>
#include <unistd.h>

namespace tilmora {

namespace {

// SIGPIPE: the reader of the session's output went away (`tilmora --script S | head`): the
// session ends as at `quit` instead of dying with its private folder left behind.
constexpr std::array<int, 4> kSignals{SIGTERM, SIGHUP, SIGINT, SIGPIPE};

// Read by the handler, which may run on any thread: lock-free atomics only.
std::atomic<int> endingSignal_{0};
std::atomic<bool> interruptPending_{false};
std::atomic<bool> sigintInterrupts_{false};
std::atomic<int> pipeRead_{-1};
std::atomic<int> pipeWrite_{-1};
std::array<struct sigaction, kSignals.size()> previous_{};

extern "C" void onSessionSignal(int signal) {
    const int savedErrno = errno;
    if (signal == SIGINT && sigintInterrupts_.load()) {
        interruptPending_.store(true);
    } else {
        int none = 0;
        endingSignal_.compare_exchange_strong(none, signal);
    }
    if (const int fd = pipeWrite_.load(); fd >= 0) {
        const char byte = 1;
        [[maybe_unused]] const auto written = ::write(fd, &byte, 1);
    }
    errno = savedErrno;
}

} // namespace

void SessionSignals::install(Interrupt interrupt) {
    sigintInterrupts_.store(interrupt == Interrupt::stopsCommand);
    if (installed()) return;
    int ends[2];
    if (::pipe2(ends, O_NONBLOCK | O_CLOEXEC) != 0)
        throw std::runtime_error(std::string("cannot make the signal pipe: ") + std::strerror(errno));
    pipeRead_.store(ends[0]);
    pipeWrite_.store(ends[1]);
    struct sigaction action {};
    action.sa_handler = onSessionSignal;
    sigemptyset(&action.sa_mask);
    // Calls in progress go on: every wait of the console also watches the pipe.
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < kSignals.size(); ++i)
        ::sigaction(kSignals[i], &action, &previous_[i]);
}

void SessionSignals::uninstall() {
    if (!installed()) return;
    for (std::size_t i = 0; i < kSignals.size(); ++i)
        ::sigaction(kSignals[i], &previous_[i], nullptr);
    ::close(pipeWrite_.exchange(-1));
    ::close(pipeRead_.exchange(-1));
    endingSignal_.store(0);
    interruptPending_.store(false);
    sigintInterrupts_.store(false);
}

bool SessionSignals::installed() {
    return pipeRead_.load() >= 0;
}

int SessionSignals::endingSignal() {
    return endingSignal_.load();
}

bool SessionSignals::interruptPending() {
    return interruptPending_.load();
}

bool SessionSignals::takeInterrupt() {
    return interruptPending_.exchange(false);
}

int SessionSignals::descriptor() {
    return pipeRead_.load();
}

void SessionSignals::drain() {
    const int fd = pipeRead_.load();
    if (fd < 0) return;
    char bytes[64];
    while (::read(fd, bytes, sizeof bytes) > 0) {}
}

} // namespace tilmora
