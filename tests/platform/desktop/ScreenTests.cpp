#include "support/DesktopTest.hpp"

#include "platform/control/SimDesktop.hpp"
#include "platform/desktop/CGDisplay.hpp"
#include "platform/desktop/NSScreen.hpp"
#include "platform/desktop/NSWorkspace.hpp"
#include "platform/foundation/NotificationCenter.hpp"

using namespace platform;

namespace {

std::vector<std::uint32_t> screenNumbers() {
    std::vector<std::uint32_t> out;
    for (const auto& s : NSScreen::screens()) {
        auto d = s.deviceDescription();
        const CFValue* n = lookup(d, "NSScreenNumber");
        out.push_back(n ? std::uint32_t(n->integerValue().value_or(0)) : 0);
    }
    return out;
}

} // namespace

TEST_F(DesktopTest, FixturesMatchTheirDescriptions) {
    struct Case {
        const char* name;
        void (SimDesktop::*use)();
        std::vector<CGRect> frames;
        std::vector<CGRect> visibleFrames;
    };
    const std::vector<Case> cases = {
        {"laptop", &SimDesktop::useLaptop, {{0, 0, 1440, 900}}, {{0, 0, 1440, 875}}},
        {"laptop and external",
         &SimDesktop::useLaptopWithExternal,
         {{0, 0, 1440, 900}, {1440, 0, 1920, 1080}},
         {{0, 0, 1440, 875}, {1440, 0, 1920, 1055}}},
        {"two identical",
         &SimDesktop::useTwoIdenticalDisplays,
         {{0, 0, 1920, 1080}, {1920, 0, 1920, 1080}},
         {{0, 0, 1920, 1055}, {1920, 0, 1920, 1055}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SimDesktop::clear();
        (desk().*c.use)();
        auto screens = NSScreen::screens();
        ASSERT_EQ(screens.size(), c.frames.size());
        for (std::size_t i = 0; i < screens.size(); ++i) {
            EXPECT_EQ(screens[i].frame(), c.frames[i]);
            EXPECT_EQ(screens[i].visibleFrame(), c.visibleFrames[i]);
        }
        std::vector<std::uint32_t> expected = {1, 2};
        expected.resize(c.frames.size());
        EXPECT_EQ(screenNumbers(), expected);
    }
}

TEST_F(DesktopTest, DisplayQueriesUseTopLeftBoundsAndListMirrors) {
    desk().useLaptopWithExternal();
    DisplaySpec mirror;
    mirror.displayID = 9;
    mirror.frame = {0, 0, 1440, 900};
    mirror.inScreenList = false;
    desk().addDisplay(mirror);
    desk().setDisplayFrame(2, {1440, -300, 1920, 1080});
    EXPECT_EQ(CGMainDisplayID(), 1u);
    EXPECT_EQ(CGDisplayBounds(2), (CGRect{1440, 120, 1920, 1080}));
    EXPECT_EQ(CGDisplayBounds(42), CGRect());
    std::uint32_t ids[16], count = 0;
    ASSERT_EQ(CGGetOnlineDisplayList(16, ids, &count), kCGErrorSuccess);
    EXPECT_EQ(std::vector<std::uint32_t>(ids, ids + count), (std::vector<std::uint32_t>{1, 2, 9}));
    EXPECT_EQ(NSScreen::screens().size(), 2u);
    EXPECT_TRUE(CGDisplayIsBuiltin(1));
    EXPECT_EQ(CGDisplayVendorNumber(1), 1552u);
    EXPECT_EQ(CGDisplayPixelsWide(2), 1920u);
}

TEST_F(DesktopTest, ScreenNumberEntryMayBeMissingOrOfAnotherType) {
    DisplaySpec a;
    a.displayID = 3;
    a.frame = {0, 0, 1000, 800};
    a.hasScreenNumber = false;
    DisplaySpec b = a;
    b.frame = {1000, 0, 1000, 800};
    b.hasScreenNumber = true;
    b.screenNumberOverride = CFValue("three");
    desk().addDisplay(a);
    desk().addDisplay(b);
    auto screens = NSScreen::screens();
    EXPECT_EQ(lookup(screens[0].deviceDescription(), "NSScreenNumber"), nullptr);
    EXPECT_EQ(*lookup(screens[1].deviceDescription(), "NSScreenNumber")->asString(), "three");
}

TEST_F(DesktopTest, MainScreenFollowsTheKeyWindow) {
    desk().useLaptopWithExternal();
    pid_t pid = desk().run(notesApp(), {window("Right", {2000, 200, 600, 400})});
    EXPECT_EQ(NSScreen::main()->localizedName(), "Built-in Retina Display") << "no key window yet";
    desk().setFrontmost(pid);
    EXPECT_EQ(NSScreen::main()->localizedName(), "DELL U2720Q");
    SimDesktop::clear();
    EXPECT_FALSE(NSScreen::main());
}

TEST_F(DesktopTest, ScreenListPassesThroughTransientCountsAndNotifiesEachStep) {
    desk().useLaptopWithExternal();
    desk().setScreenListLag(1.0);
    desk().setScreenListTransients({0, 1}, 0.25);
    int posts = 0;
    NotificationCenter::defaultCenter().addObserver(NSApplicationDidChangeScreenParametersNotification,
                                                    nullptr, [&](const Notification&) { ++posts; });
    DisplaySpec third;
    third.displayID = 3;
    third.frame = {-1280, 0, 1280, 1024};
    desk().addDisplay(third);
    std::vector<std::size_t> counts;
    for (int i = 0; i < 6; ++i) {
        sim().runFor(0.2);
        counts.push_back(NSScreen::screens().size());
    }
    EXPECT_EQ(counts, (std::vector<std::size_t>{0, 1, 1, 1, 3, 3}))
        << "readings at 0.2 s steps: none at first, one screen from 0.25 s, all from 1 s";
    EXPECT_EQ(posts, 3);
}

TEST_F(DesktopTest, LaterDisplayChangeSupersedesAPendingScreenList) {
    desk().useLaptopWithExternal();
    desk().setScreenListLag(1.0);
    desk().removeDisplay(2);
    sim().runFor(0.5);
    desk().renumberDisplay(1, 5);
    sim().runFor(0.6);
    EXPECT_EQ(screenNumbers(), (std::vector<std::uint32_t>{1, 2}))
        << "the first change's list was not published";
    sim().runFor(0.5);
    EXPECT_EQ(screenNumbers(), (std::vector<std::uint32_t>{5}));
}

TEST_F(DesktopTest, SwappedNumbersKeepScreenIdentity) {
    desk().useTwoIdenticalDisplays();
    auto before = NSScreen::screens();
    desk().swapDisplayNumbers(1, 2);
    auto after = NSScreen::screens();
    EXPECT_EQ(screenNumbers(), (std::vector<std::uint32_t>{2, 1}));
    EXPECT_TRUE(before[0] == after[0]);
    EXPECT_FALSE(before[0] == after[1]);
}

TEST_F(DesktopTest, UnpluggingTheMainDisplayMovesTheOrigin) {
    desk().useLaptopWithExternal();
    desk().removeDisplay(1);
    ASSERT_EQ(NSScreen::screens().size(), 1u);
    EXPECT_EQ(NSScreen::screens()[0].frame(), (CGRect{0, 0, 1920, 1080}));
    EXPECT_EQ(CGMainDisplayID(), 2u);
}

TEST_F(DesktopTest, WindowsMoveWithTheirDisplayOnAResolutionOrArrangementChange) {
    // The external display changes through `updateDisplay`, the laptop through `setDisplayFrame`.
    struct Case {
        const char* name;
        std::uint32_t display;
        CGRect newFrame;
        CGRect laptopWindow;   // expected, global
        CGRect externalWindow; // expected, global
        CGRect externalFrame;  // expected, global
    };
    const std::vector<Case> cases = {
        {"external moved down",
         2,
         {1440, -300, 1920, 1080},
         {100, 500, 800, 300},
         {2000, 0, 800, 600},
         {1440, -300, 1920, 1080}},
        {"external made smaller",
         2,
         {1440, 0, 1280, 720},
         {100, 500, 800, 300},
         {1920, 0, 800, 600},
         {1440, 0, 1280, 720}},
        {"laptop made taller",
         1,
         {0, 0, 1680, 1050},
         {100, 650, 800, 300},
         {2000, 300, 800, 600},
         {1440, 0, 1920, 1080}},
        {"laptop given another origin",
         1,
         {0, 100, 1440, 900},
         {100, 500, 800, 300},
         {2000, 200, 800, 600},
         {1440, -100, 1920, 1080}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SimDesktop::clear();
        desk().useLaptopWithExternal();
        pid_t pid = desk().run(
            notesApp(), {window("Left", {100, 500, 800, 300}), window("Right", {2000, 300, 800, 600})});
        std::uint32_t left = desk().windowsOf(pid).at(1).number, right = desk().windowsOf(pid).at(0).number;
        if (c.display == 2) {
            DisplaySpec external;
            external.displayID = 2;
            external.name = "Renamed";
            external.frame = c.newFrame;
            desk().updateDisplay(2, external);
        } else {
            desk().setDisplayFrame(c.display, c.newFrame);
        }
        EXPECT_EQ(desk().windowState(left)->frame, c.laptopWindow);
        EXPECT_EQ(desk().windowState(right)->frame, c.externalWindow);
        ASSERT_EQ(NSScreen::screens().size(), 2u);
        EXPECT_EQ(NSScreen::screens()[0].frame().origin, (CGPoint{0, 0}));
        EXPECT_EQ(NSScreen::screens()[1].frame(), c.externalFrame);
        EXPECT_EQ(NSScreen::screens()[1].localizedName(), c.display == 2 ? "Renamed" : "DELL U2720Q");
    }
}
