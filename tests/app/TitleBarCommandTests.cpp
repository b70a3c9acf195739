#include "support/ProgramScriptTest.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using tilmora::DesktopConsole;

namespace {

/// The program's windows worked by their title bars with the mouse, as a person does.
class TitleBarCommandTest : public ProgramScriptTest {
protected:
    /// Runs more lines in `console`; returns what they printed.
    std::string more(DesktopConsole& console, const std::string& lines) {
        out.str("");
        console.runString(lines);
        return out.str();
    }
    /// The lines of a mouse click at `at` ("X Y").
    static std::string clickAt(const std::string& at) {
        return "mouse move " + at + "\nmouse down\nmouse up\n";
    }
    /// Whether `ui windows` lists the window titled `title` with `rest` after its title.
    bool lists(DesktopConsole& console, const std::string& title, const std::string& rest) {
        listing = more(console, "ui windows\n");
        return listing.find("\"" + title + "\" " + rest + "\n") != std::string::npos;
    }
    std::string listing;
};

TEST_F(TitleBarCommandTest, ACloseButtonHidesTheWindowWhichItsMenuItemShowsAgainWithItsState) {
    struct Case {
        const char* name;
        const char* title;
        const char* show;
        const char* edit;
        const char* close;
        const char* closed;
        const char* shown;
        /// What `ui show` prints once it is shown again; "" for all it printed before the close.
        const char* kept;
    };
    const std::string editor = "Layout Editor – Built-in Retina Display";
    const std::vector<Case> cases = {
        {"Tilmora Snapshots", "Tilmora Snapshots", "menu pick \"Show Snapshot Manager\"\n",
         "mouse move 659.5 696.5\nmouse down\nmouse up\ntype \"Desk\"\n", "239.5 724",
         "frame 220.0 137.5 1000.0 600.0 level 0 hidden", "frame 220.0 137.5 1000.0 600.0 level 0 visible",
         ""},
        {"Preferences", "Preferences", "menu pick \"Preferences…\"\n",
         "mouse move 720 450\nmouse scroll 300\n", "189.5 852.5",
         "frame 170.0 18.0 1100.0 848.0 level 0 hidden", "frame 170.0 18.0 1100.0 848.0 level 0 visible", ""},
        {"Tilmora Help", "Tilmora Help", "menu pick \"Help\"\nwait 1\n",
         "mouse move 720 450\nmouse scroll 300\n", "379.5 779.5",
         "frame 360.0 165.0 720.0 628.0 level 3 hidden", "frame 360.0 165.0 720.0 628.0 level 3 visible", ""},
        {"preset editor", editor.c_str(), "menu pick \"Layout Editor…\"\n",
         "ui click \"preset editor\" \"New Tile\"\n", "189.5 784",
         "frame 170.0 77.5 1100.0 720.0 level 0 hidden named \"preset editor\"",
         "frame 170.0 49.5 1100.0 748.0 level 0 visible named \"preset editor\"", "value=\"New Tile\""},
        {"layout editor", editor.c_str(), "ui action \"openLayoutEditor:\"\n",
         "ui click \"layout editor\" \"Split Vertical\"\n", "379.5 765.5",
         "frame 360.0 191.0 720.0 588.0 level 0 hidden named \"layout editor\"",
         "frame 360.0 191.0 720.0 588.0 level 0 visible named \"layout editor\"", ""},
    };
    DesktopConsole console(out);
    more(console, "desktop default\nprogram launch\n");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string shows = "ui show \"" + std::string(c.name) + "\"\n";
        EXPECT_EQ(more(console, "expect frontmost com.apple.TextEdit\n").find("failed"), std::string::npos);
        more(console, std::string(c.show) + c.edit);
        const std::string before = more(console, shows);
        more(console, clickAt(c.close));
        EXPECT_TRUE(lists(console, c.title, c.closed)) << listing;
        const std::string hidden = more(console, "expect ui \"" + std::string(c.name) + "\" hidden\n");
        EXPECT_EQ(hidden.find("failed"), std::string::npos) << hidden;
        more(console, c.show);
        EXPECT_TRUE(lists(console, c.title, c.shown)) << listing;
        const std::string after = more(console, shows);
        if (*c.kept)
            EXPECT_NE(after.find(c.kept), std::string::npos) << after;
        else
            EXPECT_EQ(after, before);
        // The next window opens with another application in front, as this one did.
        more(console, clickAt(c.close) + "app focus com.apple.TextEdit\n");
    }
    EXPECT_EQ(more(console, "expect program running\n").find("failed"), std::string::npos);
    EXPECT_EQ(console.exitStatus(), DesktopConsole::exitOk) << out.str();
}

