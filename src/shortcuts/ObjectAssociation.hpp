#pragma once

#include <memory>
#include <optional>
#include <type_traits>
#include <unordered_map>

namespace tilmora::GlobalShortcuts {

/// How an associated value is held, with the platform's policy numbers. The platform has no
/// associated-object storage, so `ObjectAssociation` keeps its own table; the retaining and copying
/// policies all keep the value itself, `assign` keeps a value that is a `std::shared_ptr` weakly.
enum class AssociationPolicy : unsigned {
    assign = 0,
    retainNonatomic = 1,
    copyNonatomic = 3,
    retain = 769,
    copy = 771,
};

namespace detail {
template <class T>
struct IsSharedPtr : std::false_type {};
template <class U>
struct IsSharedPtr<std::shared_ptr<U>> : std::true_type {};
} // namespace detail

/// One slot of type `T` on every object (each association is a slot of its own): a side table
/// keyed by the object's identity that holds the object weakly, so an object's entry is gone once
/// the object is (dropped at the next access of this association). Objects are those held by
/// `std::shared_ptr`. Not copyable: the association's identity is its key. Main thread only.
template <class T>
class ObjectAssociation {
public:
    explicit ObjectAssociation(AssociationPolicy policy = AssociationPolicy::retainNonatomic)
        : policy(policy) {}
    ObjectAssociation(const ObjectAssociation&) = delete;
    ObjectAssociation& operator=(const ObjectAssociation&) = delete;

    const AssociationPolicy policy;

    /// The value associated with `object`; none when there is none (or an `assign` value is gone).
    template <class Object>
    std::optional<T> get(const std::shared_ptr<Object>& object) const {
        sweep();
        auto it = table_.find(identity(object));
        if (it == table_.end()) return std::nullopt;
        if constexpr (detail::IsSharedPtr<T>::value) {
            if (it->second.weakValue) {
                auto value = it->second.weakValue->lock();
                if (!value) return std::nullopt;
                return T(value);
            }
        }
        return it->second.value;
    }

    /// Associates `value` with `object`; none removes the association.
    template <class Object>
    void set(const std::shared_ptr<Object>& object, std::optional<T> value) {
        sweep();
        if (!object) return;
        const void* key = identity(object);
        if (!value) {
            table_.erase(key);
            return;
        }
        Entry entry;
        entry.owner = std::shared_ptr<const void>(object);
        if constexpr (detail::IsSharedPtr<T>::value) {
            if (policy == AssociationPolicy::assign) {
                entry.weakValue.emplace(*value);
                table_.insert_or_assign(key, std::move(entry));
                return;
            }
        }
        entry.value = std::move(value);
        table_.insert_or_assign(key, std::move(entry));
    }

    /// How many objects hold a value now (objects that are gone do not count).
    std::size_t count() const {
        sweep();
        return table_.size();
    }

private:
    struct WeakNone {};
    using WeakValue =
        std::conditional_t<detail::IsSharedPtr<T>::value,
                           std::weak_ptr<typename std::pointer_traits<std::conditional_t<
                               detail::IsSharedPtr<T>::value, T, std::shared_ptr<WeakNone>>>::element_type>,
                           std::weak_ptr<WeakNone>>;
    struct Entry {
        std::weak_ptr<const void> owner;
        std::optional<T> value;
        std::optional<WeakValue> weakValue;
    };

    template <class Object>
    static const void* identity(const std::shared_ptr<Object>& object) {
        if constexpr (std::is_polymorphic_v<Object>)
            return dynamic_cast<const void*>(object.get());
        else
            return static_cast<const void*>(object.get());
    }

    void sweep() const {
        for (auto it = table_.begin(); it != table_.end();)
            it = it->second.owner.expired() ? table_.erase(it) : std::next(it);
    }

    mutable std::unordered_map<const void*, Entry> table_;
};

} // namespace tilmora::GlobalShortcuts
