#include "support/LogReading.hpp"
#include "ShortcutTestSupport.hpp"
#include "platform/control/UISimulator.hpp"
#include "platform/dispatch/RunLoop.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "platform/input/CarbonEventHandlers.hpp"
#include "platform/input/EventQueue.hpp"
#include "platform/ui/Menu.hpp"
#include "platform/ui/MenuTracking.hpp"
#include "shortcuts/CarbonHotKeys.hpp"
#include "shortcuts/Registry.hpp"

#include <gtest/gtest.h>

using namespace tilmora::GlobalShortcuts;
using platform::ModifierFlags;

namespace {

class HotKeyEngineTest : public ShortcutTest, protected testsupport::LogReading {
protected:
    CarbonHotKeys& engine() { return CarbonHotKeys::shared(); }
    std::vector<std::uint32_t> recordIds() {
        std::vector<std::uint32_t> ids;
        for (const auto& r : engine().records())
            ids.push_back(r.carbonHotKeyId);
        return ids;
    }
    std::vector<std::uint32_t> systemIds() {
        std::vector<std::uint32_t> ids;
        for (const auto& r : input().registeredHotKeys())
            ids.push_back(r.id);
        return ids;
    }
    void registerCounting(const Shortcut& s) {
        engine().registerShortcut(
            s, [this](const Shortcut& fired) { downs.push_back(fired); },
            [this](const Shortcut& fired) { ups.push_back(fired); });
    }
    static platform::OSStatus sendRaw(platform::UInt32 kind, platform::UInt32 code, platform::UInt32 mods) {
        auto event = platform::CreateEvent(platform::kEventClassKeyboard, kind);
        event->setParameter(platform::kEventParamKeyCode, platform::typeUInt32, &code, sizeof code);
        event->setParameter(platform::kEventParamKeyModifiers, platform::typeUInt32, &mods, sizeof mods);
        return platform::SendEventToEventTarget(event, platform::GetEventDispatcherTarget());
    }
    static platform::OSStatus sendHotKey(platform::OSType signature, platform::UInt32 id) {
        auto event = platform::CreateEvent(platform::kEventClassKeyboard, platform::kEventHotKeyPressed);
        const platform::EventHotKeyID hk{signature, id};
        event->setParameter(platform::kEventParamDirectObject, platform::typeEventHotKeyID, &hk, sizeof hk);
        return platform::SendEventToEventTarget(event, platform::GetEventDispatcherTarget());
    }

