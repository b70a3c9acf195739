#include "support/InputTestSupport.hpp"
#include "platform/control/SharedInstances.hpp"
#include "platform/dispatch/RunLoop.hpp"
#include "platform/dispatch/RunLoopObserver.hpp"
#include "platform/dispatch/Timer.hpp"
#include "platform/input/KeyChord.hpp"
#include "platform/input/NSEvent.hpp"

#include <gtest/gtest.h>

using namespace platform;

namespace {

using Flags = ModifierFlags;

TEST(EventValues, RawValuesMasksAndFlags) {
    const std::pair<EventType, std::uint32_t> types[] = {
        {EventType::leftMouseDown, 1},     {EventType::leftMouseUp, 2},     {EventType::rightMouseDown, 3},
        {EventType::rightMouseUp, 4},      {EventType::mouseMoved, 5},      {EventType::leftMouseDragged, 6},
        {EventType::rightMouseDragged, 7}, {EventType::keyDown, 10},        {EventType::keyUp, 11},
        {EventType::flagsChanged, 12},     {EventType::otherMouseDown, 25}, {EventType::otherMouseUp, 26},
        {EventType::otherMouseDragged, 27}};
    for (const auto& [type, raw] : types) {
        EXPECT_EQ(static_cast<std::uint32_t>(type), raw);
        EXPECT_EQ(EventTypeMask::of(type).rawValue, std::uint64_t{1} << raw);
    }
    EXPECT_EQ(EventTypeMask::leftMouseDragged.rawValue, 64u);
    EXPECT_EQ(EventTypeMask::leftMouseUp.rawValue, 4u);
    EXPECT_EQ((EventTypeMask::keyDown | EventTypeMask::keyUp).rawValue, 3072u);
    EXPECT_EQ((EventTypeMask::keyDown | EventTypeMask::leftMouseUp | EventTypeMask::rightMouseUp).rawValue,
              1044u);
    const std::pair<Flags, std::uint64_t> flags[] = {
        {Flags::capsLock, 0x10000}, {Flags::shift, 0x20000},    {Flags::control, 0x40000},
        {Flags::option, 0x80000},   {Flags::command, 0x100000}, {Flags::numericPad, 0x200000},
        {Flags::help, 0x400000},    {Flags::function, 0x800000}};
    for (const auto& [flag, raw] : flags)
        EXPECT_EQ(flag.rawValue, raw);
}

struct KeyEventCase {
    std::uint16_t code;
    Flags held;
    const char* characters;
    const char* ignoringModifiers;
    std::optional<SpecialKey> special;
    Flags implied;
};

TEST(EventValues, KeyEventsCarryTextSpecialKeyAndImpliedFlags) {
    const KeyEventCase cases[] = {
        {0, {}, "a", "a", std::nullopt, {}},
        {0, Flags::shift, "A", "A", std::nullopt, {}},
        {0, Flags::command, "a", "a", std::nullopt, {}},
        {0, Flags::option, "å", "a", std::nullopt, {}},
        {49, {}, " ", " ", std::nullopt, {}},
        {123, {}, "\uF702", "\uF702", SpecialKey::leftArrow, Flags::function | Flags::numericPad},
        {126, {}, "\uF700", "\uF700", SpecialKey::upArrow, Flags::function | Flags::numericPad},
        {122, {}, "\uF704", "\uF704", SpecialKey::f1, Flags::function},
        {90, {}, "\uF717", "\uF717", std::nullopt, Flags::function}, // F20: a function key character
        {51, {}, "\x7F", "\x7F", SpecialKey::deleteKey, {}},
        {117, {}, "\uF728", "\uF728", SpecialKey::deleteForward, Flags::function},
        {48, {}, "\t", "\t", SpecialKey::tab, {}},
        {36, {}, "\r", "\r", SpecialKey::carriageReturn, {}},
        {76, {}, "\x03", "\x03", SpecialKey::enter, Flags::numericPad},
        {87, {}, "5", "5", std::nullopt, Flags::numericPad},
        {115, {}, "\uF729", "\uF729", SpecialKey::home, Flags::function},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "key " << c.code);
        auto e = NSEvent::keyEvent(EventType::keyDown, {}, c.held | SimInput::impliedFlags(c.code), 0, 0,
                                   SimInput::charactersFor(c.code, c.held),
                                   SimInput::charactersFor(c.code, c.held & Flags::shift), false, c.code);
        EXPECT_EQ(e.characters, c.characters);
        EXPECT_EQ(e.charactersIgnoringModifiers, c.ignoringModifiers);
        if (c.code != 90) {
            EXPECT_EQ(e.specialKey(), c.special);
        }
        EXPECT_EQ(SimInput::impliedFlags(c.code), c.implied);
    }
    EXPECT_TRUE(functionSpecialKeys().contains(static_cast<SpecialKey>(0xF717)));
    EXPECT_EQ(functionSpecialKeys().size(), 35u);
    EXPECT_EQ(specialKeyForCharacter('a'), std::nullopt);
    // A mouse event has no special key whatever its text.
    auto mouse = NSEvent::mouseEvent(EventType::leftMouseDown, {}, {}, 0, 0, 1);
    mouse.characters = "\t";
    EXPECT_EQ(mouse.specialKey(), std::nullopt);
}

