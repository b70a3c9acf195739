#include "UiTestFixture.hpp"

#include "support/DesktopBuilders.hpp"

#include "platform/control/SimInput.hpp"
#include "platform/control/ViewDriver.hpp"
#include "platform/input/NSEvent.hpp"
#include "platform/ui/Application.hpp"
#include "platform/ui/Button.hpp"
#include "platform/ui/Panel.hpp"
#include "platform/ui/PopUpButton.hpp"
#include "platform/ui/Slider.hpp"
#include "platform/ui/StatusItem.hpp"
#include "platform/ui/TextField.hpp"
#include "platform/ui/TextMetrics.hpp"
#include "platform/ui/WKWebView.hpp"
#include "platform/ui/declarative/HostingView.hpp"

#include <optional>
#include <string>
#include <vector>

namespace dv = platform::ui::declarative;
using namespace platform::ui;
using platform::CGPoint;
using platform::EventType;
using platform::NSEvent;
using platform::SimInput;

namespace {

/// Records what the controls and elements did, with the type of the current event then.
struct ClickSeen : Responder {
    std::vector<std::string> log;
    void note(const std::string& what) {
        const auto& event = Application::shared().currentEvent();
        log.push_back(what + (event && event->type == EventType::leftMouseUp ? " on mouse-up" : " without"));
    }
    long rows = 2;
    ClickSeen() {
        for (const char* selector : {"go:", "pick:", "secret:", "hidden:"})
            registerAction(selector, [this, selector](Responder*) { note(selector); });
        registerAction("slide:", [this](Responder* sender) {
            log.push_back("slide " + std::to_string(int(static_cast<Slider*>(sender)->doubleValue())));
        });
    }
};

/// A form of declarative elements: a button, a tappable pad (which reports where it was tapped)
/// with a button lying over its right half, a disabled button, a canvas that takes drags with a
/// tappable tile in its middle, and a stepper over 1 to 3.
struct ClickForm : dv::Component<ClickForm> {
    ClickSeen* seen = nullptr;
    explicit ClickForm(ClickSeen* s)
        : seen(s) {}
    dv::Element body() override {
        auto* s = seen;
        return dv::VStack(
            dv::Alignment::leading, 10,
            {dv::Button("Save", [s] { s->note("Save"); }),
             dv::ZStack(dv::Alignment::trailing,
                        {dv::Rectangle().frame(200, 60).onTapAt([s](Point p) {
                             s->note("pad " + std::to_string(int(p.x)) + "," + std::to_string(int(p.y)));
                         }),
                         dv::Button("Over", [s] { s->note("Over"); }).frame(100, 60)})
                 .id("pad"),
             dv::Button("Off", [s] { s->note("Off"); }).disabled(true),
             dv::ZStack(dv::Alignment::center,
                        {dv::Rectangle().frame(200, 60),
                         dv::Rectangle().frame(50, 30).onTap([s] { s->note("tile"); })})
                 .dragGesture(
                     0, [s](const dv::DragValue& v) { s->log.push_back("drag " + at(v.location)); },
                     [s](const dv::DragValue& v) { s->log.push_back("end " + at(v.location)); })
                 .id("canvas"),
             dv::Stepper("Rows", dv::Binding<long>([s] { return s->rows; },
                                                   [s](const long& v) {
                                                       s->rows = v;
                                                       s->note("rows " + std::to_string(v));
                                                   }),
                         1, 3)
                 .id("rows")});
    }
    static std::string at(Point p) { return std::to_string(int(p.x)) + "," + std::to_string(int(p.y)); }
};

/// The program's windows under the pointer: a panel of retained controls, a titled window that
/// hosts declarative elements and an ordered-out panel, with the routing the console installs.
class PointerClickTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        seen = std::make_shared<ClickSeen>();
        panel = std::make_shared<Panel>(Rect{100, 600, 300, 100}, StyleMask::nonactivatingPanel);
        panel->setLevel(WindowLevel::floating);
        auto content = std::make_shared<View>(Rect{0, 0, 300, 100});
        auto go = Button::withTitle("Go", seen, "go:");
        go->setFrame({10, 10, 80, 30});
        content->addSubview(go);
        auto popUp = std::make_shared<PopUpButton>(Rect{100, 10, 80, 30});
        popUp->addItems({"One", "Two"});
        popUp->setTarget(seen);
        popUp->action = "pick:";
        content->addSubview(popUp);
        auto hidden = std::make_shared<View>(Rect{190, 0, 110, 50});
        auto secret = Button::withTitle("Secret", seen, "secret:");
        secret->setFrame({0, 10, 80, 30});
        hidden->addSubview(secret);
        hidden->setHidden(true);
        content->addSubview(hidden);
        field = TextField::textFieldWithString("");
        field->setFrame({10, 60, 200, 24});
        content->addSubview(field);
        panel->setContentView(content);
        panel->orderFrontRegardless();

