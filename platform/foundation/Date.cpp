#include "platform/foundation/Date.hpp"

#include <chrono>
#include <mutex>

namespace platform {

namespace {

std::mutex& providerMutex() {
    static std::mutex m;
    return m;
}

Date::NowProvider& provider() {
    static Date::NowProvider p;
    return p;
}

} // namespace

double Date::systemNow() {
    const auto since = std::chrono::system_clock::now().time_since_epoch();
    return std::chrono::duration<double>(since).count();
}

Date Date::now() {
    NowProvider current;
    {
        std::lock_guard lock(providerMutex());
        current = provider();
    }
    return Date{current ? current() : systemNow()};
}

void Date::setNowProvider(NowProvider p) {
    std::lock_guard lock(providerMutex());
    provider() = std::move(p);
}

} // namespace platform
