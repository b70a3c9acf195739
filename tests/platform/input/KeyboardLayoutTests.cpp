#include "platform/control/SharedInstances.hpp"
#include "platform/input/KeyboardLayout.hpp"
#include "platform/input/ProcessInfo.hpp"
#include "platform/control/SimInput.hpp"
#include "support/FoundationSandbox.hpp"

#include <gtest/gtest.h>

using namespace platform;

namespace {

// Modifier key state bits of the translation: command 1, shift 2, caps lock 4, option 8, control 16.
constexpr std::uint32_t kShift = 0x02, kCaps = 0x04, kOption = 0x08, kControl = 0x10, kCommand = 0x01;

std::u16string translate(std::uint16_t code, std::uint32_t mods, std::uint16_t action = kUCKeyActionDisplay,
                         std::uint32_t* dead = nullptr, std::uint32_t options = 0) {
    std::uint32_t localDead = 0;
    char16_t buf[4];
    std::size_t len = 0;
    OSStatus st = UCKeyTranslate(usKeyboardLayout().get(), code, action, mods, LMGetKbdType(), options,
                                 dead ? dead : &localDead, 4, &len, buf);
    EXPECT_EQ(st, noErr);
    return std::u16string(buf, len);
}

class KeyboardLayoutTest : public testsupport::FoundationSandbox {
protected:
    void SetUp() override {
        FoundationSandbox::SetUp();
        platform::SharedInstances::resetAll();
    }
    void TearDown() override {
        platform::SharedInstances::resetAll();
        FoundationSandbox::TearDown();
    }
};

struct TranslationCase {
    std::uint16_t code;
    std::uint32_t mods;
    std::u16string expected;
};

TEST_F(KeyboardLayoutTest, TranslatesTheKeysOfAUsKeyboard) {
    const TranslationCase cases[] = {
        {0, 0, u"a"},
        {0, kShift, u"A"},
        {49, 0, u" "},
        {0, kCaps, u"A"},
        {0, kCaps | kShift, u"A"},
        {18, 0, u"1"},
        {18, kCaps, u"1"},
        {18, kShift, u"!"},
        {0, kCommand, u"a"},
        {40, kCommand | kShift, u"K"},
        {0, kOption, u"å"},
        {0, kOption | kShift, u"Å"},
        {27, 0, u"-"},
        {27, kShift, u"_"},
        {27, kOption, u"–"},
        {29, kShift, u")"},
        {0, kControl, u"\x01"},
        {6, kControl, u"\x1A"},
        {33, kControl, u"\x1B"},
        {39, kShift, u"\""},
        {42, 0, u"\\"},
        {50, kShift, u"~"},
        {36, 0, u"\r"},
        {48, 0, u"\t"},
        {53, 0, u"\x1B"},
        {51, 0, u"\b"},
        {117, 0, u"\x7F"},
        {123, 0, u"\x1C"},
        {126, 0, u"\x1E"},
        {122, 0, u"\x10"},
        {87, 0, u"5"},
        {76, 0, u"\x03"},
        {56, 0, u""},
        {74, 0, u""},
        {999, 0, u""},
        {49, kOption, u"\u00A0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "key " << c.code << " mods " << c.mods);
        EXPECT_EQ(translate(c.code, c.mods), c.expected);
    }
}

struct DeadKeyCase {
    std::uint16_t deadKey;
    std::uint16_t next;
    std::uint32_t nextMods;
    std::u16string expected;
};

TEST_F(KeyboardLayoutTest, DeadKeysCombineWithTheNextKeyWhenPressed) {
    const DeadKeyCase cases[] = {
        {14, 14, 0, u"é"}, {14, 0, kShift, u"Á"}, {50, 0, 0, u"à"},  {32, 16, 0, u"ÿ"},  {34, 31, 0, u"ô"},
        {45, 45, 0, u"ñ"}, {14, 49, 0, u"´"},     {14, 7, 0, u"´x"}, {45, 11, 0, u"˜b"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "dead " << c.deadKey << " then " << c.next);
        std::uint32_t dead = 0;
        EXPECT_EQ(translate(c.deadKey, kOption, kUCKeyActionDown, &dead), u"");
        EXPECT_NE(dead, 0u);
        EXPECT_EQ(translate(c.next, c.nextMods, kUCKeyActionDown, &dead), c.expected);
        EXPECT_EQ(dead, 0u);
    }
    // Shown, or with dead keys turned off, a dead key is its accent.
    EXPECT_EQ(translate(14, kOption, kUCKeyActionDisplay), u"´");
    std::uint32_t dead = 0;
    EXPECT_EQ(translate(14, kOption, kUCKeyActionDown, &dead, kUCKeyTranslateNoDeadKeysMask), u"´");
    EXPECT_EQ(dead, 0u);
}

TEST_F(KeyboardLayoutTest, RefusesBadArgumentsAndShortBuffers) {
    std::uint32_t dead = 0;
    char16_t buf[4];
    std::size_t len = 7;
    EXPECT_EQ(UCKeyTranslate(nullptr, 0, kUCKeyActionDisplay, 0, 40, 0, &dead, 4, &len, buf), paramErr);
    EXPECT_EQ(UCKeyTranslate(usKeyboardLayout().get(), 0, 4, 0, 40, 0, &dead, 4, &len, buf), paramErr);
    EXPECT_EQ(
        UCKeyTranslate(usKeyboardLayout().get(), 0, kUCKeyActionDisplay, 0, 40, 0, nullptr, 4, &len, buf),
        paramErr);
    // "´x" needs two units.
    EXPECT_EQ(
        UCKeyTranslate(usKeyboardLayout().get(), 14, kUCKeyActionDown, kOption, 40, 0, &dead, 1, &len, buf),
        noErr);
    EXPECT_EQ(UCKeyTranslate(usKeyboardLayout().get(), 7, kUCKeyActionDown, 0, 40, 0, &dead, 1, &len, buf),
              kUCOutputBufferTooSmall);
}

TEST_F(KeyboardLayoutTest, TheCurrentSourceFollowsTheSimulator) {
    auto source = TISCopyCurrentASCIICapableKeyboardLayoutInputSource();
    ASSERT_TRUE(source);
    EXPECT_EQ(TISGetInputSourceProperty(source, kTISPropertyInputSourceID), "com.apple.keylayout.US");
    EXPECT_TRUE(TISGetInputSourceProperty(source, kTISPropertyUnicodeKeyLayoutData));
    EXPECT_EQ(LMGetKbdType(), 40u);

    SimInput::shared().setKeyboardLayoutDataAvailable(false);
    EXPECT_FALSE(TISGetInputSourceProperty(TISCopyCurrentASCIICapableKeyboardLayoutInputSource(),
                                           kTISPropertyUnicodeKeyLayoutData));
    EXPECT_EQ(SimInput::charactersFor(0, {}), "");
    SimInput::shared().setKeyboardLayoutAvailable(false);
    EXPECT_FALSE(TISCopyCurrentASCIICapableKeyboardLayoutInputSource());
    EXPECT_FALSE(TISGetInputSourceProperty(nullptr, kTISPropertyUnicodeKeyLayoutData));
    EXPECT_FALSE(TISGetInputSourceProperty(nullptr, kTISPropertyLocalizedName));
}

TEST_F(KeyboardLayoutTest, OperatingSystemVersionGates) {
    auto& info = ProcessInfo::processInfo();
    EXPECT_EQ(info.operatingSystemVersion(), (OperatingSystemVersion{15, 3, 0}));
    SimInput::shared().setOperatingSystemVersion({14, 0, 0});
    const std::pair<OperatingSystemVersion, bool> cases[] = {{{13, 9, 9}, true},
                                                             {{14, 0, 0}, true},
                                                             {{14, 0, 1}, false},
                                                             {{14, 1, 0}, false},
                                                             {{15, 0, 0}, false}};
    for (const auto& [v, atLeast] : cases) {
        EXPECT_EQ(info.isOperatingSystemAtLeast(v), atLeast) << v.majorVersion << "." << v.minorVersion;
    }
    EXPECT_EQ(info.operatingSystemVersionString(), "Version 14.0");
}

} // namespace
