#include "console/SessionSignals.hpp"

#include <array>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <stdexcept>
#include <string>
#include <thread>

#include <fcntl.h>
#include <poll.h>
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
std::atomic<int> watchdogWrite_{-1};
std::array<struct sigaction, kSignals.size()> previous_{};

// The watchdog: its thread, the read end of its pipe and what it does before it ends the process.
// Never destroyed on the way out of the process, which may end while the watchdog waits.
std::thread* watchdog_ = nullptr;
int watchdogRead_ = -1;
std::function<void()>* lastResort_ = nullptr;

extern "C" void onSessionSignal(int signal) {
    const int savedErrno = errno;
    if (signal == SIGINT && sigintInterrupts_.load()) {
        interruptPending_.store(true);
    } else {
        int none = 0;
        endingSignal_.compare_exchange_strong(none, signal);
    }
    const char byte = 1;
    if (const int fd = pipeWrite_.load(); fd >= 0) {
        [[maybe_unused]] const auto written = ::write(fd, &byte, 1);
    }
    if (const int fd = watchdogWrite_.load(); fd >= 0 && endingSignal_.load() != 0) {
        [[maybe_unused]] const auto written = ::write(fd, &byte, 1);
    }
    errno = savedErrno;
}

/// Waits on `fd` for at most `milliseconds` (-1: without end); false when the write end closed (the
/// watchdog is stopped), true on a byte or when the time ran out (`timedOut`).
bool waitOn(int fd, int milliseconds, bool& timedOut) {
    timedOut = false;
    for (;;) {
        struct pollfd wait {
            fd, POLLIN, 0
        };
        const int ready = ::poll(&wait, 1, milliseconds);
        if (ready < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (ready == 0) {
            timedOut = true;
            return true;
        }
        char bytes[16];
        const ssize_t n = ::read(fd, bytes, sizeof bytes);
        if (n == 0) return false;
        if (n < 0 && errno != EINTR && errno != EAGAIN) return false;
        return true;
    }
}

void watch(int fd) {
    bool timedOut = false;
    // An ending signal first; then the grace, during which further bytes change nothing.
    while (endingSignal_.load() == 0)
        if (!waitOn(fd, -1, timedOut)) return;
    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::milliseconds(static_cast<int>(SessionSignals::graceSeconds * 1000));
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now())
                .count();
        if (left <= 0) break;
        if (!waitOn(fd, static_cast<int>(left), timedOut)) return;
        if (timedOut) break;
    }
    if (lastResort_ != nullptr && *lastResort_) (*lastResort_)();
    ::_exit(128 + endingSignal_.load());
}

void stopWatchdog() {
    if (const int fd = watchdogWrite_.exchange(-1); fd >= 0) ::close(fd);
    if (watchdog_ != nullptr) {
        watchdog_->join();
        delete watchdog_;
        watchdog_ = nullptr;
    }
    if (watchdogRead_ >= 0) ::close(watchdogRead_);
    watchdogRead_ = -1;
    delete lastResort_;
    lastResort_ = nullptr;
}

} // namespace

void SessionSignals::armWatchdog(std::function<void()> lastResort) {
    if (!installed() || watchdog_ != nullptr) return;
    int ends[2];
    if (::pipe2(ends, O_NONBLOCK | O_CLOEXEC) != 0) return;
    lastResort_ = new std::function<void()>(std::move(lastResort));
    watchdogRead_ = ends[0];
    watchdogWrite_.store(ends[1]);
    watchdog_ = new std::thread(watch, ends[0]);
    // A signal that came before the watchdog was armed counts too.
    if (endingSignal_.load() != 0) {
        const char byte = 1;
        [[maybe_unused]] const auto written = ::write(ends[1], &byte, 1);
    }
}

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
    stopWatchdog();
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
    while (::read(fd, bytes, sizeof bytes) > 0) {
    }
}

} // namespace tilmora
