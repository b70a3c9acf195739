#include "support/ProgramScriptTest.hpp"
#include "support/WindowLayoutCheck.hpp"

#include "console/ConsoleText.hpp"
#include "console/ProgramWindows.hpp"
#include "console/WindowElements.hpp"
#include "platform/control/ScreenCapture.hpp"
#include "platform/desktop/NSScreen.hpp"
#include "platform/ui/TextMetrics.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
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

    /// A frame the window's layout fixes without measuring a text: the element with the id (or
    /// else the first with the text) `key`, and where it lies (global points, y up; NaN: any).
    struct Fixed {
        std::string key;
        double x, y, width, height;
    };
    static constexpr double any = std::numeric_limits<double>::quiet_NaN();

    /// The window's content area (global points, y up).
    static platform::CGRect contentOf(const std::string& name) {
        auto& window = ProgramWindows::window(name);
        return window.contentRectForFrameRect(window.frame());
    }

    /// Where `ui show` puts the element `key` of the window `name` (null when it shows none).
    static platform::CGRect frameOf(const std::string& name, const std::string& key) {
        const auto lines = testsupport::WindowLayoutCheck::parse(
            tilmora::WindowElements::describe(ProgramWindows::window(name)));
        for (const auto& line : lines)
            if (line.hasFrame && line.id == key) return line.frame;
        for (const auto& line : lines)
            if (line.hasFrame && line.text == key) return line.frame;
        return platform::CGRect::null();
    }

    /// The mismatches of the fixed frames of the window `name`, one line each.
    static std::string mismatches(const std::string& name, const std::vector<Fixed>& fixed) {
        std::string all;
        for (const auto& f : fixed) {
            const auto r = frameOf(name, f.key);
            const double got[] = {r.minX(), r.minY(), r.width(), r.height()};
            const double want[] = {f.x, f.y, f.width, f.height};
            bool ok = !r.isNull();
            for (int i = 0; i < 4 && ok; ++i)
                ok = std::isnan(want[i]) || std::abs(got[i] - want[i]) < 0.01;
            if (ok) continue;
            all += f.key + ": frame " + (r.isNull() ? std::string("none") : tilmora::ConsoleText::frame(r)) +
                   ", fixed";
            for (double w : want)
                all += std::isnan(w) ? std::string(" any") : " " + tilmora::ConsoleText::number(w);
            all += "\n";
        }
        return all;
    }
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
    // The toast: a 400 x 100 panel 20 points in from the manager's top-right corner; a box 380
    // wide inside it and the texts 20 points inside the box.
    const auto managerFrame = ProgramWindows::window(manager).frame();
    const auto toast = contentOf("toast");
    EXPECT_EQ(tilmora::ConsoleText::frame(toast),
              tilmora::ConsoleText::frame({managerFrame.maxX() - 420, managerFrame.maxY() - 120, 400, 100}));
    EXPECT_EQ(mismatches("toast", {{"toast.box", toast.minX() + 10, any, 380, any},
                                   {"Snapshot", toast.minX() + 30, any, any, any}}),
              "");
    more(console, R"(ui type "Tilmora Snapshots" "snapshot.nameField" "Work"
ui click "Tilmora Snapshots" "snapshot.save"
wait 4
)");
    EXPECT_EQ(problemsOf(manager), "") << "the snapshot manager with two rows";
    {
        // A 1000 x 600 window with the header padded by 16; each card's background 900 wide, centred in
        // its row over the 900-point separator; in it, 16 points of padding around the name (250),
        // the launch and quit groups (180 each: a 100- or 90-point button, 4 points, an 80 x 30
        // recorder; 184 points in the launch group's 180 overflow it on both sides) and the rename
        // (100) and delete (90) buttons, 8 points apart: 864 points centred in the 900.
        const auto c = contentOf(manager);
        EXPECT_EQ(ProgramWindows::window(manager).frame().size, (platform::CGSize{1000, 600}));
        const auto lines = testsupport::WindowLayoutCheck::parse(
            tilmora::WindowElements::describe(ProgramWindows::window(manager)));
        std::string key;
        for (const auto& line : lines)
            if (line.id.rfind("snapshot.separator.", 0) == 0) key = line.id.substr(19);
        ASSERT_FALSE(key.empty());
        const double x = c.midX() - 450, in = x + 18 + 16;
        const auto card = frameOf(manager, "snapshot.background." + key);
        EXPECT_EQ(mismatches(manager, {{"snapshot.nameField", c.minX() + 16, any, any, any},
                                       {"snapshot.background." + key, x, any, 900, any},
                                       {"snapshot.separator." + key, x, card.minY() - 4 - 1, 900, 1},
                                       {"snapshot.name." + key, in, any, 250, any},
                                       {"snapshot.launch." + key, in + 258 - 2, any, 100, any},
                                       {"launch-" + key, in + 258 - 2 + 104, any, 80, 30},
                                       {"snapshot.quit." + key, in + 446 + 3, any, 90, any},
                                       {"quit-" + key, in + 446 + 3 + 94, any, 80, 30},
                                       {"snapshot.rename." + key, in + 634, any, 100, any},
                                       {"snapshot.delete." + key, in + 742, any, 90, any}}),
                  "");
    }
    close(manager);

    more(console, "menu pick \"Preferences…\"\nwait 1\n");
    EXPECT_EQ(problemsOf("Preferences"), "") << "the preferences at the top of the form";
    {
        // At least 1000 x 800; the form padded by 16.
        const auto c = contentOf("Preferences");
        EXPECT_GE(c.width(), 1000);
        EXPECT_GE(c.height(), 800);
        EXPECT_EQ(mismatches("Preferences", {{"Preferences", c.minX() + 16, any, any, any},
                                             {"prefs.scroll", c.minX(), any, c.width(), any}}),
                  "");
    }
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
    {
        // 1100 x 720 with the content padded by 16; the side panels 230 and 280 wide with their
        // 8 points of padding, 16 points apart from the canvas between them, which keeps the
        // visible frame's ratio: 1100 - 2 x 16 - 230 - 280 - 2 x 16 = 526 wide.
        const auto frame = ProgramWindows::window(editor).frame();
        EXPECT_EQ(frame.size, (platform::CGSize{1100, 720}));
        const auto c = contentOf(editor);
        const auto visible = platform::NSScreen::main()->visibleFrame();
        const double left = c.minX() + 16, right = c.maxX() - 16 - 280;
        EXPECT_EQ(mismatches(editor, {{"presets.panel", left, any, 230, any},
                                      {"Presets", left + 8, any, any, any},
                                      {"inspector.panel", right, any, 280, any},
                                      {"inspector.name", right + 8, any, 264, any},
                                      {"canvas", left + 230 + 16, any, 526, 526 * visible.height() / visible.width()}}),
                  "");
        EXPECT_EQ(frameOf(editor, "presets.panel").maxY(), frameOf(editor, "inspector.panel").maxY());
    }
    close(editor);

    // The preset editor, closed, is kept under the same title: the layout editor goes by its name.
    more(console, "ui action \"openLayoutEditor:\"\n");
    const std::string layoutEditor = "layout editor";
    EXPECT_EQ(problemsOf(layoutEditor), "") << "the layout editor";
    EXPECT_EQ(
        mismatches(layoutEditor, {{"layout.preview", contentOf(layoutEditor).minX() + 16, any, any, any}}),
        "")
        << "the layout editor's content padded by 16";
    close(layoutEditor);

    more(console, "menu pick \"Help\"\n");
    EXPECT_EQ(problemsOf("Tilmora Help"), "") << "the help";
    close("Tilmora Help");

    // The snap bar with the display's single-tile preset in its second row.
    more(console, "menu pick \"Show Snap Bar\"\nwait 1\n");
    EXPECT_EQ(problemsOf("snap bar"), "") << "the snap bar";
}

} // namespace

namespace {

TEST_F(WindowLayoutTest, APictureOfALongNameInAFieldMeasuresAboutWhatOneOfAnEmptyFieldDoes) {
    // Fitting a text into its field measures what fits once, not the whole text again for every
    // character dropped: the picture's measuring grows with what shows, not with the text.
    DesktopConsole console(out);
    more(console, "desktop default\nprogram launch\nmenu pick \"Show Snapshot Manager\"\n");
    const auto measured = [] {
        platform::ui::ScreenCapture::Options options;
        options.display = 1;
        const auto before = platform::ui::TextMetrics::measuredCharacters();
        (void)platform::ui::ScreenCapture::capture(options);
        return platform::ui::TextMetrics::measuredCharacters() - before;
    };
    const auto empty = measured();
    more(console, "ui type \"Tilmora Snapshots\" \"snapshot.nameField\" \"" + std::string(16000, 'n') + "\"\n");
    const auto full = measured();
    EXPECT_GT(empty, 0u);
    EXPECT_LE(full, 3 * empty) << "empty field " << empty << ", 16,000 characters " << full;
}

} // namespace
