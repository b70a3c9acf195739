// app install <bundle-id> "<name>" [launch-delay S]
// app launch <bundle-id> | app quit <bundle-id> | app focus <bundle-id>

#include "console/CommandArgs.hpp"
#include "console/CommandError.hpp"
#include "console/CommandRegistration.hpp"
#include "console/ConsoleSession.hpp"
#include "console/DesktopQueries.hpp"
#include "platform/control/SimDesktop.hpp"

namespace tilmora {

namespace {

/// The longest launch delay an application may have: one day, in seconds.
constexpr double kMaxLaunchDelay = 86400;

void appCommand(ConsoleSession& session, const CommandArgs& args) {
    session.leaveStartDesktop();
    const std::string& verb = args.text(1);
    const std::string& bundle = args.text(2);
    auto& desktop = platform::SimDesktop::shared();
    if (bundle.empty()) throw CommandError("a bundle id cannot be empty");
    if (verb == "install") {
        if (args.size() < 4 || !args.quoted(3))
            throw CommandError("usage: app install <bundle-id> \"<name>\" [launch-delay S]");
        platform::AppSpec spec;
        spec.bundleIdentifier = bundle;
        spec.localizedName = args.text(3);
        if (args.size() >= 5 && args.text(4) == "launch-delay") {
            if (args.size() == 5) throw CommandError("launch-delay needs a number of seconds");
            if (args.size() > 6) throw CommandError("unexpected: " + args.text(6));
            spec.launchDelay = args.number(5);
            if (spec.launchDelay < 0) throw CommandError("a delay cannot be negative");
            if (spec.launchDelay > kMaxLaunchDelay)
                throw CommandError("launch-delay " + args.text(5) + ": at most 86400 seconds");
        } else if (args.size() != 4) {
            throw CommandError("unexpected: " + args.text(4));
        }
        desktop.install(spec);
        return;
    }
    if (args.size() != 3) throw CommandError("unexpected: " + args.text(3));
    if (verb == "launch") {
        if (desktop.launch(bundle) == 0) throw CommandError("application not installed: " + bundle);
    } else if (verb == "quit") {
        auto pids = desktop.pids(bundle);
        if (pids.empty()) throw CommandError("application not running: " + bundle);
        for (pid_t pid : pids) {
            if (pid == desktop.programPid())
                throw CommandError("app quit " + bundle + ": the program itself ends with \"quit\"");
        }
        for (pid_t pid : pids)
            desktop.quit(pid);
    } else if (verb == "focus") {
        desktop.setFrontmost(DesktopQueries::firstPid(bundle));
    } else {
        throw CommandError("unknown app command: " + verb);
    }
}

const CommandRegistration registration({
    {.name = "app",
     .arguments = ArgumentCheck::atLeast(2, "usage: app install|launch|quit|focus <bundle-id> ..."),
     .handler = appCommand,
     .help = {"app install <bundle-id> \"<name>\" [launch-delay S]",
              "app launch <bundle-id> | app quit <bundle-id> | app focus <bundle-id>"},
     .words = {"install", "launch", "quit", "focus"},
     .helpOrder = 300},
});

} // namespace

} // namespace tilmora
