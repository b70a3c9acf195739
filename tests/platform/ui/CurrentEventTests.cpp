#include "UiTestFixture.hpp"

#include "platform/control/SharedInstances.hpp"
#include "platform/input/EventQueue.hpp"
#include "platform/control/SimInput.hpp"
#include "platform/ui/Application.hpp"
#include "platform/ui/Button.hpp"
#include "platform/ui/Menu.hpp"
#include "platform/ui/Window.hpp"

#include <functional>

using namespace platform::ui;
using platform::EventQueue;
using platform::EventType;
using platform::ModifierFlags;
using platform::NSEvent;
using platform::SimInput;

namespace {

/// Keeps the application's current event as its action saw it.
struct EventSeen : Responder {
    std::optional<NSEvent> event;
    EventSeen() {
        registerAction("act:", [this](Responder*) { event = Application::shared().currentEvent(); });
    }
};

} // namespace

class CurrentEventTest : public UiTest {};

TEST_F(CurrentEventTest, ActionsSeeTheEventThatCausedThemAndNothingAfterwards) {
    struct Expected {
        EventType type;
        long windowNumber; // -1: the test's window
        Point location;
        bool option;
    };
    struct Case {
        const char* name;
        std::function<void(const std::shared_ptr<EventSeen>&, Window&)> cause;
        Expected expected;
    };
    const std::vector<Case> cases = {
        {"menu pick: a mouse-up at the pointer, in no window, with the held keys",
         [](const std::shared_ptr<EventSeen>& seen, Window&) {
             SimInput::shared().moveMouse({300, 400});
             SimInput::shared().setModifierFlags(ModifierFlags::option);
             auto menu = Menu::make("Menu");
             menu->addItem("Go", "act:", "")->setTarget(seen);
             UISimulator::scriptMenuPick({{"Go"}, 0.1, nullptr});
             menu->popUp(nullptr, {0, 0});
         },
         {EventType::leftMouseUp, 0, {300, 400}, true}},
        {"button click: a mouse-up at the button's centre in its window",
         [](const std::shared_ptr<EventSeen>& seen, Window& window) {
             auto box = std::make_shared<View>(Rect{20, 30, 200, 100});
             auto button = Button::withTitle("Go", seen, "act:");
             button->setFrame({10, 10, 80, 20});
             box->addSubview(button);
             window.contentView()->addSubview(box);
             UISimulator::click(*button);
         },
         {EventType::leftMouseUp, -1, {70, 50}, false}},
        {"queued key event dispatched by the application's queue",
         [](const std::shared_ptr<EventSeen>& seen, Window&) {
             EventQueue::shared().setEventHandler(
                 [seen](const NSEvent&) { Application::shared().sendAction("act:", seen.get(), nullptr); });
             EventQueue::shared().postEvent(NSEvent::keyEvent(
                 EventType::keyDown, {5, 6}, ModifierFlags::option, 0, 0, "a", "a", false, 0));
             EventQueue::shared().dispatchPending();
         },
         {EventType::keyDown, 0, {5, 6}, true}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        platform::SharedInstances::resetAll();
        auto seen = std::make_shared<EventSeen>();
        auto window = std::make_shared<Window>(Rect{100, 100, 400, 300}, StyleMask::borderless);
        c.cause(seen, *window);
        ASSERT_TRUE(seen->event);
        EXPECT_EQ(seen->event->type, c.expected.type);
        EXPECT_EQ(seen->event->windowNumber,
                  c.expected.windowNumber < 0 ? window->windowNumber() : c.expected.windowNumber);
        EXPECT_EQ(seen->event->locationInWindow, c.expected.location);
        EXPECT_EQ(seen->event->modifierFlags.contains(ModifierFlags::option), c.expected.option);
        EXPECT_FALSE(Application::shared().currentEvent());
    }
}
