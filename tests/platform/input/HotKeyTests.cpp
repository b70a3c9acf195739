#include "support/InputTestSupport.hpp"
#include "platform/input/CarbonHotKeys.hpp"
#include "platform/input/SymbolicHotKeys.hpp"

#include <gtest/gtest.h>

using namespace platform;

namespace {

constexpr OSType kSignature = fourCharCode("QVHK");
constexpr std::uint32_t kCtrlOpt = controlKey | optionKey; // 6144
constexpr std::uint16_t kLeft = 123;

struct Seen {
    UInt32 kind = 0;
    UInt32 id = 0;
    OSType signature = 0;
    std::optional<NSEvent> current;
};

class HotKeyTest : public InputTest {
protected:
    /// Installs a handler on the dispatcher target that records hot-key and raw-key events.
    EventHandlerRef installRecorder(std::vector<EventTypeSpec> types, OSStatus answer = noErr) {
        EventHandlerRef ref;
        auto proc = [this, answer](EventHandlerCallRef, EventRef event, void*) -> OSStatus {
            Seen s;
            s.kind = GetEventKind(event);
            EventHotKeyID hk;
            if (GetEventParameter(event, kEventParamDirectObject, typeEventHotKeyID, nullptr, sizeof hk,
                                  nullptr, &hk) == noErr) {
                s.id = hk.id;
                s.signature = hk.signature;
            }
            s.current = EventQueue::shared().currentEvent();
            seen.push_back(s);
            return answer;
        };
        EXPECT_EQ(InstallEventHandler(GetEventDispatcherTarget(), proc, types, nullptr, &ref), noErr);
        return ref;
    }
    EventHotKeyRef registerChord(std::uint32_t code, std::uint32_t mods, std::uint32_t id,
                                 OSStatus expected = noErr) {
        EventHotKeyRef ref;
        EXPECT_EQ(RegisterEventHotKey(code, mods, {kSignature, id}, GetEventDispatcherTarget(), 0, &ref),
                  expected);
        return ref;
    }
    std::vector<Seen> seen;
    const std::vector<EventTypeSpec> hotKeyTypes{{kEventClassKeyboard, kEventHotKeyPressed},
                                                 {kEventClassKeyboard, kEventHotKeyReleased}};
    const std::vector<EventTypeSpec> rawTypes{{kEventClassKeyboard, kEventRawKeyDown},
                                              {kEventClassKeyboard, kEventRawKeyUp}};
};

TEST_F(HotKeyTest, RegisteredChordFiresPressAndReleaseWithItsId) {
    installRecorder(hotKeyTypes);
    registerChord(kLeft, kCtrlOpt, 7);
    std::vector<NSEvent> global;
    auto monitor = NSEvent::addGlobalMonitorForEvents(EventTypeMask::any,
                                                      [&](const NSEvent& e) { global.push_back(e); });

    input().keyDown(kLeft, ModifierFlags::control | ModifierFlags::option);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].kind, 5u); // hot key pressed
    EXPECT_EQ(seen[0].id, 7u);
    EXPECT_EQ(seen[0].signature, kSignature);
    ASSERT_TRUE(seen[0].current);
    EXPECT_EQ(seen[0].current->type, EventType::systemDefined);
    EXPECT_EQ(seen[0].current->subtype, 6);
    input().keyDown(kLeft, ModifierFlags::control | ModifierFlags::option); // auto-repeat: nothing more
    input().keyUp(kLeft, ModifierFlags::control | ModifierFlags::option);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].kind, 6u); // hot key released
    EXPECT_EQ(seen[1].id, 7u);

    // The chord reached nobody as a key event.
    for (const auto& e : global)
        EXPECT_NE(e.type, EventType::keyDown);
    for (const auto& e : others)
        EXPECT_NE(e.type, EventType::keyDown);
    EXPECT_FALSE(EventQueue::shared().currentEvent());
}

