#pragma once

#include <cstddef>
#include <functional>
#include <limits>
#include <string>
#include <vector>

namespace tilmora {

class CommandArgs;
class ConsoleSession;

/// How many words may follow a command's name. Outside the range the command does not run and
/// the console reports `usage`.
struct ArgumentCheck {
    std::size_t min = 0;
    std::size_t max = std::numeric_limits<std::size_t>::max();
    std::string usage;

    static ArgumentCheck any() { return {}; }
    static ArgumentCheck exactly(std::size_t n, std::string usage) { return {n, n, std::move(usage)}; }
    static ArgumentCheck atLeast(std::size_t n, std::string usage) {
        return {n, std::numeric_limits<std::size_t>::max(), std::move(usage)};
    }
    static ArgumentCheck between(std::size_t min, std::size_t max, std::string usage) {
        return {min, max, std::move(usage)};
    }

    /// Throws `CommandError` with `usage` when the number of arguments is outside the range.
    void verify(const CommandArgs& args) const;
};

/// One entry of the console's command table.
struct ConsoleCommand {
    using Handler = std::function<void(ConsoleSession&, const CommandArgs&)>;

    /// The first word of the command ("window"); one word, no blanks, unique in its table.
    std::string name;
    ArgumentCheck arguments;
    /// Runs the command; reports what cannot run by throwing `CommandError` (or a platform
    /// `Error`), and a failed expectation through `ConsoleSession::failExpectation`.
    Handler handler;
    /// The command's lines in `help`, without indentation. Empty for an alias that `help` does
    /// not list (the alias's main command lists both forms).
    std::vector<std::string> help;
    /// The words the command takes as its first argument, where it has such a list (`show`'s
    /// "windows", "screens", ...): Tab completes them, and an unknown one is answered with the
    /// nearest.
    std::vector<std::string> words = {};
    /// Where the help lines stand in `help`: smaller first, then by name.
    int helpOrder = 500;
};

} // namespace tilmora
