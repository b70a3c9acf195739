#pragma once

#include <optional>
#include <string>

namespace tilmora {

/// The program's command-line options:
///   --script FILE|-        run a script (from standard input with "-") instead of a session
///   --home DIR             keep the program's files in DIR
///   --desktop NAME|FILE    start on that desktop (default, laptop, laptop-external,
///                          two-displays, or a desktop file as `desktop load` takes it)
///   --help, --version
/// Each option at most once; "--opt=value" is accepted as well as "--opt value"; "help" alone is
/// taken as --help. Pure.
struct ConsoleOptions {
    std::optional<std::string> script;
    std::optional<std::string> home;
    std::optional<std::string> desktop;
    bool help = false;
    bool version = false;

    /// The options in `argv` (argv[0] is the program's name). None, with `error` set to a line
    /// naming the option at fault ("unknown option: --scirpt; did you mean --script?"), when an
    /// option is unknown, repeated or lacks its value.
    static std::optional<ConsoleOptions> parse(int argc, const char* const* argv, std::string& error);

    /// The one-line usage, for standard error after a bad option.
    static const char* usage();
    /// The text of `--help`: what the program is, the options, where the commands are described.
    static const char* helpText();
    /// The text of `--version`.
    static const char* versionText();
};

} // namespace tilmora
