#pragma once

#include <any>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

namespace platform {
struct NSEvent;
}

namespace platform::ui {

/// A selector: the name of an action message, written as on the original platform ("changed:",
/// "snapLeftHalf", "toggleSnapping:"). A trailing colon means the action takes the sender.
using Selector = std::string;

/// The root of every retained UI object and every action target. An object answers the action
/// messages it registered; target-action dispatch (`Application::sendAction`) asks `respondsTo`
/// and then calls `perform`. Objects are held by `std::shared_ptr`; targets are held weakly.
/// Main thread only.
class Responder : public std::enable_shared_from_this<Responder> {
public:
    using Action = std::function<void(Responder* sender)>;
    /// A message that takes one object and answers one, as a message sent with an object does
    /// ("setLaunchAtLoginWithEnabled:" with a Boolean, "createMenuWithPreferredScreen:" with a
    /// screen or none). An empty `std::any` stands for no object and for no answer.
    using ObjectMethod = std::function<std::any(const std::any& object)>;

    Responder() = default;
    Responder(const Responder&) = delete;
    Responder& operator=(const Responder&) = delete;
    virtual ~Responder() = default;

    /// Registers (or replaces) the method that answers `selector`.
    void registerAction(const Selector& selector, Action action) { actions_[selector] = std::move(action); }
    /// Registers (or replaces) the method with an object that answers `selector`.
    void registerMethod(const Selector& selector, ObjectMethod method) { methods_[selector] = std::move(method); }
    void unregisterAction(const Selector& selector) {
        actions_.erase(selector);
        methods_.erase(selector);
    }
    virtual bool respondsTo(const Selector& selector) const {
        return actions_.count(selector) != 0 || methods_.count(selector) != 0;
    }
    /// Runs the method of `selector` with the sender; false when this object does not answer it.
    /// A method with an object sent as an action gets no object (its answer is dropped).
    virtual bool perform(const Selector& selector, Responder* sender);
    /// Whether `selector` is answered by a method with an object (`registerMethod`).
    bool takesObject(const Selector& selector) const { return methods_.count(selector) != 0; }
    /// Runs the method with an object of `selector` with `object` and returns its answer; an action
    /// registered with `registerAction` runs with no sender and answers nothing. Nullopt when this
    /// object does not answer `selector`.
    std::optional<std::any> performWithObject(const Selector& selector, const std::any& object);

    /// The next responder of the chain (a view's superview, a content view's window); may be null.
    virtual Responder* nextResponder() const { return nullptr; }
    virtual bool acceptsFirstResponder() const { return false; }
    /// Asked when the object is about to become its window's first responder; false refuses.
    virtual bool becomeFirstResponder() { return true; }
    /// Asked when the object is about to stop being first responder; false refuses.
    virtual bool resignFirstResponder() { return true; }

    /// A key went down while this object stands in the key window's responder chain (the
    /// application hands each key-down to the window's first responder). By default it goes on to
    /// the next responder; the end of the chain drops it. Main thread.
    virtual void keyDown(const NSEvent& event);
    /// Text an input method commits (UTF-8), for the key window's first responder. By default it
    /// goes on to the next responder; the end of the chain drops it. Main thread.
    virtual void insertText(const std::string& text);

private:
    std::map<Selector, Action> actions_;
    std::map<Selector, ObjectMethod> methods_;
};

} // namespace platform::ui
