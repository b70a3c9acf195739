#pragma once

#include <functional>
#include <string>
#include <vector>

namespace tilmora {

/// The list of every hook through which a lower layer reaches a higher one (a seam the higher
/// layer fills at start-up: the layout memory's snap grid, the toast host, the shell's hooks, ...).
/// Each hook registers itself here once, when its library loads (a `Registration` at namespace
/// scope in the file that keeps the hook's storage), with a check that says whether the hook holds
/// the real thing now (not its placeholder, nor a test's fake). The program's launch path fills
/// every one of them or its default is the real thing; a test launches the program as `main` does
/// and asks `notReal()`, so that a new hook left unfilled fails it.
///
/// A placeholder that the running program calls says so once per run through `notePlaceholderUse`
/// (one line in the platform's system log). Registration happens before `main`; the checks run on
/// the main thread, the notes on any thread.
class HookRegistry {
public:
    struct Hook {
        /// The hook's name, "<Type>.<slot>" (for instance "DisplayLayoutMemory.grid").
        std::string name;
        /// Whether the hook holds the real thing now.
        std::function<bool()> isReal;
    };

    /// Registers a hook; one object per hook, at namespace scope.
    struct Registration {
        Registration(std::string name, std::function<bool()> isReal);
    };

    /// Every registered hook, in registration order.
    static const std::vector<Hook>& hooks();
    /// The names of the hooks that do not hold the real thing now, in registration order.
    static std::vector<std::string> notReal();

    /// Whether a function hook holds something other than its placeholder function (an empty
    /// function counts as no real thing either).
    template <class R, class... Args>
    static bool holdsOtherThan(const std::function<R(Args...)>& hook, R (*placeholder)(Args...)) {
        if (!hook) return false;
        const auto* target = hook.template target<R (*)(Args...)>();
        return target == nullptr || *target != placeholder;
    }

    /// Logs once per run (until the shared instances are reset) "[Hooks] Nothing installed for
    /// <name>: <consequence>", for a placeholder that the program has just used.
    static void notePlaceholderUse(const std::string& name, const std::string& consequence);
};

} // namespace tilmora
