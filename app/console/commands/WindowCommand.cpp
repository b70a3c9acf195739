// window open <bundle-id> "<title>" X Y W H [space N] [min W H]

#include "console/CommandArgs.hpp"
#include "console/CommandError.hpp"
#include "console/CommandRegistration.hpp"
#include "console/ConsoleSession.hpp"
#include "platform/control/SimDesktop.hpp"

namespace tilmora {

namespace {

const char* const kUsage = "usage: window open <bundle-id> \"<title>\" X Y W H [space N] [min W H]";

/// Opens the window; starts the application first when it is installed but not running.
void windowCommand(ConsoleSession& session, const CommandArgs& args) {
    session.leaveStartDesktop();
    if (args.text(1) != "open" || !args.quoted(3)) throw CommandError(kUsage);
    const std::vector<std::string> t = args.texts();
    if (t[2].empty()) throw CommandError("a bundle id cannot be empty");
    platform::WindowSpec spec;
    spec.title = t[3];
    spec.frame = CommandArgs::parseRect(t, 4);
    for (std::size_t i = 8; i < t.size();) {
        if (t[i] == "space" && i + 1 < t.size()) {
            const long number = CommandArgs::parseInteger(t[i + 1]);
            if (number < 1) throw CommandError("a space number starts at 1");
            const int count = platform::SimDesktop::shared().desktopCountFor(spec.frame);
            if (number > count)
                throw CommandError("space " + t[i + 1] + ": the window's display has " + std::to_string(count) +
                                   (count == 1 ? " space" : " spaces"));
            spec.desktop = static_cast<int>(number);
            i += 2;
        } else if (t[i] == "min" && i + 2 < t.size()) {
            spec.minSize =
                platform::CGSize{CommandArgs::parseNumber(t[i + 1]), CommandArgs::parseNumber(t[i + 2])};
            if (spec.minSize->width < 0 || spec.minSize->height < 0)
                throw CommandError("min " + t[i + 1] + " " + t[i + 2] + ": a minimum size cannot be negative");
            i += 3;
        } else {
            throw CommandError("unexpected: " + t[i]);
        }
    }
    auto& desktop = platform::SimDesktop::shared();
    pid_t pid = 0;
    auto pids = desktop.pids(t[2]);
    if (pids.empty()) {
        pid = desktop.run(t[2]);
        if (pid == 0) throw CommandError("application not installed: " + t[2]);
    } else {
        pid = pids.front();
    }
    if (desktop.openWindow(pid, spec) == 0) throw CommandError("cannot open a window for " + t[2]);
}

const CommandRegistration registration({
    {.name = "window",
     .arguments = ArgumentCheck::atLeast(7, kUsage),
     .handler = windowCommand,
     .help = {"window open <bundle-id> \"<title>\" X Y W H [space N] [min W H]"},
     .words = {"open"},
     .helpOrder = 400},
});

} // namespace

} // namespace tilmora
