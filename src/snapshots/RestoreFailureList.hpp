#pragma once

#include "platform/dispatch/Lock.hpp"

#include <string>
#include <vector>

namespace tilmora::WindowManager {

/// The bundle identifiers of one restore's applications that could not be launched, did not
/// appear in time or were gone when their windows were due, in the order recorded. Shared by the
/// restore's tasks and read by its final report. Any thread: every access takes the list's lock.
class RestoreFailureList {
public:
    RestoreFailureList() = default;
    RestoreFailureList(const RestoreFailureList&) = delete;
    RestoreFailureList& operator=(const RestoreFailureList&) = delete;

    void append(const std::string& bundleID) {
        lock_.withLock([&] { failed_.push_back(bundleID); });
    }

    /// A copy of the identifiers recorded so far.
    std::vector<std::string> identifiers() const {
        return lock_.withLock([&] { return failed_; });
    }

private:
    mutable platform::Lock lock_{"RestoreFailureList"};
    std::vector<std::string> failed_;
};

} // namespace tilmora::WindowManager