    std::vector<Shortcut> downs, ups;
};

TEST_F(HotKeyEngineTest, IdsCountUpAndARefusedChordUsesOneAndLogs) {
    registerCounting(ctrlOptLeft);
    registerCounting(ctrlOptH);
    input().holdHotKeyByOtherApplication(5, 6144);
    testing::internal::CaptureStdout();
    registerCounting(ctrlOptG);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Error registering hotkey \u2303\u2325G: -9878\n");
    EXPECT_EQ(countContaining(lines(), "Error registering hotkey"), 0u) << "standard output alone";
    registerCounting(ctrlOptJ);
    EXPECT_EQ(recordIds(), (std::vector<std::uint32_t>{1, 2, 4}));
    EXPECT_EQ(systemIds(), (std::vector<std::uint32_t>{1, 2, 4}));

    EXPECT_EQ(sendHotKey(platform::fourCharCode("ABCD"), 1), platform::eventNotHandledErr);
    EXPECT_EQ(sendHotKey(CarbonHotKeys::signature, 3), platform::eventNotHandledErr);
    EXPECT_TRUE(downs.empty());
    EXPECT_EQ(sendHotKey(CarbonHotKeys::signature, 4), platform::noErr);
    EXPECT_EQ(downs, std::vector<Shortcut>{ctrlOptJ});
}

TEST_F(HotKeyEngineTest, DisablingSoftUnregistersAndEnablingRestoresTheSameIds) {
    registerCounting(ctrlOptLeft);
    registerCounting(ctrlOptH);
    setEnabled(false);
    EXPECT_TRUE(input().registeredHotKeys().empty());
    EXPECT_EQ(recordIds(), (std::vector<std::uint32_t>{1, 2}));
    for (const auto& r : engine().records())
        EXPECT_FALSE(r.isRegistered);
    input().press(*platform::KeyChord::parse("ctrl+opt+left"));
    EXPECT_TRUE(downs.empty());

    // A chord another application took meanwhile is dropped at re-registration.
    input().holdHotKeyByOtherApplication(4, 6144);
    testing::internal::CaptureStdout();
    setEnabled(true);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Error registering hotkey \u2303\u2325H: -9878\n");
    EXPECT_EQ(systemIds(), std::vector<std::uint32_t>{1});
    EXPECT_EQ(recordIds(), std::vector<std::uint32_t>{1});
    input().press(*platform::KeyChord::parse("ctrl+opt+left"));
    EXPECT_EQ(downs, std::vector<Shortcut>{ctrlOptLeft});
    EXPECT_EQ(ups, std::vector<Shortcut>{ctrlOptLeft});
}

TEST_F(HotKeyEngineTest, CorruptStoredKeyCodeIsRefusedNotNarrowed) {
    struct Case {
        std::int64_t code;
        const char* log;
    };
    const Case cases[] = {
        {-1, "Error registering hotkey \u2303\u2325\uFFFD: -50\n"},
        {std::int64_t{1} << 32 | 123, "Error registering hotkey \u2303\u2325\uFFFD: -50\n"},
    };
    for (const auto& c : cases) {
        platform::UserDefaults::standard().set(
            platform::PropertyValue("{\"carbonKeyCode\":" + std::to_string(c.code) +
                                    ",\"carbonModifiers\":6144}"),
            "GlobalShortcuts_corrupt");
        const Name corrupt("corrupt");
        testing::internal::CaptureStdout();
        onKeyDown(corrupt, [] {});
        EXPECT_EQ(testing::internal::GetCapturedStdout(), c.log) << c.code;
        EXPECT_TRUE(engine().records().empty()) << c.code;
        EXPECT_TRUE(input().registeredHotKeys().empty()) << c.code;
        removeHandler(corrupt);
    }
}

TEST_F(HotKeyEngineTest, UnregisterRemovesEveryRecordOfTheChord) {
    registerCounting(ctrlOptG);
    registerCounting(ctrlOptG);
    registerCounting(ctrlOptH);
    engine().unregister(ctrlOptG);
    EXPECT_EQ(recordIds(), std::vector<std::uint32_t>{3});
    EXPECT_EQ(sendHotKey(CarbonHotKeys::signature, 1), platform::eventNotHandledErr);
}

TEST_F(HotKeyEngineTest, MenuOnSystem14DrainsQueuedKeysAndSwallowsOnlyRegisteredChords) {
    input().setOperatingSystemVersion({14, 0, 0});
    programIsFrontmost(true);
    input().setPointerGoesToProgram([](platform::CGPoint) { return true; });
    const Name left("left");
    left.setShortcut(ctrlOptLeft);
    int ran = 0;
    onKeyDown(left, [&] { ++ran; });
    EXPECT_EQ(systemIds(), std::vector<std::uint32_t>{1});

    auto menu = platform::ui::Menu::make("Status");
    menu->addItem("Item", {}, "");
    std::vector<std::uint32_t> idsWhileOpen{99};
    platform::ui::UISimulator::scriptMenuPick({{}, 0.1, [&](platform::ui::Menu&) {
                                                   idsWhileOpen = systemIds();
                                                   input().mouseDown();
                                                   input().keyDown(123, ctrlOpt);
                                                   input().keyDown(0, ModifierFlags());
                                               }});
    platform::ui::MenuTracking::track(menu);
    settle();

    EXPECT_TRUE(idsWhileOpen.empty());
    EXPECT_EQ(ran, 1);
    ASSERT_EQ(program.size(), 2u);
    EXPECT_EQ(program[0].type, platform::EventType::leftMouseDown);
    EXPECT_EQ(program[1].type, platform::EventType::keyDown);
    EXPECT_EQ(program[1].keyCode, 0);
    EXPECT_EQ(systemIds(), std::vector<std::uint32_t>{1});
    EXPECT_FALSE(isMenuOpen());
}

TEST_F(HotKeyEngineTest, MenuBelowSystem14MatchesRawKeyEvents) {
    input().setOperatingSystemVersion({13, 6, 0});
    const Name left("left");
    left.setShortcut(ctrlOptLeft);
    std::vector<std::string> ran;
    onKeyDown(left, [&] { ran.push_back("down"); });
    onKeyUp(left, [&] { ran.push_back("up"); });

    // No menu: raw events are not listened to.
    EXPECT_EQ(sendRaw(platform::kEventRawKeyDown, 123, 0x1800), platform::eventNotHandledErr);
    platform::NotificationCenter::defaultCenter().post(platform::ui::MenuDidBeginTrackingNotification);
    struct Case {
        platform::UInt32 kind, code, mods;
        platform::OSStatus status;
    };
    const Case cases[] = {
        {platform::kEventRawKeyDown, 123, 0x1800 | 0x400, platform::noErr}, // caps lock ignored
        {platform::kEventRawKeyUp, 123, 0x1800, platform::noErr},
        {platform::kEventRawKeyDown, 123, 0x1000, platform::eventNotHandledErr},
        {platform::kEventRawKeyDown, 124, 0x1800, platform::eventNotHandledErr},
    };
    for (const auto& c : cases)
        EXPECT_EQ(sendRaw(c.kind, c.code, c.mods), c.status) << c.kind << " " << c.code << " " << c.mods;
    EXPECT_EQ(ran, (std::vector<std::string>{"down", "up"}));
    EXPECT_EQ(sendHotKey(CarbonHotKeys::signature, 1), platform::eventNotHandledErr);

    platform::NotificationCenter::defaultCenter().post(platform::ui::MenuDidEndTrackingNotification);
    EXPECT_EQ(sendRaw(platform::kEventRawKeyDown, 123, 0x1800), platform::eventNotHandledErr);
    EXPECT_EQ(sendHotKey(CarbonHotKeys::signature, 1), platform::noErr);
}

TEST_F(HotKeyEngineTest, RunLoopMonitorPostsBackWhatItDoesNotSwallowInOrder) {
    auto& queue = platform::EventQueue::shared();
    const auto key = [](std::uint16_t code) {
        return platform::NSEvent::keyEvent(platform::EventType::keyDown, {}, {}, 0, 0, "", "", false, code);
    };
    queue.postEvent(platform::NSEvent::mouseEvent(platform::EventType::leftMouseDown, {}, {}, 0, 0, 1));
    queue.postEvent(key(1));
    queue.postEvent(key(2));
    queue.postEvent(platform::NSEvent::mouseEvent(platform::EventType::leftMouseUp, {}, {}, 0, 0, 1));
    RunLoopLocalEventMonitor monitor(platform::EventTypeMask::keyDown, platform::RunLoopMode::eventTracking,
                                     [](const platform::NSEvent& e) -> std::optional<platform::NSEvent> {
                                         if (e.keyCode == 1) return std::nullopt;
                                         return e;
                                     });
    platform::RunLoop::main().addObserver(monitor.observer, monitor.runLoopMode);
    platform::RunLoop::main().runFor(platform::RunLoopMode::eventTracking, 0.01);
    std::vector<std::pair<platform::EventType, int>> left;
    while (auto e = queue.nextEvent(platform::EventTypeMask::any))
        left.emplace_back(e->type, e->keyCode);
    EXPECT_EQ(left,
              (std::vector<std::pair<platform::EventType, int>>{{platform::EventType::leftMouseDown, 0},
                                                                {platform::EventType::keyDown, 2},
                                                                {platform::EventType::leftMouseUp, 0}}));
}

TEST_F(HotKeyEngineTest, SystemListsEnabledWellFormedChordsOnly) {
    const auto defaults = CarbonHotKeys::system();
    EXPECT_NE(std::find(defaults.begin(), defaults.end(), Shortcut(126, 4096)), defaults.end());
    EXPECT_EQ(std::find(defaults.begin(), defaults.end(), Shortcut(18, 4096)), defaults.end());

    using platform::PropertyDictionary;
    using platform::PropertyValue;
    const auto entry = [](PropertyValue enabled, PropertyValue code, PropertyValue mods) {
        return PropertyValue(PropertyDictionary{{"kHISymbolicHotKeyEnabled", enabled},
                                                {"kHISymbolicHotKeyCode", code},
                                                {"kHISymbolicHotKeyModifiers", mods}});
    };
    struct Case {
        const char* what;
        PropertyValue answer;
        platform::OSStatus status;
        std::vector<Shortcut> expected;
    };
    const Case cases[] = {
        {"code as text",
         PropertyValue(platform::PropertyArray{
             entry(PropertyValue(true), PropertyValue(std::string("49")), PropertyValue(256)),
             entry(PropertyValue(true), PropertyValue(49), PropertyValue(0x10100))}),
         platform::noErr,
         {Shortcut(49, 256)}},
        {"enabled as number",
         PropertyValue(
             platform::PropertyArray{entry(PropertyValue(1), PropertyValue(49), PropertyValue(256))}),
         platform::noErr,
         {}},
        {"not an array", PropertyValue(std::string("list")), platform::noErr, {}},
        {"call fails", PropertyValue(platform::PropertyArray{}), platform::paramErr, {}},
    };
    for (const auto& c : cases) {
        input().setSymbolicHotKeysAnswer(c.answer, c.status);
        EXPECT_EQ(CarbonHotKeys::system(), c.expected) << c.what;
    }
}

} // namespace
