#pragma once

#include "console/ConsoleCommand.hpp"

#include <map>
#include <string>
#include <vector>

namespace tilmora {

/// The console's commands by name. Each file under app/console/commands/ adds its command group
/// to the built-in table with one `CommandRegistration`; the `help` text is read from the table.
/// The built-in table is filled while the program loads and only read afterwards.
class CommandTable {
public:
    /// The commands of the program's console.
    static CommandTable& builtIn();

    /// Adds `command`. Throws `std::logic_error` naming the command when the name is empty, holds
    /// a blank or is taken already, or when the handler is missing; the table is then unchanged.
    void add(ConsoleCommand command);

    const ConsoleCommand* find(const std::string& name) const;
    std::size_t size() const { return commands_.size(); }

    /// Every command's name, in name order.
    std::vector<std::string> names() const;
    /// Every entry, by `helpOrder` then name.
    std::vector<const ConsoleCommand*> inHelpOrder() const;
    /// The `help` text: "commands:", "  # comment", then each command's help lines indented by two
    /// spaces, one per line (each ending in "\n").
    std::string helpText() const;

    /// Runs the command `args` names: checks its arguments, then calls its handler. Throws
    /// `CommandError` "unknown command: NAME" (with the nearest names, "; did you mean show?") when
    /// no command has the name; whatever the handler throws passes through to the caller, which
    /// reports every failure in one place. A usage or "unknown ..." error over a first word the
    /// command does not take (see `ConsoleCommand::words`) but is near one is answered with the
    /// suggestion first: "unknown ui command: clik; did you mean click? (usage: ...)", "unknown
    /// show: windws; did you mean windows? (...)".
    void run(ConsoleSession& session, const CommandArgs& args) const;

private:
    std::map<std::string, ConsoleCommand> commands_;
};

} // namespace tilmora
