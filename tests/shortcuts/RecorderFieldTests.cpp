#include "RecorderTestSupport.hpp"
#include "platform/control/ProcessInfoControl.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "platform/ui/Application.hpp"
#include "platform/ui/Menu.hpp"
#include "shortcuts/Registry.hpp"
#include "shortcuts/ShortcutsBundle.hpp"

#include <gtest/gtest.h>

using namespace tilmora::GlobalShortcuts;
using platform::ModifierFlags;
using platform::ui::AlertResponse;
using platform::ui::UISimulator;

namespace {

std::string text(std::string_view key) {
    return ShortcutsBundle::module().localizedString(key);
}

class RecorderFieldTest : public RecorderFixture {
protected:
    std::optional<platform::PropertyValue> stored(const std::string& raw) {
        return platform::UserDefaults::standard().objectForKey("GlobalShortcuts_" + raw);
    }
    /// A recorder of `name` that counts its change calls, made first responder.
    std::shared_ptr<RecorderField> recording(const Name& name) {
        auto r = addRecorder(name, [this](const std::optional<Shortcut>& s) { changes.push_back(s); });
        EXPECT_TRUE(window->makeFirstResponder(r.get()));
        return r;
    }
    std::vector<std::optional<Shortcut>> changes;
};

TEST_F(RecorderFieldTest, ShowsTheStoredChordWithClearButtonOrNothing) {
    const Name withChord("with");
    setShortcut(Shortcut(40, 6144), withChord);
    auto shown = addRecorder(withChord);
    EXPECT_EQ(shown->stringValue(), "⌃⌥K");
    EXPECT_TRUE(shown->cancelButtonCell);
    EXPECT_EQ(shown->placeholderString, text("record_shortcut"));
    EXPECT_NE(shown->placeholderString, "record_shortcut"); // the module's text, not its key
    EXPECT_EQ(shown->intrinsicContentSize().width, 130);
    EXPECT_FALSE(shown->searchButtonCell);

    auto empty = addRecorder(Name("without"));
    EXPECT_EQ(empty->stringValue(), "");
    EXPECT_FALSE(empty->cancelButtonCell);

    // Another name's change leaves the field; a change behind the field's back shows at once.
    setShortcut(Shortcut(37, 6144), Name("other"));
    EXPECT_EQ(empty->stringValue(), "");
    platform::NotificationCenter::defaultCenter().post(shortcutByNameDidChangeNotification, nullptr, {});
    EXPECT_EQ(shown->stringValue(), "⌃⌥K");
    setShortcut(Shortcut(37, 6144), withChord);
    EXPECT_EQ(shown->stringValue(), "⌃⌥L");

    // The same raw value (even with another default) is no change: the text is not read again.
    platform::UserDefaults::standard().set(
        platform::PropertyValue(R"({"carbonKeyCode":40,"carbonModifiers":6144})"), "GlobalShortcuts_with");
    shown->setShortcutName(Name("with"));
    EXPECT_EQ(shown->stringValue(), "⌃⌥L");
    shown->setShortcutName(Name("without"));
    EXPECT_EQ(shown->stringValue(), "");
    EXPECT_FALSE(shown->cancelButtonCell);
}

TEST_F(RecorderFieldTest, BeforeOS12ANameChangeEndsRecordingOnTheNextTurn) {
    struct Case {
        platform::OperatingSystemVersion os;
        bool endsRecording;
    };
    for (const Case c : {Case{{11, 7, 0}, true}, Case{{12, 0, 0}, false}}) {
        input().setOperatingSystemVersion(c.os);
        auto r = recording(Name("before"));
        r->setShortcutName(Name("after"));
        EXPECT_TRUE(r->isRecording()) << c.os.majorVersion;
        settle();
        EXPECT_EQ(r->isRecording(), !c.endsRecording) << c.os.majorVersion;
        r->setShortcutName(Name("after")); // the same raw value: nothing is queued
        window->makeFirstResponder(r.get());
        settle();
        EXPECT_TRUE(r->isRecording()) << c.os.majorVersion;
        window->makeFirstResponder(nullptr);
        r->removeFromSuperview();
    }
}

TEST_F(RecorderFieldTest, RecordingStoresAPressedChordAndEnds) {
    const Name name("record");
    auto r = recording(name);
    EXPECT_TRUE(isPaused());
    EXPECT_EQ(active, std::vector<int>{1});
    EXPECT_EQ(r->placeholderString, text("press_shortcut"));
    ASSERT_NE(r->currentEditor(), nullptr);
    EXPECT_EQ(r->currentEditor()->insertionPointColor, platform::ui::Color::clearColor());

    press(37, ctrlOpt);
    EXPECT_EQ(getShortcut(name), Shortcut(37, 6144));
    EXPECT_EQ(*stored("record")->asString(), R"({"carbonKeyCode":37,"carbonModifiers":6144})");
    EXPECT_TRUE(Registry::shared().registeredShortcuts().contains(Shortcut(37, 6144)));
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0], Shortcut(37, 6144));
    EXPECT_FALSE(isPaused());
    EXPECT_FALSE(r->isRecording());
    EXPECT_EQ(active, (std::vector<int>{1, 0}));
    EXPECT_EQ(r->stringValue(), "⌃⌥L");
    EXPECT_TRUE(r->cancelButtonCell);
    EXPECT_EQ(r->placeholderString, text("record_shortcut"));
    EXPECT_EQ(programKeyDowns(37), 0u);
    EXPECT_NE(window->firstResponder(), r.get());
}

