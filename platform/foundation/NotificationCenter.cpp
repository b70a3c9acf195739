#include "platform/foundation/NotificationCenter.hpp"

#include "platform/foundation/SharedInstance.hpp"

#include <algorithm>
#include <atomic>

namespace platform {

struct NotificationCenter::Entry {
    std::uint64_t id = 0;
    std::string name;
    const void* object = nullptr;
    std::shared_ptr<DeliveryQueue> queue;
    Block block;
    std::atomic<bool> removed{false};
};

NotificationCenter& NotificationCenter::defaultCenter() {
    return SharedInstance<NotificationCenter>::get();
}

ObserverToken NotificationCenter::addObserver(std::string name, const void* object, Block block) {
    return addObserver(std::move(name), object, nullptr, std::move(block));
}

ObserverToken NotificationCenter::addObserver(std::string name, const void* object,
                                              std::shared_ptr<DeliveryQueue> queue, Block block) {
    auto entry = std::make_shared<Entry>();
    entry->name = std::move(name);
    entry->object = object;
    entry->queue = std::move(queue);
    entry->block = std::move(block);
    std::lock_guard lock(mutex_);
    entry->id = nextId_++;
    entries_.push_back(entry);
    return ObserverToken{entry->id};
}

void NotificationCenter::removeObserver(ObserverToken token) {
    std::shared_ptr<Entry> removed;
    {
        std::lock_guard lock(mutex_);
        auto it = std::find_if(entries_.begin(), entries_.end(),
                               [&](const std::shared_ptr<Entry>& e) { return e->id == token.id; });
        if (it == entries_.end()) return;
        removed = *it;
        removed->removed = true;
        entries_.erase(it);
    }
    // `removed` is released here, outside the lock: the block's captures may run destructors
    // that call back into the center.
}

void NotificationCenter::post(const std::string& name, const void* object, PropertyDictionary userInfo) {
    post(Notification{name, object, std::move(userInfo)});
}

void NotificationCenter::post(const Notification& notification) {
    std::vector<std::shared_ptr<Entry>> matching;
    {
        std::lock_guard lock(mutex_);
        for (const auto& entry : entries_) {
            if (!entry->name.empty() && entry->name != notification.name) continue;
            if (entry->object != nullptr && entry->object != notification.object) continue;
            matching.push_back(entry);
        }
    }
    std::shared_ptr<const Notification> shared;
    for (const auto& entry : matching) {
        if (entry->removed) continue;
        if (entry->queue) {
            if (!shared) shared = std::make_shared<const Notification>(notification);
            entry->queue->deliver([entry, shared] {
                if (!entry->removed) entry->block(*shared);
            });
        } else {
            entry->block(notification);
        }
    }
}

std::size_t NotificationCenter::observerCount() const {
    std::lock_guard lock(mutex_);
    return entries_.size();
}

NotificationCenter::~NotificationCenter() {
    removeAllObservers();
}

void NotificationCenter::removeAllObservers() {
    std::vector<std::shared_ptr<Entry>> old;
    {
        std::lock_guard lock(mutex_);
        old.swap(entries_);
        for (const auto& entry : old)
            entry->removed = true;
    }
}

} // namespace platform
