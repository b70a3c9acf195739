#include "snapshots/DefaultSnapshotEngine.hpp"
#include "snapshots/SavedDisplayIdentity.hpp"
#include "snapshots/SnapshotBridging.hpp"

#include "platform/control/SimDesktop.hpp"
#include "platform/desktop/NSScreen.hpp"
#include "snapshots/WindowDetailBuilder.hpp"
#include "support/DesktopBuilders.hpp"
#include "support/PlatformTest.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace tilmora {
namespace {

using platform::CGRect;
using platform::SimDesktop;

SnapshotWindowMapping mapping(std::string bundle, std::optional<DisplayId> display,
                              std::optional<Rect> normalized) {
    SnapshotWindowMapping m;
    m.bundleIdentifier = std::move(bundle);
    m.displayId = std::move(display);
    m.normalizedFrame = normalized;
    return m;
}

SnapshotDefinition definitionOf(std::vector<SnapshotWindowMapping> mappings) {
    return SnapshotDefinition{SnapshotId(platform::UUID()), "S", {}, {}, std::move(mappings), {}, {}};
}

WindowDescriptor live(std::string id, std::string bundle, std::optional<DisplayId> display, Rect frame) {
    return WindowDescriptor{
        WindowId(std::move(id)), std::move(bundle), "T", std::move(display), frame, false, false};
}

DisplayDescriptor display(std::string id, Rect bounds) {
    return DisplayDescriptor{DisplayId(std::move(id)), "D", bounds, 2};
}

TEST(DefaultSnapshotEngineTest, PlacesEachMapping) {
    const Rect n{0.1, 0.5625, 0.4, 0.375};
    const std::vector<DisplayDescriptor> one = {display("1", {0, 0, 1000, 800})};
    const std::vector<DisplayDescriptor> two = {display("1", {0, 0, 1000, 800}),
                                                display("2", {1000, 0, 500, 400})};
    struct Case {
        const char* name;
        std::vector<SnapshotWindowMapping> mappings;
        std::vector<WindowDescriptor> windows;
        std::vector<DisplayDescriptor> displays;
        std::vector<SnapshotPlacement> expected;
    };
    const std::vector<Case> cases = {
        {"saved display gone: the first display, named as itself",
         {mapping("a", DisplayId("7"), n)},
         {},
         one,
         {{std::nullopt, "a", DisplayId("1"), {100, 450, 400, 300}}}},
        {"saved display present",
         {mapping("a", DisplayId("2"), n)},
         {},
         two,
         {{std::nullopt, "a", DisplayId("2"), {1050, 225, 200, 150}}}},
        {"two mappings of one bundle share one live window: the first takes it",
         {mapping("a", DisplayId("1"), n), mapping("a", DisplayId("1"), n)},
         {live("9-T", "a", DisplayId("1"), {5, 5, 50, 50})},
         one,
         {{WindowId("9-T"), "a", DisplayId("1"), {100, 450, 400, 300}},
          {std::nullopt, "a", DisplayId("1"), {100, 450, 400, 300}}}},
        {"zero-width frame and no window: the display's bounds",
         {mapping("a", DisplayId("1"), Rect{0.1, 0.1, 0, 0.5})},
         {},
         one,
         {{std::nullopt, "a", DisplayId("1"), {0, 0, 1000, 800}}}},
        {"no frame, a window: the window's frame",
         {mapping("a", DisplayId("1"), std::nullopt)},
         {live("9-T", "a", DisplayId("1"), {5, 6, 50, 60})},
         one,
         {{WindowId("9-T"), "a", DisplayId("1"), {5, 6, 50, 60}}}},
        {"no display id and no windows: nothing", {mapping("a", std::nullopt, n)}, {}, one, {}},
        {"no display id: the first given window's display, even of another bundle",
         {mapping("a", std::nullopt, n)},
         {live("9-T", "b", DisplayId("2"), {5, 6, 50, 60})},
         two,
         {{std::nullopt, "a", DisplayId("2"), {1050, 225, 200, 150}}}},
        {"no display id, first window without a display: nothing",
         {mapping("a", std::nullopt, n)},
         {live("9-T", "a", std::nullopt, {5, 6, 50, 60})},
         one,
         {}},
        {"no displays: nothing", {mapping("a", DisplayId("1"), n)}, {}, {}, {}},
    };
    DefaultSnapshotEngine engine;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(engine.computePlacements(definitionOf(c.mappings), c.windows, c.displays, std::nullopt),
                  c.expected);
    }
}

WindowValue row(std::int64_t rowID, std::string bundle, std::int64_t screenUUID) {
    WindowValue w;
    w.rowID = rowID;
    w.bundleIdentifier = std::move(bundle);
    w.windowTitle = "T" + std::to_string(rowID);
    w.xPosition = 100;
    w.yPosition = 50;
    w.width = 400;
    w.height = 300;
    w.screenUUID = screenUUID;
    w.originalScreenWidth = 1000;
    w.originalScreenHeight = 800;
    return w;
}

class SnapshotBridgingTest : public PlatformTest {};