TEST_F(RecorderFieldTest, KeysWithoutCommandModifiersAreRefusedOrEndRecording) {
    struct Case {
        const char* what;
        std::uint16_t key;
        ModifierFlags held;
        int beeps;
        std::optional<Shortcut> stored;
        bool stillRecording;
        std::size_t reachesProgram;
    };
    const Case cases[] = {
        {"a", 0, {}, 1, std::nullopt, true, 0},
        {"shift A", 0, ModifierFlags::shift, 1, std::nullopt, true, 0},
        {"shift Tab", 48, ModifierFlags::shift, 1, std::nullopt, true, 0},
        {"Return", 36, {}, 1, std::nullopt, true, 0},
        {"shift Left", 123, ModifierFlags::shift, 1, std::nullopt, true, 0},
        {"F5", 96, {}, 0, Shortcut(96, 0), false, 0},
        {"shift F6", 97, ModifierFlags::shift, 0, Shortcut(97, 512), false, 0},
        {"Escape", 53, {}, 0, std::nullopt, false, 0},
        {"Tab", 48, {}, 0, std::nullopt, false, 1},
    };
    int n = 0;
    for (const auto& c : cases) {
        const Name name("refuse-" + std::to_string(n++));
        program.clear();
        changes.clear();
        auto r = recording(name);
        const int beepsBefore = UISimulator::beepCount();
        press(c.key, c.held);
        EXPECT_EQ(UISimulator::beepCount() - beepsBefore, c.beeps) << c.what;
        EXPECT_EQ(getShortcut(name), c.stored) << c.what;
        EXPECT_EQ(changes.size(), c.stored ? 1u : 0u) << c.what;
        EXPECT_EQ(r->isRecording(), c.stillRecording) << c.what;
        EXPECT_EQ(isPaused(), c.stillRecording) << c.what;
        EXPECT_EQ(programKeyDowns(c.key), c.reachesProgram) << c.what;
        window->makeFirstResponder(nullptr);
        r->removeFromSuperview();
    }
}

TEST_F(RecorderFieldTest, ModifierKeysAloneChangeNothing) {
    auto r = recording(Name("mods"));
    input().setModifierFlags(ctrlOpt);
    input().setModifierFlags({});
    settle();
    EXPECT_TRUE(r->isRecording());
    EXPECT_EQ(r->placeholderString, text("press_shortcut"));
    EXPECT_EQ(active, std::vector<int>{1});
}