TEST_F(HotKeyTest, ChordHeldByAnotherApplicationIsRefusedAndSaysSo) {
    installRecorder(hotKeyTypes);
    input().holdHotKeyByOtherApplication(kLeft, kCtrlOpt);
    EventHotKeyRef ref{99};
    EXPECT_EQ(RegisterEventHotKey(kLeft, kCtrlOpt, {kSignature, 1}, GetEventDispatcherTarget(), 0, &ref),
              eventHotKeyExistsErr);
    EXPECT_FALSE(ref);
    EXPECT_EQ(carbonStatusDescription(eventHotKeyExistsErr), "already held by another application");
    input().press({kLeft, ModifierFlags::control | ModifierFlags::option});
    EXPECT_TRUE(seen.empty());
    // Other chords of the same key are free.
    registerChord(kLeft, kCtrlOpt | shiftKey, 2);
    input().releaseHotKeyOfOtherApplication(kLeft, kCtrlOpt);
    registerChord(kLeft, kCtrlOpt, 3);
}

struct MatchCase {
    const char* name;
    std::uint32_t registered;
    ModifierFlags pressed;
    bool fires;
};

TEST_F(HotKeyTest, PressMatchesTheRegisteredModifiersOnly) {
    const ModifierFlags co = ModifierFlags::control | ModifierFlags::option;
    const MatchCase cases[] = {
        {"exact", kCtrlOpt, co, true},
        {"extra shift", kCtrlOpt, co | ModifierFlags::shift, false},
        {"missing option", kCtrlOpt, ModifierFlags::control, false},
        {"caps lock ignored", kCtrlOpt, co | ModifierFlags::capsLock, true},
        {"fn held but not registered", kCtrlOpt, co | ModifierFlags::function, true},
        {"fn registered and held", kCtrlOpt | kEventKeyModifierFnMask, co | ModifierFlags::function, true},
        {"fn registered not held", kCtrlOpt | kEventKeyModifierFnMask, co, false},
        {"caps bit in registration ignored", kCtrlOpt | alphaLock, co, true},
    };
    installRecorder(hotKeyTypes);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        seen.clear();
        auto ref = registerChord(kLeft, c.registered, 1);
        input().press({kLeft, c.pressed});
        EXPECT_EQ(seen.size(), c.fires ? 2u : 0u);
        EXPECT_EQ(UnregisterEventHotKey(ref), noErr);
    }
}

TEST_F(HotKeyTest, UnregisterStopsDeliveryAndRefusesNullOrStaleReferences) {
    installRecorder(hotKeyTypes);
    auto ref = registerChord(kLeft, kCtrlOpt, 1);
    EXPECT_EQ(UnregisterEventHotKey(EventHotKeyRef{}), eventHotKeyInvalidErr);
    EXPECT_EQ(UnregisterEventHotKey(ref), noErr);
    EXPECT_EQ(UnregisterEventHotKey(ref), eventHotKeyInvalidErr);
    input().press({kLeft, ModifierFlags::control | ModifierFlags::option});
    EXPECT_TRUE(seen.empty());
    ASSERT_FALSE(others.empty()); // the press went to the frontmost application as keys
    EXPECT_EQ(others[1].type, EventType::keyDown);

    // Unregistered while held: the release is not sent.
    auto again = registerChord(kLeft, kCtrlOpt, 2);
    input().keyDown(kLeft, ModifierFlags::control | ModifierFlags::option);
    UnregisterEventHotKey(again);
    input().keyUp(kLeft, ModifierFlags::control | ModifierFlags::option);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].kind, kEventHotKeyPressed);
}

