#include "console/ConsoleOptions.hpp"

#include "console/NameSuggestions.hpp"

#include <string_view>
#include <vector>

namespace tilmora {

std::optional<ConsoleOptions> ConsoleOptions::parse(int argc, const char* const* argv, std::string& error) {
    ConsoleOptions options;
    for (int i = 1; i < argc; ++i) {
        std::string_view word = argv[i];
        // "tilmora help" as a person types it.
        if (word == "--help" || word == "-h" || (word == "help" && i == 1 && argc == 2)) {
            options.help = true;
            continue;
        }
        if (word == "--version") {
            options.version = true;
            continue;
        }
        std::optional<std::string> inlineValue;
        if (const auto equals = word.find('='); word.starts_with("--") && equals != std::string_view::npos) {
            inlineValue = std::string(word.substr(equals + 1));
            word = word.substr(0, equals);
        }
        std::optional<std::string>* slot = word == "--script"    ? &options.script
                                           : word == "--home"    ? &options.home
                                           : word == "--desktop" ? &options.desktop
                                                                 : nullptr;
        if (!slot) {
            static const std::vector<std::string> known = {"--script", "--home", "--desktop", "--help",
                                                           "--version"};
            error = "unknown option: " + std::string(argv[i]) +
                    NameSuggestions::didYouMean(std::string(word), known, false);
            return std::nullopt;
        }
        if (slot->has_value()) {
            error = "option given twice: " + std::string(word);
            return std::nullopt;
        }
        if (!inlineValue) {
            if (i + 1 >= argc) {
                error = "option " + std::string(word) + " needs a value";
                return std::nullopt;
            }
            inlineValue = argv[++i];
        }
        // An empty folder name is refused where folders are made, in the words used there.
        if (inlineValue->empty() && slot != &options.home) {
            error = "option " + std::string(word) + " needs a value";
            return std::nullopt;
        }
        *slot = std::move(*inlineValue);
    }
    return options;
}

const char* ConsoleOptions::usage() {
    return "usage: tilmora [--script FILE|-] [--home DIR] [--desktop NAME|FILE] [--help] [--version]";
}

const char* ConsoleOptions::helpText() {
    return "Tilmora, a menu-bar window-arranging utility, running on a simulated desktop inside a\n"
           "desktop console. Without --script it starts an interactive session with the program\n"
           "launched; type \"help\" there for the commands, \"quit\" to leave.\n"
           "\n"
           "usage: tilmora [--script FILE|-] [--home DIR] [--desktop NAME|FILE]\n"
           "\n"
           "options:\n"
           "  --script FILE|-       run the console script FILE (\"-\": standard input) on the virtual\n"
           "                        clock in a private folder; it ends with \"passed: N expects\" (exit 0)\n"
           "                        or \"failed: K of N expects, E errors\" (exit 1 or 2)\n"
           "  --home DIR            keep the program's files in DIR\n"
           "  --desktop NAME|FILE   start on that desktop: default, laptop, laptop-external,\n"
           "                        two-displays, or a desktop file as `desktop load` takes it\n"
           "  --version             print the version\n"
           "  --help                print this text\n"
           "\n"
           "The console's commands are described in docs/console.md (README.md has a cheat sheet)\n"
           "and by the console's own \"help\" command.\n";
}

const char* ConsoleOptions::versionText() {
    return "tilmora 0.1";
}

} // namespace tilmora
