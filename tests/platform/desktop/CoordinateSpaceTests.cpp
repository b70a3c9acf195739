#include "support/DesktopTest.hpp"

#include "platform/desktop/CGDisplay.hpp"
#include "platform/desktop/CoordinateSpace.hpp"

using namespace platform;

TEST(CoordinateSpaceTest, FlipMirrorsThroughTheMainHeightAndUndoesItself) {
    struct Case {
        const char* name;
        CGRect in;
        double mainHeight;
        CGRect out;
    };
    const std::vector<Case> cases = {
        {"full main display", {0, 0, 1440, 900}, 900, {0, 0, 1440, 900}},
        {"window near the bottom", {100, 50, 800, 600}, 900, {100, 250, 800, 600}},
        {"taller display beside the main one", {1440, 0, 1920, 1080}, 900, {1440, -180, 1920, 1080}},
        {"display below the main one", {0, -800, 1280, 800}, 900, {0, 900, 1280, 800}},
        {"no main display", {10, 20, 30, 40}, 0, {10, -60, 30, 40}},
        {"fractional edges", {0.5, 0.25, 1, 1.5}, 10, {0.5, 8.25, 1, 1.5}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(flipRect(c.in, c.mainHeight), c.out);
        EXPECT_EQ(flipRect(c.out, c.mainHeight), c.in);
    }
}

TEST(CoordinateSpaceTest, FlipMakesNegativeSizesPositiveAndKeepsNull) {
    EXPECT_EQ(flipRect({110, 150, -10, -100}, 900), (CGRect{100, 750, 10, 100}));
    EXPECT_TRUE(flipRect(CGRect::null(), 900).isNull());
    EXPECT_EQ(flipPoint({5, 900}, 900), (CGPoint{5, 0}));
    EXPECT_EQ(flipPoint(flipPoint({-3, 12.5}, 900), 900), (CGPoint{-3, 12.5}));
}

TEST_F(DesktopTest, GlobalAndTopLeftFollowTheMainDisplayAsTheQueriesSeeIt) {
    EXPECT_EQ(mainDisplayHeight(), 0) << "no displays";
    EXPECT_EQ(globalToTopLeft({0, 0, 10, 10}), (CGRect{0, -10, 10, 10}));

    desk().useLaptopWithExternal();
    EXPECT_EQ(mainDisplayHeight(), 900);
    const CGRect external{1440, 0, 1920, 1080};
    EXPECT_EQ(globalToTopLeft(external), CGDisplayBounds(2));
    EXPECT_EQ(topLeftToGlobal(CGDisplayBounds(2)), external);

    // A new resolution of the main display moves every top-left rectangle at once.
    desk().setDisplayFrame(1, {0, 0, 1680, 1050});
    EXPECT_EQ(mainDisplayHeight(), 1050);
    EXPECT_EQ(globalToTopLeft(external), (CGRect{1440, -30, 1920, 1080}));
}