TEST_F(RecorderFieldTest, BackspaceClearsTheStoredChordAndKeepsRecording) {
    struct Case {
        const char* what;
        std::optional<Shortcut> defaultShortcut;
        std::optional<bool> storedAfter; // Boolean false kept, or the key removed
    };
    const Case cases[] = {
        {"without default", std::nullopt, std::nullopt},
        {"with default", Shortcut(38, 6144), false},
    };
    int n = 0;
    for (const auto& c : cases) {
        const std::string raw = "clear-" + std::to_string(n++);
        const Name name(raw, c.defaultShortcut);
        setShortcut(Shortcut(40, 6144), name);
        changes.clear();
        auto r = recording(name);
        press(51);
        EXPECT_EQ(getShortcut(name), std::nullopt) << c.what;
        if (c.storedAfter) {
            ASSERT_TRUE(stored(raw)) << c.what;
            EXPECT_EQ(stored(raw)->asBool() ? *stored(raw)->asBool() : true, *c.storedAfter) << c.what;
        } else {
            EXPECT_FALSE(stored(raw)) << c.what;
        }
        EXPECT_FALSE(Registry::shared().registeredShortcuts().contains(Shortcut(40, 6144))) << c.what;
        ASSERT_EQ(changes.size(), 1u) << c.what;
        EXPECT_EQ(changes[0], std::nullopt) << c.what;
        EXPECT_EQ(r->stringValue(), "") << c.what;
        EXPECT_FALSE(r->cancelButtonCell) << c.what;
        EXPECT_EQ(window->firstResponder(), r.get()) << c.what;
        EXPECT_TRUE(r->isRecording()) << c.what;
        EXPECT_TRUE(isPaused()) << c.what;

        const auto activeBefore = active.size();
        press(51);
        EXPECT_EQ(changes.size(), 1u) << c.what;
        EXPECT_EQ(active.size(), activeBefore) << c.what;
        EXPECT_TRUE(r->isRecording()) << c.what;
        window->makeFirstResponder(nullptr);
        r->removeFromSuperview();
    }
}

TEST_F(RecorderFieldTest, AChordOfAMainMenuItemIsRefusedWithAnAlert) {
    auto menu = std::make_shared<platform::ui::Menu>("Main");
    auto sub = std::make_shared<platform::ui::Menu>("App");
    sub->addItem("Quit", "terminate:", "q");
    auto top = menu->addItem("App", "", "");
    top->setSubmenu(sub);
    platform::ui::Application::shared().mainMenu = menu;

    const Name name("menu");
    auto r = recording(name);
    press(12, ModifierFlags::command);
    ASSERT_EQ(UISimulator::alertLog().size(), 1u);
    const auto& shown = UISimulator::alertLog()[0];
    EXPECT_NE(shown.messageText.find("Quit"), std::string::npos) << shown.messageText;
    EXPECT_EQ(shown.messageText.find("%@"), std::string::npos);
    EXPECT_EQ(shown.style, platform::ui::AlertStyle::warning);
    EXPECT_TRUE(shown.asSheet);
    EXPECT_EQ(getShortcut(name), std::nullopt);
    EXPECT_TRUE(changes.empty());
    EXPECT_EQ(active, (std::vector<int>{1, 0, 1}));
    EXPECT_TRUE(r->isRecording());
    EXPECT_EQ(window->firstResponder(), r.get());
    EXPECT_EQ(programKeyDowns(12), 0u);

    // Recording goes on: the next chord is stored.
    press(37, ctrlOpt);
    EXPECT_EQ(getShortcut(name), Shortcut(37, 6144));
}

TEST_F(RecorderFieldTest, AMenuItemTitleWithPercentSignsIsShownAsItIs) {
    auto menu = std::make_shared<platform::ui::Menu>("Main");
    menu->addItem("Zoom 100%d %@ %s", "zoom:", "q");
    platform::ui::Application::shared().mainMenu = menu;
    auto r = recording(Name("percent"));
    press(12, ModifierFlags::command);
    ASSERT_EQ(UISimulator::alertLog().size(), 1u);
    EXPECT_NE(UISimulator::alertLog()[0].messageText.find("Zoom 100%d %@ %s"), std::string::npos)
        << UISimulator::alertLog()[0].messageText;
}

