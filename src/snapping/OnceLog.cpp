#include "snapping/OnceLog.hpp"

#include "model/Log.hpp"
#include "platform/foundation/SharedInstance.hpp"

#include <mutex>

namespace tilmora {

namespace {
constexpr std::size_t maxKeys = 100;
}

OnceLog& OnceLog::shared() {
    return platform::SharedInstance<OnceLog>::get();
}

bool OnceLog::printOnce(const std::string& key, const std::string& line) {
    {
        std::lock_guard guard(lock_);
        if (printed_.count(key)) return false;
        if (printed_.size() >= maxKeys) printed_.clear();
        printed_.insert(key);
    }
    print(line);
    return true;
}

} // namespace tilmora
