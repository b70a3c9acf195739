#include "UiTestFixture.hpp"

#include "platform/control/BundleControl.hpp"
#include "platform/control/SimInput.hpp"
#include "platform/ui/AnimationContext.hpp"
#include "platform/ui/Application.hpp"
#include "platform/ui/GridView.hpp"
#include "platform/ui/Image.hpp"
#include "platform/ui/Panel.hpp"
#include "platform/ui/PopUpButton.hpp"
#include "platform/ui/SearchField.hpp"
#include "platform/ui/Slider.hpp"
#include "platform/ui/StackView.hpp"

#include "support/DesktopBuilders.hpp"

#include <filesystem>
#include <functional>
#include <fstream>

using namespace platform::ui;

class WindowTest : public UiTest {};

TEST_F(WindowTest, PanelFadedOutOverAFifthOfASecondIsVisibleHalfwayAndGoneAtTheEnd) {
    auto panel = std::make_shared<Panel>(Rect{100, 100, 400, 100}, StyleMask::nonactivatingPanel);
    panel->orderFrontRegardless();
    bool completed = false;
    AnimationContext::runAnimationGroup(
        [&](AnimationContext& ctx) {
            ctx.duration = 0.2;
            panel->animator().setAlphaValue(0);
        },
        [&] {
            completed = true;
            panel->orderOut();
        });
    advance(0.1);
    EXPECT_TRUE(panel->isVisible());
    EXPECT_FALSE(completed);
    advance(0.1);
    EXPECT_TRUE(completed);
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(panel->alphaValue(), 0);
}

TEST_F(WindowTest, AnimationGroupsApplyFinalValuesUnlessSuperseded) {
    struct Case {
        const char* name;
        double duration;
        bool directChangeMidway;
        double alphaAtEnd;
    };
    std::vector<Case> cases = {
        {"animated value lands at the end", 0.5, false, 0.0},
        {"a direct change supersedes the animation", 0.5, true, 0.7},
        {"zero duration applies at once", 0.0, false, 0.0},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto w = std::make_shared<Window>(Rect{0, 0, 10, 10}, StyleMask::borderless);
        int completions = 0;
        AnimationContext::runAnimationGroup(
            [&](AnimationContext& ctx) {
                w->animator().setAlphaValue(0); // the duration is read when the block ends
                ctx.duration = c.duration;
            },
            [&] { ++completions; });
        EXPECT_EQ(w->alphaValue(), c.duration == 0 ? 0 : 1);
        if (c.directChangeMidway) {
            advance(c.duration / 2);
            w->setAlphaValue(0.7);
        }
        advance(c.duration + 0.01);
        EXPECT_DOUBLE_EQ(w->alphaValue(), c.alphaAtEnd);
        EXPECT_EQ(completions, 1);
    }
}

TEST_F(WindowTest, AnimationOfAWindowThatIsGoneStillCompletes) {
    bool completed = false;
    {
        auto w = std::make_shared<Window>(Rect{0, 0, 10, 10}, StyleMask::borderless);
        AnimationContext::runAnimationGroup(
            [&](AnimationContext& ctx) {
                ctx.duration = 0.2;
                w->animator().setFrameOrigin({50, 50});
            },
            [&] { completed = true; });
    }
    advance(0.3);
    EXPECT_TRUE(completed);
}

TEST_F(WindowTest, KeyStatusMovesBetweenWindowsWithNotifications) {
    auto a = std::make_shared<Window>(Rect{0, 0, 100, 100}, StyleMask::titled);
    auto b = std::make_shared<Window>(Rect{0, 0, 100, 100}, StyleMask::titled | StyleMask::closable);
    auto borderless = std::make_shared<Panel>(Rect{0, 0, 10, 10}, StyleMask::nonactivatingPanel);
    a->makeKeyAndOrderFront();
    EXPECT_TRUE(a->isKeyWindow());
    b->makeKeyAndOrderFront();
    EXPECT_FALSE(a->isKeyWindow());
    EXPECT_TRUE(b->isKeyWindow());
    EXPECT_EQ(count(WindowDidBecomeKeyNotification), 2u);
    EXPECT_EQ(count(WindowDidResignKeyNotification), 1u);
    borderless->makeKeyAndOrderFront();
    EXPECT_TRUE(borderless->isVisible());
    EXPECT_TRUE(b->isKeyWindow()); // a borderless panel cannot become key
    b->close();
    EXPECT_TRUE(a->isKeyWindow()); // the next window that can be key takes over
    EXPECT_EQ(count(WindowWillCloseNotification), 1u);
    EXPECT_FALSE(Application::shared().isActive()); // nothing here activates the application
}

