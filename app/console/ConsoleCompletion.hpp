#pragma once

#include <string>
#include <vector>

namespace tilmora {

class CommandTable;

/// What Tab offers in a session for a word after the first: a command's first words (`show
/// windows`, `ui click`, `expect menu`, `help actions`), the running program's menu titles after
/// `menu`, `menu pick` and `expect menu` (the items of a submenu after ">"), its window names
/// after the `ui` and `expect ui` subcommands that take one, the ids of that window's elements
/// after it, and the selectors after `ui action`. Titles and names are given quoted
/// ("\"Right Half\""). Reads the program's menu and windows as they are, opening nothing. Main
/// thread; logs nothing; never throws (nothing is offered when something cannot be read).
class ConsoleCompletion {
public:
    /// The candidates for the word after `words` (the words before it, without quotes).
    static std::vector<std::string> candidates(const CommandTable& table, const std::vector<std::string>& words);
};

} // namespace tilmora