TEST_F(HotKeyTest, DuplicateRegistrationsFireTheOldestAndBadTargetsAreRefused) {
    installRecorder(hotKeyTypes);
    auto first = registerChord(kLeft, kCtrlOpt, 1);
    registerChord(kLeft, kCtrlOpt, 2);
    EXPECT_EQ(input().registeredHotKeys().size(), 2u);
    input().press({kLeft, ModifierFlags::control | ModifierFlags::option});
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].id, 1u);
    UnregisterEventHotKey(first);
    input().press({kLeft, ModifierFlags::control | ModifierFlags::option});
    EXPECT_EQ(seen[2].id, 2u);

    EventHotKeyRef ref;
    EXPECT_EQ(RegisterEventHotKey(kLeft, 0, {kSignature, 3}, EventTargetRef{}, 0, &ref), paramErr);
    EXPECT_EQ(RegisterEventHotKey(kLeft, 0, {kSignature, 3}, GetEventDispatcherTarget(), 0, nullptr),
              paramErr);
}

TEST_F(HotKeyTest, HandlersRunNewestFirstAndPassOnWhatTheyDoNotHandle) {
    std::vector<std::string> order;
    EventHandlerRef older, newer;
    InstallEventHandler(
        GetEventDispatcherTarget(),
        [&](EventHandlerCallRef, EventRef, void* user) {
            order.push_back(std::string("older:") + static_cast<const char*>(user));
            return noErr;
        },
        hotKeyTypes, const_cast<char*>("u"), &older);
    InstallEventHandler(
        GetEventDispatcherTarget(),
        [&](EventHandlerCallRef call, EventRef event, void*) {
            order.push_back("newer");
            return CallNextEventHandler(call, event) == noErr ? eventNotHandledErr : noErr;
        },
        hotKeyTypes, nullptr, &newer);
    registerChord(kLeft, kCtrlOpt, 1);
    input().keyDown(kLeft, ModifierFlags::control | ModifierFlags::option);
    // The newer handler called the older one, then said "not handled", so the older runs again.
    EXPECT_EQ(order, (std::vector<std::string>{"newer", "older:u", "older:u"}));

    // Without the event types, a handler is not called; a removed handler neither.
    order.clear();
    EXPECT_EQ(RemoveEventTypesFromHandler(older, {{kEventClassKeyboard, kEventHotKeyReleased}}), noErr);
    EXPECT_EQ(RemoveEventHandler(newer), noErr);
    EXPECT_EQ(RemoveEventHandler(newer), paramErr);
    EXPECT_EQ(AddEventTypesToHandler(newer, hotKeyTypes), paramErr);
    input().keyUp(kLeft, ModifierFlags::control | ModifierFlags::option);
    EXPECT_TRUE(order.empty());
    EXPECT_EQ(SendEventToEventTarget(CreateEvent(kEventClassKeyboard, kEventHotKeyReleased),
                                     GetEventDispatcherTarget()),
              eventNotHandledErr);
}

TEST_F(HotKeyTest, RawKeyEventsReachHandlersWhenKeysGoToTheProgram) {
    programIsFrontmost(true);
    auto ref = installRecorder(rawTypes, eventNotHandledErr);
    std::vector<NSEvent> local;
    auto monitor = NSEvent::addLocalMonitorForEvents(EventTypeMask::keyDown | EventTypeMask::keyUp,
                                                     [&](const NSEvent& e) -> std::optional<NSEvent> {
                                                         local.push_back(e);
                                                         return e;
                                                     });
    input().press({kLeft, ModifierFlags::control | ModifierFlags::option});
    settle();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].kind, 1u); // raw key down
    EXPECT_EQ(seen[1].kind, 3u); // raw key up
    // Not handled: the key events went on, carrying the Carbon event with key code and modifiers.
    ASSERT_EQ(local.size(), 2u);
    UInt32 code = 0, mods = 0;
    ASSERT_EQ(GetEventParameter(local[0].eventRef, kEventParamKeyCode, typeUInt32, nullptr, sizeof code,
                                nullptr, &code),
              noErr);
    ASSERT_EQ(GetEventParameter(local[0].eventRef, kEventParamKeyModifiers, typeUInt32, nullptr, sizeof mods,
                                nullptr, &mods),
              noErr);
    EXPECT_EQ(code, kLeft);
    EXPECT_EQ(mods, kCtrlOpt); // the arrow's implied function flag is not a held modifier
    EXPECT_EQ(local[0].modifierFlags, ModifierFlags::control | ModifierFlags::option |
                                          ModifierFlags::function | ModifierFlags::numericPad);
    EXPECT_EQ(program.size(), 4u); // flags changed, down, up, flags changed

    // Handled: nothing goes further.
    RemoveEventHandler(ref);
    seen.clear();
    local.clear();
    installRecorder(rawTypes, noErr);
    input().press({0, {}});
    settle();
    EXPECT_EQ(seen.size(), 2u);
    EXPECT_TRUE(local.empty());
}

