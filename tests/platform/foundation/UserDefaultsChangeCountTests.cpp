#include "platform/control/SharedInstances.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "support/PlatformTest.hpp"

#include <functional>
#include <gtest/gtest.h>
#include <string>

using namespace platform;

namespace {

class UserDefaultsChangeCountTest : public PlatformTest {};

// Every kind of change of any domain moves the count; reads never do.
TEST_F(UserDefaultsChangeCountTest, EveryChangeOfAnyDomainMovesTheCountAndReadsDoNot) {
    UserDefaults::standard().set(PropertyValue(std::string("x")), "present");
    struct Case {
        const char* what;
        std::function<void()> action;
        bool moves;
    };
    const Case cases[] = {
        {"set", [] { UserDefaults::standard().set(PropertyValue(true), "flag"); }, true},
        {"set of the same value", [] { UserDefaults::standard().set(PropertyValue(true), "flag"); }, true},
        {"removal", [] { UserDefaults::standard().removeObjectForKey("flag"); }, true},
        {"removal of an absent key", [] { UserDefaults::standard().removeObjectForKey("never"); }, true},
        {"registration",
         [] {
             UserDefaults::standard().registerDefaults({{"r", PropertyValue(1)}});
         },
         true},
        {"set in another domain", [] { UserDefaults("com.example.other").set(PropertyValue(2), "k"); }, true},
        {"reset", [] { platform::SharedInstances::resetAll(); }, true},
        {"reads",
         [] {
             (void)UserDefaults::standard().stringForKey("present");
             (void)UserDefaults::standard().dictionaryRepresentation();
             (void)UserDefaults::standard().boolForKey("flag");
         },
         false},
    };
    for (const auto& c : cases) {
        const auto before = UserDefaults::changeCount();
        c.action();
        if (c.moves)
            EXPECT_GT(UserDefaults::changeCount(), before) << c.what;
        else
            EXPECT_EQ(UserDefaults::changeCount(), before) << c.what;
    }
}

} // namespace