TEST_F(RecorderFieldTest, ReservedChordsAskBeforeTheyAreStored) {
    struct Case {
        const char* what;
        std::uint16_t key;
        ModifierFlags held;
        std::optional<AlertResponse> answer; // none: no alert expected
        bool stored;
    };
    const Case cases[] = {
        {"Control-Up, ok", 126, ModifierFlags::control, AlertResponse::press(0), false},
        {"Control-Up, use it", 126, ModifierFlags::control, AlertResponse::press(1), true},
        {"Control-Up, closed", 126, ModifierFlags::control, AlertResponse::close(), false},
        {"F12 alone, listed", 111, {}, std::nullopt, true},
    };
    input().setSymbolicHotKeys({{true, 126, 0x1000}, {true, 111, 0}});
    int n = 0;
    for (const auto& c : cases) {
        const Name name("reserved-" + std::to_string(n++));
        changes.clear();
        const auto alertsBefore = UISimulator::alertLog().size();
        if (c.answer) UISimulator::scriptAlertResponse(*c.answer);
        auto r = recording(name);
        press(c.key, c.held);
        const auto alerts = UISimulator::alertLog().size() - alertsBefore;
        EXPECT_EQ(alerts, c.answer ? 1u : 0u) << c.what;
        if (alerts) {
            const auto& shown = UISimulator::alertLog().back();
            EXPECT_EQ(shown.messageText, text("keyboard_shortcut_used_by_system")) << c.what;
            EXPECT_EQ(shown.informativeText, text("keyboard_shortcuts_can_be_changed")) << c.what;
            EXPECT_EQ(shown.buttonTitles, (std::vector<std::string>{text("ok"), text("force_use_shortcut")}))
                << c.what;
            EXPECT_TRUE(shown.scripted) << c.what;
        }
        const Shortcut expected =
            Shortcut::fromEvent(platform::NSEvent::keyEvent(platform::EventType::keyDown, {}, c.held, 0, 0,
                                                            "", "", false, c.key))
                .value();
        EXPECT_EQ(getShortcut(name), c.stored ? std::optional(expected) : std::nullopt) << c.what;
        EXPECT_EQ(changes.size(), c.stored ? 1u : 0u) << c.what;
        EXPECT_EQ(r->isRecording(), !c.stored) << c.what;
        window->makeFirstResponder(nullptr);
        r->removeFromSuperview();
        setShortcut(std::nullopt, name); // so the chord is no hot key for the next case
    }
}

TEST_F(RecorderFieldTest, OptionOnlyChordsAreRefusedInTheSandboxOf15_0And15_1) {
    struct Case {
        const char* what;
        platform::OperatingSystemVersion os;
        bool sandboxed;
        ModifierFlags held;
        bool refused;
    };
    const Case cases[] = {
        {"15.1 option", {15, 1, 0}, true, ModifierFlags::option, true},
        {"15.0 option shift", {15, 0, 0}, true, ModifierFlags::option | ModifierFlags::shift, true},
        {"15.1 control option", {15, 1, 0}, true, ctrlOpt, false},
        {"15.2 option", {15, 2, 0}, true, ModifierFlags::option, false},
        {"14.7 option", {14, 7, 0}, true, ModifierFlags::option, false},
        {"15.1 option, not sandboxed", {15, 1, 0}, false, ModifierFlags::option, false},
    };
    for (const auto& c : cases) {
        resetSharedInstances();
        makeWindow();
        input().setOperatingSystemVersion(c.os);
        platform::ProcessInfoControl::setEnvironmentValue(
            "APP_SANDBOX_CONTAINER_ID", c.sandboxed ? std::optional<std::string>("container") : std::nullopt);
        const Name name("sandbox");
        auto r = recording(name);
        press(40, c.held);
        EXPECT_EQ(UISimulator::alertLog().size(), c.refused ? 1u : 0u) << c.what;
        if (c.refused && !UISimulator::alertLog().empty()) {
            EXPECT_EQ(UISimulator::alertLog()[0].messageText, text("keyboard_shortcut_disallowed")) << c.what;
        }
        EXPECT_EQ(getShortcut(name).has_value(), !c.refused) << c.what;
        EXPECT_EQ(r->isRecording(), c.refused) << c.what;
        window->makeFirstResponder(nullptr);
        r->removeFromSuperview();
    }
}

TEST_F(RecorderFieldTest, MouseUpsOutsideTheFieldEndRecordingAndGoOn) {
    struct Case {
        double outside; // points right of the field's right edge
        bool endsRecording;
    };
    const Case cases[] = {{-10, false}, {2, false}, {4, true}};
    input().setPointerGoesToProgram([](platform::CGPoint) { return true; });
    for (const auto& c : cases) {
        auto r = recording(Name("mouse"));
        program.clear();
        // Field at (20, 20) in a content area at (100, 100): its right edge is at x 250.
        input().moveMouse({250 + c.outside, 100 + 20 + 12});
        input().mouseDown();
        input().mouseUp();
        settle();
        std::size_t ups = 0;
        for (const auto& e : program)
            if (e.type == platform::EventType::leftMouseUp) ++ups;
        EXPECT_EQ(r->isRecording(), !c.endsRecording) << c.outside;
        EXPECT_EQ(ups, c.endsRecording ? 1u : 0u) << c.outside;
        window->makeFirstResponder(nullptr);
        r->removeFromSuperview();
    }
}

