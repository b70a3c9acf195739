// desktop laptop | laptop-external | two-displays | default
// desktop load <file.json>

#include "console/CommandArgs.hpp"
#include "console/CommandError.hpp"
#include "console/CommandRegistration.hpp"
#include "console/ConsoleSession.hpp"
#include "console/DesktopFile.hpp"

namespace tilmora {

namespace {

constexpr const char* kUsage = "usage: desktop default | laptop | laptop-external | two-displays | load <file.json>";

void desktopCommand(ConsoleSession& session, const CommandArgs& args) {
    // The desktop an interactive session built at its start, untouched since: nothing to do.
    const std::string& named = args.text(1) == "load" && args.size() == 3 ? args.text(2) : args.text(1);
    if (args.size() <= 3 && session.onStartDesktop(named)) {
        session.out() << "note: the session is on the " << (args.text(1) == "load" ? named : named + " desktop")
                      << " already, as it started\n";
        return;
    }
    session.leaveStartDesktop();
    if (session.programState() == ConsoleSession::ProgramState::running)
        throw CommandError("the desktop cannot change while the program runs: `program quit` first");
    if (args.text(1) == "load") {
        if (args.size() != 3) throw CommandError("usage: desktop load <file.json>");
        DesktopFile::loadFile(args.text(2));
        return;
    }
    if (args.size() != 2) throw CommandError(kUsage);
    const std::string& name = args.text(1);
    if (!DesktopFile::useNamed(name))
        throw CommandError("unknown desktop: " + name + " (" + DesktopFile::names() + ", load FILE)");
    session.settle();
}

const CommandRegistration registration({
    {.name = "desktop",
     .arguments = ArgumentCheck::between(1, 2, kUsage),
     .handler = desktopCommand,
     .help = {"desktop default | laptop | laptop-external | two-displays", "desktop load <file.json>"},
     .words = {"default", "laptop", "laptop-external", "two-displays", "load"},
     .helpOrder = 100},
});

} // namespace

} // namespace tilmora