TEST_F(HotKeyTest, EventParametersAreTypeAndSizeChecked) {
    auto event = CreateEvent(kEventClassKeyboard, kEventRawKeyDown);
    const UInt32 code = 5;
    event->setParameter(kEventParamKeyCode, typeUInt32, &code, sizeof code);
    UInt32 out = 0;
    std::uint16_t small = 0;
    EventParamType actualType = 0;
    std::size_t actualSize = 0;
    EXPECT_EQ(
        GetEventParameter(event, kEventParamKeyCode, typeUInt32, &actualType, sizeof out, &actualSize, &out),
        noErr);
    EXPECT_EQ(out, 5u);
    EXPECT_EQ(actualType, typeUInt32);
    EXPECT_EQ(actualSize, 4u);
    EXPECT_EQ(GetEventParameter(event, kEventParamKeyCode, typeEventHotKeyID, nullptr, 8, nullptr, &out),
              eventParameterNotFoundErr);
    EXPECT_EQ(GetEventParameter(event, kEventParamKeyModifiers, typeUInt32, nullptr, 4, nullptr, &out),
              eventParameterNotFoundErr);
    EXPECT_EQ(
        GetEventParameter(event, kEventParamKeyCode, typeUInt32, nullptr, sizeof small, nullptr, &small),
        paramErr);
    EXPECT_EQ(GetEventParameter(nullptr, kEventParamKeyCode, typeUInt32, nullptr, 4, nullptr, &out),
              paramErr);
    EXPECT_EQ(GetEventKind(nullptr), 0u);
    EXPECT_EQ(kEventClassKeyboard, 0x6B657962u);
}

TEST_F(HotKeyTest, SymbolicHotKeysListTheReservedChords) {
    PropertyValue list;
    ASSERT_EQ(CopySymbolicHotKeys(&list), noErr);
    ASSERT_TRUE(list.isArray());
    bool spotlight = false, switchedOff = false;
    for (const auto& entry : *list.asArray()) {
        const auto& d = *entry.asDictionary();
        const bool enabled = *d.at(kHISymbolicHotKeyEnabled).asBool();
        const auto code = *d.at(kHISymbolicHotKeyCode).asInteger();
        const auto mods = *d.at(kHISymbolicHotKeyModifiers).asInteger();
        if (code == 49 && mods == cmdKey && enabled) spotlight = true;
        if (!enabled) switchedOff = true;
    }
    EXPECT_TRUE(spotlight);
    EXPECT_TRUE(switchedOff);

    input().setSymbolicHotKeys({{true, 0, cmdKey}});
    ASSERT_EQ(CopySymbolicHotKeys(&list), noErr);
    EXPECT_EQ(list.asArray()->size(), 1u);
    input().setSymbolicHotKeysAnswer(PropertyValue("not a list"));
    ASSERT_EQ(CopySymbolicHotKeys(&list), noErr);
    EXPECT_TRUE(list.isString());
    input().setSymbolicHotKeysAnswer(PropertyValue(), paramErr);
    EXPECT_EQ(CopySymbolicHotKeys(&list), paramErr);
    EXPECT_EQ(CopySymbolicHotKeys(nullptr), paramErr);
    input().resetSymbolicHotKeys();
    ASSERT_EQ(CopySymbolicHotKeys(&list), noErr);
    EXPECT_GT(list.asArray()->size(), 5u);
}

} // namespace
