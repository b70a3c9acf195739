#include "model/DisplayConfigurationSignature.hpp"
#include "model/DisplayMoveCalculator.hpp"
#include "model/DisplaySignature.hpp"

#include "ModelFixture.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace tilmora;
using modeltest::screen;

TEST(DisplaySignature, PixelSizeUsesTheFrameTimesAtLeastScaleOne) {
    struct Case {
        double width, height, scale;
        std::int64_t pixelWidth, pixelHeight;
    };
    const Case cases[] = {
        {1440, 900, 2, 2880, 1800},
        {1920, 1080, 0.5, 1920, 1080}, // below 1 counts as 1
        {1366.5, 768, 1, 1367, 768},   // halves away from zero
        {1366.4, 767.5, 1, 1366, 768},
        {1280, 800, std::numeric_limits<double>::quiet_NaN(), 1280, 800}, // NaN scale counts as 1
        {1512, 982, 1.5, 2268, 1473},
    };
    for (const auto& c : cases) {
        auto signature = DisplaySignature::fromScreen(screen(1, 0, c.width, c.height, c.scale));
        ASSERT_TRUE(signature);
        EXPECT_EQ(signature->width, c.pixelWidth) << c.width << "@" << c.scale;
        EXPECT_EQ(signature->height, c.pixelHeight) << c.height << "@" << c.scale;
    }
}

TEST(DisplaySignature, EmptyOrNonFiniteFramesGiveNoSignature) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (auto [w, h] : {std::pair{1440.0, 0.0}, {0.0, 900.0}, {-10.0, 900.0}, {nan, 900.0}, {1440.0, inf}})
        EXPECT_FALSE(DisplaySignature::fromScreen(screen(1, 0, w, h))) << w << "x" << h;
}

TEST(DisplaySignature, KeySegmentNamesNumberOrUnknown) {
    EXPECT_EQ((DisplaySignature{1, 2880, 1800}.persistenceKeySegment()), "1-2880x1800");
    EXPECT_EQ((DisplaySignature{std::nullopt, 1920, 1080}.persistenceKeySegment()), "unknown-1920x1080");
    EXPECT_EQ((DisplaySignature{4294967295u, 1, 1}.persistenceKeySegment()), "4294967295-1x1");
}

TEST(DisplaySignature, JsonLeavesOutAMissingNumberAndReadsBackEqual) {
    DisplaySignature unnumbered{std::nullopt, 1920, 1080};
    auto json = platform::encodeJson(unnumbered);
    EXPECT_FALSE(json.contains("displayID"));
    EXPECT_EQ(platform::decodeJson<DisplaySignature>(json), unnumbered);

    DisplaySignature numbered{2, 2880, 1800};
    EXPECT_EQ(platform::decodeJson<DisplaySignature>(platform::encodeJson(numbered)), numbered);

    for (const char* bad :
         {R"({"width": 10})", R"({"displayID": -1, "width": 1, "height": 1})",
          R"({"displayID": 4294967296, "width": 1, "height": 1})", R"({"width": 1.5, "height": 1})"})
        EXPECT_THROW(platform::decodeJsonText<DisplaySignature>(bad), platform::Error) << bad;
    EXPECT_EQ(platform::decodeJsonText<DisplaySignature>(R"({"displayID": null, "width": 3, "height": 4})"),
              (DisplaySignature{std::nullopt, 3, 4}));
}

TEST(DisplayConfigurationSignature, KeySortsSegmentsAsTextAndSkipsEmptyScreens) {
    EXPECT_EQ(DisplayConfigurationSignature::key({screen(2, 0, 1920, 1080), screen(10, 1920, 1920, 1080)}),
              "10-1920x1080|2-1920x1080");
    EXPECT_EQ(DisplayConfigurationSignature::key(
                  {screen(std::nullopt, 0, 1920, 1080), screen(3, 0, 1440, 900, 2), screen(1, 0, 800, 0)}),
              "3-2880x1800|unknown-1920x1080");
    EXPECT_EQ(DisplayConfigurationSignature::key({screen(1, 0, 800, 0)}), std::nullopt);
    EXPECT_EQ(DisplayConfigurationSignature::key({}), std::nullopt);
    EXPECT_EQ((DisplayConfigurationSignature{{{1, 10, 10}, {2, 20, 20}}}.key()), "1-10x10|2-20x20");
}