TEST_F(WindowTest, TheKeyWindowResignsWhenTheProgramLeavesTheFrontAndIsKeyAgainWhenItReturns) {
    auto& desktop = platform::SimDesktop::shared();
    auto& input = platform::SimInput::shared();
    const pid_t notes = desktop.run(testsupport::notesApp(), {testsupport::windowSpec("Note", {800, 100, 300, 200})});
    auto click = [&input](platform::CGPoint at) {
        input.moveMouse(at);
        input.mouseDown();
        input.mouseUp();
    };
    struct Case {
        const char* name;
        std::function<void()> act;
        bool leavesFront;
    };
    const std::vector<Case> cases = {
        {"another application activated", [&] { desktop.setFrontmost(notes); }, true},
        {"a click on another application's window", [&] { click({900, 200}); }, true},
        {"a click on the bare desktop", [&] { click({600, 700}); }, true},
        {"a click on the menu bar", [&] { click({600, 890}); }, false},
        {"a click on the program's own window", [&] { click({100, 100}); }, false},
    };
    auto window = std::make_shared<Window>(Rect{0, 0, 400, 300}, StyleMask::titled);
    auto& application = Application::shared();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        window->makeKeyAndOrderFront();
        application.activate(true);
        posted.clear();
        c.act();
        EXPECT_EQ(window->isKeyWindow(), !c.leavesFront);
        EXPECT_EQ(application.isActive(), !c.leavesFront);
        EXPECT_EQ(count(WindowDidResignKeyNotification), c.leavesFront ? 1u : 0u);
        EXPECT_EQ(count(ApplicationDidResignActiveNotification), c.leavesFront ? 1u : 0u);
        application.activate(true);
        EXPECT_TRUE(window->isKeyWindow());
        EXPECT_EQ(desktop.frontmost(), desktop.programPid());
    }
}

TEST_F(WindowTest, OrderFollowsLevelsAndTheListDropsDestroyedWindows) {
    auto normal = std::make_shared<Window>(Rect{0, 0, 10, 10}, StyleMask::titled);
    auto floating = std::make_shared<Panel>(Rect{0, 0, 10, 10}, StyleMask::nonactivatingPanel);
    floating->setLevel(WindowLevel::floating);
    auto saver = std::make_shared<Window>(Rect{0, 0, 10, 10}, StyleMask::borderless);
    saver->setLevel(WindowLevel::screenSaver);
    saver->orderFrontRegardless();
    floating->orderFrontRegardless();
    normal->orderFront();
    auto ordered = Application::shared().orderedWindows();
    ASSERT_EQ(ordered.size(), 3u);
    EXPECT_EQ(ordered[0], saver);
    EXPECT_EQ(ordered[1], floating);
    EXPECT_EQ(ordered[2], normal);
    EXPECT_NE(normal->windowNumber(), floating->windowNumber());
    ordered.clear();
    size_t before = Application::shared().windows().size();
    saver.reset();
    EXPECT_EQ(Application::shared().windows().size(), before - 1);
    EXPECT_EQ(Application::shared().orderedWindows().size(), 2u);
}

TEST_F(WindowTest, GeometryOfTitledWindowsAndCentering) {
    auto w = std::make_shared<Window>(Rect{0, 0, 1100, 720}, StyleMask::titled | StyleMask::resizable);
    EXPECT_EQ(w->frame().size, (Size{1100, 720 + Window::titleBarHeight}));
    EXPECT_EQ(w->contentSize(), (Size{1100, 720}));
    EXPECT_EQ(w->contentView()->frame(), (Rect{0, 0, 1100, 720}));
    w->minSize = {960, 628};
    w->setFrame({0, 0, 500, 500}, false);
    EXPECT_EQ(w->frame().size, (Size{960, 628}));
    w->center();
    EXPECT_DOUBLE_EQ(w->frame().midX(), 720);
    EXPECT_GT(w->frame().midY(), 875.0 / 2);
    EXPECT_EQ(w->convertRectToScreen({10, 20, 0, 0}).origin,
              (Point{w->frame().origin.x + 10, w->frame().origin.y + 20}));
}

