// The console's documentation against its command table.

#include "console/CommandTable.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <string>
#include <vector>

// The README and the console's reference name every command the console has, and every first
// word a command takes, on one line with the command.
TEST(ConsoleReferenceTest, EveryCommandAndItsWordsAreDocumented) {
    std::vector<std::string> lines;
    for (const char* file : {"/README.md", "/docs/console.md"}) {
        std::ifstream in(std::string(TILMORA_SOURCE_DIR) + file);
        ASSERT_TRUE(in) << file;
        for (std::string line; std::getline(in, line);)
            lines.push_back(" " + line + " ");
    }
    // A word stands alone: not inside a longer name.
    const auto holds = [](const std::string& line, const std::string& word) {
        for (auto at = line.find(word); at != std::string::npos; at = line.find(word, at + 1)) {
            const auto isName = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_'; };
            if ((at == 0 || !isName(line[at - 1])) && (at + word.size() == line.size() || !isName(line[at + word.size()])))
                return true;
        }
        return false;
    };
    for (const auto* command : tilmora::CommandTable::builtIn().inHelpOrder()) {
        const std::string& name = command->name;
        // In a code block or in backquotes.
        EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [&](const auto& l) {
            return holds(l, name) && (l.starts_with("     ") || l.find("`" + name) != std::string::npos);
        })) << name;
        for (const auto& word : command->words)
            EXPECT_TRUE(std::any_of(lines.begin(), lines.end(),
                                    [&](const auto& l) { return holds(l, name) && holds(l, word); }))
                << name << " " << word;
    }
}
