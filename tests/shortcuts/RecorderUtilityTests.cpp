#include "RecorderTestSupport.hpp"
#include "platform/control/ProcessInfoControl.hpp"
#include "platform/input/ProcessInfo.hpp"
#include "platform/ui/Alert.hpp"
#include "platform/ui/MenuItem.hpp"
#include "shortcuts/AlertPresentation.hpp"
#include "shortcuts/Constants.hpp"
#include "shortcuts/KeyEquivalentConversion.hpp"
#include "shortcuts/LocalEventMonitor.hpp"
#include "shortcuts/MenuItemShortcut.hpp"
#include "shortcuts/ObjectAssociation.hpp"
#include "shortcuts/Registry.hpp"

#include <gtest/gtest.h>

using namespace tilmora::GlobalShortcuts;
using platform::ModifierFlags;
using platform::ui::AlertResponse;
using platform::ui::UISimulator;
namespace decl = platform::ui::declarative;

namespace {

using RecorderUtilityTest = RecorderFixture;

TEST_F(RecorderUtilityTest, ReleasingAStartedMonitorRemovesItOnly) {
    int seen = 0;
    auto other = platform::NSEvent::addLocalMonitorForEvents(platform::EventTypeMask::keyDown,
                                                             [&](const platform::NSEvent& e) {
                                                                 ++seen;
                                                                 return std::optional(e);
                                                             });
    std::shared_ptr<platform::EventMonitor> installed;
    {
        LocalEventMonitor started(platform::EventTypeMask::keyDown, [](const platform::NSEvent&) {
            return std::optional<platform::NSEvent>(); // swallows
        });
        EXPECT_FALSE(started.monitor());
        started.start();
        installed = started.monitor();
        ASSERT_TRUE(installed);
        EXPECT_TRUE(installed->isActive());
        EXPECT_TRUE(installed->isLocal());
        EXPECT_EQ(installed->mask(), platform::EventTypeMask::keyDown);
        press(37);
        EXPECT_EQ(programKeyDowns(37), 0u);
    }
    EXPECT_FALSE(installed->isActive());
    { LocalEventMonitor unstarted(platform::EventTypeMask::keyDown, nullptr); }
    EXPECT_TRUE(other->isActive());
    press(37);
    EXPECT_EQ(programKeyDowns(37), 1u);
    EXPECT_EQ(seen, 2);
    platform::NSEvent::removeMonitor(other);
}

TEST_F(RecorderUtilityTest, AnAlertRunsModallyOrAsASheetOfTheWindow) {
    struct Case {
        bool withWindow;
    };
    for (const Case c : {Case{false}, Case{true}}) {
        auto alert = std::make_shared<platform::ui::Alert>();
        alert->messageText = c.withWindow ? "sheet" : "modal";
        alert->addButton("One");
        alert->addButton("Two");
        UISimulator::scriptAlertResponse(AlertResponse::press(1));
        const long response = runModal(*alert, c.withWindow ? window.get() : nullptr);
        EXPECT_EQ(response, 1001) << c.withWindow;
        ASSERT_FALSE(UISimulator::alertLog().empty());
        const auto& shown = UISimulator::alertLog().back();
        EXPECT_EQ(shown.messageText, alert->messageText);
        EXPECT_EQ(shown.asSheet, c.withWindow);
        EXPECT_TRUE(shown.scripted);
        EXPECT_FALSE(window->attachedSheet());
    }
}

TEST_F(RecorderUtilityTest, TheSandboxIsTheContainerVariableFoundOnce) {
    EXPECT_FALSE(platform::ProcessInfo::processInfo().environment("APP_SANDBOX_CONTAINER_ID"));
    EXPECT_FALSE(Constants::isSandboxed());
    platform::ProcessInfoControl::setEnvironmentValue("APP_SANDBOX_CONTAINER_ID", "");
    EXPECT_EQ(platform::ProcessInfo::processInfo().environment("APP_SANDBOX_CONTAINER_ID"), "");
    EXPECT_FALSE(Constants::isSandboxed()); // found once, before the variable was set
    resetSharedInstances();
    EXPECT_FALSE(platform::ProcessInfo::processInfo().environment("APP_SANDBOX_CONTAINER_ID"));
    platform::ProcessInfoControl::setEnvironmentValue("APP_SANDBOX_CONTAINER_ID", ""); // any value counts
    EXPECT_TRUE(Constants::isSandboxed());
}

TEST_F(RecorderUtilityTest, ChordsTakeTheirDeclarativeForm) {
    struct Case {
        const char* what;
        Shortcut shortcut;
        platform::OperatingSystemVersion os;
        std::optional<decl::KeyboardShortcut> expected;
    };
    using L = decl::KeyboardShortcut::Localization;
    const auto ctrlOptMods = decl::EventModifiers::control | decl::EventModifiers::option;
    const Case cases[] = {
        {"control option left",
         Shortcut(Key::leftArrow, ctrlOpt),
         {15, 3, 0},
         decl::KeyboardShortcut{decl::KeyEquivalent::leftArrow, ctrlOptMods, L::custom}},
        {"command shift k",
         Shortcut(Key::k, ModifierFlags::command | ModifierFlags::shift),
         {12, 0, 0},
         decl::KeyboardShortcut{decl::KeyEquivalent(U'k'),
                                decl::EventModifiers::command | decl::EventModifiers::shift, L::custom}},
        {"before 12: automatic",
         Shortcut(Key::k, ModifierFlags::command),
         {11, 7, 0},
         decl::KeyboardShortcut{decl::KeyEquivalent(U'k'), decl::EventModifiers::command, L::automatic}},
        {"F1",
         Shortcut(Key::f1, ModifierFlags()),
         {15, 3, 0},
         decl::KeyboardShortcut{decl::KeyEquivalent(U'\xF704'), decl::EventModifiers(), L::custom}},
        {"F20 with function",
         Shortcut(Key::f20, ModifierFlags::function),
         {15, 3, 0},
         decl::KeyboardShortcut{decl::KeyEquivalent(U'\xF717'), function_nonDeprecated, L::custom}},
        {"help",
         Shortcut(Key::help, ModifierFlags::command),
         {15, 3, 0},
         decl::KeyboardShortcut{decl::KeyEquivalent(U'\xF746'), decl::EventModifiers::command, L::custom}},
        {"space",
         Shortcut(Key::space, ctrlOpt),
         {15, 3, 0},
         decl::KeyboardShortcut{decl::KeyEquivalent::space, ctrlOptMods, L::custom}},
        {"keypad 5", Shortcut(Key::keypad5, ctrlOpt), {15, 3, 0}, std::nullopt},
        {"unmapped key 999", Shortcut(999, 6144), {15, 3, 0}, std::nullopt},
    };
    for (const auto& c : cases) {
        input().setOperatingSystemVersion(c.os);
        EXPECT_EQ(toSwiftUI(c.shortcut), c.expected) << c.what;
    }
    input().setKeyboardLayoutAvailable(false);
    EXPECT_EQ(toSwiftUI(Shortcut(Key::k, ModifierFlags::command)), std::nullopt);
    EXPECT_TRUE(toSwiftUI(Shortcut(Key::leftArrow, ModifierFlags::command)));
}

TEST_F(RecorderUtilityTest, EventFlagsMapToDeclarativeModifiers) {
    const auto all = ModifierFlags::capsLock | ModifierFlags::shift | ModifierFlags::control |
                     ModifierFlags::option | ModifierFlags::command | ModifierFlags::numericPad |
                     ModifierFlags::function | ModifierFlags::help | ModifierFlags(0x1);
    EXPECT_EQ(toEventModifiers(all).rawValue, 127);
    EXPECT_EQ(toEventModifiers(ModifierFlags::function), function_nonDeprecated);
    EXPECT_EQ(toEventModifiers(ModifierFlags::help | ModifierFlags(0x8)).rawValue, 0);
}

class MenuItemShortcutTest : public RecorderFixture {
protected:
    static std::shared_ptr<platform::ui::MenuItem> item() {
        return platform::ui::MenuItem::make("Item", "act:", "x");
    }
};

TEST_F(MenuItemShortcutTest, AnItemBoundToANameFollowsItsChord) {
    const Name name("menu-bound");
    setShortcut(Shortcut(Key::leftArrow, ctrlOpt), name);
    auto bound = item();
    setShortcutForName(bound, name);
    EXPECT_EQ(bound->keyEquivalent, "←");
    EXPECT_EQ(bound->keyEquivalentModifierMask, ctrlOpt);
    EXPECT_FALSE(bound->allowsAutomaticKeyEquivalentLocalization);

    setShortcut(std::nullopt, name);
    EXPECT_EQ(bound->keyEquivalent, "←"); // applied on the main queue
    settle();
    EXPECT_EQ(bound->keyEquivalent, "");
    EXPECT_EQ(bound->keyEquivalentModifierMask, ModifierFlags());
    EXPECT_TRUE(bound->allowsAutomaticKeyEquivalentLocalization);

    setShortcut(Shortcut(Key::k, ModifierFlags::command | ModifierFlags::shift), name);
    settle();
    EXPECT_EQ(bound->keyEquivalent, "k");
    EXPECT_EQ(bound->keyEquivalentModifierMask, ModifierFlags::command | ModifierFlags::shift);
}

TEST_F(MenuItemShortcutTest, ChordsWithoutAMenuKeyEquivalentKeepTheirModifiers) {
    struct Case {
        const char* what;
        std::optional<Shortcut> shortcut;
        platform::OperatingSystemVersion os;
        std::string key;
        ModifierFlags mask;
        bool automatic;
    };
    const Case cases[] = {
        {"keypad", Shortcut(Key::keypad5, ctrlOpt), {15, 3, 0}, "", ctrlOpt, false},
        {"space",
         Shortcut(Key::space, ModifierFlags::command),
         {15, 3, 0},
         " ",
         ModifierFlags::command,
         false},
        {"F2", Shortcut(Key::f2, ModifierFlags()), {15, 3, 0}, "\xEF\x9C\x85", ModifierFlags(), false},
        {"none", std::nullopt, {15, 3, 0}, "", ModifierFlags(), true},
        {"before 12 the flag stays",
         Shortcut(Key::k, ModifierFlags::command),
         {11, 0, 0},
         "k",
         ModifierFlags::command,
         true},
    };
    for (const auto& c : cases) {
        input().setOperatingSystemVersion(c.os);
        auto i = item();
        setShortcut(*i, c.shortcut);
        EXPECT_EQ(i->keyEquivalent, c.key) << c.what;
        EXPECT_EQ(i->keyEquivalentModifierMask, c.mask) << c.what;
        EXPECT_EQ(i->allowsAutomaticKeyEquivalentLocalization, c.automatic) << c.what;
    }
}

TEST_F(MenuItemShortcutTest, RebindingAndUnbindingReplaceTheObservation) {
    const Name a("menu-a"), b("menu-b");
    setShortcut(Shortcut(Key::a, ctrlOpt), a);
    setShortcut(Shortcut(Key::b, ctrlOpt), b);
    auto i = item();
    setShortcutForName(i, a);
    setShortcutForName(i, b);
    EXPECT_EQ(i->keyEquivalent, "b");
    setShortcut(Shortcut(Key::c, ctrlOpt), a);
    settle();
    EXPECT_EQ(i->keyEquivalent, "b");
    setShortcut(Shortcut(Key::d, ctrlOpt), b);
    settle();
    EXPECT_EQ(i->keyEquivalent, "d");

    setShortcutForName(i, std::nullopt);
    EXPECT_FALSE(isBoundToName(i));
    EXPECT_EQ(i->keyEquivalent, "");
    setShortcut(Shortcut(Key::e, ctrlOpt), b);
    settle();
    EXPECT_EQ(i->keyEquivalent, "");

    auto never = item();
    never->keyEquivalentModifierMask = ModifierFlags::command | ModifierFlags::shift;
    setShortcutForName(never, std::nullopt);
    EXPECT_EQ(never->keyEquivalent, "");
    EXPECT_EQ(never->keyEquivalentModifierMask, ModifierFlags());
    EXPECT_TRUE(never->allowsAutomaticKeyEquivalentLocalization);
    EXPECT_FALSE(isBoundToName(never));
}

TEST_F(MenuItemShortcutTest, AnItemThatGoesTakesItsObservationAlong) {
    const Name name("menu-gone");
    auto i = item();
    setShortcutForName(i, name);
    ASSERT_TRUE(isBoundToName(i));
    std::weak_ptr<platform::ui::MenuItem> weak = i;
    i.reset();
    EXPECT_TRUE(weak.expired());
    setShortcut(Shortcut(Key::k, ctrlOpt), name); // nobody to update; nothing breaks
    settle();
    // The next binding sweeps the entry of the item that went.
    auto next = item();
    setShortcutForName(next, name);
    EXPECT_EQ(next->keyEquivalent, "k");
}

struct Thing {
    int n = 0;
};

TEST(ObjectAssociationTest, EachAssociationIsItsOwnSlotAndGoesWithTheObject) {
    ObjectAssociation<int> first;
    ObjectAssociation<std::string> second(AssociationPolicy::copy);
    auto object = std::make_shared<Thing>();
    auto another = std::make_shared<Thing>();
    first.set(object, 1);
    second.set(object, std::string("one"));
    first.set(another, 2);
    EXPECT_EQ(first.get(object), 1);
    EXPECT_EQ(second.get(object), "one");
    EXPECT_EQ(first.get(another), 2);
    EXPECT_EQ(second.get(another), std::nullopt);
    first.set(object, std::nullopt);
    EXPECT_EQ(first.get(object), std::nullopt);
    EXPECT_EQ(second.get(object), "one");

    // A new object at the address of one that went does not inherit its value.
    EXPECT_EQ(first.count(), 1u);
    another.reset();
    EXPECT_EQ(first.count(), 0u);
    auto reused = std::make_shared<Thing>();
    EXPECT_EQ(first.get(reused), std::nullopt);
}

TEST(ObjectAssociationTest, AssignHoldsAPointerValueWeakly) {
    struct Case {
        AssociationPolicy policy;
        bool keepsValue;
    };
    for (const Case c :
         {Case{AssociationPolicy::assign, false}, Case{AssociationPolicy::retainNonatomic, true},
          Case{AssociationPolicy::retain, true}, Case{AssociationPolicy::copyNonatomic, true}}) {
        ObjectAssociation<std::shared_ptr<Thing>> slot(c.policy);
        auto object = std::make_shared<Thing>();
        auto value = std::make_shared<Thing>();
        value->n = 7;
        slot.set(object, value);
        ASSERT_TRUE(slot.get(object)) << unsigned(c.policy);
        EXPECT_EQ((*slot.get(object))->n, 7);
        std::weak_ptr<Thing> weak = value;
        value.reset();
        EXPECT_EQ(!weak.expired(), c.keepsValue) << unsigned(c.policy);
        EXPECT_EQ(slot.get(object).has_value(), c.keepsValue) << unsigned(c.policy);
    }
    EXPECT_EQ(unsigned(AssociationPolicy::retain), 769u);
    EXPECT_EQ(unsigned(AssociationPolicy::copy), 771u);
}

} // namespace