struct ChordCase {
    const char* text;
    std::optional<KeyChord> expected;
};

TEST(KeyChordParsing, AcceptsModifierWordsAndKeyNames) {
    const ChordCase cases[] = {
        {"ctrl+opt+left", KeyChord{123, Flags::control | Flags::option}},
        {"cmd+shift+f5", KeyChord{96, Flags::command | Flags::shift}},
        {"Control+Option+Command+Right", KeyChord{124, Flags::control | Flags::option | Flags::command}},
        {"a", KeyChord{0, {}}},
        {"alt+space", KeyChord{49, Flags::option}},
        {"fn+f12", KeyChord{111, Flags::function}},
        {"ctrl+opt+-", KeyChord{27, Flags::control | Flags::option}},
        {"ctrl+opt+minus", KeyChord{27, Flags::control | Flags::option}},
        {"keycode:999", KeyChord{999, {}}},
        {"ctrl+keypad5", KeyChord{87, Flags::control}},
        {"", std::nullopt},
        {"ctrl+", std::nullopt},
        {"+a", std::nullopt},
        {"ctrl+opt", std::nullopt},
        {"hyper+a", std::nullopt},
        {"a+b", std::nullopt},
        {"keycode:70000", std::nullopt},
        {"keycode:", std::nullopt},
        {"keycode:1x", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(KeyChord::parse(c.text), c.expected) << c.text;
    }
    EXPECT_EQ(KeyChord::parse("cmd+shift+ctrl+opt+up")->description(), "ctrl+opt+shift+cmd+up");
    EXPECT_EQ((KeyChord{999, {}}).description(), "keycode:999");
}

class EventRoutingTest : public InputTest {};

TEST_F(EventRoutingTest, LocalMonitorThatReturnsNothingSwallowsAKeyDown) {
    programIsFrontmost(true);
    int localCalls = 0;
    auto swallow = NSEvent::addLocalMonitorForEvents(EventTypeMask::keyDown,
                                                     [&](const NSEvent&) -> std::optional<NSEvent> {
                                                         ++localCalls;
                                                         return std::nullopt;
                                                     });
    std::vector<NSEvent> global;
    auto g = NSEvent::addGlobalMonitorForEvents(EventTypeMask::any,
                                                [&](const NSEvent& e) { global.push_back(e); });
    input().keyDown(0, {});
    input().keyUp(0, {});
    EXPECT_TRUE(program.empty()); // queued until the main run loop turns
    settle();
    EXPECT_EQ(localCalls, 1);
    ASSERT_EQ(program.size(), 1u); // only the key-up went on
    EXPECT_EQ(program[0].type, EventType::keyUp);
    EXPECT_TRUE(global.empty()); // never the program's own events
    EXPECT_TRUE(others.empty());

    // Once removed, the monitor swallows nothing.
    NSEvent::removeMonitor(swallow);
    NSEvent::removeMonitor(swallow);
    NSEvent::removeMonitor(nullptr);
    input().keyDown(0, {});
    settle();
    EXPECT_EQ(localCalls, 1);
    EXPECT_EQ(program.size(), 2u);
}

TEST_F(EventRoutingTest, GlobalMonitorsSeeOnlyOtherApplicationsEvents) {
    std::vector<NSEvent> global;
    std::vector<NSEvent> local;
    auto g = NSEvent::addGlobalMonitorForEvents(EventTypeMask::keyDown,
                                                [&](const NSEvent& e) { global.push_back(e); });
    auto l = NSEvent::addLocalMonitorForEvents(EventTypeMask::keyDown,
                                               [&](const NSEvent& e) -> std::optional<NSEvent> {
                                                   local.push_back(e);
                                                   return e;
                                               });
    input().keyDown(1, {});
    ASSERT_EQ(global.size(), 1u);
    EXPECT_EQ(global[0].characters, "s");
    EXPECT_TRUE(local.empty());
    ASSERT_EQ(others.size(), 1u);
    programIsFrontmost(true);
    input().keyDown(2, {});
    settle();
    EXPECT_EQ(global.size(), 1u);
    EXPECT_EQ(local.size(), 1u);
}

TEST_F(EventRoutingTest, LocalMonitorsChainReplaceAndMayRemoveEachOther) {
    programIsFrontmost(true);
    std::shared_ptr<EventMonitor> second;
    std::vector<std::string> calls;
    auto first = NSEvent::addLocalMonitorForEvents(EventTypeMask::keyDown,
                                                   [&](const NSEvent& e) -> std::optional<NSEvent> {
                                                       calls.push_back("first");
                                                       NSEvent replaced = e;
                                                       replaced.characters = "z";
                                                       NSEvent::removeMonitor(second); // takes effect at once
                                                       return replaced;
                                                   });
    second = NSEvent::addLocalMonitorForEvents(EventTypeMask::keyDown,
                                               [&](const NSEvent& e) -> std::optional<NSEvent> {
                                                   calls.push_back("second");
                                                   return e;
                                               });
    auto mouseOnly = NSEvent::addLocalMonitorForEvents(EventTypeMask::leftMouseUp,
                                                       [&](const NSEvent&) -> std::optional<NSEvent> {
                                                           calls.push_back("mouse");
                                                           return std::nullopt;
                                                       });
    input().keyDown(0, {});
    settle();
    EXPECT_EQ(calls, std::vector<std::string>{"first"});
    ASSERT_EQ(program.size(), 1u);
    EXPECT_EQ(program[0].characters, "z");
    EXPECT_FALSE(second->isActive());
}

TEST_F(EventRoutingTest, QueueHandsOutMatchingEventsAndKeepsTheCurrentEvent) {
    auto& q = EventQueue::shared();
    q.setEventHandler([&](const NSEvent& e) {
        ASSERT_TRUE(q.currentEvent());
        EXPECT_EQ(q.currentEvent()->type, e.type);
        program.push_back(e);
    });
    q.postEvent(NSEvent::mouseEvent(EventType::leftMouseDown, {1, 2}, {}, 0, 0, 1));
    q.postEvent(NSEvent::keyEvent(EventType::keyDown, {}, {}, 0, 0, "a", "a", false, 0));
    q.postEvent(NSEvent::mouseEvent(EventType::mouseMoved, {}, {}, 0, 0, 0), true);
    EXPECT_EQ(q.pendingCount(), 3u);
    EXPECT_FALSE(q.nextEvent(EventTypeMask::keyUp));
    auto peek = q.nextEvent(EventTypeMask::keyDown, false);
    ASSERT_TRUE(peek);
    EXPECT_EQ(q.pendingCount(), 3u);
    auto taken = q.nextEvent(EventTypeMask::leftMouseDown | EventTypeMask::keyDown);
    ASSERT_TRUE(taken);
    EXPECT_EQ(taken->type, EventType::leftMouseDown);
    EXPECT_EQ(taken->locationInWindow, (CGPoint{1, 2}));
    EXPECT_EQ(q.dispatchPending(), 2u);
    ASSERT_EQ(program.size(), 2u);
    EXPECT_EQ(program[0].type, EventType::mouseMoved); // posted at the start
    EXPECT_FALSE(q.currentEvent());
}

TEST_F(EventRoutingTest, PointerStateAndMouseCapture) {
    std::vector<NSEvent> global;
    auto g = NSEvent::addGlobalMonitorForEvents(EventTypeMask::leftMouseDragged | EventTypeMask::leftMouseUp,
                                                [&](const NSEvent& e) { global.push_back(e); });
    // The program's window covers x < 100.
    input().setPointerGoesToProgram([](CGPoint p) { return p.x < 100; });
    input().moveMouse({50, 50});
    input().mouseDown();
    EXPECT_EQ(NSEvent::pressedMouseButtons(), 1u);
    input().moveMouse({300, 50}); // dragged out of the program's window: still the program's
    input().mouseUp();
    settle();
    EXPECT_TRUE(global.empty());
    EXPECT_EQ(program.back().type, EventType::leftMouseUp);

    input().mouseDown();
    input().moveMouse({310, 60});
    EXPECT_EQ(NSEvent::mouseLocation(), (CGPoint{310, 60}));
    input().mouseDown(1);
    EXPECT_EQ(NSEvent::pressedMouseButtons(), 3u);
    input().mouseUp(1);
    input().mouseUp(1); // not down: nothing
    input().mouseUp();
    ASSERT_EQ(global.size(), 2u);
    EXPECT_EQ(global[0].type, EventType::leftMouseDragged);
    EXPECT_EQ(global[0].locationInWindow, (CGPoint{310, 60}));
    EXPECT_EQ(global[1].type, EventType::leftMouseUp);
    EXPECT_EQ(NSEvent::pressedMouseButtons(), 0u);

    input().setModifierFlags(Flags::option);
    EXPECT_EQ(NSEvent::currentModifierFlags(), Flags::option);
    input().mouseDown();
    input().moveMouse({320, 60});
    EXPECT_TRUE(global.back().modifierFlags.contains(Flags::option));
}

} // namespace