class ControlTest : public UiTest {};

namespace {
struct FieldEvents : TextFieldDelegate {
    std::vector<std::string> events;
    void controlTextDidChange(TextField& f) override { events.push_back("change:" + f.stringValue()); }
    void controlTextDidEndEditing(TextField& f) override { events.push_back("end:" + f.stringValue()); }
};
struct RefusingField : SearchField {
    bool becomeFirstResponder() override { return false; }
};
} // namespace

TEST_F(ControlTest, TextFieldDelegateHearsTheUserButNotTheProgram) {
    auto window = std::make_shared<Window>(Rect{0, 0, 300, 100}, StyleMask::titled);
    auto field = std::make_shared<SearchField>();
    window->contentView()->addSubview(field);
    FieldEvents events;
    field->delegate = &events;

    field->setStringValue("set by the program");
    EXPECT_TRUE(events.events.empty());
    EXPECT_EQ(field->currentEditor(), nullptr);

    UISimulator::replaceText(*field, "ab");
    EXPECT_EQ(window->firstResponder(), field.get());
    ASSERT_NE(field->currentEditor(), nullptr);
    UISimulator::typeText(*field, "c");
    EXPECT_TRUE(field->showsCancelButton());
    UISimulator::clickCancelButton(*field);
    EXPECT_EQ(field->stringValue(), "");
    UISimulator::clickCancelButton(*field); // no cancel button while the field is empty
    UISimulator::endEditing(*field);
    EXPECT_EQ(field->currentEditor(), nullptr);
    EXPECT_EQ(events.events, (std::vector<std::string>{"change:ab", "change:abc", "change:", "end:"}));

    field->setStringValue("x");
    auto kept = field->cancelButtonCell;
    field->cancelButtonCell = nullptr;
    EXPECT_FALSE(field->showsCancelButton());
    UISimulator::clickCancelButton(*field);
    EXPECT_EQ(field->stringValue(), "x");
    field->cancelButtonCell = kept;
    EXPECT_TRUE(field->showsCancelButton());
}

