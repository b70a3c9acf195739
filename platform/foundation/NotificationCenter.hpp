#pragma once

#include "platform/foundation/DeliveryQueue.hpp"
#include "platform/foundation/Notification.hpp"

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace platform {

/// Identifies one observer registration; `0` is never issued.
struct ObserverToken {
    std::uint64_t id = 0;
    bool isValid() const { return id != 0; }
    friend bool operator==(const ObserverToken&, const ObserverToken&) = default;
};

/// Delivers named notifications inside the process.
///
/// `post` delivers synchronously on the posting thread to every matching observer, in the order of
/// registration, with no lock held while the observers run; an observer registered with a
/// `DeliveryQueue` instead gets its call handed to that queue. An observer matches when its name is
/// empty or equal to the notification's, and its object filter is null or equal to the
/// notification's object.
///
/// Observers may add and remove observers and post from inside a delivery. An observer removed
/// before its turn in a delivery in progress (or before its queued call runs) is not called; a call
/// already running on another thread when `removeObserver` returns may still finish.
/// All functions are thread-safe.
class NotificationCenter {
public:
    using Block = std::function<void(const Notification&)>;

    NotificationCenter() = default;
    /// Forgets every observer; calls still queued for them are dropped.
    ~NotificationCenter();
    NotificationCenter(const NotificationCenter&) = delete;
    NotificationCenter& operator=(const NotificationCenter&) = delete;

    /// The process's one center (a shared instance: `SharedInstances::resetAll` replaces it with
    /// one without observers).
    static NotificationCenter& defaultCenter();

    /// Registers `block` for notifications named `name` (empty: every name) about `object`
    /// (null: any object); the block runs on the posting thread.
    ObserverToken addObserver(std::string name, const void* object, Block block);

    /// As above, but each call is handed to `queue` (null: synchronous on the posting thread).
    ObserverToken addObserver(std::string name, const void* object, std::shared_ptr<DeliveryQueue> queue,
                              Block block);

    /// Removes one registration; unknown or already removed tokens are ignored.
    void removeObserver(ObserverToken token);

    /// Posts a notification to every matching observer (see the class comment).
    void post(const std::string& name, const void* object = nullptr, PropertyDictionary userInfo = {});
    void post(const Notification& notification);

    /// Number of registered observers (for tests and diagnostics).
    std::size_t observerCount() const;

    /// Removes every registration, as destroying the center would; calls still queued for them
    /// are dropped.
    void removeAllObservers();

private:
    struct Entry;
    mutable std::mutex mutex_;
    std::vector<std::shared_ptr<Entry>> entries_;
    std::uint64_t nextId_ = 1;
};

} // namespace platform
