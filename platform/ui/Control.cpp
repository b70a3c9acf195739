#include "platform/ui/Control.hpp"

#include "platform/dispatch/MainThread.hpp"

#include "platform/ui/Application.hpp"

#include <cmath>
#include <limits>

namespace platform::ui {

long Control::integerValue() const {
    const double v = doubleValue();
    if (std::isnan(v)) return 0;
    // 2^63 is exactly representable; every double below it in magnitude truncates into range.
    constexpr double limit = 9223372036854775808.0;
    if (v >= limit) return std::numeric_limits<long>::max();
    if (v < -limit) return std::numeric_limits<long>::min();
    return static_cast<long>(v);
}

bool Control::sendAction() {
    requireMainThread("Control::sendAction");
    if (!isEnabled || action.empty()) return false;
    auto t = target.lock();
    return Application::shared().sendAction(action, t.get(), this);
}

} // namespace platform::ui