TEST_F(RecorderFieldTest, TheWindowResigningKeyEndsRecording) {
    auto r = recording(Name("resign"));
    ASSERT_TRUE(isPaused());
    auto other = std::make_shared<platform::ui::Window>(platform::ui::Rect{600, 100, 200, 100},
                                                        platform::ui::StyleMask::titled);
    other->makeKeyAndOrderFront();
    EXPECT_FALSE(isPaused());
    EXPECT_FALSE(r->isRecording());
    // Ended by the observer, then again by the field's end of editing: each end posts.
    EXPECT_EQ(active, (std::vector<int>{1, 0, 0}));
    other->close();
}

TEST_F(RecorderFieldTest, TheFieldCannotBeTheFirstKeyViewForOneQueueTurn) {
    auto r = RecorderField::make(Name("key-view"));
    window->contentView()->addSubview(r);
    EXPECT_FALSE(r->canBecomeKeyView());
    settle();
    EXPECT_TRUE(r->canBecomeKeyView());

    auto other = std::make_shared<platform::ui::Window>(platform::ui::Rect{600, 100, 200, 100},
                                                        platform::ui::StyleMask::titled);
    other->makeKeyAndOrderFront();
    window->makeKeyAndOrderFront();
    EXPECT_FALSE(r->canBecomeKeyView());
    settle();
    EXPECT_TRUE(r->canBecomeKeyView());
    other->close();
}

TEST_F(RecorderFieldTest, ANewWindowDoesNotStartRecordingByChoosingTheFieldFirst) {
    auto fresh = std::make_shared<platform::ui::Window>(platform::ui::Rect{100, 400, 300, 100},
                                                        platform::ui::StyleMask::titled);
    auto r = RecorderField::make(Name("first-key-view"));
    fresh->contentView()->addSubview(r);
    fresh->makeKeyAndOrderFront();
    settle();
    EXPECT_NE(fresh->firstResponder(), r.get());
    EXPECT_FALSE(r->isRecording());
    EXPECT_FALSE(isPaused());
    fresh->close();
}

TEST_F(RecorderFieldTest, LeavingTheWindowWhileRecordingUnpauses) {
    auto r = recording(Name("leave"));
    active.clear();
    r->removeFromSuperview();
    EXPECT_FALSE(isPaused());
    EXPECT_FALSE(r->isRecording());
    // The end of editing, then leaving the window: each end posts.
    EXPECT_EQ(active, (std::vector<int>{0, 0}));
    EXPECT_NE(window->firstResponder(), r.get());
}

TEST_F(RecorderFieldTest, RecordingPausesTheRegistrysHandlers) {
    const Name handled("handled");
    setShortcut(Shortcut(38, 6144), handled);
    int runs = 0;
    onKeyDown(handled, [&] { ++runs; });
    press(38, ctrlOpt);
    EXPECT_EQ(runs, 1);
    auto r = recording(Name("pausing"));
    press(38, ctrlOpt); // a registered chord: a hot key, which the paused registry ignores
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(r->isRecording());
    window->makeFirstResponder(nullptr);
    press(38, ctrlOpt);
    EXPECT_EQ(runs, 2);
}

TEST_F(RecorderFieldTest, EndingAnOrdinaryEditStillPostsInactive) {
    auto r = addRecorder(Name("plain"));
    // No window: the field refuses to record, so ending it is an end without a start.
    auto loose = RecorderField::make(Name("loose"));
    EXPECT_FALSE(loose->becomeFirstResponder());
    EXPECT_TRUE(active.empty());
    setPaused(true);
    r->removeFromSuperview(); // leaving the window ends recording even when none runs
    EXPECT_FALSE(isPaused());
    EXPECT_EQ(active, std::vector<int>{0});
}

} // namespace
