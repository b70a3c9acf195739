#include "console/CommandTable.hpp"

#include "console/CommandArgs.hpp"
#include "console/CommandError.hpp"
#include "console/NameSuggestions.hpp"

#include <algorithm>
#include <stdexcept>
#include <string_view>

namespace tilmora {

void ArgumentCheck::verify(const CommandArgs& args) const {
    const std::size_t n = args.argumentCount();
    if (n < min || n > max) throw CommandError(usage);
}

CommandTable& CommandTable::builtIn() {
    // Created on first use, so that registrations running before this file's statics are safe.
    static CommandTable table;
    return table;
}

void CommandTable::add(ConsoleCommand command) {
    if (command.name.empty()) throw std::logic_error("a console command needs a name");
    if (command.name.find_first_of(" \t\"") != std::string::npos)
        throw std::logic_error("a console command name is one word: \"" + command.name + "\"");
    if (!command.handler) throw std::logic_error("console command " + command.name + " has no handler");
    if (commands_.count(command.name) != 0)
        throw std::logic_error("console command " + command.name + " is registered twice");
    std::string name = command.name;
    commands_.emplace(std::move(name), std::move(command));
}

const ConsoleCommand* CommandTable::find(const std::string& name) const {
    auto it = commands_.find(name);
    return it == commands_.end() ? nullptr : &it->second;
}

std::vector<std::string> CommandTable::names() const {
    std::vector<std::string> out;
    out.reserve(commands_.size());
    for (const auto& [name, command] : commands_)
        out.push_back(name);
    return out;
}

std::vector<const ConsoleCommand*> CommandTable::inHelpOrder() const {
    std::vector<const ConsoleCommand*> out;
    out.reserve(commands_.size());
    for (const auto& [name, command] : commands_)
        out.push_back(&command);
    // The map gives name order; a stable sort keeps it within one `helpOrder`.
    std::stable_sort(out.begin(), out.end(), [](const ConsoleCommand* a, const ConsoleCommand* b) {
        return a->helpOrder < b->helpOrder;
    });
    return out;
}

std::string CommandTable::helpText() const {
    std::string text = "commands:\n  # comment\n";
    for (const auto* command : inHelpOrder()) {
        for (const auto& line : command->help)
            text += "  " + line + "\n";
    }
    return text;
}

void CommandTable::run(ConsoleSession& session, const CommandArgs& args) const {
    const auto* command = find(args.name());
    if (command == nullptr)
        throw CommandError("unknown command: " + args.name() + NameSuggestions::didYouMean(args.name(), names(), false));
    try {
        command->arguments.verify(args);
        command->handler(session, args);
    } catch (const CommandError& e) {
        // A first word the command does not take: the nearest it takes.
        const std::string_view message = e.what();
        const auto& words = command->words;
        if (words.empty() || args.argumentCount() == 0 || args.quoted(1) ||
            std::find(words.begin(), words.end(), args.text(1)) != words.end() ||
            !(message.starts_with("usage:") || message.starts_with("unknown ")))
            throw;
        // The suggestion first, then the usage, as a mistyped command is answered.
        const std::string& word = args.text(1);
        std::string text(message);
        if (text.starts_with("usage:")) {
            auto mistyped = NameSuggestions::mistyped(args.name() + " command", word, words, text);
            if (!mistyped) throw;
            throw *mistyped;
        }
        // "unknown ...: WORD (...)": the suggestion right after the word.
        const auto hint = NameSuggestions::didYouMean(word, words, false);
        if (hint.empty()) throw;
        const auto at = text.find(": " + word);
        text.insert(at == std::string::npos ? text.size() : at + 2 + word.size(), hint);
        throw CommandError(text, e.listed);
    }
}

} // namespace tilmora
