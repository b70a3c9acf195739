#include "platform/foundation/Error.hpp"

#include <gtest/gtest.h>

TEST(Error, CarriesItsMessage) {
    try {
        throw platform::Error("broken file");
    } catch (const std::exception& e) {
        EXPECT_STREQ(e.what(), "broken file");
    }
}
