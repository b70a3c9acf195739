#include "UiTestFixture.hpp"

#include "platform/control/ScreenCapture.hpp"
#include "platform/control/SimInput.hpp"
#include "platform/foundation/Error.hpp"
#include "platform/foundation/FileSystem.hpp"
#include "platform/ui/Button.hpp"
#include "platform/ui/Panel.hpp"
#include "platform/ui/SearchField.hpp"
#include "platform/ui/TextField.hpp"
#include "platform/ui/ShapeLayer.hpp"
#include "platform/ui/Slider.hpp"
#include "platform/ui/StatusItem.hpp"
#include "platform/ui/declarative/Elements.hpp"
#include "platform/ui/declarative/HostingView.hpp"
#include "platform/ui/declarative/ViewBase.hpp"
#include "support/DesktopBuilders.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

using namespace platform::ui;
using platform::CGPoint;
using platform::CGRect;
using platform::SimDesktop;
using Pixel = ScreenPicture::Pixel;
using Options = ScreenCapture::Options;

namespace {

Options options(double scale, std::optional<std::uint32_t> display = {}, bool pointer = true) {
    Options o;
    o.scale = scale;
    o.display = display;
    o.showsPointer = pointer;
    return o;
}

/// The screen capture on the laptop with its external display (3360 x 1080 points in all).
class ScreenCaptureTest : public UiTest {
protected:
    void restoreFixture() override {
        UiTest::restoreFixture();
        desk().useLaptopWithExternal();
        // The pointer away from every probe.
        platform::SimInput::shared().moveMouse({3300, 40});
    }

    static SimDesktop& desk() { return SimDesktop::shared(); }

    pid_t runTextEdit(const CGRect& frame, bool minimized = false) {
        auto w = testsupport::windowSpec("Notes", frame);
        w.minimized = minimized;
        const pid_t pid = desk().run(testsupport::appSpec("com.apple.TextEdit", "TextEdit"));
        number = desk().openWindow(pid, w);
        return pid;
    }

    static Pixel at(const ScreenPicture& picture, CGPoint p) {
        auto pixel = picture.pixelAt(p);
        EXPECT_TRUE(pixel.has_value()) << "(" << p.x << ", " << p.y << ") lies outside the picture";
        return pixel.value_or(Pixel{});
    }

    static Pixel of(const Color& c) { return Pixel::of(c); }

