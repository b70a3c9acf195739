#include "platform/ui/AnimationContext.hpp"

#include "platform/dispatch/MainThread.hpp"
#include "platform/dispatch/MediaTime.hpp"
#include "platform/internal/AnimationLog.hpp"

#include "platform/ui/Runtime.hpp"

namespace platform::ui {

namespace {
std::vector<AnimationContext*>& stack() {
    static std::vector<AnimationContext*> s;
    return s;
}
} // namespace

AnimationContext* AnimationContext::current() {
    return stack().empty() ? nullptr : stack().back();
}

void AnimationContext::runAnimationGroup(const std::function<void(AnimationContext&)>& changes,
                                         std::function<void()> completion) {
    requireMainThread("AnimationContext::runAnimationGroup");
    AnimationContext ctx;
    stack().push_back(&ctx);
    try {
        if (changes) changes(ctx);
    } catch (...) {
        stack().pop_back();
        throw;
    }
    stack().pop_back();
    auto finals = std::move(ctx.changes_);
    if (ctx.duration <= 0 || finals.empty()) {
        for (auto& f : finals)
            f();
        if (completion) runtime::mainAsync(std::move(completion));
        return;
    }
    AnimationLog::shared().entries.push_back({mediaTime(), ctx.duration, ctx.timingFunction});
    runtime::afterDelay(ctx.duration, [finals = std::move(finals), completion = std::move(completion)] {
        for (auto& f : finals)
            f();
        if (completion) completion();
    });
}

} // namespace platform::ui
