#include "UiTestFixture.hpp"

#include "platform/control/SharedInstances.hpp"
#include "platform/dispatch/DispatchQueue.hpp"
#include "platform/dispatch/RunLoop.hpp"
#include "platform/ui/Application.hpp"
#include "platform/ui/Menu.hpp"
#include "platform/ui/StatusItem.hpp"
#include "platform/ui/TextField.hpp"

using namespace platform::ui;

namespace {

/// Records every action it receives with the sender's represented object and the current event.
struct Recorder : Responder, MenuDelegate {
    std::vector<std::string> calls;
    std::vector<std::optional<platform::EventType>> events;
    std::vector<std::string> represented;
    void answer(const Selector& sel) {
        registerAction(sel, [this, sel](Responder* sender) {
            calls.push_back(sel);
            auto& ev = Application::shared().currentEvent();
            events.push_back(ev ? std::optional(ev->type) : std::nullopt);
            if (auto* item = dynamic_cast<MenuItem*>(sender); item && item->representedObject.has_value())
                represented.push_back(std::any_cast<std::string>(item->representedObject));
        });
    }
    void menuWillOpen(Menu& m) override { calls.push_back("willOpen " + m.title); }
    void menuDidClose(Menu& m) override { calls.push_back("didClose " + m.title); }
};

std::shared_ptr<Menu> threeItemsAndSubmenu(const std::shared_ptr<Recorder>& target) {
    auto menu = Menu::make("Status");
    for (auto name : {"one", "two", "three"}) {
        auto item = menu->addItem(name, std::string(name) + ":", "");
        item->setTarget(target);
        item->representedObject = std::string("object-") + name;
    }
    auto sub = Menu::make("More");
    auto inner = sub->addItem("inner", "inner:", "");
    inner->setTarget(target);
    inner->representedObject = std::string("object-inner");
    auto header = menu->addItem("More", "", "");
    header->setSubmenu(sub);
    menu->setDelegate(target);
    sub->setDelegate(target);
    return menu;
}

} // namespace

class MenuTrackingTest : public UiTest {};

TEST_F(MenuTrackingTest, StatusItemMenuTracksInEventTrackingModeAndDispatchesThePickWithAMouseUp) {
    auto target = std::make_shared<Recorder>();
    for (auto s : {"one:", "two:", "three:", "inner:"})
        target->answer(s);
    auto menu = threeItemsAndSubmenu(target);
    auto item = StatusBar::system().statusItem(StatusItemLength::variable);

    std::string modeWhileOpen;
    size_t beginsWhileOpen = 0;
    UISimulator::scriptMenuPick({{"More", "inner"}, 0.25, [&](Menu&) {
                                     modeWhileOpen = runtime::currentMode();
                                     beginsWhileOpen = count(MenuDidBeginTrackingNotification);
                                 }});
    item->popUpStatusItemMenu(menu);

    EXPECT_EQ(modeWhileOpen, runtime::eventTrackingMode);
    EXPECT_EQ(beginsWhileOpen, 1u);
    EXPECT_EQ(count(MenuDidEndTrackingNotification), 1u);
    EXPECT_EQ(target->calls, (std::vector<std::string>{"willOpen Status", "willOpen More", "didClose More",
                                                       "didClose Status", "inner:"}));
    ASSERT_EQ(target->events.size(), 1u);
    EXPECT_EQ(target->events[0], platform::EventType::leftMouseUp);
    EXPECT_EQ(target->represented, std::vector<std::string>{"object-inner"});
    EXPECT_FALSE(Application::shared().currentEvent().has_value()); // only while the action runs
    EXPECT_EQ(runtime::currentMode(), "");
}

TEST_F(MenuTrackingTest, PicksThatReachNothingSelectableDismissTheMenu) {
    struct Case {
        const char* name;
        std::vector<std::string> path;
        std::function<void(Menu&)> prepare;
        bool picked;
    };
    std::vector<Case> cases = {
        {"top-level item", {"two"}, nullptr, true},
        {"empty path dismisses", {}, nullptr, false},
        {"unknown title", {"four"}, nullptr, false},
        {"submenu header alone", {"More"}, nullptr, false},
        {"hidden item", {"one"}, [](Menu& m) { m.itemWithTitle("one")->isHidden = true; }, false},
        {"disabled item without auto-enabling",
         {"one"},
         [](Menu& m) {
             m.autoenablesItems = false;
             m.itemWithTitle("one")->isEnabled = false;
         },
         false},
        {"target that does not answer is auto-disabled",
         {"three"},
         [](Menu& m) { m.itemWithTitle("three")->action = "nobodyAnswers:"; },
         false},
        {"auto-enabling re-enables an answered item",
         {"one"},
         [](Menu& m) { m.itemWithTitle("one")->isEnabled = false; },
         true},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto target = std::make_shared<Recorder>();
        for (auto s : {"one:", "two:", "three:", "inner:"})
            target->answer(s);
        auto menu = threeItemsAndSubmenu(target);
        if (c.prepare) c.prepare(*menu);
        UISimulator::scriptMenuPick({c.path, 0.1, nullptr});
        EXPECT_EQ(menu->popUp(nullptr, {}), c.picked);
        size_t actions = size_t(std::count_if(target->calls.begin(), target->calls.end(),
                                              [](auto& s) { return s.back() == ':'; }));
        EXPECT_EQ(actions, c.picked ? 1u : 0u);
        EXPECT_EQ(target->calls.back().rfind("didClose", 0) == 0, !c.picked);
    }
}

