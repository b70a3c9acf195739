#pragma once

#include <string>

namespace platform::ui {

/// A mouse cursor. `push` makes it current and remembers the previous one; `pop` restores it.
/// The simulator reports the stack depth (`UISimulator::cursorStackDepth`). Main thread only.
class Cursor {
public:
    static Cursor arrow() { return Cursor("arrow"); }
    static Cursor pointingHand() { return Cursor("pointingHand"); }
    static Cursor crosshair() { return Cursor("crosshair"); }
    static Cursor openHand() { return Cursor("openHand"); }
    static Cursor closedHand() { return Cursor("closedHand"); }
    static Cursor resizeLeftRight() { return Cursor("resizeLeftRight"); }

    const std::string& name() const { return name_; }
    void push() const;
    /// Pops the current cursor; popping an empty stack does nothing.
    static void pop();
    /// The name of the current cursor ("arrow" when none was pushed).
    static std::string current();

private:
    explicit Cursor(std::string name)
        : name_(std::move(name)) {}
    std::string name_;
};

} // namespace platform::ui
