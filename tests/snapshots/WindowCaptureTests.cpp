#include "snapshots/CaptureTest.hpp"

#include "model/Settings.hpp"

#include "platform/control/BundleControl.hpp"
#include "platform/desktop/NSApplicationActivationPolicy.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace tilmora::WindowManager {
namespace {

using platform::CGRect;
using platform::UserDefaults;

class WindowCaptureTest : public CaptureTest {};

TEST_F(WindowCaptureTest, WindowsAreKeptOrCountedBySizeStateAndApplication) {
    struct Case {
        const char* name;
        std::vector<platform::WindowSpec> windows;
        platform::NSApplicationActivationPolicy policy;
        std::vector<std::string> kept;
        const char* counters;
    };
    auto minimized = axWindow("Min", 100, 100, 800, 300);
    minimized.minimized = true;
    const auto regular = platform::NSApplicationActivationPolicy::regular;
    const Case cases[] = {
        {"79 wide is small",
         {axWindow("Narrow", 100, 100, 79, 200)},
         regular,
         {},
         "raw=1 kept=0 dup=0 offscreen=0 small=1 clipped=0 desk=0 missing=0"},
        {"80 x 80 is kept",
         {axWindow("Square", 100, 100, 80, 80)},
         regular,
         {"Square"},
         "raw=1 kept=1 dup=0 offscreen=0 small=0 clipped=0 desk=0 missing=0"},
        {"minimized counts only in raw",
         {minimized, axWindow("T", 100, 100, 800, 300)},
         regular,
         {"T"},
         "raw=2 kept=1 dup=0 offscreen=0 small=0 clipped=0 desk=0 missing=0"},
        {"accessory application is never read",
         {axWindow("T", 100, 100, 800, 300)},
         platform::NSApplicationActivationPolicy::accessory,
         {},
         "raw=0 kept=0 dup=0 offscreen=0 small=0 clipped=0 desk=0 missing=0"},
    };
    verbose();
    for (const auto& c : cases) {
        for (pid_t pid : desk().pids("com.example.notes"))
            desk().quit(pid);
        auto spec = notesApp();
        spec.activationPolicy = c.policy;
        desk().run(spec, c.windows);
        const auto details = captureCurrentWindows(false, false);
        EXPECT_EQ(titles(details), c.kept) << c.name;
        EXPECT_EQ(logLines().back(),
                  std::string("[INFO] [SAVE] captureCurrentWindows(allSpaces=false) workspaces=1 ") +
                      c.counters)
            << c.name;
    }
}

TEST_F(WindowCaptureTest, AWindowGoesToTheScreenItOverlapsMostTheFirstOnTies) {
    desk().useTwoIdenticalDisplays();
    runNotes({window("Tie", {1720, 200, 400, 300}), window("Right", {1800, 200, 400, 300}),
              window("Left", {1500, 200, 400, 300})});
    std::vector<std::pair<std::string, std::uint32_t>> placed;
    for (const auto& d : captureCurrentWindows(false, false))
        placed.emplace_back(d.windowTitle, d.screenID);
    std::sort(placed.begin(), placed.end());
    EXPECT_EQ(placed,
              (std::vector<std::pair<std::string, std::uint32_t>>{{"Left", 1}, {"Right", 2}, {"Tie", 1}}));
}

TEST_F(WindowCaptureTest, OverhangingWindowsAreClippedAndWarnedAboutOncePerKey) {
    struct Case {
        const char* name;
        std::vector<platform::WindowSpec> windows;
        bool noNumbers;
        std::vector<double> widths;
        int warnings;
        const char* counters;
    };
    auto numberless = [](platform::WindowSpec w) {
        w.numberForm = platform::AXNumberForm::none;
        return w;
    };
    const Case cases[] = {
        {"300 points past the right edge",
         {window("T", {1200, 500, 540, 300})},
         false,
         {240},
         1,
         "kept=1 dup=0 offscreen=0 small=0 clipped=1"},
        {"two untitled windows without numbers",
         {numberless(window("", {1200, 500, 540, 300})), numberless(window("", {1200, 100, 540, 300}))},
         true,
         {240, 240},
         1,
         "kept=2 dup=0 offscreen=0 small=0 clipped=1"},
        {"half a point over the edge",
         {window("Edge", {640.5, 500, 800, 300})},
         false,
         {799.5},
         0,
         "kept=1 dup=0 offscreen=0 small=0 clipped=0"},
        {"half a point below the visible frame",
         {window("Low", {100, 24.5, 800, 300})},
         false,
         {800},
         0,
         "kept=1 dup=0 offscreen=0 small=0 clipped=0"},
    };
    verbose();
    for (const auto& c : cases) {
        for (pid_t pid : desk().pids("com.example.notes"))
            desk().quit(pid);
        desk().setWindowListUnavailable(c.noNumbers);
        std::remove(logFilePath()->c_str());
        const pid_t pid = runNotes(c.windows);
        const auto details = captureCurrentWindows(false, false);
        std::vector<double> widths;
        for (const auto& d : details)
            widths.push_back(d.width);
        EXPECT_EQ(widths, c.widths) << c.name;
        const auto lines = logLines();
        const auto warnings = std::count_if(
            lines.begin(), lines.end(), [](const auto& l) { return l.rfind("[WARN] [SAVE][WARN]", 0) == 0; });
        EXPECT_EQ(warnings, c.warnings) << c.name;
        EXPECT_NE(summaryLine().find(c.counters), std::string::npos) << c.name << ": " << summaryLine();
        if (c.warnings == 1 && !c.noNumbers) {
            EXPECT_EQ(lines.front(),
                      "[WARN] [SAVE][WARN] Window spans beyond capture bounds; clipping to assigned "
                      "screen. bundle=com.example.notes win=" +
                          std::to_string(numbersOf(pid)[0]) +
                          " title='T' rect={{1200, 500}, {540, 300}} used={{1200, 500}, {240, "
                          "300}} captureBounds={{0, 25}, {1440, 875}}");
        }
    }
}

TEST_F(WindowCaptureTest, ExcludedApplicationsAreNeverCaptured) {
    struct Case {
        const char* bundle;
        std::optional<platform::PropertyValue> excludeDevApps;
        bool includeExcluded;
        bool captured;
    };
    const Case cases[] = {
        {"com.apple.dock", std::nullopt, true, false},
        {"com.quorvane.Tilmora", std::nullopt, false, false},
        {"com.example.self", std::nullopt, true, false}, // the main bundle itself
        {"com.microsoft.VSCode", true, false, false},
        {"com.apple.dt.Xcode", true, false, false},
        {"com.microsoft.VSCodeInsiders", true, false, false},
        {"com.microsoft.VSCode", "yes", false, true},
        {"com.microsoft.VSCode", 1, false, true},
        {"com.microsoft.VSCode", std::nullopt, false, true},
        {"com.microsoft.VSCode", true, true, true},
    };
    platform::BundleControl::setBundleIdentifier("com.example.self");
    for (const auto& c : cases) {
        if (c.excludeDevApps)
            UserDefaults::standard().set(*c.excludeDevApps, settings::excludeDevApps.key);
        else
            UserDefaults::standard().removeObjectForKey(settings::excludeDevApps.key);
        const pid_t pid = desk().run(app(c.bundle, "App"), {axWindow("W", 100, 100, 800, 300)});
        const auto details = captureCurrentWindows(c.includeExcluded, false);
        EXPECT_EQ(details.size(), c.captured ? 1u : 0u) << c.bundle << " include=" << c.includeExcluded;
        desk().quit(pid);
    }
}

TEST_F(WindowCaptureTest, WindowsWithoutAccessibilityNumbersAreFoundInTheWindowList) {
    auto doc = [](CGRect frame) {
        auto w = window("Doc", frame);
        w.numberForm = platform::AXNumberForm::none;
        return w;
    };
    const pid_t pid = runNotes({doc({100, 100, 800, 300}), doc({100, 500, 800, 300})});
    const auto details = captureCurrentWindows(false, false);
    ASSERT_EQ(details.size(), 2u);
    for (const auto& d : details) {
        const auto state = desk().windowState(static_cast<std::uint32_t>(d.windowNumber));
        ASSERT_TRUE(state) << d.windowNumber;
        EXPECT_EQ(state->pid, pid);
        EXPECT_EQ(900 - state->frame.maxY(), d.yPosition) << "number of another window";
    }
    EXPECT_NE(details[0].windowNumber, details[1].windowNumber);
}

TEST_F(WindowCaptureTest, RepeatsAreDroppedByNumberOrByGeometry) {
    auto bare = [](CGRect frame) {
        auto w = window("Same", frame);
        w.numberForm = platform::AXNumberForm::none;
        return w;
    };
    verbose();
    desk().setWindowListUnavailable(true);
    runNotes({bare({100, 100, 800, 300}), bare({100.3, 99.8, 800.2, 300})});
    EXPECT_EQ(captureCurrentWindows(false, false).size(), 1u);
    EXPECT_NE(summaryLine().find("raw=2 kept=1 dup=1 "), std::string::npos) << summaryLine();
}

TEST_F(WindowCaptureTest, TheSpaceIsAskedOnlyWhenAllSpacesAreCaptured) {
    desk().addSpace(1);
    auto second = axWindow("Second", 100, 100, 800, 300);
    second.desktop = 2;
    runNotes({axWindow("First", 100, 500, 800, 300), second});
    const auto spaces = desk().spaces(1);
    ASSERT_EQ(spaces.size(), 2u);
    const auto current = static_cast<std::int32_t>(desk().activeSpace(1));

    struct Case {
        const char* name;
        bool allSpaces;
        platform::SpaceAnswerForm answers;
        platform::WorkspaceNumberForm workspaces;
        std::int32_t first, second;
    };
    const Case cases[] = {
        {"current Space only", false, platform::SpaceAnswerForm::uint64Numbers,
         platform::WorkspaceNumberForm::int32, 0, 0},
        {"all Spaces", true, platform::SpaceAnswerForm::uint64Numbers, platform::WorkspaceNumberForm::int32,
         static_cast<std::int32_t>(spaces[0]), static_cast<std::int32_t>(spaces[1])},
        {"lookup answers nothing", true, platform::SpaceAnswerForm::empty,
         platform::WorkspaceNumberForm::int32, current, 0},
        {"no workspace numbers either", true, platform::SpaceAnswerForm::empty,
         platform::WorkspaceNumberForm::absent, 0, 0},
    };
    for (const auto& c : cases) {
        UserDefaults::standard().set(c.allSpaces, settings::snapshotAllSpaces.key);
        desk().setSpaceAnswerForm(c.answers);
        desk().setWorkspaceNumberForm(c.workspaces);
        std::map<std::string, std::int32_t> byTitle;
        for (const auto& d : captureCurrentWindows(false, false))
            byTitle[d.windowTitle] = d.spaceID;
        EXPECT_EQ(byTitle["First"], c.first) << c.name;
        EXPECT_EQ(byTitle["Second"], c.second) << c.name;
    }
}

TEST(CapturedWindowNumber, TheWindowServerMatchWinsAndOnlyThirtyTwoBitNumbersStand) {
    struct Case {
        std::optional<std::uint32_t> match;
        std::int64_t ax;
        std::int64_t expected;
    };
    const Case cases[] = {
        {7u, 99, 7},
        {4000000000u, 0, 4000000000},
        {std::nullopt, 42, 42},
        {std::nullopt, std::numeric_limits<std::int32_t>::max(), std::numeric_limits<std::int32_t>::max()},
        {std::nullopt, std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1, 0},
        {std::nullopt, std::int64_t{1} << 40, 0},
        {std::nullopt, -5, 0},
        {std::nullopt, 0, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(capturedWindowNumber(c.match, c.ax), c.expected) << c.ax;
}

} // namespace
} // namespace tilmora::WindowManager
