#include "support/DesktopTest.hpp"

#include "platform/control/DisplayRange.hpp"
#include "platform/control/SimDesktop.hpp"
#include "platform/control/SimScheduler.hpp"
#include "platform/desktop/NSScreen.hpp"
#include "platform/foundation/Error.hpp"
#include "support/TableRow.hpp"

#include <cmath>

using namespace platform;

namespace {

DisplaySpec rangeSpec(CGRect frame, std::optional<CGRect> visible = {}, double scale = 1) {
    DisplaySpec spec;
    spec.displayID = 3;
    spec.frame = frame;
    spec.visibleFrame = visible;
    spec.backingScaleFactor = scale;
    return spec;
}

} // namespace

TEST_F(DesktopTest, DisplaysOutsideTheRangeAreRefusedOnEveryPathAndChangeNothing) {
    const double nan = std::nan("");
    const testsupport::TableRow<DisplaySpec, const char*> rows[] = {
        {"at the edges of the range", rangeSpec({-1e9, 1e9, 1e6, 1e6}, CGRect{-1e9, 1e9, 1e6, 1e6}, 16), ""},
        {"x far away", rangeSpec({1e20, 0, 100, 100}), "frame x 1e+20: must be within ±1e9 points"},
        {"y just past", rangeSpec({0, -1000000001, 100, 100}),
         "frame y -1000000001.0: must be within ±1e9 points"},
        {"x not a number", rangeSpec({nan, 0, 100, 100}), "frame x nan: must be within ±1e9 points"},
        {"width too large", rangeSpec({0, 0, 3e38, 100}),
         "frame width 3e+38: must be above 0 and at most 1e6 points"},
        {"height zero", rangeSpec({0, 0, 100, 0}),
         "frame height 0.0: must be above 0 and at most 1e6 points"},
        {"visible far away", rangeSpec({0, 0, 100, 100}, CGRect{1e308, 0, 100, 100}),
         "visible x 1e+308: must be within ±1e9 points"},
        {"visible without height", rangeSpec({0, 0, 100, 100}, CGRect{0, 0, 100, 0}), ""},
        {"visible of negative width", rangeSpec({0, 0, 100, 100}, CGRect{0, 0, -1, 10}),
         "visible width -1.0: must be from 0 to 1e6 points"},
        {"scale too large", rangeSpec({0, 0, 100, 100}, {}, 100),
         "scale 100.0: must be above 0 and at most 16"},
        {"scale zero", rangeSpec({0, 0, 100, 100}, {}, 0), "scale 0.0: must be above 0 and at most 16"},
    };
    desk().useLaptop();
    const auto before = NSScreen::screens();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string expected = row.expected;
        EXPECT_EQ(DisplayRange::problem(row.given).value_or(""), expected);
        if (expected.empty()) continue;
        // Each way of putting a display on the desktop refuses it, naming it, and leaves the
        // desktop as it was.
        auto refuses = [&](const char* path, const char* display, auto change) {
            try {
                change();
                ADD_FAILURE() << path << " took it";
            } catch (const Error& e) {
                EXPECT_EQ(std::string(e.what()), std::string(display) + ": " + expected) << path;
            }
        };
        refuses("addDisplay", "display 3", [&] { desk().addDisplay(row.given); });
        refuses("updateDisplay", "display 1", [&] { desk().updateDisplay(1, row.given); });
        if (row.given.backingScaleFactor == 1)
            refuses("setDisplayFrame", "display 1",
                    [&] { desk().setDisplayFrame(1, row.given.frame, row.given.visibleFrame); });
        SimScheduler::shared().runFor(1); // past the screen list's lag
        const auto after = NSScreen::screens();
        ASSERT_EQ(after.size(), before.size());
        EXPECT_EQ(after[0].frame(), before[0].frame());
        EXPECT_EQ(after[0].visibleFrame(), before[0].visibleFrame());
    }
}
