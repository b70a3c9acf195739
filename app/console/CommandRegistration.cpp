#include "console/CommandRegistration.hpp"

#include "console/CommandTable.hpp"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace tilmora {

CommandRegistration::CommandRegistration(std::vector<ConsoleCommand> commands)
    : CommandRegistration(CommandTable::builtIn(), std::move(commands)) {}

CommandRegistration::CommandRegistration(CommandTable& table, std::vector<ConsoleCommand> commands) {
    for (auto& command : commands) {
        try {
            table.add(std::move(command));
        } catch (const std::logic_error& e) {
            std::fprintf(stderr, "tilmora: %s\n", e.what());
            std::abort();
        }
    }
}

} // namespace tilmora
