// Stand-in for the scheduler until the platform's run loop is wired in: a virtual clock and a
// main queue served in time order.
#include "platform/ui/Runtime.hpp"

#include "platform/foundation/NotificationCenter.hpp"

#include <map>
#include <utility>

namespace platform::ui::runtime {

namespace {
struct Queue {
    double time = 0;
    long seq = 0;
    std::string mode;
    std::map<std::pair<double, long>, std::function<void()>> items;
};
Queue& queue() {
    static Queue q;
    return q;
}

bool runOne(double limit) {
    auto& q = queue();
    if (q.items.empty() || q.items.begin()->first.first > limit) return false;
    auto node = q.items.extract(q.items.begin());
    if (node.key().first > q.time) q.time = node.key().first;
    node.mapped()();
    return true;
}
} // namespace

double now() {
    return queue().time;
}

void mainAsync(std::function<void()> fn) {
    afterDelay(0, std::move(fn));
}

void afterDelay(double seconds, std::function<void()> fn) {
    auto& q = queue();
    q.items.emplace(std::make_pair(q.time + std::max(seconds, 0.0), q.seq++), std::move(fn));
}

void runLoop(const std::string& mode, double seconds) {
    auto& q = queue();
    auto saved = std::exchange(q.mode, mode);
    double end = q.time + seconds;
    while (runOne(end)) {
    }
    q.time = std::max(q.time, end);
    q.mode = saved;
}

bool runLoopUntil(const std::string& mode, const std::function<bool()>& done, double timeoutSeconds) {
    auto& q = queue();
    auto saved = std::exchange(q.mode, mode);
    double end = q.time + timeoutSeconds;
    bool ok = done();
    while (!ok && runOne(end))
        ok = done();
    if (!ok) q.time = std::max(q.time, end);
    q.mode = saved;
    return ok;
}

std::string currentMode() {
    return queue().mode;
}

void post(const std::string& name, const void* object, const PropertyDictionary& userInfo) {
    NotificationCenter::defaultCenter().post(name, object, userInfo);
}

} // namespace platform::ui::runtime
