#include "support/ProgramScriptTest.hpp"
#include "support/WindowLayoutCheck.hpp"

#include "console/ProgramWindows.hpp"

#include <gtest/gtest.h>

#include <string>

using tilmora::DesktopConsole;
using Line = testsupport::WindowLayoutCheck::Line;

namespace {

/// The preferences' form in its scroll view, reached as a person does (the wheel, a click at what
/// shows) and as a script does (`ui scroll`, controls by id).
class ScrollCommandTest : public ProgramScriptTest {
protected:
    std::string more(DesktopConsole& console, const std::string& lines) {
        out.str("");
        console.runString(lines);
        return out.str();
    }
    /// The `ui show` line of the element `id` in what `more` printed.
    static Line element(const std::string& shown, const std::string& id) {
        for (const auto& line : testsupport::WindowLayoutCheck::parse(shown))
            if (line.id == id) return line;
        ADD_FAILURE() << "no " << id << " in:\n" << shown;
        return {};
    }
    static std::string at(const platform::CGRect& r) {
        return std::to_string(r.midX()) + " " + std::to_string(r.midY());
    }
};

TEST_F(ScrollCommandTest, ThePreferencesFormScrollsInsideTheWindowAboveSaveAndClose) {
    DesktopConsole console(out);
    std::string shown = more(
        console, "desktop default\nprogram launch\nkey ctrl+opt+comma\nwait 1\nui show \"Preferences\"\n");
    const auto window = tilmora::ProgramWindows::window("Preferences").frame();
    const Line form = element(shown, "prefs.scroll");
    const Line save = element(shown, "prefs.save");
    std::size_t hidden = 0;
    for (const auto& line : testsupport::WindowLayoutCheck::parse(shown)) {
        if (!line.hasFrame) continue;
        hidden += line.scrolledOut;
        EXPECT_TRUE(line.scrolledOut || window.contains(line.frame)) << line.source;
    }
    EXPECT_GT(hidden, 60u) << "the snap shortcuts lie below the form's visible part";
    EXPECT_TRUE(window.contains(save.frame));
    EXPECT_TRUE(window.contains(element(shown, "prefs.close").frame));
    EXPECT_LT(save.frame.maxY(), form.frame.minY()) << "Save lies below the form";
    EXPECT_FALSE(element(shown, "prefs.verbose").scrolledOut);
    EXPECT_TRUE(element(shown, "prefs.gapsUniform").scrolledOut);

    // Scrolled to the slider, a click at the middle of its frame sets the middle of its range.
    shown = more(console, "ui scroll \"Preferences\" to \"prefs.gapsUniform\"\nui show \"Preferences\"\n");
    const Line slider = element(shown, "prefs.gapsUniform");
    EXPECT_FALSE(slider.scrolledOut);
    EXPECT_TRUE(element(shown, "prefs.verbose").scrolledOut);
    shown = more(console, "mouse move " + at(slider.frame) +
                              "\nmouse down\nmouse up\nui show \"Preferences\"\ndefaults read WMGapSize\n");
    EXPECT_EQ(element(shown, "prefs.gapsUniform").value, "12.0");
    EXPECT_NE(shown.find("WMGapSize = double 12.0"), std::string::npos) << shown;

    // The wheel over the form moves it; over Save it moves nothing; points scroll back to the top.
    struct Step {
        const char* name;
        std::string lines;
        bool titleHidden;
        bool slidersHidden;
    };
    const Step steps[] = {
        {"the wheel back up", "mouse scroll -100000\n", false, true},
        {"the wheel over Save", "mouse move " + at(save.frame) + "\nmouse scroll 100000\n", false, true},
        {"the wheel over the form", "mouse move " + at(form.frame) + "\nmouse scroll 100000\n", true, true},
        {"by points", "ui scroll \"Preferences\" \"prefs.scroll\" by -100000\n", false, true},
        {"a recorder clicked by id", "ui click \"Preferences\" \"bottom-right-sixth\"\nkey escape\n", true,
         true},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.name);
        shown = more(console, s.lines + "ui show \"Preferences\"\n");
        EXPECT_EQ(element(shown, "prefs.verbose").scrolledOut, s.titleHidden);
        EXPECT_EQ(element(shown, "prefs.gapsHorizontal").scrolledOut, s.slidersHidden);
    }
    EXPECT_FALSE(element(shown, "bottom-right-sixth").scrolledOut);

    struct Refusal {
        const char* line;
        const char* error;
    };
    const Refusal refusals[] = {
        {"ui scroll \"Preferences\" to \"prefs.save\"",
         "\"prefs.save\" in \"Preferences\" is not in a scroll view"},
        {"ui scroll \"Preferences\" \"prefs.save\" by 10",
         "\"prefs.save\" in \"Preferences\" is not a scroll view"},
        {"ui scroll \"Preferences\" \"prefs.scroll\" by x", "not a number: x"},
        {"mouse scroll", "usage: mouse move X Y | mouse down | mouse up | mouse scroll DY"},
    };
    for (const auto& r : refusals)
        EXPECT_NE(more(console, std::string(r.line) + "\n").find(r.error), std::string::npos) << r.line;
}

} // namespace
