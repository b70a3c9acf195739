#include "windows/SystemWindowMutator.hpp"

#include "windows/WindowAccessTest.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tilmora {
namespace {

using platform::CGRect;
using platform::JournalEntry;
using platform::WindowSpec;

class SystemWindowMutatorTest : public WindowAccessTest {
protected:
    std::vector<std::string> writes() {
        std::vector<std::string> out;
        for (const auto& entry : desk().journal(JournalEntry::Kind::axWrite))
            out.push_back(entry.what + " " + entry.detail);
        return out;
    }
};

TEST_F(SystemWindowMutatorTest, TheWindowNumberTextFindsTheWindow) {
    const pid_t pid = runNotes({window("Doc", {300, 300, 800, 600})});
    const std::uint32_t number = numbersOf(pid).front();
    struct Case {
        const char* name;
        std::string id;
        bool moves;
    };
    const Case cases[] = {
        {"empty", "", false},
        {"not a number", "abc", false},
        {"negative", "-5", false},
        {"above 32 bits", "4294967296", false},
        {"blank around", " " + std::to_string(number), false},
        {"trailing text", std::to_string(number) + "x", false},
        {"lone sign", "+", false},
        {"unknown window", "999999", false},
        {"plus sign", "+" + std::to_string(number), true},
        {"plain", std::to_string(number), true},
    };
    SystemWindowMutator mutator;
    for (const auto& c : cases) {
        desk().setWindowFrame(number, {300, 300, 800, 600});
        desk().clearJournal();
        mutator.moveAndResize(WindowId(c.id), {0, 450, 720, 450});
        if (c.moves) {
            EXPECT_EQ(writes(), (std::vector<std::string>{"AXPosition (0, 0)", "AXSize (720, 450)"}))
                << c.name;
            EXPECT_EQ(desk().windowState(number)->frame, CGRect(0, 450, 720, 450)) << c.name;
        } else {
            EXPECT_TRUE(desk().journal().empty()) << c.name;
        }
    }
    EXPECT_EQ(desk().accessibilityPrompts(), 0);
}

TEST_F(SystemWindowMutatorTest, WithoutTrustItAsksAndChangesNothing) {
    const pid_t pid = runNotes({window("Doc", {300, 300, 800, 600})});
    const std::uint32_t number = numbersOf(pid).front();
    desk().setAccessibilityTrusted(false);
    desk().clearJournal();
    SystemWindowMutator().moveAndResize(WindowId(std::to_string(number)), {0, 450, 720, 450});
    EXPECT_EQ(desk().accessibilityPrompts(), 1);
    EXPECT_TRUE(writes().empty());
    EXPECT_EQ(desk().windowState(number)->frame, CGRect(300, 300, 800, 600));
}

TEST_F(SystemWindowMutatorTest, AWindowItsApplicationDoesNotListIsNotWritten) {
    struct Case {
        const char* name;
        bool inAXList;
        platform::AXNumberForm form;
    };
    const Case cases[] = {
        {"missing from the Accessibility list", false, platform::AXNumberForm::windowNumber},
        {"no window number", true, platform::AXNumberForm::none},
        {"only the older number attribute", true, platform::AXNumberForm::windowIDOnly},
    };
    for (const auto& c : cases) {
        WindowSpec spec = window("Doc", {300, 300, 800, 600});
        spec.inAXList = c.inAXList;
        spec.numberForm = c.form;
        const pid_t pid = runNotes({window("Listed", {10, 10, 300, 300}), spec});
        const std::uint32_t number = desk().windowsOf(pid).front().number;
        desk().clearJournal();
        SystemWindowMutator().moveAndResize(WindowId(std::to_string(number)), {0, 450, 720, 450});
        EXPECT_TRUE(writes().empty()) << c.name;
        desk().quit(pid);
    }
}

} // namespace
} // namespace tilmora
