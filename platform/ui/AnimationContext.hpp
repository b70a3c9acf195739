#pragma once

#include <functional>
#include <string>
#include <vector>

namespace platform::ui {

/// An animation group: changes made through animators inside `runAnimationGroup` with a positive
/// duration reach their final values when the duration has passed on the virtual clock; then the
/// completion runs on the main queue. With duration 0 the changes apply at once and the
/// completion runs on the next main-queue turn. A later direct change of the same property
/// supersedes the animated one. Main thread only.
class AnimationContext {
public:
    double duration = 0.25;                 // seconds
    std::string timingFunction = "default"; // "linear", "easeIn", "easeOut", "easeInEaseOut"
    bool allowsImplicitAnimation = false;

    static void runAnimationGroup(const std::function<void(AnimationContext&)>& changes,
                                  std::function<void()> completion = {});
    /// The group being built right now; null outside `runAnimationGroup`'s change block.
    static AnimationContext* current();

    /// Used by animators: a change to apply when the group ends.
    void addChange(std::function<void()> apply) { changes_.push_back(std::move(apply)); }

private:
    std::vector<std::function<void()>> changes_;
};

} // namespace platform::ui