TEST_F(ControlTest, ASearchFieldSetsItsTextBetweenTheButtonsThatShow) {
    struct Row {
        const char* name;
        bool searchButton;
        std::string text; ///< the cancel button shows while there is text
        double width;
        Rect textRect;
    };
    const Row rows[] = {
        {"a recorder holding a chord", false, "⌃⌥⇧1", 80, {16, 5, 52, 30}},
        {"an empty recorder", false, "", 80, {16, 5, 68, 30}},
        {"both buttons", true, "abc", 130, {32, 5, 86, 30}},
        {"narrower than its buttons", true, "abc", 30, {32, 5, 0, 30}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        SearchField field;
        if (!row.searchButton) field.searchButtonCell = nullptr;
        field.setStringValue(row.text);
        const Rect bounds{10, 5, row.width, 30};
        EXPECT_EQ(field.searchTextRect(bounds), row.textRect);
        const Rect cancel = field.cancelButtonRect(bounds);
        EXPECT_EQ(cancel.width(), row.text.empty() ? 0 : std::min(22.0, row.width));
        EXPECT_EQ(cancel.maxX(), bounds.maxX());
    }
}

TEST_F(ControlTest, FirstResponderMayBeRefused) {
    auto window = std::make_shared<Window>(Rect{0, 0, 300, 100}, StyleMask::titled);
    auto refusing = std::make_shared<RefusingField>();
    auto label = TextField::labelWithString("label");
    window->contentView()->addSubview(refusing);
    window->contentView()->addSubview(label);
    EXPECT_FALSE(window->makeFirstResponder(refusing.get()));
    EXPECT_FALSE(window->makeFirstResponder(label.get())); // labels do not accept it
    EXPECT_EQ(window->firstResponder(), window.get());
    // Keystrokes never reach a field that refused: its text stays and its delegate hears nothing.
    FieldEvents events;
    refusing->delegate = &events;
    refusing->setStringValue("kept");
    UISimulator::typeText(*refusing, "x");
    UISimulator::replaceText(*refusing, "y");
    EXPECT_EQ(refusing->stringValue(), "kept");
    EXPECT_EQ(refusing->currentEditor(), nullptr);
    EXPECT_TRUE(events.events.empty());
    auto detached = std::make_shared<SearchField>();
    window->contentView()->addSubview(detached);
    ASSERT_TRUE(window->makeFirstResponder(detached.get()));
    detached->removeFromSuperview(); // leaving the window ends its editing
    EXPECT_EQ(window->firstResponder(), window.get());
    EXPECT_EQ(detached->currentEditor(), nullptr);
}

TEST_F(ControlTest, ButtonsFlipStateByTypeAndDisabledOnesDoNothing) {
    struct Case {
        ButtonType type;
        int before;
        int after;
        bool enabled;
        int actions;
    };
    std::vector<Case> cases = {
        {ButtonType::switchButton, 0, 1, true, 1},    {ButtonType::switchButton, 1, 0, true, 1},
        {ButtonType::radio, 1, 1, true, 1},           {ButtonType::pushOnPushOff, 0, 1, true, 1},
        {ButtonType::momentaryPushIn, 0, 0, true, 1}, {ButtonType::switchButton, 0, 0, false, 0},
    };
    for (auto& c : cases) {
        auto target = std::make_shared<Responder>();
        int actions = 0;
        target->registerAction("changed:", [&](Responder*) { ++actions; });
        auto b = Button::withTitle("b", target, "changed:");
        b->buttonType = c.type;
        b->state = c.before;
        b->isEnabled = c.enabled;
        UISimulator::click(*b);
        EXPECT_EQ(b->state, c.after);
        EXPECT_EQ(actions, c.actions);
    }
}

TEST_F(ControlTest, SliderDragsClampAndSendByContinuity) {
    struct Case {
        bool continuous;
        bool ticksOnly;
        std::vector<double> drag;
        std::vector<double> seen;
    };
    std::vector<Case> cases = {
        {true, false, {3, 7.5, 30}, {3, 7.5, 24}},
        {false, false, {3, 7.5, -4}, {0}},
        {true, true, {7.4, 7.6}, {7, 8}},
    };
    for (auto& c : cases) {
        auto target = std::make_shared<Responder>();
        auto slider = Slider::make(5, 0, 24, target, "changed:");
        std::vector<double> seen;
        target->registerAction("changed:",
                               [&](Responder* s) { seen.push_back(static_cast<Slider*>(s)->doubleValue()); });
        slider->isContinuous = c.continuous;
        slider->numberOfTickMarks = 25;
        slider->allowsTickMarkValuesOnly = c.ticksOnly;
        UISimulator::dragSlider(*slider, c.drag);
        EXPECT_EQ(seen, c.seen);
    }
}

TEST_F(ControlTest, PopUpItemsAndSelection) {
    auto target = std::make_shared<Responder>();
    long picked = -2;
    auto popUp = std::make_shared<PopUpButton>();
    popUp->target = target;
    popUp->action = "changed:";
    target->registerAction(
        "changed:", [&](Responder* s) { picked = static_cast<PopUpButton*>(s)->indexOfSelectedItem(); });
    EXPECT_EQ(popUp->indexOfSelectedItem(), -1);
    popUp->addItems({"English", "Deutsch", "English"});
    EXPECT_EQ(popUp->itemTitles(), (std::vector<std::string>{"Deutsch", "English"}));
    popUp->selectItemAt(1);
    EXPECT_EQ(popUp->titleOfSelectedItem(), "English");
    popUp->selectItemAt(7);
    EXPECT_EQ(popUp->indexOfSelectedItem(), -1);
    EXPECT_FALSE(UISimulator::pickPopUpItem(*popUp, 5));
    EXPECT_TRUE(UISimulator::pickPopUpItem(*popUp, 0));
    EXPECT_EQ(picked, 0);
    popUp->removeAllItems();
    EXPECT_EQ(popUp->numberOfItems(), 0);
    EXPECT_EQ(popUp->indexOfSelectedItem(), -1);
}

TEST_F(ControlTest, StackAndGridFittingSizes) {
    auto fixed = [](double w, double h) {
        auto v = std::make_shared<View>();
        v->widthConstraint = w;
        v->heightConstraint = h;
        return v;
    };
    auto row = std::make_shared<StackView>();
    row->spacing = 8;
    row->addArrangedSubview(fixed(28, 28));
    row->addArrangedSubview(fixed(40, 20));
    auto hidden = fixed(100, 100);
    hidden->setHidden(true);
    row->addArrangedSubview(hidden);
    EXPECT_EQ(row->fittingSize(), (Size{76, 28}));

    auto column = std::make_shared<StackView>();
    column->orientation = UserInterfaceOrientation::vertical;
    column->spacing = 6;
    column->edgeInsets = {8, 12, 8, 12};
    column->addArrangedSubview(row);
    column->addArrangedSubview(fixed(10, 20));
    EXPECT_EQ(column->fittingSize(), (Size{100, 70}));
    column->setFrame({0, 0, 100, 70});
    column->layoutSubtreeIfNeeded();
    EXPECT_EQ(row->frame(), (Rect{12, 34, 76, 28})); // the first view sits at the top

    auto container = std::make_shared<View>();
    container->pinSubview(column, {2, 6, 2, 6});
    EXPECT_EQ(container->fittingSize(), (Size{112, 74}));

    std::vector<std::vector<std::shared_ptr<View>>> rows = {{fixed(28, 28), fixed(28, 28), fixed(28, 28)},
                                                            {fixed(28, 28)}};
    auto grid = GridView::withViews(rows);
    grid->rowSpacing = 6;
    grid->columnSpacing = 8;
    EXPECT_EQ(grid->numberOfColumns(), 3u);
    EXPECT_EQ(grid->cellView(2, 1), nullptr);
    EXPECT_EQ(grid->fittingSize(), (Size{100, 62}));
}

TEST_F(ControlTest, ImagesByNameAndDrawnImages) {
    auto dir = std::filesystem::temp_directory_path() / "tilmora-ui-images";
    std::filesystem::create_directories(dir);
    {
        std::ofstream png(dir / "Snap.png", std::ios::binary);
        const unsigned char header[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n', 0, 0, 0, 13,
                                        'I',  'H', 'D', 'R', 0,    0,    0,    18,   0, 0, 0, 16};
        png.write(reinterpret_cast<const char*>(header), sizeof header);
        std::ofstream junk(dir / "Broken.png");
        junk << "not an image";
    }
    platform::BundleControl::setResourceDirectory(dir);
    struct Case {
        std::string name;
        bool found;
        Size size;
    };
    std::vector<Case> cases = {{"Snap.png", true, {18, 16}},
                               {"Snap", true, {18, 16}},
                               {"Missing", false, {}},
                               {"", false, {}},
                               {"Broken.png", true, {0, 0}}};
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto image = Image::named(c.name);
        EXPECT_EQ(image != nullptr, c.found);
        if (image) {
            EXPECT_EQ(image->size(), c.size);
        }
    }
    auto icon = Image::drawn({16, 16}, false, [](Canvas& c) {
        c.setFillColor(Color::systemGreen().withAlphaComponent(0.5));
        c.fill(Rect{1, 1, 7, 14});
        c.setStrokeColor(Color::blackColor());
        c.setLineWidth(1.5);
        c.strokeLine({8, 0}, {8, 16});
    });
    ASSERT_EQ(icon->drawing().size(), 2u);
    EXPECT_EQ(icon->drawing()[0].kind, Canvas::OpKind::fillRect);
    EXPECT_EQ(icon->drawing()[0].color.alpha, 0.5);
    EXPECT_EQ(icon->drawing()[0].color.name, "systemGreen");
    EXPECT_EQ(icon->drawing()[1].lineWidth, 1.5);
    std::filesystem::remove_all(dir);
}
