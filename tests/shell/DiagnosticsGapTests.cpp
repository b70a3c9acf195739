#include "LaptopShellTest.hpp"

#include "model/Settings.hpp"
#include "snapping/GapSettings.hpp"

#include "shell/Diagnostics.hpp"
#include "snapping/RoriDeru.hpp"

#include <gtest/gtest.h>

namespace tilmora {
namespace {

class DiagnosticsGapTest : public LaptopShellTest {
protected:
    void TearDown() override {
        Diagnostics::setGapArithmetic(nullptr);
        LaptopShellTest::TearDown();
    }
};

TEST_F(DiagnosticsGapTest, GridThatIgnoresAGapSettingFailsItsCheck) {
    struct Case {
        const char* name;
        Diagnostics::GapArithmetic arithmetic;
        std::vector<std::string> messages;
    };
    const std::vector<Case> cases = {
        {"the grid's own arithmetic", nullptr, {}},
        // The screen-edge insets are horizontal gaps too: they go with it.
        {"horizontal gap ignored",
         [](const Rect& rect, const Rect& visible) {
             auto gaps = GapSettings::current();
             gaps.horizontal = 0;
             return RoriDeru::applyGaps(rect, visible, gaps);
         },
         {"FAIL: Horizontal gap between halves is 10 (got 0.0)", "FAIL: Left edge inset when edges on",
          "FAIL: Right edge inset when edges on"}},
        {"vertical gap ignored",
         [](const Rect& rect, const Rect& visible) {
             auto gaps = GapSettings::current();
             gaps.vertical = 0;
             return RoriDeru::applyGaps(rect, visible, gaps);
         },
         {}},
        {"half the horizontal gap",
         [](const Rect& rect, const Rect& visible) {
             auto gaps = GapSettings::current();
             gaps.horizontal /= 2;
             return RoriDeru::applyGaps(rect, visible, gaps);
         },
         {"FAIL: Horizontal gap between halves is 10 (got 5.0)"}},
    };
    defaults().set(platform::PropertyValue(4.0), settings::gapHorizontal.key);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Diagnostics::setGapArithmetic(c.arithmetic);
        const auto result = Diagnostics::run(shell());
        EXPECT_EQ(result.messages, c.messages);
        EXPECT_EQ(result.passed + result.failed, 25);
        EXPECT_EQ(defaults().persistedObjectForKey(settings::gapHorizontal.key), platform::PropertyValue(4.0))
            << "the user's gap is back";
    }
}

} // namespace
} // namespace tilmora