        window = std::make_shared<Window>(Rect{500, 100, 400, 300}, StyleMask::titled);
        host = std::make_shared<dv::HostingView>(std::make_shared<ClickForm>(seen.get()), Rect{0, 0, 400, 272});
        window->setContentView(host);
        window->orderFront();

        gone = std::make_shared<Panel>(Rect{100, 300, 200, 100}, StyleMask::nonactivatingPanel);
        auto goneContent = std::make_shared<View>(Rect{0, 0, 200, 100});
        goneContent->addSubview(Button::withTitle("Hidden", seen, "hidden:"));
        gone->setContentView(goneContent);
        gone->orderFrontRegardless();
        gone->orderOut();

        SimInput::shared().setPointerGoesToProgram([](CGPoint p) {
            auto& desktop = platform::SimDesktop::shared();
            auto hit = desktop.windowAt(p);
            return hit && hit->pid == desktop.programPid();
        });
        monitor = NSEvent::addGlobalMonitorForEvents(platform::EventTypeMask::leftMouseDown,
                                                     [this](const NSEvent&) { ++othersSawDown; });
        Application::shared().run();
    }
    void TearDown() override {
        NSEvent::removeMonitor(monitor);
        UiTest::TearDown();
    }

    /// The centre of a hosted element in global points, moved by `dx` to the right and `dy` down.
    CGPoint centreOf(const std::string& key, double dx = 0, double dy = 0) {
        const auto* node = dv::ViewDriver(*host).find(key);
        EXPECT_TRUE(node) << key;
        if (!node) return {};
        const Point local = host->convertPointToWindow(
            {node->layoutFrame.midX() + dx, host->frame().height() - node->layoutFrame.midY() - dy});
        return {local.x + window->frame().origin.x, local.y + window->frame().origin.y};
    }

    /// Presses the left button at `down` and releases it at `up`, then lets the events dispatch.
    void click(CGPoint down, CGPoint up) { press({down, up}); }
    /// Presses the left button at the first point, moves it through the others with the button
    /// held and releases it at the last, the events dispatching after each step.
    void press(const std::vector<CGPoint>& path) {
        auto& input = SimInput::shared();
        input.moveMouse(path.front());
        input.mouseDown();
        sim().drainMainQueue();
        for (std::size_t i = 1; i < path.size(); ++i) {
            input.moveMouse(path[i]);
            sim().drainMainQueue();
        }
        input.mouseUp();
        sim().drainMainQueue();
    }

    std::shared_ptr<ClickSeen> seen;
    std::shared_ptr<Panel> panel, gone;
    std::shared_ptr<Window> window;
    std::shared_ptr<dv::HostingView> host;
    std::shared_ptr<TextField> field;
    std::shared_ptr<platform::EventMonitor> monitor;
    int othersSawDown = 0;
};

