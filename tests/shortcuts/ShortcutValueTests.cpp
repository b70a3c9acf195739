#include "ShortcutTestSupport.hpp"
#include "platform/control/BundleControl.hpp"
#include "platform/foundation/Error.hpp"
#include "platform/ui/Menu.hpp"
#include "shortcuts/ModifierConversion.hpp"
#include "shortcuts/ShortcutsBundle.hpp"
#include "shortcuts/Shortcut.hpp"
#include "shortcuts/SpecialKey.hpp"

#include <gtest/gtest.h>

using namespace tilmora::GlobalShortcuts;
using platform::ModifierFlags;

namespace {

const ModifierFlags control = ModifierFlags::control;
const ModifierFlags option = ModifierFlags::option;
const ModifierFlags shift = ModifierFlags::shift;
const ModifierFlags command = ModifierFlags::command;
const ModifierFlags function = ModifierFlags::function;

class ShortcutValueTest : public ShortcutTest {};

TEST_F(ShortcutValueTest, JsonFormIsTwoIntegersAndDecodingNormalizes) {
    EXPECT_EQ(platform::encodeJsonText(Shortcut(Key::leftArrow, control | option)),
              R"({"carbonKeyCode":123,"carbonModifiers":6144})");

    struct Case {
        const char* text;
        std::optional<Shortcut> expected;
    };
    const Case cases[] = {
        {R"({"carbonKeyCode":123,"carbonModifiers":6144})", Shortcut(123, 6144)},
        {R"({"carbonModifiers":6144,"carbonKeyCode":123,"other":1})", Shortcut(123, 6144)},
        {R"({"carbonKeyCode":123,"carbonModifiers":71680})", Shortcut(123, 6144)}, // 0x11800
        {R"({"carbonKeyCode":123})", std::nullopt},
        {R"({"carbonKeyCode":"123","carbonModifiers":6144})", std::nullopt},
        {R"({"carbonKeyCode":123,"carbonModifiers":1.5})", std::nullopt},
        {R"([123,6144])", std::nullopt},
    };
    for (const auto& c : cases) {
        std::optional<Shortcut> decoded;
        try {
            decoded = platform::decodeJsonText<Shortcut>(c.text);
        } catch (const platform::Error&) {
        }
        EXPECT_EQ(decoded, c.expected) << c.text;
        if (decoded) {
            EXPECT_EQ(decoded->carbonModifiers, c.expected->carbonModifiers) << c.text;
        }
    }
}

TEST_F(ShortcutValueTest, EveryConstructorKeepsOnlyTheFiveModifierBits) {
    struct Case {
        const char* what;
        Shortcut shortcut;
        std::int64_t modifiers;
    };
    const Case cases[] = {
        {"control plus num lock bit", Shortcut(0, 0x1000 | 0x10000), 4096},
        {"control option", Shortcut(Key::a, control | option), 6144},
        {"control option shift", Shortcut(Key::a, control | option | shift), 6656},
        {"control option command", Shortcut(Key::a, control | option | command), 6400},
        {"caps lock and numeric pad dropped",
         Shortcut(Key::a, command | ModifierFlags::capsLock | ModifierFlags::numericPad), 256},
        {"function kept", Shortcut(Key::a, function), 0x20000},
        {"alpha lock and device bits dropped", Shortcut(0, 0x400 | 0x1 | 0x100), 256},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.shortcut.carbonModifiers, c.modifiers) << c.what;
    EXPECT_EQ(Shortcut(0, 0x1000 | 0x10000), Shortcut(0, 4096));
    EXPECT_EQ(Shortcut(Key::a, command).modifiers(), command);
}

TEST_F(ShortcutValueTest, PresentableDescriptionOnTheUSLayout) {
    struct Case {
        Shortcut shortcut;
        const char* text;
    };
    const Case cases[] = {
        {Shortcut(Key::k, command | shift), "\u21E7\u2318K"},
        {Shortcut(Key::leftArrow, control | option), "\u2303\u2325\u2190"},
        {Shortcut(Key::keypad5, control), "\u23035\u20E3"},
        {Shortcut(Key::space, ModifierFlags()), "Space"},
        {Shortcut(Key(999), command), "\u2318\uFFFD"},
        {Shortcut(Key::f5, function | command | control), "\u2303\u2318\U0001F310\uFE0EF5"},
        {Shortcut(Key::help, ModifierFlags()), "?\u20DD"},
        {Shortcut(Key::keypadEnter, option), "\u2325\u21A9\u20E3"},
        {Shortcut(-1, 6144), "\u2303\u2325\uFFFD"},
        {Shortcut(65536 + 40, 0), "\uFFFD"}, // not narrowed to k
        {Shortcut(Key::minus, control | option), "\u2303\u2325-"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.shortcut.presentableDescription(), c.text) << c.shortcut.carbonKeyCode;
    EXPECT_EQ(ks_symbolicRepresentation(function | command | control), "\u2303\u2318\U0001F310\uFE0E");
    EXPECT_EQ(ks_symbolicRepresentation(ModifierFlags()), "");
}

TEST_F(ShortcutValueTest, WithoutALayoutOrItsDataTheKeyShowsAsReplacementCharacter) {
    const Shortcut k(Key::k, command);
    input().setKeyboardLayoutAvailable(false);
    EXPECT_EQ(k.presentableDescription(), "\u2318\uFFFD");
    EXPECT_EQ(k.nsMenuItemKeyEquivalent(), std::nullopt);
    EXPECT_EQ(Shortcut(Key::leftArrow, command).presentableDescription(), "\u2318\u2190"); // no layout needed
    input().setKeyboardLayoutAvailable(true);
    input().setKeyboardLayoutDataAvailable(false);
    EXPECT_EQ(k.keyToCharacter(), std::nullopt);
    input().setKeyboardLayoutDataAvailable(true);
    EXPECT_EQ(k.keyToCharacter(), "k");
}

TEST_F(ShortcutValueTest, MenuKeyEquivalents) {
    struct Case {
        Key key;
        std::optional<std::string> equivalent;
    };
    const Case cases[] = {
        {Key::space, " "},   {Key::keypad5, std::nullopt}, {Key::keypadEnter, std::nullopt},
        {Key::f1, "\uF704"}, {Key::f20, "\uF717"},         {Key::leftArrow, "\u2190"},
        {Key::k, "k"},       {Key::return_, "\u21A9"},     {Key::help, "?\u20DD"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Shortcut(c.key, command).nsMenuItemKeyEquivalent(), c.equivalent) << c.key.rawValue;
}

TEST_F(ShortcutValueTest, SpecialKeysAreExactlyTheFiftyThree) {
    EXPECT_EQ(keyToSpecialKeyMapping().size(), 53u);
    for (Key notSpecial : {Key::a, Key::zero, Key::minus, Key::command, Key::mute, Key::capsLock, Key(999)})
        EXPECT_FALSE(specialKey(notSpecial)) << notSpecial.rawValue;
    EXPECT_EQ(specialKey(Key::keypadPlus), SpecialKey::keypadPlus);
    EXPECT_EQ(specialKey(Key::delete_), SpecialKey::delete_);
}

TEST_F(ShortcutValueTest, UnicodeScalarsOutsideTheRangeGiveNoCharacter) {
    for (std::int64_t bad :
         {std::int64_t{-1}, std::int64_t{0xD800}, std::int64_t{0xDFFF}, std::int64_t{0x110000}})
        EXPECT_EQ(characterFromUnicodeScalarValue(bad), std::nullopt) << bad;
    EXPECT_EQ(characterFromUnicodeScalarValue(0x10FFFF), "\U0010FFFF");
}

TEST_F(ShortcutValueTest, ChordFromAnEventDropsFunctionAndIgnoresOtherEvents) {
    const auto arrow = platform::NSEvent::keyEvent(platform::EventType::keyDown, {},
                                                   control | option | function | ModifierFlags::numericPad, 0,
                                                   0, "", "", false, 123);
    EXPECT_EQ(Shortcut::fromEvent(arrow), Shortcut(123, 6144));
    auto up = arrow;
    up.type = platform::EventType::keyUp;
    EXPECT_EQ(Shortcut::fromEvent(up), Shortcut(123, 6144));
    for (auto type : {platform::EventType::leftMouseUp, platform::EventType::flagsChanged}) {
        auto other = arrow;
        other.type = type;
        EXPECT_EQ(Shortcut::fromEvent(other), std::nullopt);
    }
}

TEST_F(ShortcutValueTest, MenuItemWithMatchingShortcutSearchesSubmenusDepthFirst) {
    using platform::ui::Menu;
    using platform::ui::MenuItem;
    auto root = Menu::make("Main");
    root->addItem("Keep", {}, "k"); // command only
    auto sub = Menu::make("Edit");
    auto upper = sub->addItem("Upper K", {}, "K");
    upper->keyEquivalentModifierMask = command;
    auto holder = std::make_shared<MenuItem>("Edit", platform::ui::Selector{}, "");
    holder->setSubmenu(sub);
    root->addItem(holder);

    struct Case {
        Shortcut shortcut;
        std::string title; // empty: none
    };
    const Case cases[] = {
        {Shortcut(Key::k, command | shift), "Upper K"},
        {Shortcut(Key::k, command), "Keep"},
        {Shortcut(Key::k, command | option), ""},
        {Shortcut(Key::keypad5, command), ""}, // no key equivalent matches nothing
    };
    for (const auto& c : cases) {
        auto found = c.shortcut.menuItemWithMatchingShortcut(*root);
        EXPECT_EQ(found ? found->title : "", c.title) << c.shortcut.presentableDescription();
    }
    // The same search without the top item: ⌘K finds nothing in the submenu.
    auto onlySub = Menu::make("Only");
    auto holder2 = std::make_shared<MenuItem>("Edit", platform::ui::Selector{}, "");
    holder2->setSubmenu(sub->copy());
    onlySub->addItem(holder2);
    EXPECT_EQ(Shortcut(Key::k, command).menuItemWithMatchingShortcut(*onlySub), nullptr);
    EXPECT_NE(Shortcut(Key::k, command | shift).menuItemWithMatchingShortcut(*onlySub), nullptr);
}

TEST_F(ShortcutValueTest, MissingShortcutsBundleLogsOnceAndUsesBuiltInEnglish) {
    platform::BundleControl::setResourceDirectory(std::filesystem::path(TILMORA_SOURCE_DIR) /
                                                  "no-such-folder");
    testing::internal::CaptureStdout();
    EXPECT_EQ(Shortcut(Key::space, command).presentableDescription(), "\u2318Space");
    EXPECT_EQ(ShortcutsBundle::module().localizedString("ok"), "OK");
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "GlobalShortcuts: unable to find bundle named GlobalShortcuts; "
                   "using the built-in English texts\n");
    EXPECT_FALSE(ShortcutsBundle::module().bundlePath());
}

TEST_F(ShortcutValueTest, BundledTableHasEveryBuiltInText) {
    ASSERT_TRUE(ShortcutsBundle::module().bundlePath());
    for (const auto& [key, text] : ShortcutsBundle::builtInEnglishTexts().strings)
        EXPECT_EQ(ShortcutsBundle::module().localizedString(key), text) << key;
    EXPECT_EQ(ShortcutsBundle::module().localizedString("unknown_key"), "unknown_key");
}

} // namespace