TEST_F(TitleBarCommandTest, MinimizeZoomATitleBarDragAndTheCornerWorkAsTheStyleMaskSaysAndNeverSnap) {
    struct Case {
        const char* name;
        const char* lines;
        const char* title;
        const char* listed;
    };
    const char* const help = "Tilmora Help";
    const char* const manager = "Tilmora Snapshots";
    const char* const editor = "Layout Editor – Built-in Retina Display";
    const std::vector<Case> cases = {
        {"the help panel's minimize does nothing",
         "menu pick \"Help\"\nwait 1\nmouse move 399.5 779.5\nmouse down\n"
         "mouse up\n",
         help, "frame 360.0 165.0 720.0 628.0 level 3 visible"},
        {"its zoom fills the visible frame", "mouse move 419.5 779.5\nmouse down\nmouse up\n", help,
         "frame 0.0 0.0 1440.0 875.0 level 3 visible"},
        {"and zoomed again, it is back", "mouse move 59.5 861.5\nmouse down\nmouse up\n", help,
         "frame 360.0 165.0 720.0 628.0 level 3 visible"},
        {"moved and closed, its menu item shows it centred",
         "drag 700 785 to 600 700\nmouse move 280 694.5\nmouse down\nmouse up\nmenu pick \"Help\"\n", help,
         "frame 360.0 165.0 720.0 628.0 level 3 visible"},
        {"the snapshot manager's zoom does nothing",
         "mouse move 379.5 779.5\nmouse down\nmouse up\nmenu pick \"Show Snapshot Manager\"\n"
         "mouse move 279.5 724\nmouse down\nmouse up\n",
         manager, "frame 220.0 137.5 1000.0 600.0 level 0 visible"},
        {"a drag of its title bar with the mouse moves it",
         "mouse move 700 724\nmouse down\nmouse move 650 700\nmouse move 600 650\nmouse up\n", manager,
         "frame 120.0 63.5 1000.0 600.0 level 0 visible"},
        {"its minimize puts it in the Dock", "mouse move 160 649.5\nmouse down\nmouse up\n", manager,
         "frame 120.0 63.5 1000.0 600.0 level 0 hidden minimized"},
        {"and its menu item brings it back, 1000 x 600 in the middle",
         "menu pick \"Show Snapshot Manager\"\n", manager, "frame 220.0 137.5 1000.0 600.0 level 0 visible"},
        {"the console's drag of the preferences' title bar moves it",
         "mouse move 239.5 724\nmouse down\nmouse up\nmenu pick \"Preferences…\"\ndrag 720 852 to 680 852\n",
         "Preferences", "frame 130.0 18.0 1100.0 848.0 level 0 visible"},
        {"minimized, it comes back where it was",
         "mouse move 169.5 852.5\nmouse down\nmouse up\nmenu pick \"Preferences…\"\n", "Preferences",
         "frame 130.0 18.0 1100.0 848.0 level 0 visible"},
        {"a drag of the layout editor's corner stops at its minimum size",
         "mouse move 149.5 852.5\nmouse down\nmouse up\nui action \"openLayoutEditor:\"\n"
         "mouse move 1079 192\nmouse down\nmouse move 1000 300\nmouse move 900 500\nmouse up\n",
         editor, "frame 360.0 259.0 700.0 520.0 level 0 visible named \"layout editor\""},
        {"and its menu item shows it at its content size again", "ui action \"openLayoutEditor:\"\n", editor,
         "frame 360.0 191.0 720.0 588.0 level 0 visible named \"layout editor\""},
    };
    DesktopConsole console(out);
    more(console, "desktop default\nprogram launch\nmenu pick \"Right Half\"\n");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        more(console, c.lines);
        EXPECT_TRUE(lists(console, c.title, c.listed)) << listing;
    }
    // None of it moved the other application's window, where a drag by its title bar would go.
    const std::string text =
        more(console, "expect window com.apple.TextEdit \"Untitled\" frame 720 0 720 875\n");
    EXPECT_EQ(text.find("failed"), std::string::npos) << text;
    EXPECT_EQ(console.exitStatus(), DesktopConsole::exitOk) << text;
}

} // namespace
