// help | quit (and "exit", the same as "quit")

#include "console/CommandRegistration.hpp"
#include "console/CommandTable.hpp"
#include "console/ConsoleSession.hpp"

#include <ostream>

namespace tilmora {

namespace {

/// Prints every command's help lines from the session's command table.
void helpCommand(ConsoleSession& session, const CommandArgs&) {
    session.out() << session.commands().helpText();
}

void quitCommand(ConsoleSession& session, const CommandArgs&) {
    session.requestQuit();
}

const CommandRegistration registration({
    {.name = "help",
     .arguments = ArgumentCheck::exactly(0, "usage: help (no arguments)"),
     .handler = helpCommand,
     .help = {"help | quit"},
     .helpOrder = 1000},
    {.name = "quit",
     .arguments = ArgumentCheck::exactly(0, "usage: quit (no arguments)"),
     .handler = quitCommand,
     .help = {},
     .helpOrder = 1000},
    {.name = "exit",
     .arguments = ArgumentCheck::exactly(0, "usage: exit (no arguments)"),
     .handler = quitCommand,
     .help = {},
     .helpOrder = 1000},
});

} // namespace

} // namespace tilmora
