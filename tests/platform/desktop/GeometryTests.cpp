#include "platform/desktop/NSGeometry.hpp"

#include <gtest/gtest.h>

using namespace platform;

TEST(GeometryTest, IntegralRectangleContainsTheOriginal) {
    struct Case {
        const char* name;
        CGRect in;
        CGRect out;
    };
    const std::vector<Case> cases = {
        {"whole numbers stay", {1, 2, 3, 4}, {1, 2, 3, 4}},
        {"fractions widen", {0.5, 0.5, 1, 1}, {0, 0, 2, 2}},
        {"negative origin rounds down", {-0.5, -1.5, 1, 1}, {-1, -2, 2, 2}},
        {"centred placement", {359.5, 187.5, 721, 500}, {359, 187, 722, 501}},
        {"negative size is made positive", {10, 10, -4.5, -4}, {5, 6, 5, 4}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CGRectIntegral(c.in), c.out);
    }
    EXPECT_TRUE(CGRectIntegral(CGRect::null()).isNull());
}

TEST(GeometryTest, TextFormsWriteEveryValueInFull) {
    EXPECT_EQ(NSStringFromRect({100, 100, 800, 600}), "{{100, 100}, {800, 600}}");
    EXPECT_EQ(NSStringFromRect({-0.5, 0, 1943.0 / 3, 1e20}), "{{-0.5, 0}, {647.66666666666663, 1e+20}}");
    EXPECT_EQ(NSStringFromPoint({1440, -25}), "{1440, -25}");
    EXPECT_EQ(NSStringFromSize({0.25, 3}), "{0.25, 3}");
}
