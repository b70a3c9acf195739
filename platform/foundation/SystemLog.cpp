#include "platform/foundation/SystemLog.hpp"

#include "platform/control/SharedInstances.hpp"

#include <cstdio>
#include <mutex>

namespace platform {

namespace {

struct Record {
    std::mutex mutex;
    std::vector<std::string> lines;
    bool echo = true;
};

Record& record() {
    static Record instance;
    static const bool registered =
        (SharedInstances::registerReset([] { SystemLog::resetForTesting(); }), true);
    (void)registered;
    return instance;
}

} // namespace

void systemLog(std::string_view message) {
    Record& r = record();
    std::lock_guard<std::mutex> hold(r.mutex);
    r.lines.emplace_back(message);
    if (r.echo) {
        std::string line = "tilmora[system]: " + std::string(message) + "\n";
        std::fwrite(line.data(), 1, line.size(), stderr);
    }
}

namespace SystemLog {

std::vector<std::string> recordedLines() {
    Record& r = record();
    std::lock_guard<std::mutex> hold(r.mutex);
    return r.lines;
}

void resetForTesting() {
    Record& r = record();
    std::lock_guard<std::mutex> hold(r.mutex);
    r.lines.clear();
    r.echo = true;
}

void setEchoToStandardError(bool echo) {
    Record& r = record();
    std::lock_guard<std::mutex> hold(r.mutex);
    r.echo = echo;
}

} // namespace SystemLog

} // namespace platform
