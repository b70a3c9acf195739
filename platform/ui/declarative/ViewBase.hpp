#pragma once

#include "platform/ui/declarative/Binding.hpp"
#include "platform/ui/declarative/Node.hpp"

#include <map>
#include <typeinfo>

namespace platform::ui {
class Window;
}

namespace platform::ui::declarative {

class HostingView;

/// The base of declarative views. A view describes its content in `body()`, which the host calls
/// whenever the view's state, an observed object or its inputs change. The host keeps one
/// instance per place in the tree for as long as the place exists: a new description of the same
/// view at the same place only replaces its inputs (`State` members keep their values). Derive
/// through `Component<Derived>`. Main thread only.
class ViewBase {
public:
    ViewBase() = default;
    ViewBase(const ViewBase&) = delete;
    virtual ~ViewBase();

    virtual Element body() = 0;

    /// Asks the host to rebuild this view's content on a later main-queue turn.
    void invalidate();
    /// Runs `fn` on the next main-queue turn, unless the view has left the tree by then.
    void deferToMain(std::function<void()> fn);
    /// An environment value set by an ancestor (`Element::environment`); the fallback otherwise.
    template <class T>
    T environment(const std::string& key, T fallback = T{}) const {
        auto it = environment_.find(key);
        if (it == environment_.end()) return fallback;
        if (auto* v = std::any_cast<T>(&it->second)) return *v;
        return fallback;
    }
    bool isMounted() const { return host_ != nullptr; }
    /// The window whose content holds this view's host; null while the view is in no host or
    /// its host is in no window.
    Window* hostingWindow() const;

protected:
    // Inputs are replaced by assignment; the base's own bookkeeping stays.
    ViewBase& operator=(const ViewBase&) { return *this; }

private:
    friend class HostingView;
    template <class>
    friend class Component;
    virtual void assignInputs(ViewBase& from) = 0;
    virtual const std::type_info& viewType() const = 0;

    HostingView* host_ = nullptr;
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
    std::map<std::string, std::any> environment_;
};

/// CRTP base: gives a view its input replacement (copy assignment of the derived class, where
/// `State` members keep their own storage).
template <class Derived>
class Component : public ViewBase {
private:
    void assignInputs(ViewBase& from) override { static_cast<Derived&>(*this) = static_cast<Derived&>(from); }
    const std::type_info& viewType() const override { return typeid(Derived); }
};

/// A view's own state: survives rebuilds; setting it rebuilds the view. Declare as a member with
/// the owning view: `State<bool> isOn{this, false};`.
template <class T>
class State {
    struct Box {
        T value;
        ViewBase* owner;
    };

public:
    State(ViewBase* owner, T initial)
        : box_(std::make_shared<Box>(Box{std::move(initial), owner})) {}
    State(const State&) = delete;
    /// Assignment from a new description keeps this state's storage.
    State& operator=(const State&) { return *this; }

    const T& get() const { return box_->value; }
    void set(T v) {
        box_->value = std::move(v);
        box_->owner->invalidate();
    }
    /// A binding to this state; it does nothing once the view is gone.
    Binding<T> binding() const {
        std::weak_ptr<Box> weak = box_;
        return Binding<T>(
            [weak] {
                auto b = weak.lock();
                return b ? b->value : T{};
            },
            [weak](const T& v) {
                if (auto b = weak.lock()) {
                    b->value = v;
                    b->owner->invalidate();
                }
            });
    }

private:
    std::shared_ptr<Box> box_;
};

/// An object that tells its observers before each change of one of its published values.
class ObservableObject {
public:
    virtual ~ObservableObject() = default;
    /// Tells every observer that a change is coming.
    void objectWillChange();
    long subscribe(std::function<void()> observer);
    void unsubscribe(long token);
    size_t observerCount() const { return observers_.size(); }

private:
    std::map<long, std::function<void()>> observers_;
    long next_ = 1;
};

/// A published value of an observable object: setting it tells the observers first.
template <class T>
class Published {
public:
    Published(ObservableObject* owner, T initial)
        : owner_(owner)
        , value_(std::move(initial)) {}
    const T& get() const { return value_; }
    void set(T v) {
        owner_->objectWillChange();
        value_ = std::move(v);
    }

private:
    ObservableObject* owner_;
    T value_;
};

/// A view's reference to an observable object: the view rebuilds when the object changes.
/// Declare as a member: `ObservedObject<Model> model{this, modelPointer};`.
template <class T>
class ObservedObject {
public:
    ObservedObject(ViewBase* owner, std::shared_ptr<T> object)
        : owner_(owner) {
        attach(std::move(object));
    }
    ObservedObject(const ObservedObject&) = delete;
    ObservedObject& operator=(const ObservedObject& other) {
        if (other.object_ != object_) attach(other.object_);
        return *this;
    }
    ~ObservedObject() { detach(); }
    T* operator->() const { return object_.get(); }
    T& operator*() const { return *object_; }
    const std::shared_ptr<T>& get() const { return object_; }

private:
    void attach(std::shared_ptr<T> object) {
        detach();
        object_ = std::move(object);
        if (object_) {
            ViewBase* owner = owner_;
            token_ = object_->subscribe([owner] { owner->invalidate(); });
        }
    }
    void detach() {
        if (object_ && token_) object_->unsubscribe(token_);
        token_ = 0;
    }
    ViewBase* owner_;
    std::shared_ptr<T> object_;
    long token_ = 0;
};

} // namespace platform::ui::declarative
