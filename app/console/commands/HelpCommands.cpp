// help | help keys | help actions | quit (and "exit", the same as "quit")

#include "console/ActionCatalog.hpp"
#include "console/ChordText.hpp"
#include "console/CommandArgs.hpp"
#include "console/CommandError.hpp"
#include "console/CommandRegistration.hpp"
#include "console/CommandTable.hpp"
#include "console/ConsoleSession.hpp"

#include <ostream>

namespace tilmora {

namespace {

/// Prints every command's help lines from the session's command table; `help keys` the names
/// and glyphs `key` takes, `help actions` the selectors `ui action` sends.
void helpCommand(ConsoleSession& session, const CommandArgs& args) {
    if (args.argumentCount() == 0) {
        session.out() << session.commands().helpText();
        return;
    }
    if (args.text(1) == "keys") {
        session.out() << ChordText::helpText();
        return;
    }
    if (args.text(1) == "actions") {
        session.out() << ActionCatalog::helpText();
        return;
    }
    throw CommandError("usage: help [keys | actions]");
}

void quitCommand(ConsoleSession& session, const CommandArgs&) {
    session.requestQuit();
}

const CommandRegistration registration({
    {.name = "help",
     .arguments = ArgumentCheck::between(0, 1, "usage: help [keys | actions]"),
     .handler = helpCommand,
     .help = {"help | help keys | help actions | quit"},
     .words = {"keys", "actions"},
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