TEST(DisplayMoveCalculator, TargetFrames) {
    struct Case {
        const char* what;
        Rect window;
        std::optional<Rect> source;
        Rect destination;
        bool preserveRelative;
        Rect expected;
    };
    const Rect main{0, 0, 1000, 800};
    const Case cases[] = {
        {"relative", {100, 100, 500, 400}, main, {1000, 0, 2000, 1600}, true, {1200, 200, 1000, 800}},
        {"absolute", {100, 100, 500, 400}, main, {1000, 0, 2000, 1600}, false, {1000, 100, 500, 400}},
        {"relative without source",
         {100, 100, 500, 400},
         std::nullopt,
         {1000, 0, 2000, 1600},
         true,
         {1000, 100, 500, 400}},
        {"clamp left", {-100, 50, 400, 300}, std::nullopt, main, false, {0, 50, 400, 300}},
        {"clamp right", {900, 0, 400, 300}, std::nullopt, main, false, {900, 0, 100, 300}},
        {"clamp keeps 50", {980, 0, 400, 300}, std::nullopt, main, false, {980, 0, 50, 300}},
        {"never larger", {0, 0, 3000, 3000}, std::nullopt, main, false, {0, 0, 1000, 800}},
        {"degenerate source", {0, 0, 10, 10}, Rect{0, 0, 0, 0}, main, true, {0, 0, 1000, 800}},
        // A target to the left of the window: the clamp alone would leave it at x 1500, off the
        // target; it is shifted inside instead.
        {"target to the left",
         {1500, 100, 500, 400},
         Rect{1000, 0, 1000, 800},
         main,
         false,
         {500, 100, 500, 400}},
        {"target below", {100, 1000, 300, 200}, Rect{0, 800, 1000, 800}, main, false, {100, 600, 300, 200}},
        {"large window to the left", {2500, 100, 1500, 900}, std::nullopt, main, false, {0, 0, 1000, 800}},
    };
    for (const auto& c : cases) {
        Rect result =
            DisplayMoveCalculator::targetFrame(c.window, c.source, c.destination, c.preserveRelative);
        EXPECT_EQ(result, c.expected)
            << c.what << ": " << result.x << "," << result.y << "," << result.width << "," << result.height;
    }
}

TEST(DisplayMoveCalculator, ClampKeepsARectangleInsideTheFrame) {
    struct Case {
        const char* what;
        Rect rect;
        Rect expected;
    };
    const Rect frame{0, 0, 1000, 800};
    const Case cases[] = {
        {"inside stays", {100, 100, 400, 300}, {100, 100, 400, 300}},
        {"left edge raised", {-100, 50, 400, 300}, {0, 50, 400, 300}},
        {"bottom edge raised", {50, -100, 400, 300}, {50, 0, 400, 300}},
        {"right edge cut", {900, 0, 400, 300}, {900, 0, 100, 300}},
        {"right edge cut to no less than 50", {980, 0, 400, 300}, {980, 0, 50, 300}},
        {"top edge cut to no less than 50", {0, 790, 400, 300}, {0, 790, 400, 50}},
        {"larger than the frame", {-10, -10, 3000, 3000}, {0, 0, 1000, 800}},
        {"exactly the frame", {0, 0, 1000, 800}, {0, 0, 1000, 800}},
        // Entirely right of or above the frame: the clamp alone would leave it there.
        {"right of the frame", {1500, 100, 500, 400}, {500, 100, 500, 400}},
        {"above the frame", {100, 1000, 300, 200}, {100, 600, 300, 200}},
        {"touching the right edge", {1000, 0, 100, 100}, {900, 0, 100, 100}},
    };
    for (const auto& c : cases) {
        Rect result = DisplayMoveCalculator::clamp(c.rect, frame);
        EXPECT_EQ(result, c.expected)
            << c.what << ": " << result.x << "," << result.y << "," << result.width << "," << result.height;
    }
    // An empty frame has no inside to shift into: the plain steps apply.
    EXPECT_EQ(DisplayMoveCalculator::clamp({10, 10, 100, 100}, {0, 0, 0, 0}), (Rect{10, 10, 0, 0}));
}
