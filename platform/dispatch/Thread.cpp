#include "platform/dispatch/Thread.hpp"

#include "platform/internal/Kernel.hpp"

namespace platform {

bool Thread::isMainThread() {
    return detail::Kernel::get().isMainThread();
}

void Thread::sleep(double seconds) {
    auto& k = detail::Kernel::get();
    auto g = k.lock();
    if (!(seconds > 0)) {
        k.yield(g);
        return;
    }
    static const detail::WaitReason reason{"sleeping", nullptr, false};
    k.wait(g, nullptr, detail::after(k.now(), seconds), reason, [] { return false; });
}

void sleep(double seconds) {
    Thread::sleep(seconds);
}

void usleep(std::uint64_t microseconds) {
    Thread::sleep(static_cast<double>(microseconds) / 1e6);
}

} // namespace platform
