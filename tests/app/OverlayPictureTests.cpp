#include "platform/control/ScreenCapture.hpp"
#include "platform/control/SimDesktop.hpp"
#include "platform/desktop/NSScreen.hpp"
#include "snapping/RoriDeru.hpp"
#include "snapping/SystemOverlayWindow.hpp"
#include "support/PlatformTest.hpp"
#include "support/SnapGridParts.hpp"

#include <gtest/gtest.h>

#include <cstdlib>

using platform::ui::ScreenCapture;
using Pixel = platform::ui::ScreenPicture::Pixel;

namespace {

/// The snap grid's overlay as a person sees it in a picture of the laptop.
class OverlayPictureTest : public PlatformTest {
protected:
    void restoreFixture() override {
        PlatformTest::restoreFixture();
        platform::SimDesktop::shared().useLaptop();
    }
};

/// The colour of `over` laid on `under` with `alpha`, as the picture keeps it (8 bits).
Pixel blend(const platform::ui::Color& under, const platform::ui::Color& over, double alpha) {
    return Pixel::of(platform::ui::Color::rgba(under.red * (1 - alpha) + over.red * alpha,
                                               under.green * (1 - alpha) + over.green * alpha,
                                               under.blue * (1 - alpha) + over.blue * alpha));
}

bool near(const Pixel& a, const Pixel& b, int tolerance) {
    return std::abs(a.red - b.red) <= tolerance && std::abs(a.green - b.green) <= tolerance &&
           std::abs(a.blue - b.blue) <= tolerance;
}

TEST_F(OverlayPictureTest, TheHighlightedTileOfATwoByTwoGridShowsInItsColourAndNoOtherDoes) {
    tilmora::RoriDeru grid;
    const auto screen = platform::NSScreen::screens().front();
    const tilmora::RoriDeru::Preset preset(2, 2, 0, 0);
    grid.showOverlay(screen, preset, true, true, std::nullopt);
    sim().runFor(0.1);
    auto overlay = std::dynamic_pointer_cast<tilmora::SystemOverlayWindow>(
        tilmora::SnapGridParts::overlayLifecycle(grid).overlays().at(1));
    ASSERT_TRUE(overlay);
    const auto tiles = grid.tiles(screen, preset);
    ASSERT_EQ(tiles.size(), 4u);
    // Tiles run row by row from the bottom: T0 bottom left, T1 bottom right.
    const platform::CGRect t0{tiles[0].x, tiles[0].y, tiles[0].width, tiles[0].height};
    const platform::CGRect t1{tiles[1].x, tiles[1].y, tiles[1].width, tiles[1].height};

    auto picture = ScreenCapture::capture();
    const Pixel desktop = Pixel::of(ScreenCapture::desktopColor());
    EXPECT_EQ(*picture.pixelAt({t0.midX(), t0.midY()}), desktop) << "no highlight yet";
    EXPECT_EQ(*picture.pixelAt({t1.midX(), t1.midY()}), desktop) << "no highlight yet";

    overlay->setHighlight(tiles[1]);
    picture = ScreenCapture::capture();
    const auto green = overlay->view().color;
    // T1's centre lies on the highlight's plus sign, drawn in the highlight colour.
    const Pixel centre = *picture.pixelAt({t1.midX(), t1.midY()});
    EXPECT_GE(centre.green, 200) << centre.description();
    EXPECT_LE(centre.red, 60) << centre.description();
    EXPECT_LE(centre.blue, 60) << centre.description();
    // The rest of T1 is tinted by the highlight's fill; T0 keeps the bare desktop.
    const Pixel tinted = *picture.pixelAt({t1.minX() + t1.width() / 4, t1.minY() + t1.height() / 4});
    EXPECT_TRUE(near(tinted, blend(ScreenCapture::desktopColor(), green, 0.12), 1)) << tinted.description();
    EXPECT_EQ(*picture.pixelAt({t0.midX(), t0.midY()}), desktop);

    overlay->hideHighlight();
    EXPECT_EQ(*ScreenCapture::capture().pixelAt({t1.midX(), t1.midY()}), desktop);
}

} // namespace
