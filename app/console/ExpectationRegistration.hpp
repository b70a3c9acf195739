#pragma once

#include "console/ConsoleCommand.hpp"

#include <string>
#include <utility>
#include <vector>

namespace tilmora {

/// Adds checks to the `expect` command from another command file while the program loads:
///
///     namespace {
///     const ExpectationRegistration expectations({{"menu", expectMenu}});
///     }
///
/// `expect WORD ...` runs the handler registered for WORD with the whole line ("expect" first),
/// after the checks of the `expect` command itself. A word registered twice is a fault of the
/// program: it writes "tilmora: " + the reason to standard error and aborts before any command runs.
class ExpectationRegistration {
public:
    using Handler = ConsoleCommand::Handler;

    explicit ExpectationRegistration(std::vector<std::pair<std::string, Handler>> checks);

    /// The handler registered for `word`; null when there is none.
    static const Handler* find(const std::string& word);
    /// Every registered word, in name order.
    static std::vector<std::string> words();
};

} // namespace tilmora
