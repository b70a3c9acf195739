#include "support/ProgramScriptTest.hpp"

#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <string>
#include <vector>

using tilmora::DesktopConsole;

namespace {

/// The program's own windows named and clicked as a user would: by name or number, with the
/// console's `ui` commands and with the mouse.
class ProgramWindowTest : public ProgramScriptTest {
protected:
    /// Runs more lines in `console`; returns what they printed.
    std::string more(DesktopConsole& console, const std::string& lines) {
        out.str("");
        console.runString(lines);
        return out.str();
    }
    static std::vector<std::string> matches(const std::string& text, const std::string& pattern) {
        std::vector<std::string> found;
        const std::regex re(pattern);
        for (auto it = std::sregex_iterator(text.begin(), text.end(), re); it != std::sregex_iterator(); ++it)
            found.push_back(it->size() > 1 ? (*it)[1].str() : it->str());
        return found;
    }
};

TEST_F(ProgramWindowTest, SnapBarIconsAreListedAndClickedByIdOrWithTheMouse) {
    DesktopConsole console(out);
    std::string text = more(console, R"(desktop default
program launch
menu pick "Show Snap Bar"
wait 1
ui windows
ui show "snap bar"
ui show ""
ui click "snap bar" "leftHalf"
expect window com.apple.TextEdit "Untitled" frame 0 0 720 875
)");
    EXPECT_EQ(console.exitStatus(), DesktopConsole::exitError) << text; // the "" line only
    EXPECT_NE(text.find(" \"\" frame 27.5 773.0 1385.0 82.0 level 3 visible named \"snap bar\"\n"),
              std::string::npos)
        << text;
    const auto icons = matches(text, "button id=(\\w+) tooltip=\"[^\"]+\" frame [-0-9.]+ [-0-9.]+ 28.0 28.0\n");
    ASSERT_EQ(icons.size(), 31u) << text;
    EXPECT_EQ(icons.front(), "leftHalf");
    EXPECT_EQ(icons.back(), "bottomRightSixth");
    EXPECT_NE(text.find("button id=rightHalf tooltip=\"Snap the window to the right half\" frame "),
              std::string::npos);
    EXPECT_NE(text.find("error: line 7: no program window \"\": the untitled panels are named \"snap bar\" and "
                        "\"toast\""),
              std::string::npos)
        << text;
    EXPECT_EQ(text.find("line 8"), std::string::npos) << text;
    EXPECT_EQ(text.find("line 9"), std::string::npos) << text;

    // The centre of the right-half icon, as printed.
    std::smatch frame;
    ASSERT_TRUE(std::regex_search(text, frame, std::regex("id=rightHalf [^\n]* frame (\\S+) (\\S+) (\\S+) (\\S+)")));
    const double x = std::stod(frame[1]) + std::stod(frame[3]) / 2;
    const double y = std::stod(frame[2]) + std::stod(frame[4]) / 2;
    const std::string click = "mouse move " + std::to_string(x) + " " + std::to_string(y) + "\nmouse down\nmouse up\n";
    // A click on the kind already selected places the window again and clears the selection; the
    // status menu hides the bar while it is open, so the next click waits for it to slide back.
    text = more(console, click + R"(expect window com.apple.TextEdit "Untitled" frame 720 0 720 875
expect menu "Right Half" checked
wait 1
)" + click + R"(expect window com.apple.TextEdit "Untitled" frame 720 0 720 875
expect menu "Right Half" unchecked
expect frontmost com.apple.TextEdit
)");
    EXPECT_EQ(text.find("expect failed"), std::string::npos) << text;
    EXPECT_EQ(text.find("error"), std::string::npos) << text;
    // A click reaches no control of a panel that slid out.
    text = more(console, R"(menu pick "Show Snap Bar"
wait 1
)" + click + R"(expect window com.apple.TextEdit "Untitled" frame 720 0 720 875
)");
    EXPECT_EQ(text.find("expect failed"), std::string::npos) << text;
}

TEST_F(ProgramWindowTest, WindowsOfOneTitleAreNamedByNumber) {
    DesktopConsole console(out);
    const std::string title = "Layout Editor – Built-in Retina Display";
    std::string text = more(console, "desktop default\nprogram launch\nmenu pick \"Layout Editor…\"\n"
                                     "ui action \"openLayoutEditor:\"\nui windows\nui show \"" +
                                         title + "\"\n");
    const auto numbers = matches(text, "window (\\d+) \"" + title + "\"");
    ASSERT_EQ(numbers.size(), 2u) << text;
    const std::string preset = "#" + numbers[0];
    const std::string layout = "#" + numbers[1];
    EXPECT_NE(text.find("error: line 6: \"" + title + "\" names 2 program windows: " + preset + " (visible), " +
                        layout + " (visible); name one by its number"),
              std::string::npos)
        << text;

    const auto lines = [&](const std::string& window) {
        const std::string shown = more(console, "ui show \"" + window + "\"\n");
        return std::count(shown.begin(), shown.end(), '\n');
    };
    const auto presetLines = lines(preset);
    const auto layoutLines = lines(layout);
    text = more(console, "ui click \"" + layout + "\" \"Split Vertical\"\nui click \"#0\" Save\n");
    EXPECT_EQ(matches(text, "error: [^\n]*").size(), 1u) << text;
    EXPECT_NE(text.find(": no program window #0\n"), std::string::npos) << text;
    EXPECT_GT(lines(layout), layoutLines) << "the selected tile was split in two";
    EXPECT_EQ(lines(preset), presetLines);

    // The title in its ASCII spelling names the same windows.
    text = more(console, "ui show \"Layout Editor - Built-in Retina Display\"\n");
    EXPECT_NE(text.find("\" names 2 program windows: " + preset), std::string::npos) << text;
}

TEST_F(ProgramWindowTest, AClickOnTheStatusItemOnEachDisplaysMenuBarPrintsThatDisplaysMenu) {
    DesktopConsole console(out);
    more(console, "desktop default\nprogram launch\nmenu pick \"Show Snap Bar\"\nwait 1\nshow log\n");
    const struct {
        const char* menuBar;
        const char* at; // where the pictures draw the icon
        const char* display;
    } rows[] = {
        {"the laptop's", "1252 887", "Built-in Retina Display"},
        {"the external display's", "3172 1068", "DELL U2720Q"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.menuBar);
        const std::string text = more(console, std::string("mouse move ") + row.at +
                                                   "\nmouse down\nmouse up\nwait 1\nui windows\nshow log\n");
        EXPECT_NE(text.find("> mouse up\nShow Snapshot Manager\t⌃⌥O [⇧⌘O]\n---\n✓ Show Snap Bar\t⌃⌥B\n"),
                  std::string::npos)
            << text;
        const std::string display = row.display;
        for (const std::string& logged :
             {"[Menu] Status item clicked from screen=" + display + "\n",
              "Rebuilding menu requested=" + display + " target=" + display + " "})
            EXPECT_NE(text.find(logged), std::string::npos) << logged << "\n" << text;
        // The menu closed with the command, and the snap bar hidden while it was open came back.
        EXPECT_NE(text.find(" level 3 visible named \"snap bar\"\n"), std::string::npos) << text;
    }
}

} // namespace