TEST_F(PointerClickTest, AClickReachesTheControlOrElementUnderThePointer) {
    struct Case {
        const char* name;
        CGPoint down;
        CGPoint up;
        std::vector<std::string> log;
        bool othersSeeIt;
    };
    const CGPoint go{150, 625};
    const std::vector<Case> cases = {
        {"a button", go, go, {"go: on mouse-up"}, false},
        {"released off the button", go, {240, 625}, {}, false},
        {"a pop-up button: its items are picked, not clicked", {240, 625}, {240, 625}, {}, false},
        {"a hidden view's button", {330, 625}, {330, 625}, {}, false},
        {"an ordered-out panel", {150, 350}, {150, 350}, {}, true},
        {"a declarative button", centreOf("Save"), centreOf("Save"), {"Save on mouse-up"}, false},
        {"a tappable element, at the point", centreOf("pad", -60), centreOf("pad", -60),
         {"pad 40,30 on mouse-up"}, false},
        {"the element in front", centreOf("pad", 60), centreOf("pad", 60), {"Over on mouse-up"}, false},
        {"a disabled button", centreOf("Off"), centreOf("Off"), {}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        seen->log.clear();
        othersSawDown = 0;
        click(c.down, c.up);
        EXPECT_EQ(seen->log, c.log);
        EXPECT_EQ(othersSawDown, c.othersSeeIt ? 1 : 0);
        EXPECT_FALSE(Application::shared().currentEvent());
    }
}

TEST_F(PointerClickTest, APressAndItsMovesReachTheDragGestureTheSliderKnobAndTheStepperArrows) {
    // A continuous slider over 0 to 24 whose 100-point track runs from x 618 to 718 at y 520.5.
    auto panelOfSlider = std::make_shared<Panel>(Rect{600, 500, 300, 100}, StyleMask::nonactivatingPanel);
    auto slider = Slider::make(0, 0, 24, seen, "slide:");
    slider->isContinuous = true;
    slider->setFrame({10, 10, 116, 21});
    panelOfSlider->contentView()->addSubview(slider);
    panelOfSlider->orderFrontRegardless();
    const auto knobAt = [](double x) { return CGPoint{x, 520.5}; };
    const double arrows = dv::ViewDriver(*host).find("rows")->layoutFrame.width() / 2 - 7;
    struct Case {
        const char* name;
        double sliderValue;
        std::vector<CGPoint> path;
        std::vector<std::string> log;
        long rows;
    };
    const std::vector<Case> cases = {
        {"a drag on the canvas", 0, {centreOf("canvas", -60), centreOf("canvas", 0, 20), centreOf("canvas")},
         {"drag 40,30", "drag 100,50", "drag 100,30", "end 100,30"}, 2},
        {"a click on its tile: the drag ends in place and the tile is tapped", 0, {centreOf("canvas")},
         {"drag 100,30", "end 100,30", "tile on mouse-up"}, 2},
        {"a drag from the tile is no tap", 0, {centreOf("canvas"), centreOf("canvas", -60)},
         {"drag 100,30", "drag 40,30", "end 40,30"}, 2},
        {"a drag out of the window ends where the pointer is", 0, {centreOf("canvas"), centreOf("canvas", 450)},
         {"drag 100,30", "drag 550,30", "end 550,30"}, 2},
        {"the knob follows at its distance from the press", 12, {knobAt(671), knobAt(696), knobAt(721)},
         {"slide 18", "slide 24"}, 2},
        {"a press on the track moves the knob there, then it follows", 12, {knobAt(643), knobAt(668)},
         {"slide 6", "slide 12"}, 2},
        {"a press on the knob past the track's start", 0, {knobAt(613), knobAt(643)}, {"slide 6"}, 2},
        {"the knob dragged off the panel", 12, {knobAt(668), knobAt(1000)}, {"slide 24"}, 2},
        {"the stepper's up arrow", 0, {centreOf("rows", arrows, -5)}, {"rows 3 on mouse-up"}, 3},
        {"its down arrow", 0, {centreOf("rows", arrows, 5)}, {"rows 1 on mouse-up"}, 1},
        {"its label", 0, {centreOf("rows", -arrows)}, {}, 2},
        {"released off the arrow", 0, {centreOf("rows", arrows, -5), centreOf("rows", -arrows)}, {}, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        seen->log.clear();
        seen->rows = 2;
        slider->setDoubleValue(c.sliderValue);
        press(c.path);
        EXPECT_EQ(seen->log, c.log);
        EXPECT_EQ(seen->rows, c.rows);
    }
    // At its bound the stepper does not move, by the pointer as by the driver.
    seen->rows = 3;
    seen->log.clear();
    click(centreOf("rows", arrows, -5), centreOf("rows", arrows, -5));
    EXPECT_FALSE(dv::ViewDriver(*host).step("rows", 1));
    EXPECT_TRUE(seen->log.empty());
}

TEST_F(PointerClickTest, AClickOnAFieldMakesItFirstResponderAndUISimulatorClicksAsThePointerDoes) {
    click({150, 672}, {150, 672});
    EXPECT_EQ(panel->firstResponder(), field.get());
    panel->makeFirstResponder(nullptr);
    EXPECT_TRUE(UISimulator::clickView(*field));
    EXPECT_EQ(panel->firstResponder(), field.get());
    EXPECT_FALSE(UISimulator::clickView(*panel->contentView())) << "a plain view takes no click";
    // The driver's click of a declarative button acts with its mouse-up as the current event.
    seen->log.clear();
    EXPECT_TRUE(dv::ViewDriver(*host).click("Save"));
    EXPECT_EQ(seen->log, std::vector<std::string>{"Save on mouse-up"});
}

TEST_F(PointerClickTest, AClickActivatesTheProgramAndKeysItsWindowUnlessTheWindowIsANonActivatingPanel) {
    auto& desk = platform::SimDesktop::shared();
    const pid_t other = desk.run(testsupport::appSpec("com.apple.TextEdit", "TextEdit"));
    // An overlay that lets the mouse through lies over the hosting window.
    auto overlay = std::make_shared<Window>(Rect{400, 0, 600, 500}, StyleMask::borderless);
    overlay->setLevel(WindowLevel::screenSaver);
    overlay->setIgnoresMouseEvents(true);
    overlay->orderFrontRegardless();
    struct Case {
        const char* name;
        CGPoint at;
        std::vector<std::string> log;
        bool activates;
    };
    const std::vector<Case> cases = {
        {"a non-activating panel's button", {150, 625}, {"go: on mouse-up"}, false},
        {"a titled window's button, under the overlay", centreOf("Save"), {"Save on mouse-up"}, true},
        {"the titled window's title bar", {700, 390}, {}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        desk.setFrontmost(other);
        sim().drainMainQueue();
        ASSERT_FALSE(Application::shared().isActive());
        ASSERT_FALSE(window->isKeyWindow());
        seen->log.clear();
        click(c.at, c.at);
        EXPECT_EQ(seen->log, c.log);
        EXPECT_EQ(desk.frontmost(), c.activates ? desk.programPid() : other);
        EXPECT_EQ(Application::shared().isActive(), c.activates);
        EXPECT_EQ(window->isKeyWindow(), c.activates);
    }
}

TEST_F(PointerClickTest, EveryDisplaysMenuBarCarriesTheStatusItemWhoseWindowGoesToTheDisplayClicked) {
    platform::SimDesktop::shared().useLaptopWithExternal();
    auto item = StatusBar::system().statusItem(StatusItemLength::variable);
    std::vector<std::string> clickedFrom;
    auto shell = std::make_shared<Responder>();
    shell->registerAction("statusBarButtonClicked:", [&](Responder*) {
        const auto screen = item->buttonWindow()->screen();
        clickedFrom.push_back(screen ? screen->localizedName() : "nil");
    });
    item->button()->setTarget(shell);
    item->button()->action = "statusBarButtonClicked:";
    const struct {
        const char* name;
        CGPoint at;
        std::vector<std::string> clickedFrom;
    } rows[] = {
        {"the external display's menu bar", {3172, 1068}, {"DELL U2720Q"}},
        {"beside the item there", {3140, 1068}, {}},
        {"the laptop's menu bar", {1252, 888}, {"Built-in Retina Display"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        clickedFrom.clear();
        click(row.at, row.at);
        EXPECT_EQ(clickedFrom, row.clickedFrom);
    }
}

TEST_F(PointerClickTest, AClickOnALinkInsideAParagraphFollowsItAndOneOnTheOtherWordsDoesNot) {
    auto page = std::make_shared<Window>(Rect{100, 100, 400, 300}, StyleMask::borderless);
    auto web = std::make_shared<WKWebView>(Rect{0, 0, 400, 300}, WKWebViewConfiguration{});
    page->setContentView(web);
    page->orderFrontRegardless();
    web->loadHTMLString(R"(<p>See <a href="#end">the end</a> for more.</p><h2 id="end">End</h2>)",
                        std::string("file:///"));
    // The paragraph's first line starts 16 points in and 22 down (its margins), in 15-point text.
    const Font font{15, "regular", false};
    const double before = TextMetrics::width("See ", font);
    const double link = TextMetrics::width("the end", font);
    const double lineMiddle = 300 - 22 - 12;
    const struct {
        const char* name;
        double x;
        std::optional<std::string> url;
    } rows[] = {
        {"the word before the link", 16 + before / 2, "file:///"},
        {"the words after it", 16 + before + link + 10, "file:///"},
        {"the link", 16 + before + link / 2, "file:///#end"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const CGPoint at{100 + row.x, 100 + lineMiddle};
        click(at, at);
        EXPECT_EQ(web->url(), row.url);
    }
}

} // namespace
