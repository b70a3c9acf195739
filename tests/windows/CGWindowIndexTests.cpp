#include "windows/CGWindowIndex.hpp"

#include "windows/WindowAccessTest.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

namespace tilmora::WindowManager {
namespace {

using platform::CGRect;
using platform::WindowSpec;
using platform::WorkspaceNumberForm;

class CGWindowIndexTest : public WindowAccessTest {};

TEST_F(CGWindowIndexTest, TheIndexGroupsWindowsByProcessFrontToBack) {
    WindowSpec hidden = window("Secret", {10, 20, 300, 200});
    hidden.nameHiddenInList = true;
    const pid_t notes =
        runNotes({window("Back", {100, 250, 800, 600}), window("Front", {0, 0, 400, 300}), hidden});
    const pid_t mailPid =
        desk().run(app("com.example.mail", "Mail"), {window("Inbox", {200, 200, 500, 500})});
    desk().setWindowMinimized(desk().windowsOf(mailPid).front().number, true);

    const auto index = buildCGWindowIndex();
    ASSERT_EQ(index.count(notes), 1u);
    ASSERT_EQ(index.count(mailPid), 1u);
    std::vector<std::string> titles;
    for (const auto& w : index.at(notes)) {
        titles.push_back(w.title);
        EXPECT_EQ(w.pid, notes);
    }
    EXPECT_EQ(titles, (std::vector<std::string>{"", "Front", "Back"}));
    const CGWindowLite& back = index.at(notes).back();
    EXPECT_EQ(back.bounds, CGRect(100, 50, 800, 600)); // top-left coordinates
    EXPECT_TRUE(back.isOnscreen);
    EXPECT_EQ(back.windowID, titled(notes, "Back").window);
    EXPECT_FALSE(index.at(mailPid).front().isOnscreen);

    desk().setWindowListUnavailable(true);
    EXPECT_TRUE(buildCGWindowIndex().empty());
}

TEST_F(CGWindowIndexTest, ResolvingPrefersTheNumberThenShapeAndTitle) {
    struct Win {
        std::string title;
        CGRect frame; // global
    };
    // Accessibility's number: an index into the windows, none, or a number nobody has.
    const int none = -1, stranger = -2;
    // The window-list bounds (global) and the sought rectangle (top-left) of most rows.
    const CGRect doc{100, 100, 800, 600}, sought{100, 200, 800, 600};
    struct Case {
        const char* name;
        std::vector<Win> windows;
        int axNumberOf;
        CGRect rect; // top-left
        std::string title;
        std::optional<std::size_t> expected;
    };
    const Case cases[] = {
        {"number wins though far away", {{"Near", doc}, {"Far", {1000, 700, 100, 100}}}, 1, sought, "", 1},
        {"unknown number: nearest shape",
         {{"Near", doc}, {"Far", {1000, 700, 100, 100}}},
         stranger,
         sought,
         "",
         0},
        {"too narrow never qualifies",
         {{"Strip", {100, 100, 30, 300}}},
         none,
         {100, 500, 30, 300},
         "",
         std::nullopt},
        {"equal bounds: the title that contains the sought one, though behind",
         {{"Inbox - Mail", doc}, {"Mail", doc}},
         none,
         sought,
         "Inbox",
         0},
        {"equal bounds, no title: the front one (opened last)",
         {{"Mail", doc}, {"Inbox - Mail", doc}},
         none,
         sought,
         "",
         1},
        {"containment ignores case", {{"ÉCRAN principal", doc}, {"Other", doc}}, none, sought, "écran", 0},
        {"area ratio outweighs distance",
         {{"Small", {100, 100, 400, 300}}, {"Big", {150, 150, 800, 600}}},
         none,
         sought,
         "",
         1},
    };
    for (const auto& c : cases) {
        std::vector<WindowSpec> specs;
        for (const auto& w : c.windows)
            specs.push_back(window(w.title, w.frame));
        const pid_t pid = runNotes(specs);
        std::vector<std::uint32_t> numbers;
        for (const auto& w : c.windows)
            numbers.push_back(std::uint32_t(titled(pid, w.title).window));
        const std::int64_t axNumber = c.axNumberOf >= 0 ? std::int64_t(numbers[std::size_t(c.axNumberOf)])
                                      : c.axNumberOf == stranger ? 999999
                                                                 : 0;
        const auto found = resolveCGWindowID(axNumber, pid, c.rect, c.title, buildCGWindowIndex());
        EXPECT_EQ(found, c.expected ? std::optional<std::uint32_t>(numbers[*c.expected]) : std::nullopt)
            << c.name;
        desk().quit(pid);
    }
    EXPECT_EQ(resolveCGWindowID(0, 4242, {0, 0, 100, 100}, "", buildCGWindowIndex()), std::nullopt);
}

TEST_F(CGWindowIndexTest, TheMoveSearchPollsUntilAGoodCandidateOrTheWait) {
    // Window-list bounds (100, 100, 400, 300); the sought rectangle lies 300 points to the right.
    const pid_t pid = runNotes({window("Doc", {100, 500, 400, 300})});
    const auto number = std::uint32_t(titled(pid, "Doc").window);
    EXPECT_EQ(resolveCGWindowIDForMove(pid, {400, 100, 400, 300}, std::nullopt, 1.6), number);
    EXPECT_NEAR(sim().now(), 1.68, 1e-6);

    const double start = sim().now();
    EXPECT_EQ(resolveCGWindowIDForMove(pid, {400, 100, 400, 300}, std::nullopt, 0), std::nullopt);
    EXPECT_EQ(sim().now(), start);
}

TEST_F(CGWindowIndexTest, TheMoveSearchFindsAWindowThatOpensWhileItWaits) {
    const pid_t pid = runNotes({});
    std::uint32_t opened = 0;
    sim().schedule(0.5, [&] { opened = desk().openWindow(pid, window("Doc", {100, 500, 400, 300})); });
    const auto found = resolveCGWindowIDForMove(pid, {100, 100, 400, 300}, "Doc", 1.6);
    EXPECT_EQ(found, std::optional<std::uint32_t>(opened));
    EXPECT_NEAR(sim().now(), 0.6, 1e-6);
}

TEST_F(CGWindowIndexTest, TheMoveSearchPenalisesTitles) {
    struct Case {
        const char* name;
        std::string windowTitle;
        bool nameHidden;
        std::optional<std::string> expected;
        bool atOnce; // 200 points away: at once exactly when the penalty is below 60
    };
    const Case cases[] = {
        {"no expected title", "Doc", false, std::nullopt, true},
        {"empty expected title", "Doc", false, "", true},
        {"equal", "Report", false, "Report", true},
        {"contained, any case", "Quarterly REPORT", false, "report", true},
        {"unrelated", "Doc", false, "Report", false},
        {"untitled window", "", false, "Report", false},
        {"hidden name: the owner's", "Doc", true, "Notes", true},
    };
    for (const auto& c : cases) {
        WindowSpec spec = window(c.windowTitle, {100, 500, 400, 300});
        spec.nameHiddenInList = c.nameHidden;
        const pid_t pid = runNotes({spec});
        const double start = sim().now();
        EXPECT_TRUE(resolveCGWindowIDForMove(pid, {300, 100, 400, 300}, c.expected, 0.5).has_value())
            << c.name;
        EXPECT_NEAR(sim().now() - start, c.atOnce ? 0 : 0.6, 1e-6) << c.name;
        desk().quit(pid);
    }
}

TEST_F(CGWindowIndexTest, TheCurrentSpaceComesFromTheFrontmostOrdinaryVisibleWindow) {
    desk().useLaptopWithExternal();
    const std::uint64_t external = desk().activeSpace(2);
    WindowSpec faint = window("Faint", {100, 100, 400, 300});
    faint.alpha = 0.005;
    WindowSpec floating = window("Palette", {100, 100, 200, 200});
    floating.layer = 3;
    WindowSpec untouched = window("Plain", {1600, 100, 400, 300});
    runNotes({untouched, faint, floating});
    struct Case {
        WorkspaceNumberForm form;
        std::optional<std::int32_t> expected;
    };
    const Case cases[] = {
        {WorkspaceNumberForm::int32, std::int32_t(external)},
        {WorkspaceNumberForm::int64, std::int32_t(external)},
        {WorkspaceNumberForm::platformInt, std::int32_t(external)},
        {WorkspaceNumberForm::number, std::int32_t(external)},
        {WorkspaceNumberForm::absent, std::nullopt},
    };
    for (const auto& c : cases) {
        desk().setWorkspaceNumberForm(c.form);
        EXPECT_EQ(currentWorkspaceID(), c.expected) << int(c.form);
    }
    desk().setWindowListUnavailable(true);
    EXPECT_EQ(currentWorkspaceID(), std::nullopt);
}

TEST_F(CGWindowIndexTest, OnScreenAndWorkspaceSets) {
    const std::uint64_t second = desk().addSpace(1);
    WindowSpec elsewhere = window("Elsewhere", {100, 100, 400, 300});
    elsewhere.desktop = 2;
    const pid_t pid =
        runNotes({window("Visible", {100, 100, 400, 300}), window("Small", {0, 0, 300, 300}), elsewhere});
    const auto visible = titled(pid, "Visible").window;
    const auto small = titled(pid, "Small").window;
    desk().setWindowMinimized(std::uint32_t(small), true);
    struct Case {
        const char* name;
        std::int64_t number;
        bool onScreen;
    };
    const Case cases[] = {
        {"zero", 0, false},
        {"negative", -3, false},
        {"unknown", 999999, false},
        {"minimized", std::int64_t(small), false},
        {"on another Space", std::int64_t(titled(pid, "Elsewhere").window), false},
        {"visible", std::int64_t(visible), true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(cgWindowIsOnscreen(c.number), c.onScreen) << c.name;

    desk().setWorkspaceNumberForm(WorkspaceNumberForm::int64);
    EXPECT_EQ(detectWorkspaceIDs(),
              (std::set<std::int32_t>{std::int32_t(desk().activeSpace(1)), std::int32_t(second)}));
    desk().setWorkspaceNumberForm(WorkspaceNumberForm::absent);
    EXPECT_TRUE(detectWorkspaceIDs().empty());
}

} // namespace
} // namespace tilmora::WindowManager
