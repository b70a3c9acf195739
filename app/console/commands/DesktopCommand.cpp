// desktop laptop | laptop-external | two-displays | default
// desktop load <file.json>

#include "console/CommandArgs.hpp"
#include "console/CommandError.hpp"
#include "console/CommandRegistration.hpp"
#include "console/ConsoleSession.hpp"
#include "console/DesktopConsole.hpp"
#include "console/DesktopFile.hpp"
#include "platform/control/SimDesktop.hpp"
#include "platform/foundation/Error.hpp"
#include "platform/foundation/FileSystem.hpp"

namespace tilmora {

namespace {

void desktopCommand(ConsoleSession& session, const CommandArgs& args) {
    if (session.programState() == ConsoleSession::ProgramState::running)
        throw CommandError("the desktop cannot change while the program runs");
    if (args.text(1) == "load") {
        if (args.size() != 3) throw CommandError("usage: desktop load <file.json>");
        std::string text;
        try {
            text = platform::FileSystem::readRegularFile(args.text(2), DesktopConsole::maxFileBytes);
        } catch (const platform::Error& e) {
            throw CommandError("cannot read " + args.text(2) + ": " + e.what());
        }
        DesktopFile::load(text);
        return;
    }
    if (args.size() != 2) throw CommandError("usage: desktop <fixture-name> | desktop load <file.json>");
    const std::string& name = args.text(1);
    if (name == "default") {
        session.useDefaultDesktop();
        return;
    }
    if (name != "laptop" && name != "laptop-external" && name != "two-displays")
        throw CommandError("unknown desktop: " + name + " (laptop, laptop-external, two-displays, default)");
    platform::SimDesktop::clear();
    auto& desktop = platform::SimDesktop::shared();
    if (name == "laptop") desktop.useLaptop();
    if (name == "laptop-external") desktop.useLaptopWithExternal();
    if (name == "two-displays") desktop.useTwoIdenticalDisplays();
}

const CommandRegistration registration({
    {.name = "desktop",
     .arguments = ArgumentCheck::between(1, 2, "usage: desktop <fixture-name> | desktop load <file.json>"),
     .handler = desktopCommand,
     .help = {"desktop laptop | laptop-external | two-displays | default", "desktop load <file.json>"},
     .helpOrder = 100},
});

} // namespace

} // namespace tilmora
