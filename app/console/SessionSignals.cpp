#include "console/SessionSignals.hpp"

#include "platform/control/SQLiteControl.hpp"

#include <array>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <future>
#include <memory>
#include <stdexcept>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace tilmora {

namespace {

// The signals that end the session as SIGTERM does: every one whose default action ends the
// process without a fault. SIGPIPE: the reader of the session's output went away (`tilmora
// --script S | head`): the session ends as at `quit` instead of dying with its private folder left
// behind. SIGXFSZ: the write past the file size limit fails instead. The fault signals (SIGSEGV,
// SIGBUS, SIGILL, SIGFPE, SIGABRT, SIGTRAP, SIGSYS) keep their default action, so that a fault and
// a sanitizer's report stay as they are. The real-time signals are those the C library leaves to
// the program (SIGRTMIN is past the ones it keeps for its threads).
std::vector<int> sessionSignals() {
    std::vector<int> signals{SIGTERM, SIGHUP,    SIGINT,  SIGPIPE, SIGQUIT, SIGUSR1, SIGUSR2,
                             SIGALRM, SIGVTALRM, SIGPROF, SIGXCPU, SIGXFSZ, SIGPOLL, SIGPWR};
#ifdef SIGSTKFLT
    signals.push_back(SIGSTKFLT);
#endif
    for (int signal = SIGRTMIN; signal <= SIGRTMAX; ++signal)
        signals.push_back(signal);
    return signals;
}

// Read by the handler, which may run on any thread: lock-free atomics only.
std::atomic<int> endingSignal_{0};
std::atomic<bool> interruptPending_{false};
std::atomic<bool> sigintInterrupts_{false};
std::atomic<int> pipeRead_{-1};
std::atomic<int> pipeWrite_{-1};
std::atomic<int> watchdogWrite_{-1};
// What each signal did before `install`, by number; main thread only.
std::array<struct sigaction, NSIG> previous_{};

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

bool SessionSignals::runWithin(double seconds, std::function<void()> work) {
    // Shared with the thread, which may outlive this call.
    auto finished = std::make_shared<std::promise<void>>();
    auto done = finished->get_future();
    try {
        std::thread([work = std::move(work), finished] {
            try {
                work();
            } catch (...) {
                // The process is ending: what failed stays as it was.
            }
            finished->set_value();
        }).detach();
    } catch (const std::system_error&) {
        return false;
    }
    return done.wait_for(std::chrono::duration<double>(seconds)) == std::future_status::ready;
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
    for (const int signal : sessionSignals())
        ::sigaction(signal, &action, &previous_[static_cast<std::size_t>(signal)]);
    // A save waiting for another program's lock on the snapshot store gives up once the session
    // ends, so the main thread goes its way out (the settings written) within the grace.
    platform::SQLiteControl::abandonBusyWaitsWhen([] { return endingSignal_.load() != 0; });
}

void SessionSignals::uninstall() {
    if (!installed()) return;
    stopWatchdog();
    platform::SQLiteControl::abandonBusyWaitsWhen(nullptr);
    for (const int signal : sessionSignals())
        ::sigaction(signal, &previous_[static_cast<std::size_t>(signal)], nullptr);
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
