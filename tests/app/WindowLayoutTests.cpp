#include "support/ProgramScriptTest.hpp"
#include "support/WindowLayoutCheck.hpp"

#include "console/ProgramWindows.hpp"
#include "console/WindowElements.hpp"
#include "platform/control/ScreenCapture.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using tilmora::DesktopConsole;
using tilmora::ProgramWindows;

namespace {

/// Every window of the program, opened as a user opens it and in the states a user reaches,
/// checked as a person looks at it: its controls inside it, none over another, every text readable.
class WindowLayoutTest : public ProgramScriptTest {
protected:
    void more(DesktopConsole& console, const std::string& lines) {
        out.str("");
        console.runString(lines);
        EXPECT_EQ(out.str().find("error"), std::string::npos) << out.str();
    }

    /// The layout problems of the window `name` as the main display shows it now (one line each).
    static std::string problemsOf(const std::string& name) {
        auto& window = ProgramWindows::window(name);
        platform::ui::ScreenCapture::Options options;
        options.scale = 2;
        options.display = 1;
        options.showsPointer = false;
        const auto picture = platform::ui::ScreenCapture::capture(options);
        options.drawsText = false;
        const auto bare = platform::ui::ScreenCapture::capture(options);
        std::string all;
        for (const auto& problem : testsupport::WindowLayoutCheck::problems(
                 tilmora::WindowElements::describe(window), window.contentRectForFrameRect(window.frame()),
                 picture, bare))
            all += problem + "\n";
        return all;
    }

    /// Closes the window `name` as its close button does.
    static void close(const std::string& name) { ProgramWindows::window(name).performClose(); }
};

TEST_F(WindowLayoutTest, EveryWindowShowsItsControlsInsideItApartAndReadable) {
    DesktopConsole console(out);
    const std::string manager = "Tilmora Snapshots";
    const std::string editor = "Layout Editor – Built-in Retina Display";
    more(console, R"(desktop default
program launch
menu pick "Show Snapshot Manager"
ui type "Tilmora Snapshots" "snapshot.nameField" "Desk"
ui click "Tilmora Snapshots" "snapshot.save"
wait 0.5
)");
    EXPECT_EQ(problemsOf("toast"), "");
    more(console, R"(ui type "Tilmora Snapshots" "snapshot.nameField" "Work"
ui click "Tilmora Snapshots" "snapshot.save"
wait 4
)");
    EXPECT_EQ(problemsOf(manager), "") << "the snapshot manager with two rows";
    close(manager);

    more(console, "menu pick \"Preferences…\"\nwait 1\n");
    EXPECT_EQ(problemsOf("Preferences"), "") << "the preferences at the top of the form";
    more(console, "ui scroll \"Preferences\" to \"bottom-right-sixth\"\n");
    EXPECT_EQ(problemsOf("Preferences"), "") << "the preferences at the end of the form";
    close("Preferences");

    // The preset editor as it opens, then with a saved grid preset and a single tile drawn and saved.
    more(console, "mouse move 700 400\nmenu pick \"Layout Editor…\"\n");
    EXPECT_EQ(problemsOf(editor), "") << "the preset editor without presets";
    more(console, R"(ui type "Layout Editor – Built-in Retina Display" "inspector.name" "Two rows"
ui click "Layout Editor – Built-in Retina Display" "Save Preset"
ui click "Layout Editor – Built-in Retina Display" "New Tile"
ui drag "Layout Editor – Built-in Retina Display" "canvas" 40 40 to 200 150
ui click "Layout Editor – Built-in Retina Display" "Save Preset"
)");
    EXPECT_EQ(problemsOf(editor), "") << "the preset editor";
    close(editor);

    more(console, "ui action \"openLayoutEditor:\"\n");
    EXPECT_EQ(problemsOf(editor), "") << "the layout editor";
    close(editor);

    more(console, "menu pick \"Help\"\n");
    EXPECT_EQ(problemsOf("Tilmora Help"), "") << "the help";
    close("Tilmora Help");

    // The snap bar with the display's single-tile preset in its second row.
    more(console, "menu pick \"Show Snap Bar\"\nwait 1\n");
    EXPECT_EQ(problemsOf("snap bar"), "") << "the snap bar";
}

} // namespace