TEST_F(MenuTrackingTest, UnscriptedMenuIsDismissedAndLogged) {
    auto target = std::make_shared<Recorder>();
    auto menu = threeItemsAndSubmenu(target);
    EXPECT_FALSE(menu->popUp(nullptr, {}));
    ASSERT_EQ(UISimulator::menuLog().size(), 1u);
    EXPECT_FALSE(UISimulator::menuLog()[0].picked);
    EXPECT_EQ(UISimulator::menuLog()[0].itemTitles,
              (std::vector<std::string>{"one", "two", "three", "More"}));
}

TEST_F(MenuTrackingTest, CopyIsDeepAndItemsMoveBetweenMenus) {
    auto target = std::make_shared<Recorder>();
    auto menu = threeItemsAndSubmenu(target);
    auto copy = menu->copy();
    copy->itemWithTitle("More")->submenu()->itemAt(0)->title = "changed";
    EXPECT_EQ(menu->itemWithTitle("More")->submenu()->itemAt(0)->title, "inner");
    EXPECT_EQ(std::any_cast<std::string>(copy->itemAt(0)->representedObject), "object-one");
    auto other = Menu::make("other");
    other->addItem(menu->itemAt(0));
    EXPECT_EQ(menu->numberOfItems(), 3u);
    EXPECT_EQ(other->itemAt(0)->menu(), other.get());
    EXPECT_EQ(copy->itemWithTitle("More")->submenu()->supermenu(), copy.get());
}

class TargetActionTest : public UiTest {};

TEST_F(TargetActionTest, DispatcherFindsTheFirstResponderThatAnswers) {
    struct AppDelegate : Responder, ApplicationDelegate {};
    auto delegate = std::make_shared<AppDelegate>();
    Application::shared().setDelegate(delegate);
    auto window = std::make_shared<Window>(Rect{0, 0, 200, 100}, StyleMask::titled);
    auto field = TextField::textFieldWithString("x");
    window->contentView()->addSubview(field);
    window->makeKeyAndOrderFront();
    ASSERT_TRUE(window->makeFirstResponder(field.get()));
    auto explicitTarget = std::make_shared<Responder>();

    struct Case {
        const char* name;
        bool explicitAnswers, explicitGiven, fieldAnswers, windowAnswers, delegateAnswers;
        Responder* expected;
    };
    std::vector<Case> cases = {
        {"explicit target that answers", true, true, true, true, true, explicitTarget.get()},
        {"explicit target that does not answer", false, true, true, true, true, nullptr},
        {"first responder first", false, false, true, true, true, field.get()},
        {"then the window", false, false, false, true, true, window.get()},
        {"then the application delegate", false, false, false, false, true, delegate.get()},
        {"nobody", false, false, false, false, false, nullptr},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        Responder* got = nullptr;
        auto setup = [&](Responder& r, bool answers) {
            if (answers)
                r.registerAction("act:", [&got, &r](Responder*) { got = &r; });
            else
                r.unregisterAction("act:");
        };
        setup(*explicitTarget, c.explicitAnswers);
        setup(*field, c.fieldAnswers);
        setup(*window, c.windowAnswers);
        setup(*delegate, c.delegateAnswers);
        bool sent = Application::shared().sendAction("act:", c.explicitGiven ? explicitTarget.get() : nullptr,
                                                     nullptr);
        EXPECT_EQ(sent, c.expected != nullptr);
        EXPECT_EQ(got, c.expected);
    }
}

class AlertTest : public UiTest {};