    /// A borderless panel at `frame` whose content view's layer holds a shape layer filling it
    /// with `color`.
    static std::shared_ptr<Panel> filledPanel(const CGRect& frame, const Color& color, long level) {
        auto panel = std::make_shared<Panel>(frame, StyleMask::borderless | StyleMask::nonactivatingPanel);
        panel->backgroundColor = Color::clearColor();
        panel->isOpaque = false;
        auto content = std::make_shared<View>(CGRect{0, 0, frame.width(), frame.height()});
        content->setWantsLayer(true);
        auto shape = std::make_shared<ShapeLayer>();
        shape->frame = {0, 0, frame.width(), frame.height()};
        Path path;
        path.addRect({0, 0, frame.width(), frame.height()});
        shape->path = path;
        shape->fillColor = color;
        content->layer()->addSublayer(shape);
        panel->setContentView(content);
        panel->setLevel(level);
        return panel;
    }

public:
    std::uint32_t number = 0;
};

struct ProbeCase {
    const char* name;
    CGPoint point; ///< global coordinates
    Color expected;
};

TEST_F(ScreenCaptureTest, TheDesktopDrawsEveryDisplayWithItsMenuBarOnTheNeutralBackground) {
    const ScreenPicture picture = ScreenCapture::capture();
    EXPECT_EQ(picture.width(), 3360);
    EXPECT_EQ(picture.height(), 1080);
    const ProbeCase cases[] = {
        {"inside display 1", {700, 400}, ScreenCapture::desktopColor()},
        {"inside display 2", {2400, 500}, ScreenCapture::desktopColor()},
        {"the empty band above display 1", {700, 990}, ScreenCapture::backgroundColor()},
        {"just above display 1's top edge", {1439, 900.5}, ScreenCapture::backgroundColor()},
        {"display 1's menu bar", {1000, 890}, ScreenCapture::menuBarColor()},
        {"display 2's menu bar", {3000, 1070}, ScreenCapture::menuBarColor()},
        {"display 2 just under its menu bar", {3000, 1050}, ScreenCapture::desktopColor()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(at(picture, c.point), of(c.expected)) << c.name;
}

TEST_F(ScreenCaptureTest, AnotherApplicationsWindowHasABodyAndATitleBarUntilItQuits) {
    const pid_t pid = runTextEdit({120, 180, 800, 600});
    const CGPoint centre{520, 480}, titleBar{130, 770}, outside{100, 100};

    ScreenPicture picture = ScreenCapture::capture();
    EXPECT_EQ(at(picture, centre), of(ScreenCapture::windowBodyColor()));
    EXPECT_EQ(at(picture, titleBar), of(ScreenCapture::titleBarColor())); // not frontmost
    EXPECT_EQ(at(picture, outside), of(ScreenCapture::desktopColor()));

    desk().setFrontmost(pid);
    picture = ScreenCapture::capture();
    EXPECT_EQ(at(picture, titleBar), of(ScreenCapture::activeTitleBarColor()));
    EXPECT_EQ(at(picture, centre), of(ScreenCapture::windowBodyColor()));

    desk().quit(pid);
    picture = ScreenCapture::capture();
    EXPECT_EQ(at(picture, centre), of(ScreenCapture::desktopColor()));
    EXPECT_EQ(at(picture, titleBar), of(ScreenCapture::desktopColor()));
}

TEST_F(ScreenCaptureTest, WindowsNobodySeesAreLeftOut) {
    struct Case {
        const char* name;
        std::function<void(ScreenCaptureTest&)> hide;
    };
    const Case cases[] = {
        {"minimized", [](ScreenCaptureTest& t) { desk().setWindowMinimized(t.number, true); }},
        {"closed", [](ScreenCaptureTest& t) { desk().closeWindow(t.number); }},
        {"on an inactive Desktop",
         [](ScreenCaptureTest& t) {
             desk().addSpace(1);
             desk().moveWindowToDesktop(t.number, 2);
         }},
    };
    for (const auto& c : cases) {
        resetSharedInstances();
        runTextEdit({120, 180, 800, 600});
        c.hide(*this);
        EXPECT_EQ(at(ScreenCapture::capture(), {520, 480}), of(ScreenCapture::desktopColor())) << c.name;
    }
}

TEST_F(ScreenCaptureTest, WindowsStackInTheWindowServersOrderWithHigherLayersOnTop) {
    const pid_t notesPid = desk().run(testsupport::notesApp());
    runTextEdit({120, 180, 800, 600});
    const auto notesWindow =
        desk().openWindow(notesPid, testsupport::windowSpec("Front", {400, 300, 300, 200}));
    // The Notes window covers TextEdit's centre with its own title bar.
    EXPECT_EQ(at(ScreenCapture::capture(), {520, 486}), of(ScreenCapture::titleBarColor()));

    desk().clickWindow(number); // TextEdit comes to the front
    EXPECT_EQ(at(ScreenCapture::capture(), {520, 486}), of(ScreenCapture::windowBodyColor()));
    desk().clickWindow(notesWindow);
    EXPECT_EQ(at(ScreenCapture::capture(), {520, 486}), of(ScreenCapture::activeTitleBarColor()));
}

TEST_F(ScreenCaptureTest, ProgramPanelsShowAtTheirAlphaAndLevel) {
    runTextEdit({120, 180, 800, 600});
    const std::string before = ScreenCapture::capture().pngData();

    auto panel = filledPanel({420, 380, 200, 200}, Color::redColor(), WindowLevel::normal);
    panel->setAlphaValue(0);
    panel->orderFrontRegardless();
    EXPECT_TRUE(ScreenCapture::capture().pngData() == before) << "a panel with alpha 0 changes no pixel";

    struct Case {
        double alpha;
        long level;
        Pixel centre;
    };
    const Case cases[] = {
        {1, WindowLevel::normal, {255, 0, 0}},
        {0.5, WindowLevel::normal, {255, 128, 128}}, // half red over the white body
        {1, WindowLevel::floating, {255, 0, 0}},
        {1, WindowLevel::screenSaver, {255, 0, 0}},
    };
    for (const auto& c : cases) {
        panel->setAlphaValue(c.alpha);
        panel->setLevel(c.level);
        desk().clickWindow(number); // the other application's window comes in front of its layer
        const Pixel centre = at(ScreenCapture::capture(), {520, 480});
        if (c.level == WindowLevel::normal) {
            EXPECT_EQ(centre, of(ScreenCapture::windowBodyColor()))
                << "level " << c.level << " under the click";
            continue;
        }
        EXPECT_EQ(centre, c.centre) << "level " << c.level << ": " << centre.description();
    }
    // A normal-level panel in front of the window shows at its alpha.
    for (const auto& c : cases) {
        if (c.level != WindowLevel::normal) continue;
        panel->setLevel(WindowLevel::normal);
        panel->setAlphaValue(c.alpha);
        panel->orderFrontRegardless();
        const Pixel centre = at(ScreenCapture::capture(), {520, 480});
        EXPECT_NEAR(centre.red, c.centre.red, 1) << c.alpha;
        EXPECT_NEAR(centre.green, c.centre.green, 1) << c.alpha;
        EXPECT_NEAR(centre.blue, c.centre.blue, 1) << c.alpha;
    }
    panel->orderOut();
    EXPECT_EQ(at(ScreenCapture::capture(), {520, 480}), of(ScreenCapture::windowBodyColor()))
        << "an ordered-out panel shows nothing";
}

TEST_F(ScreenCaptureTest, StatusItemsShowOverTheMenuBar) {
    auto item = StatusBar::system().statusItem(StatusItemLength::variable);
    item->button()->setWantsLayer(true);
    item->button()->layer()->backgroundColor = Color::blueColor();
    const CGRect f = item->buttonWindow()->frame();
    EXPECT_EQ(at(ScreenCapture::capture(), {f.midX(), f.midY()}), of(Color::blueColor()));
}

TEST_F(ScreenCaptureTest, ScaleAndDisplayChooseThePicturesSizeAndArea) {
    struct Case {
        const char* name;
        Options options;
        int width, height;
        CGRect area;
    };
    const Case cases[] = {
        {"scale 2", options(2), 6720, 2160, {0, 0, 3360, 1080}},
        {"scale 0.25", options(0.25), 840, 270, {0, 0, 3360, 1080}},
        {"display 2", options(1, 2), 1920, 1080, {1440, 0, 1920, 1080}},
        {"display 1 at scale 1.5", options(1.5, 1), 2160, 1350, {0, 0, 1440, 900}},
    };
    runTextEdit({1600, 200, 400, 300});
    for (const auto& c : cases) {
        const ScreenPicture picture = ScreenCapture::capture(c.options);
        EXPECT_EQ(picture.width(), c.width) << c.name;
        EXPECT_EQ(picture.height(), c.height) << c.name;
        EXPECT_EQ(picture.area(), c.area) << c.name;
        // The window's body and the bare desktop land on the same points at every scale.
        if (picture.area().contains(CGPoint{1800, 300})) {
            EXPECT_EQ(at(picture, {1800, 300}), of(ScreenCapture::windowBodyColor())) << c.name;
        }
        EXPECT_EQ(at(picture, {picture.area().minX() + 50, 50}), of(ScreenCapture::desktopColor())) << c.name;
    }
    // Display 2's picture holds no background band: its top-left pixel is its menu bar.
    const ScreenPicture display2 = ScreenCapture::capture(options(1, 2));
    EXPECT_EQ(display2.pixel(300, 2), of(ScreenCapture::menuBarColor()));
    EXPECT_EQ(display2.pixel(300, 1079), of(ScreenCapture::desktopColor()));
}

TEST_F(ScreenCaptureTest, TheSameDesktopGivesTheSameBytes) {
    runTextEdit({120, 180, 800, 600});
    auto panel = filledPanel({300, 300, 100, 100}, Color::systemGreen(), WindowLevel::floating);
    panel->orderFrontRegardless();
    const std::string first = ScreenCapture::capture().pngData();
    ASSERT_GT(first.size(), 8u);
    EXPECT_EQ(first.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
    EXPECT_TRUE(ScreenCapture::capture().pngData() == first);

    sim().runFor(5); // time passing changes nothing
    EXPECT_TRUE(ScreenCapture::capture().pngData() == first);

    desk().setWindowFrame(number, {121, 180, 800, 600});
    EXPECT_FALSE(ScreenCapture::capture().pngData() == first);
}

TEST_F(ScreenCaptureTest, ThePointerIsDrawnOnTopUnlessAsked) {
    runTextEdit({120, 180, 800, 600});
    platform::SimInput::shared().moveMouse({500, 500});
    const CGPoint insideArrow{502, 492};
    EXPECT_EQ(at(ScreenCapture::capture(), insideArrow), of(Color::blackColor()));
    EXPECT_EQ(at(ScreenCapture::capture(options(1, {}, false)), insideArrow),
              of(ScreenCapture::windowBodyColor()));
}

TEST_F(ScreenCaptureTest, BadRequestsFailWithTheirReasonAndWriteNothing) {
    const auto folder =
        std::filesystem::temp_directory_path() / ("tilmora-pictures-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    struct Case {
        const char* name;
        std::function<void()> before;
        std::filesystem::path file;
        Options options;
        std::string message;
    };
    const Case cases[] = {
        {"scale below the range", {}, folder / "a.png", options(0.2), "scale 0.2 is outside 0.25...4"},
        {"scale above the range", {}, folder / "a.png", options(4.5), "scale 4.5 is outside 0.25...4"},
        {"scale not a number", {}, folder / "a.png", options(std::nan("")), "scale nan is outside 0.25...4"},
        {"unknown display", {}, folder / "a.png", options(1, 3), "no display 3"},
        {"missing folder",
         {},
         folder / "missing" / "a.png",
         {},
         "no such folder: " + (folder / "missing").string()},
        {"too large",
         [] {
             platform::DisplaySpec wide;
             wide.displayID = 3;
             wide.frame = {3360, 0, 1000, 1080};
             desk().addDisplay(wide);
         },
         folder / "a.png", options(4), "a picture of 17440 x 4320 pixels is over 16384 pixels on a side"},
        {"no displays", [] { SimDesktop::clear(); }, folder / "a.png", {}, "there is no display to draw"},
    };
    for (const auto& c : cases) {
        resetSharedInstances();
        if (c.before) c.before();
        try {
            ScreenCapture::writePNG(c.file, c.options);
            ADD_FAILURE() << c.name << ": no error";
        } catch (const platform::Error& e) {
            EXPECT_EQ(std::string(e.what()), c.message) << c.name;
        }
        EXPECT_FALSE(std::filesystem::exists(c.file)) << c.name;
    }
    // The largest picture allowed is drawn.
    resetSharedInstances();
    const auto ok = folder / "largest.png";
    EXPECT_EQ(ScreenCapture::writePNG(ok, options(4, 1)).width(), 5760);
    EXPECT_TRUE(platform::FileSystem::fileExists(ok));
    std::filesystem::remove_all(folder);
}

/// A hosted declarative view: a red band 100 points high over a blue one.
class Bands : public declarative::Component<Bands> {
public:
    declarative::Element body() override {
        using namespace declarative;
        return VStack(
            Alignment::center, 0,
            {ColorView(Color::redColor()).frame(300, 100), ColorView(Color::blueColor()).frame(300, 100)});
    }
};

TEST_F(ScreenCaptureTest, TheProgramsViewsControlsAndDeclarativeViewsAreDrawn) {
    // Content 600 x 372 at (100, 100); the title bar above it up to y 500.
    auto window = std::make_shared<Window>(CGRect{100, 100, 600, 372}, StyleMask::titled);
    window->title = "Settings";
    auto content = std::make_shared<View>(CGRect{0, 0, 600, 372});
    auto ok = Button::withTitle("OK", nullptr, {});
    ok->keyEquivalent = KeyEquivalent::returnKey;
    ok->setFrame({20, 20, 100, 30});
    auto check = Button::checkbox("Snap", nullptr, {});
    check->state = ControlState::on;
    check->setFrame({20, 80, 120, 20});
    auto slider = Slider::make(1, 0, 1, nullptr, {});
    slider->setFrame({20, 120, 200, 21});
    auto host =
        std::make_shared<declarative::HostingView>(std::make_shared<Bands>(), CGRect{300, 20, 300, 200});
    content->addSubview(ok);
    content->addSubview(check);
    content->addSubview(slider);
    content->addSubview(host);
    window->setContentView(content);
    host->rebuildIfNeeded();
    window->orderFrontRegardless();

    const ScreenPicture picture = ScreenCapture::capture();
    const ProbeCase cases[] = {
        {"the window's background", {110, 110}, Color::windowBackgroundColor()},
        {"the default button's bezel", {100 + 25, 100 + 35}, Color::controlAccentColor()},
        {"the checked box", {100 + 21 + 7, 100 + 90 + 3}, Color::controlAccentColor()},
        {"the slider's knob at its maximum", {100 + 212, 100 + 130.5}, Color::whiteColor()},
        {"the top band", {100 + 450, 100 + 20 + 150}, Color::redColor()},
        {"the bottom band", {100 + 450, 100 + 20 + 50}, Color::blueColor()},
        {"the title bar", {400, 496}, ScreenCapture::titleBarColor()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(at(picture, c.point), of(c.expected))
            << c.name << ": " << at(picture, c.point).description();
}

/// Whether two equal areas of a picture, `size` points from their lower-left corners, hold the same
/// pixels (at scale 1).
bool sameArea(const ScreenPicture& picture, CGPoint a, CGPoint b, platform::CGSize size) {
    for (double y = 0.5; y < size.height; ++y)
        for (double x = 0.5; x < size.width; ++x)
            if (picture.pixelAt({a.x + x, a.y + y}) != picture.pixelAt({b.x + x, b.y + y})) return false;
    return true;
}

TEST_F(ScreenCaptureTest, TextsDrawEveryCharacterTheyHoldAndARecorderItsWholeChord) {
    auto window = std::make_shared<Window>(CGRect{100, 100, 400, 200}, StyleMask::titled);
    auto content = std::make_shared<View>(CGRect{0, 0, 400, 200});
    auto place = [&](std::shared_ptr<TextField> field, CGRect frame) {
        field->alignment = TextAlignment::left;
        field->setFrame(frame);
        content->addSubview(field);
    };
    // CJK characters, and as many that no face has (each drawn as the same box).
    place(TextField::labelWithString("東京"), {20, 20, 60, 20});
    place(TextField::labelWithString("\U0010FFFD\U0010FFFD"), {20, 50, 60, 20});
    // A chord in a recorder-like field (no search button, the cancel button showing), 80 points wide
    // and 300.
    for (const double width : {80.0, 300.0}) {
        auto field = std::make_shared<SearchField>();
        field->searchButtonCell = nullptr;
        field->setStringValue("⌃⌥⇧1");
        place(field, {20, width < 100 ? 100.0 : 140.0, width, 30});
    }
    window->setContentView(content);
    window->orderFrontRegardless();
    const ScreenPicture picture = ScreenCapture::capture(options(1, {}, false));
    EXPECT_FALSE(sameArea(picture, {120, 120}, {120, 150}, {60, 20})) << "東京 drawn as boxes";
    // The narrow field shows the chord as the wide one does, up to its cancel button.
    EXPECT_TRUE(sameArea(picture, {120, 200}, {120, 240}, {56, 30})) << "the chord is cut in 80 points";
}

/// Shapes placed on a declarative canvas (points, y down from the host's top-left).
class Shapes : public declarative::Component<Shapes> {
public:
    declarative::Element body() override {
        using namespace declarative;
        return declarative::Canvas([](Size) {
                   StrokeStyle ring;
                   ring.color = Color::systemGreen();
                   ring.lineWidth = 4;
                   ring.inset = true;
                   return Group({
                       Rectangle().fill(Color::redColor()).placed({0, 0, 50, 50}),
                       Circle().fill(Color::blueColor()).placed({100, 0, 50, 50}),
                       RoundedRectangle(10).stroke(ring).placed({0, 100, 60, 60}),
                       Rectangle().fill(Color::redColor()).opacity(0).placed({100, 100, 50, 50}),
                       PathShape([](Size size) {
                           Path triangle; // the upper-left half of its box
                           triangle.moveTo({0, 0});
                           triangle.lineTo({size.width, 0});
                           triangle.lineTo({0, size.height});
                           triangle.closeSubpath();
                           return triangle;
                       })
                           .fill(Color::redColor())
                           .placed({200, 0, 60, 60}),
                   });
               })
            .frame(300, 200);
    }
};

TEST_F(ScreenCaptureTest, DeclarativeShapesLandWhereTheLayoutPutThem) {
    // The host's top-left is at global (500, 500); host point (x, y) is global (500 + x, 500 - y).
    auto panel = std::make_shared<Panel>(CGRect{500, 300, 300, 200}, StyleMask::borderless);
    panel->backgroundColor = Color::whiteColor();
    auto host =
        std::make_shared<declarative::HostingView>(std::make_shared<Shapes>(), CGRect{0, 0, 300, 200});
    panel->setContentView(host);
    host->rebuildIfNeeded();
    panel->orderFrontRegardless();
    const ScreenPicture picture = ScreenCapture::capture();
    auto hostPoint = [&](double x, double y) { return at(picture, {500 + x, 500 - y}); };
    struct Case {
        const char* name;
        double x, y; ///< host space
        Color expected;
    };
    const Case cases[] = {
        {"the filled square", 25, 25, Color::redColor()},
        {"the circle's centre", 125, 25, Color::blueColor()},
        {"outside the circle, inside its box", 101, 1, Color::whiteColor()},
        {"the ring's edge", 2, 130, Color::systemGreen()},
        {"inside the ring", 30, 130, Color::whiteColor()},
        {"a rectangle at opacity 0", 125, 125, Color::whiteColor()},
        {"the triangle's upper-left corner", 205, 5, Color::redColor()},
        {"the triangle's empty lower-right corner", 255, 55, Color::whiteColor()},
    };
    for (const auto& c : cases) {
        const Pixel pixel = hostPoint(c.x, c.y);
        EXPECT_EQ(pixel, of(c.expected)) << c.name << ": " << pixel.description();
    }
}

} // namespace
