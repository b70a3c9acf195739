#include "console/CommandArgs.hpp"
#include "console/CommandError.hpp"
#include "console/CommandRegistration.hpp"
#include "console/CommandTable.hpp"
#include "console/ConsoleSession.hpp"
#include "console/DesktopConsole.hpp"
#include "console/Tokenizer.hpp"
#include "platform/foundation/Error.hpp"
#include "support/PlatformTest.hpp"

#include <gtest/gtest.h>

#include <set>
#include <sstream>

using tilmora::ArgumentCheck;
using tilmora::CommandArgs;
using tilmora::CommandTable;
using tilmora::ConsoleCommand;
using tilmora::ConsoleSession;
using tilmora::DesktopConsole;
using tilmora::Token;
using tilmora::Tokenizer;

namespace {

class ConsoleCommandTableTest : public PlatformTest {};

ConsoleCommand entry(std::string name, ConsoleCommand::Handler handler, std::vector<std::string> help = {},
                     int order = 500, ArgumentCheck check = ArgumentCheck::any()) {
    return {.name = std::move(name),
            .arguments = std::move(check),
            .handler = std::move(handler),
            .help = std::move(help),
            .helpOrder = order};
}

/// An entry whose handler counts its calls in `calls` (when given).
ConsoleCommand command(const std::string& name, int* calls = nullptr,
                       ArgumentCheck check = ArgumentCheck::any()) {
    return entry(
        name,
        [calls](ConsoleSession&, const CommandArgs&) {
            if (calls) ++*calls;
        },
        {name + " <thing>"}, 500, std::move(check));
}

void nothing(ConsoleSession&, const CommandArgs&) {}

TEST_F(ConsoleCommandTableTest, RefusesADuplicateOrUnusableEntryAndKeepsTheFirst) {
    CommandTable table;
    int firstCalls = 0;
    table.add(command("frame", &firstCalls));

    struct Case {
        const char* label;
        ConsoleCommand entry;
        const char* message;
    };
    const Case cases[] = {
        {"same name", command("frame"), "console command frame is registered twice"},
        {"empty name", command(""), "needs a name"},
        {"two words", command("frame size"), "one word"},
        {"tab inside", command("a\tb"), "one word"},
        {"quote inside", command("a\"b"), "one word"},
        {"no handler", entry("gap", nullptr), "gap has no handler"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        try {
            table.add(c.entry);
            ADD_FAILURE() << "accepted";
        } catch (const std::logic_error& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
        }
    }
    EXPECT_EQ(table.size(), 1u);
    std::ostringstream out;
    ConsoleSession session(out, DesktopConsole::Clock::virtualTime, table);
    table.run(session, CommandArgs({{"frame"}}));
    EXPECT_EQ(firstCalls, 1);
}

TEST_F(ConsoleCommandTableTest, ArgumentCountOutsideTheRangeReportsTheUsageWithoutRunningTheHandler) {
    struct Case {
        ArgumentCheck check;
        std::size_t arguments;
        bool runs;
    };
    const Case cases[] = {
        {ArgumentCheck::any(), 0, true},
        {ArgumentCheck::any(), 40, true},
        {ArgumentCheck::exactly(1, "usage: x"), 0, false},
        {ArgumentCheck::exactly(1, "usage: x"), 1, true},
        {ArgumentCheck::exactly(1, "usage: x"), 2, false},
        {ArgumentCheck::atLeast(2, "usage: x"), 1, false},
        {ArgumentCheck::atLeast(2, "usage: x"), 2, true},
        {ArgumentCheck::atLeast(2, "usage: x"), 9, true},
        {ArgumentCheck::between(1, 3, "usage: x"), 0, false},
        {ArgumentCheck::between(1, 3, "usage: x"), 3, true},
        {ArgumentCheck::between(1, 3, "usage: x"), 4, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.check.min << ".." << c.check.max << " given " << c.arguments);
        CommandTable table;
        int calls = 0;
        table.add(command("cmd", &calls, c.check));
        std::vector<Token> words{{"cmd"}};
        for (std::size_t i = 0; i < c.arguments; ++i)
            words.push_back({std::to_string(i)});
        std::ostringstream out;
        ConsoleSession session(out, DesktopConsole::Clock::virtualTime, table);
        if (c.runs) {
            EXPECT_NO_THROW(table.run(session, CommandArgs(words)));
        } else {
            EXPECT_THROW(table.run(session, CommandArgs(words)), tilmora::CommandError);
        }
        EXPECT_EQ(calls, c.runs ? 1 : 0);
    }
}

TEST(CommandTableTest, HelpListsEveryEntrysLinesByOrderThenName) {
    CommandTable table;
    table.add(entry("zeta", nothing, {"zeta one", "zeta two"}, 1));
    // A command file's group, registered in one go.
    const tilmora::CommandRegistration group(
        table, {entry("beta", nothing, {"beta"}, 2), entry("alpha", nothing, {"alpha"}, 2)});
    table.add(entry("alias", nothing, {}, 0)); // an alias: not listed
    EXPECT_EQ(table.helpText(), "commands:\n  # comment\n  zeta one\n  zeta two\n  alpha\n  beta\n");
}

TEST(CommandTableTest, TheBuiltInTableHoldsEveryCommandFileOfTheConsole) {
    // A command file that the build leaves out (or whose registration the linker drops) fails here.
    std::set<std::string> names;
    for (const auto* entry : CommandTable::builtIn().inHelpOrder())
        names.insert(entry->name);
    const std::set<std::string> expected{"app",   "desktop", "drag",   "exit", "expect", "help",  "key",
                                         "mouse", "quit",    "screen", "show", "wait",   "window"};
    for (const auto& name : expected)
        EXPECT_TRUE(names.count(name)) << name;
}

TEST_F(ConsoleCommandTableTest, HelpPrintsEveryRegisteredCommandsHelpLines) {
    std::ostringstream out;
    DesktopConsole console(out);
    EXPECT_TRUE(console.execute("help"));
    const std::string text = out.str();
    EXPECT_EQ(text, "> help\n" + CommandTable::builtIn().helpText());
    for (const auto* entry : CommandTable::builtIn().inHelpOrder()) {
        for (const auto& line : entry->help)
            EXPECT_NE(text.find("\n  " + line + "\n"), std::string::npos) << line;
    }
    EXPECT_TRUE(text.ends_with("  help | help keys | help actions | quit\n")) << text;
}

TEST_F(ConsoleCommandTableTest, EveryFailureOfAHandlerIsReportedAsAnErrorOfItsLine) {
    CommandTable table;
    table.add(entry("refuse", [](auto&, auto&) { throw tilmora::CommandError("refused"); }));
    table.add(entry("platform", [](auto&, auto&) { throw platform::Error("out of windows"); }));
    table.add(entry("differ", [](ConsoleSession& s, auto&) { s.failExpectation("it", "1", "2"); }));
    table.add(entry("fine", [](ConsoleSession& s, auto&) { s.out() << "ok\n"; }));
    struct Case {
        const char* line;
        int status;
        const char* transcript;
    };
    const Case cases[] = {
        {"refuse", 2, "> refuse\nerror: line 1: refused\n"},
        {"platform", 2, "> platform\nerror: line 1: out of windows\n"},
        {"differ", 1, "> differ\nexpect failed: line 1: it\n  expected: 1\n  actual:   2\n"},
        {"fine", 0, "> fine\nok\n"},
        // Only the table's commands exist: the built-in ones are not reachable through it.
        {"wait 1", 2, "> wait 1\nerror: line 1: unknown command: wait\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        std::ostringstream out;
        DesktopConsole::Options options;
        options.commands = &table;
        DesktopConsole console(out, options);
        EXPECT_EQ(console.execute(c.line), c.status == 0);
        EXPECT_EQ(console.exitStatus(), c.status);
        EXPECT_EQ(out.str(), c.transcript);
    }
}

TEST(TokenizerTest, SplitsWordsAndQuotedTexts) {
    struct Case {
        const char* line;
        std::vector<Token> words;
    };
    const Case cases[] = {
        {"a  b\tc", {{"a"}, {"b"}, {"c"}}},
        {"open \"Two words\" x", {{"open"}, {"Two words", true}, {"x"}}},
        {R"("a\"b\\c")", {{"a\"b\\c", true}}},
        {"\"\"", {{"", true}}},
        {"x\"y\"", {{"x\"y\""}}}, // a quote inside a word is a plain character
        {"\"a\"b", {{"a", true}, {"b"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(Tokenizer::split(c.line), c.words);
    }
    for (const char* bad : {"\"abc", "x \"a\\\"", "\"a\\"}) {
        SCOPED_TRACE(bad);
        EXPECT_THROW(Tokenizer::split(bad), tilmora::CommandError);
    }
}

TEST(TokenizerTest, CommandTextSkipsBlankLinesAndCommentsAndTrimsTheRest) {
    const std::pair<const char*, std::optional<std::string>> cases[] = {
        {"", std::nullopt},   {" \t ", std::nullopt},     {"\r", std::nullopt},   {"  # note", std::nullopt},
        {"key a\r", "key a"}, {" \tkey  a \t", "key  a"}, {"key # a", "key # a"},
    };
    for (const auto& [raw, want] : cases) {
        SCOPED_TRACE(raw);
        EXPECT_EQ(Tokenizer::commandText(raw), want);
    }
}

} // namespace
