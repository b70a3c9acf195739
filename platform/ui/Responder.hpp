#pragma once

#include <functional>
#include <map>
#include <memory>
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

    Responder() = default;
    Responder(const Responder&) = delete;
    Responder& operator=(const Responder&) = delete;
    virtual ~Responder() = default;

    /// Registers (or replaces) the method that answers `selector`.
    void registerAction(const Selector& selector, Action action) { actions_[selector] = std::move(action); }
    void unregisterAction(const Selector& selector) { actions_.erase(selector); }
    virtual bool respondsTo(const Selector& selector) const { return actions_.count(selector) != 0; }
    /// Runs the method of `selector` with the sender; false when this object does not answer it.
    virtual bool perform(const Selector& selector, Responder* sender);

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
};

} // namespace platform::ui
