// Names that come from files or from the program reach the terminal with their control characters
// escaped, whichever command prints them: a name is one line and never a terminal command, while
// every other character prints whole.
#include "console/ConsoleText.hpp"
#include "model/DefaultLayoutStore.hpp"
#include "model/Layout.hpp"
#include "model/Log.hpp"
#include "platform/desktop/NSScreen.hpp"
#include "platform/foundation/FileSystem.hpp"
#include "platform/foundation/JsonCoding.hpp"
#include "support/ProgramScriptTest.hpp"
#include "support/TableRow.hpp"
#include "windows/ScreenIdentity.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using tilmora::ConsoleText;

namespace {

const std::string kEvil = "Evil\x1B[2J\x1B]0;owned\a";
const std::string kTwoLines = "Two\nLines";

TEST(ConsoleTextTest, EscapesControlCodePointsAndKeepsEveryOtherCharacterWhole) {
    // given: the text; expected: quote, controlsEscaped, linesEscaped.
    const std::vector<testsupport::TableRow<std::string, std::vector<std::string>>> cases = {
        {"C0 and DEL", "a\x1B[2J\a\x7F", {"\"a\\x1B[2J\\x07\\x7F\"", "a\\x1B[2J\\x07\\x7F", "a\\x1B[2J\\x07\\x7F"}},
        {"line ends and tabs", "a\tb\r\nc", {"\"a\\tb\\r\\nc\"", "a\\tb\\r\\nc", "a\tb\\r\nc"}},
        {"C1 controls by code point", "a\u0085b\u009B\u0080", {"\"a\\u0085b\\u009B\\u0080\"", "a\\u0085b\\u009B\\u0080", "a\\u0085b\\u009B\\u0080"}},
        {"characters of several bytes", "Café 東京 ⌃⌥← \u00A0\u00FF", {"\"Café 東京 ⌃⌥← \u00A0\u00FF\"", "Café 東京 ⌃⌥← \u00A0\u00FF", "Café 東京 ⌃⌥← \u00A0\u00FF"}},
        {"bytes of no character", "a\x9B" "b\xC2", {"\"a\\x9Bb\\xC2\"", "a\\x9Bb\\xC2", "a\\x9Bb\\xC2"}},
        {"quotes", "\"q\\\"", {"\"\\\"q\\\\\\\"\"", "\"q\\\"", "\"q\\\""}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ConsoleText::quote(c.given), c.expected[0]) << c.name;
        EXPECT_EQ(ConsoleText::controlsEscaped(c.given), c.expected[1]) << c.name;
        EXPECT_EQ(ConsoleText::linesEscaped(c.given), c.expected[2]) << c.name;
    }
}

class EscapedNamesTest : public ProgramScriptTest {
protected:
    /// Stores one single-tile layout of each name on the main display.
    static void storeLayouts(const std::vector<std::string>& names) {
        const tilmora::DisplayId display(tilmora::tlm_identifierString(*platform::NSScreen::main()));
        std::vector<tilmora::Layout> layouts;
        for (const auto& name : names)
            layouts.push_back(tilmora::Layout{
                tilmora::LayoutId{platform::UUID()}, name, display,
                {tilmora::Tile{tilmora::TileId{platform::UUID()}, display, {0.0, 0.0, 0.5, 1.0}, std::nullopt}}});
        const auto file = tilmora::DefaultLayoutStore().url();
        platform::FileSystem::createDirectories(file.parent_path());
        platform::FileSystem::writeAtomically(file, platform::jsonText(platform::encodeJsonArray(layouts)));
    }
};

TEST_F(EscapedNamesTest, TheMenuListsEachNameOnOneLineWithItsControlsEscaped) {
    tilmora::DesktopConsole console(out);
    console.execute("desktop default");
    storeLayouts({kEvil, kTwoLines, "Café 東京", "Next\u0085Line"});
    console.execute("program launch");
    out.str("");
    console.execute("menu \"Custom Layouts\"");
    const std::string listing = out.str();
    EXPECT_NE(listing.find("\nCafé 東京\nEvil\\x1B[2J\\x1B]0;owned\\x07\nNext\\u0085Line\nTwo\\nLines\n"),
              std::string::npos)
        << listing;
    EXPECT_TRUE(std::none_of(listing.begin(), listing.end(), [](char c) {
        return (static_cast<unsigned char>(c) < 0x20 && c != '\n' && c != '\t') || c == '\x7F';
    })) << listing;
    EXPECT_EQ(listing.find("\u0085"), std::string::npos) << listing;
}

TEST_F(EscapedNamesTest, ShowLogEscapesTheProgramsOutputAndTheLogFileKeepsItsBytes) {
    const std::string name = "A\x1B[2JB\a\u0085";
    run("desktop default\nprogram launch\nmenu pick \"Show Snapshot Manager\"\n"
        "ui type \"Tilmora Snapshots\" \"snapshot.nameField\" \"" + name + "\"\n"
        "ui click \"Tilmora Snapshots\" \"snapshot.save\"\nwait 1\nshow log\n");
    const std::string shown = out.str().substr(out.str().find("> show log\n"));
    EXPECT_NE(shown.find("A\\x1B[2JB\\x07\\u0085"), std::string::npos) << shown;
    EXPECT_EQ(shown.find('\x1B'), std::string::npos) << shown;
    EXPECT_EQ(shown.find('\a'), std::string::npos) << shown;
    // The log's own line ends and tabs stay.
    EXPECT_GT(std::count(shown.begin(), shown.end(), '\n'), 3) << shown;
    EXPECT_EQ(shown.find("\\n"), std::string::npos) << shown;
    // The program's print wrote exactly its text.
    EXPECT_NE(programLog().find(name), std::string::npos);
    const auto file = tilmora::logFilePath();
    ASSERT_TRUE(file);
    EXPECT_NE(platform::FileSystem::readFile(*file).find(name), std::string::npos);
}

} // namespace