namespace {

TEST_F(EventRoutingTest, SamplerStartedByADragMonitorSeesMonotonicPointerLocations) {
    std::shared_ptr<Timer> sampler;
    std::vector<CGPoint> samples;
    auto dragged = NSEvent::addGlobalMonitorForEvents(EventTypeMask::leftMouseDragged, [&](const NSEvent&) {
        if (sampler) return;
        sampler = Timer::make(1.0 / 90.0, true, [&](Timer&) { samples.push_back(NSEvent::mouseLocation()); });
        RunLoop::main().add(sampler, RunLoopMode::common);
    });
    auto up = NSEvent::addGlobalMonitorForEvents(EventTypeMask::leftMouseUp, [&](const NSEvent&) {
        if (sampler) sampler->invalidate();
    });
    input().drag({100, 100}, {400, 100}, 0.3, 30);
    sim().runFor(0.5);

    // About 300 ms at 90 Hz, less the first step before the first dragged event.
    EXPECT_GE(samples.size(), 24u);
    EXPECT_LE(samples.size(), 27u);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        EXPECT_EQ(samples[i].y, 100);
        EXPECT_GE(samples[i].x, 100);
        EXPECT_LE(samples[i].x, 400);
        if (i > 0) {
            EXPECT_GE(samples[i].x, samples[i - 1].x);
        }
    }
    ASSERT_FALSE(samples.empty());
    EXPECT_GT(samples.back().x, samples.front().x);
    EXPECT_EQ(NSEvent::mouseLocation(), (CGPoint{400, 100}));
    EXPECT_EQ(NSEvent::pressedMouseButtons(), 0u);
}