TEST_F(AlertTest, ScriptedSecondButtonReturns1001AndTheTypedTextIsReadBack) {
    auto alert = std::make_shared<Alert>();
    alert->messageText = "Name the snapshot";
    alert->addButton("Save");
    alert->addButton("Cancel");
    auto field = TextField::textFieldWithString("");
    alert->accessoryView = field;
    UISimulator::scriptAlertResponse(AlertResponse::press(1, "Desk setup"));

    EXPECT_EQ(alert->runModal(), ModalResponse::alertSecondButtonReturn);
    EXPECT_EQ(field->stringValue(), "Desk setup");
    ASSERT_EQ(UISimulator::alertLog().size(), 1u);
    const auto& rec = UISimulator::alertLog()[0];
    EXPECT_EQ(rec.messageText, "Name the snapshot");
    EXPECT_EQ(rec.buttonTitles, (std::vector<std::string>{"Save", "Cancel"}));
    EXPECT_EQ(rec.response, 1001);
    EXPECT_EQ(rec.accessoryText, "Desk setup");
    EXPECT_FALSE(alert->window()->isVisible());
}

TEST_F(AlertTest, ResponsesMapToButtonCodes) {
    struct Case {
        const char* name;
        std::vector<std::string> buttons;
        std::optional<AlertResponse> response;
        long expected;
        bool scripted;
    };
    std::vector<Case> cases = {
        {"first", {"OK", "Cancel", "More"}, AlertResponse::press(0), 1000, true},
        {"third", {"OK", "Cancel", "More"}, AlertResponse::press(2), 1002, true},
        {"by title", {"OK", "Cancel", "More"}, AlertResponse::pressTitled("Cancel"), 1001, true},
        {"index out of range aborts", {"OK"}, AlertResponse::press(3), ModalResponse::abort, true},
        {"close aborts", {"OK", "Cancel"}, AlertResponse::close(), ModalResponse::abort, true},
        {"unscripted presses the default button", {"A", "B"}, std::nullopt, 1000, false},
        {"no buttons gets an OK button", {}, std::nullopt, 1000, false},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        platform::SharedInstances::resetAll();
        auto alert = std::make_shared<Alert>();
        alert->messageText = c.name;
        for (auto& b : c.buttons)
            alert->addButton(b);
        if (c.response) UISimulator::scriptAlertResponse(*c.response);
        EXPECT_EQ(alert->runModal(), c.expected);
        ASSERT_EQ(UISimulator::alertLog().size(), 1u);
        EXPECT_EQ(UISimulator::alertLog()[0].scripted, c.scripted);
        EXPECT_EQ(UISimulator::alertLog()[0].response, c.expected);
        if (c.buttons.empty()) {
            EXPECT_EQ(UISimulator::alertLog()[0].buttonTitles, std::vector<std::string>{"OK"});
        }
    }
}

TEST_F(AlertTest, SheetCompletionStopsTheWindowsModalSession) {
    // A sheet whose completion ends a modal run of its window, as the shortcut recorder does.
    auto parent = std::make_shared<Window>(Rect{0, 0, 400, 300}, StyleMask::titled);
    parent->makeKeyAndOrderFront();
    auto alert = std::make_shared<Alert>();
    alert->messageText = "Reserved";
    alert->addButton("ok");
    alert->addButton("force_use_shortcut");
    UISimulator::scriptAlertResponse(AlertResponse::press(1));
    std::optional<long> completed;
    alert->beginSheetModal(*parent, [&](long code) {
        completed = code;
        Application::shared().stopModal(code);
    });
    EXPECT_EQ(parent->attachedSheet(), alert->window());
    EXPECT_EQ(Application::shared().runModal(*parent), 1001);
    EXPECT_EQ(completed, 1001);
    EXPECT_EQ(parent->attachedSheet(), nullptr);
    EXPECT_TRUE(UISimulator::alertLog()[0].asSheet);
}

TEST_F(AlertTest, ModalWindowNobodyAnswersIsAbortedInsteadOfHanging) {
    auto w = std::make_shared<Window>(Rect{0, 0, 100, 100}, StyleMask::titled);
    EXPECT_EQ(Application::shared().runModal(*w), ModalResponse::abort);
    EXPECT_EQ(Application::shared().modalWindow(), nullptr);
}

TEST_F(MenuTrackingTest, CurrentModeIsTheMainRunLoopsWhoeverRunsIt) {
    const std::vector<std::pair<platform::RunLoopMode, std::string>> cases = {
        {platform::RunLoopMode::defaultMode, runtime::defaultMode},
        {platform::RunLoopMode::eventTracking, runtime::eventTrackingMode},
        {platform::RunLoopMode::modalPanel, runtime::modalPanelMode},
    };
    for (const auto& [mode, name] : cases) {
        SCOPED_TRACE(name);
        std::string seen = "not run";
        platform::DispatchQueue::main().async([&] { seen = runtime::currentMode(); });
        platform::RunLoop::main().runFor(mode, 0.01); // not through the toolkit's runtime
        EXPECT_EQ(seen, name);
        EXPECT_EQ(runtime::currentMode(), "");
    }
}
