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

TEST(GeometryTest, InsetUnionAndContainmentTreatTheNullRectangleAsCoreGraphicsDoes) {
    const CGRect null = CGRect::null();
    struct InsetCase {
        const char* name;
        CGRect in;
        double dx, dy;
        CGRect out; // null() where the result is null
    };
    const std::vector<InsetCase> insets = {
        {"inset larger than the width", {0, 0, 30, 10}, 20, 0, null},
        {"inset larger than the height", {0, 0, 30, 10}, 0, 6, null},
        {"inset to exactly zero width", {0, 0, 30, 10}, 15, 0, {15, 0, 0, 10}},
        {"plain inset", {10, 20, 100, 50}, 5, 10, {15, 30, 90, 30}},
        {"negative inset grows", {0, 0, 10, 10}, -2, -1, {-2, -1, 14, 12}},
        {"negative size is made positive first", {10, 10, -10, -4}, 1, 1, {1, 7, 8, 2}},
        {"null stays null", null, -5, -5, null},
        {"not-a-number inset", {0, 0, 10, 10}, std::nan(""), 0, null},
    };
    for (const auto& c : insets) {
        SCOPED_TRACE(c.name);
        const CGRect r = c.in.insetBy(c.dx, c.dy);
        EXPECT_EQ(r.isNull(), c.out.isNull());
        if (!c.out.isNull()) {
            EXPECT_EQ(r, c.out);
        }
    }

    struct UnionCase {
        const char* name;
        CGRect a, b, out;
    };
    const std::vector<UnionCase> unions = {
        {"null then rect", null, {1, 2, 3, 4}, {1, 2, 3, 4}},
        {"rect then null", {1, 2, 3, 4}, null, {1, 2, 3, 4}},
        {"disjoint", {0, 0, 1, 1}, {5, 5, 1, 2}, {0, 0, 6, 7}},
        {"empty but not null counts", {0, 0, 0, 0}, {5, 5, 1, 1}, {0, 0, 6, 6}},
        {"negative sizes", {10, 10, -10, -10}, {0, 0, 1, 1}, {0, 0, 10, 10}},
    };
    for (const auto& c : unions) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.a.unionWith(c.b), c.out);
    }
    EXPECT_TRUE(null.unionWith(null).isNull());

    struct ContainsCase {
        const char* name;
        CGRect outer, inner;
        bool contains;
    };
    const std::vector<ContainsCase> contains = {
        {"itself", {0, 0, 10, 10}, {0, 0, 10, 10}, true},
        {"sticking out", {0, 0, 10, 10}, {5, 5, 10, 10}, false},
        {"inside", {0, 0, 10, 10}, {2, 3, 4, 5}, true},
        {"empty inside", {0, 0, 10, 10}, {10, 10, 0, 0}, true},
        {"null inner", {0, 0, 10, 10}, null, false},
        {"null outer", null, {0, 0, 1, 1}, false},
        {"negative size inner", {0, 0, 10, 10}, {10, 10, -10, -10}, true},
    };
    for (const auto& c : contains) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.outer.contains(c.inner), c.contains);
    }
}

TEST(GeometryTest, DescriptionWritesEachFieldAsADoubleText) {
    const std::pair<CGRect, const char*> cases[] = {
        {{0, 0, 10, 20}, "(0.0, 0.0, 10.0, 20.0)"},
        {{-1920, 0.5, 1e20, 1.0 / 3}, "(-1920.0, 0.5, 1e+20, 0.3333333333333333)"},
        {{5, 5, -2, -0.0}, "(5.0, 5.0, -2.0, -0.0)"},
        {CGRect::null(), "(inf, inf, 0.0, 0.0)"},
    };
    for (const auto& [rect, expected] : cases) {
        SCOPED_TRACE(expected);
        EXPECT_EQ(rect.description(), expected);
    }
}