TEST_F(EventRoutingTest, DragWithOptionHoldsTheModifierAndIsDroppedByAReset) {
    std::vector<NSEvent> seen;
    auto g = NSEvent::addGlobalMonitorForEvents(
        EventTypeMask::leftMouseDown | EventTypeMask::leftMouseDragged | EventTypeMask::leftMouseUp,
        [&](const NSEvent& e) { seen.push_back(e); });
    input().drag({0, 0}, {10, 0}, 0.1, 2, Flags::option);
    sim().runFor(0.2);
    ASSERT_EQ(seen.size(), 4u); // down, two drags, up
    for (const auto& e : seen)
        EXPECT_TRUE(e.modifierFlags.contains(Flags::option));
    EXPECT_EQ(NSEvent::currentModifierFlags(), Flags());
    EXPECT_LT(seen[1].timestamp, seen[2].timestamp);

    input().drag({0, 0}, {10, 0}, 0.1, 2);
    platform::SharedInstances::resetAll();
    sim().runFor(0.2);
    EXPECT_EQ(NSEvent::mouseLocation(), (CGPoint{0, 0}));
    EXPECT_EQ(NSEvent::pressedMouseButtons(), 0u);
}

} // namespace

namespace {

// A run-loop observer that drains the application's queue before the run loop handles its
// sources sees queued events before the application does, and what it posts back keeps its order.
TEST_F(EventRoutingTest, BeforeSourcesObserverDrainsTheQueueBeforeTheApplicationDispatchesIt) {
    programIsFrontmost(true);
    input().setPointerGoesToProgram([](CGPoint) { return true; });
    std::vector<std::uint16_t> swallowed;
    auto observer =
        RunLoopObserver::make(RunLoopObserver::beforeSources, true, 0, [&](RunLoopObserver&, unsigned) {
            std::vector<NSEvent> pending;
            while (auto e = EventQueue::shared().nextEvent(EventTypeMask::any))
                pending.push_back(*e);
            for (const auto& e : pending) {
                const bool keyEvent = e.type == EventType::keyDown || e.type == EventType::keyUp;
                if (keyEvent && e.keyCode == 123) {
                    swallowed.push_back(e.keyCode);
                    continue;
                }
                EventQueue::shared().postEvent(e);
            }
        });
    RunLoop::main().addObserver(observer, RunLoopMode::defaultMode);
    input().moveMouse({5, 5});
    input().keyDown(123, Flags::control | Flags::option);
    input().keyDown(0, {});
    settle();
    EXPECT_EQ(swallowed.size(), 1u);
    ASSERT_EQ(program.size(), 2u);
    EXPECT_EQ(program[0].type, EventType::mouseMoved);
    EXPECT_EQ(program[1].keyCode, 0);
    RunLoop::main().removeObserver(observer, RunLoopMode::defaultMode);
}

} // namespace
