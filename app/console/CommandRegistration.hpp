#pragma once

#include "console/ConsoleCommand.hpp"

#include <vector>

namespace tilmora {

class CommandTable;

/// Adds a file's command group to a table while the program loads:
///
///     namespace {
///     const CommandRegistration registration({{.name = "wait", ...}});
///     }
///
/// A registration the table refuses (a name taken twice) is a fault of the program: it writes
/// "tilmora: " + the reason to standard error and aborts before any command runs.
class CommandRegistration {
public:
    explicit CommandRegistration(std::vector<ConsoleCommand> commands);
    CommandRegistration(CommandTable& table, std::vector<ConsoleCommand> commands);
};

} // namespace tilmora
