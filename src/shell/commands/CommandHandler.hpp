#pragma once

#include "shell/commands/CommandContext.hpp"
#include "shell/commands/WindowCommandContext.hpp"

#include <functional>
#include <utility>
#include <variant>

namespace tilmora {

/// What a command of the table runs, with its constant bound: a window command over the narrow
/// `WindowCommandContext`, or another of the shell's verbs over `CommandContext`. Main thread.
class CommandHandler {
public:
    using Sender = CommandContext::Sender;
    using OverWindow = std::function<void(const WindowCommandContext&, Sender)>;
    using OverShell = std::function<void(CommandContext&, Sender)>;

    CommandHandler() = default;
    static CommandHandler overWindow(OverWindow run) { return CommandHandler(std::move(run)); }
    static CommandHandler overShell(OverShell run) { return CommandHandler(std::move(run)); }

    /// Runs the command for `shell`: a window command over the context the shell builds for it.
    void operator()(CommandContext& shell, Sender sender) const {
        if (const auto* run = std::get_if<OverWindow>(&run_)) {
            (*run)(shell.windowCommandContext(), sender);
        } else if (const auto* verb = std::get_if<OverShell>(&run_)) {
            (*verb)(shell, sender);
        }
    }

    /// True when the handler runs something.
    explicit operator bool() const {
        return std::visit([](const auto& run) { return static_cast<bool>(run); }, run_);
    }

private:
    template <class Run>
    explicit CommandHandler(Run run)
        : run_(std::move(run)) {}

    std::variant<OverShell, OverWindow> run_;
};

} // namespace tilmora