TEST_F(SnapshotBridgingTest, SnapshotDefinitionFromAStoredSnapshot) {
    SnapshotValue unnamed;
    unnamed.timestamp = std::nullopt;
    unnamed.windows = {row(1, "a", WindowManager::packScreenUUID(0, 0xD1BADF2Au)),
                       row(2, "b", WindowManager::packScreenUUID(3, 0))};
    unnamed.windows[0].bundleIdentifier.reset();
    const SnapshotDefinition d = SnapshotBridging::snapshotDefinition(unnamed);
    EXPECT_EQ(d.name, "Snapshot");
    EXPECT_EQ(d.createdAt, platform::Date::now());
    EXPECT_EQ(d.updatedAt, platform::Date::now());
    EXPECT_FALSE(d.linkedProfileId);
    EXPECT_FALSE(d.globalShortcut);
    ASSERT_EQ(d.windowMappings.size(), 2u);
    EXPECT_EQ(d.windowMappings[0].bundleIdentifier, "");
    EXPECT_EQ(d.windowMappings[0].windowTitlePattern, "T1");
    EXPECT_FALSE(d.windowMappings[0].displayId) << "only a fingerprint: no display id";
    EXPECT_EQ(d.windowMappings[1].displayId, DisplayId("3"));
    EXPECT_EQ(d.windowMappings[1].normalizedFrame, (Rect{0.1, 0.5625, 0.4, 0.375}));

    SnapshotValue named;
    named.name = "Work";
    named.timestamp = platform::Date{1000};
    const SnapshotDefinition e = SnapshotBridging::snapshotDefinition(named);
    EXPECT_EQ(e.name, "Work");
    EXPECT_EQ(e.createdAt, platform::Date{1000});
    EXPECT_NE(e.id, SnapshotBridging::snapshotDefinition(named).id) << "a fresh id on every call";
}

TEST_F(SnapshotBridgingTest, DisplayAndWindowDescriptorsFromScreens) {
    const auto numbered = testsupport::displaySpec(4, "Main", {0, 0, 1440, 900});
    auto panel = testsupport::displaySpec(9, "Panel", {1440, 0, 800, 600});
    panel.hasScreenNumber = false;
    panel.backingScaleFactor = 1;
    SimDesktop::shared().addDisplay(numbered);
    SimDesktop::shared().addDisplay(panel);
    sim().runFor(1.0);
    const auto screens = platform::NSScreen::screens();
    ASSERT_EQ(screens.size(), 2u);

    const auto displays = SnapshotBridging::displayDescriptors(screens);
    ASSERT_EQ(displays.size(), 2u);
    EXPECT_EQ(displays[0], (DisplayDescriptor{DisplayId("4"), "Main", {0, 0, 1440, 875}, 2}));
    EXPECT_EQ(displays[1].id, DisplayId("Panel-1440.0-0.0"));
    EXPECT_EQ(displays[1].bounds, (Rect{1440, 0, 800, 575}));

    auto onMain = snapshotstest::windowDetail("com.example.notes", "Doc", 4, {10, 20, 300, 200});
    onMain.processID = 321;
    WindowManager::WindowDetail gone = onMain;
    gone.screenID = 12;
    gone.windowTitle = "";
    const auto windows = SnapshotBridging::windowDescriptors({onMain, gone}, screens);
    ASSERT_EQ(windows.size(), 2u);
    EXPECT_EQ(windows[0], (WindowDescriptor{WindowId("321-Doc"),
                                            "com.example.notes",
                                            "Doc",
                                            DisplayId("4"),
                                            {10, 20, 300, 200},
                                            false,
                                            false}));
    EXPECT_EQ(windows[1].id, WindowId("321-"));
    EXPECT_EQ(windows[1].currentDisplayId, DisplayId("12"));
}

TEST_F(SnapshotBridgingTest, UnnumberedScreenAtTheOriginIsNamedByItsOrigin) {
    auto panel = testsupport::displaySpec(3, "Panel", {0, 0, 1024, 768});
    panel.hasScreenNumber = false;
    SimDesktop::shared().addDisplay(panel);
    sim().runFor(1.0);
    const auto displays = SnapshotBridging::displayDescriptors(platform::NSScreen::screens());
    ASSERT_EQ(displays.size(), 1u);
    EXPECT_EQ(displays[0].id, DisplayId("Panel-0.0-0.0"));
}

TEST_F(SnapshotBridgingTest, PlacementsByRowKeepEachRowsOwnFrame) {
    SnapshotValue s;
    s.windows = {row(11, "a", WindowManager::packScreenUUID(1, 5)),
                 row(12, "a", WindowManager::packScreenUUID(0, 5)),
                 row(13, "a", WindowManager::packScreenUUID(1, 5))};
    s.windows[2].xPosition = 500;
    const std::vector<DisplayDescriptor> displays = {display("1", {0, 0, 1000, 800})};

    const auto placements = SnapshotBridging::placementsByRow(s, displays);
    ASSERT_EQ(placements.size(), 2u);
    EXPECT_EQ(placements.at(11).targetFrame, (Rect{100, 450, 400, 300}));
    EXPECT_EQ(placements.at(13).targetFrame, (Rect{500, 450, 400, 300}));
    EXPECT_FALSE(placements.contains(12));
    EXPECT_EQ(placements.at(13).targetDisplayId, DisplayId("1"));

    // Not yet saved rows and an empty display list give nothing.
    s.windows[0].rowID.reset();
    EXPECT_FALSE(SnapshotBridging::placementsByRow(s, displays).contains(11));
    EXPECT_TRUE(SnapshotBridging::placementsByRow(s, {}).empty());
}

} // namespace
} // namespace tilmora
