#include "UiTestFixture.hpp"

#include "platform/control/AppearancePalette.hpp"
#include "platform/control/ViewDriver.hpp"
#include "platform/ui/Button.hpp"
#include "platform/ui/Slider.hpp"
#include "platform/ui/Window.hpp"
#include "platform/ui/declarative/ColorScheme.hpp"
#include "platform/ui/declarative/Layout.hpp"
#include "support/TableRow.hpp"

namespace dv = platform::ui::declarative;
using namespace platform::ui;

namespace {

/// A view of a fixed size (a colour in a fixed frame), `id` for finding it.
dv::Element block(const std::string& id, double width, double height) {
    return dv::ColorView(Color::grayColor()).frame(width, height).id(id);
}

/// A check box wrapped as a control: its fitting size is that of its title.
struct Box : dv::Representable<platform::ui::Button> {
    std::shared_ptr<platform::ui::Button> makeNSView(dv::RepresentableContext&) override {
        return platform::ui::Button::checkbox("A long check box title", nullptr, "");
    }
    void updateNSView(platform::ui::Button&, dv::RepresentableContext&) override {}
};

/// The control wrapped once more, as a shortcut recorder is.
struct Wrapped : dv::Component<Wrapped> {
    dv::Element body() override { return dv::representable<Box>(); }
};

/// A scroll view over twenty 100 x 40 buttons (centred in it), with a row below it that holds a
/// save button at its end.
struct Form : dv::Component<Form> {
    std::vector<std::string>* pressed = nullptr;
    explicit Form(std::vector<std::string>* pressed)
        : pressed(pressed) {}
    dv::Element body() override {
        std::vector<dv::Element> rows;
        for (int i = 0; i < 20; ++i) {
            const std::string id = "row" + std::to_string(i);
            rows.push_back(dv::Button(id, [this, id] { pressed->push_back(id); }).frame(100, 40).id(id));
        }
        return dv::VStack(
            dv::Alignment::leading, 0,
            {dv::ScrollView(dv::VStack(dv::Alignment::leading, 0, std::move(rows))).id("scroll"),
             dv::Divider(),
             dv::HStack(
                 dv::Alignment::center, std::nullopt,
                 {dv::Spacer(),
                  dv::Button("Save", [this] { pressed->push_back("Save"); }).frame(60, 30).id("save")})});
    }
};

dv::Node& child(const dv::Element& e, std::size_t i) {
    return *e.node()->children[i].node();
}

} // namespace

class ScrollAndClipTest : public UiTest {};

TEST_F(ScrollAndClipTest, ARowGivesFixedViewsTheirWidthShrinksFlexibleOnesAndTextsThenClips) {
    struct Case {
        const char* name;
        double room;
        std::vector<double> widths; // laid-out widths of the row's children, in order
        bool clipped;
    };
    const double text = dv::Layout::measure(*dv::Text("Gap between windows").node(), {1e9, 1e9}).width;
    const Case cases[] = {
        {"fits: the spacer takes what is left", 400, {100, 400 - 100 - 80 - 3 * 8 - text, text, 80}, false},
        {"too narrow: the spacer gives up its room first",
         100 + 80 + text + 3 * 8,
         {100, 0, text, 80},
         false},
        {"narrower still: the text wraps", 100 + 80 + 3 * 8 + 30, {100, 0, 30, 80}, false},
        {"fixed views alone too wide: never compressed, clipped", 150, {100, 0, 0, 80}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        dv::Element row = dv::HStack(
            dv::Alignment::center, 8,
            {block("a", 100, 20), dv::Spacer(), dv::Text("Gap between windows"), block("b", 80, 30)});
        dv::Layout::run(*row.node(), {0, 0, c.room, 50});
        double x = row.node()->layoutFrame.minX();
        for (std::size_t i = 0; i < c.widths.size(); ++i) {
            EXPECT_NEAR(child(row, i).layoutFrame.width(), c.widths[i], 0.01) << i;
            EXPECT_NEAR(child(row, i).layoutFrame.minX(), x, 0.01) << i; // one after another, never over
            x += c.widths[i] + 8;
        }
        EXPECT_EQ(row.node()->clipsContent, c.clipped);
        EXPECT_LE(row.node()->layoutFrame.width(), c.room + 0.01);
        // What lies past the row's edge shows only up to it.
        const auto& last = child(row, 3);
        EXPECT_NEAR(last.visibleFrame.isNull() ? 0 : last.visibleFrame.maxX(),
                    std::min(last.layoutFrame.maxX(), c.room), 0.01);
    }
}

TEST_F(ScrollAndClipTest, AControlInAFixedFrameTakesItsSizeAndARowWithASpacerItsContentsHeight) {
    dv::Element recorder = dv::view<Wrapped>();
    recorder.frame(80, 30);
    dv::HostingView host(std::make_shared<Form>(nullptr), {0, 0, 300, 400});
    // The form: the scroll view takes the height the divider and the button row leave.
    dv::ViewDriver driver(host);
    EXPECT_EQ(driver.find("scroll")->layoutFrame, (Rect{0, 0, 300, 400 - 1 - 30}));
    EXPECT_EQ(driver.find("save")->layoutFrame, (Rect{240, 370, 60, 30}));

    dv::Element row = dv::HStack(dv::Alignment::center, 4, {block("button", 100, 22), recorder});
    row.frame(180, 40);
    struct Root : dv::Component<Root> {
        dv::Element content;
        explicit Root(dv::Element content)
            : content(std::move(content)) {}
        dv::Element body() override { return content; }
    };
    dv::HostingView rowHost(std::make_shared<Root>(row), {0, 0, 300, 40});
    rowHost.rebuildIfNeeded();
    const auto& views = rowHost.subviews();
    ASSERT_EQ(views.size(), 1u);
    EXPECT_EQ(views[0]->frame().size, (Size{80, 30})) << "held at its frame";
    // 100 + 4 + 80 overflows the 180-point group (centred in the 300-point host) by 2 points on
    // each side, as a frame centres its content: nothing is cut.
    EXPECT_DOUBLE_EQ(views[0]->frame().minX(), 60 - 2 + 104);
    const auto shown = rowHost.visibleRectOfSubview(*views[0]);
    ASSERT_TRUE(shown);
    EXPECT_DOUBLE_EQ(shown->width(), 80);
}

TEST_F(ScrollAndClipTest, AScrollViewShowsWhatFitsAndScrollsByWheelPointsAndToAnElement) {
    std::vector<std::string> pressed;
    dv::HostingView host(std::make_shared<Form>(&pressed), {0, 0, 300, 400});
    dv::ViewDriver driver(host);
    auto shows = [&](const char* id) { return !driver.find(id)->scrolledOut; };
    EXPECT_TRUE(shows("row0"));
    EXPECT_TRUE(shows("row8"));
    EXPECT_FALSE(shows("row9")) << "only partly shown";
    EXPECT_FALSE(shows("row19"));
    EXPECT_TRUE(driver.find("row19")->visibleFrame.isNull());
    // The pointer reaches only what shows: nothing under the divider but the save row.
    EXPECT_EQ(host.elementAt({250, 385})->identity, "save");
    EXPECT_EQ(host.elementAt({150, 365})->identity, "row9");
    EXPECT_EQ(host.elementAt({150, 500}), nullptr);

    struct Step {
        const char* name;
        std::function<bool()> act;
        bool moved;
        double offset;
        const char* top; // the first row shown whole
    };
    const Step steps[] = {
        {"the wheel over the rows",
         [&] {
             return host.scrollAt({150, 100}, 100);
         },
         true, 100, "row3"},
        {"the wheel elsewhere",
         [&] {
             return host.scrollAt({250, 385}, 100);
         },
         false, 100, "row3"},
        {"back past the start",
         [&] {
             return host.scrollAt({150, 100}, -500);
         },
         true, 0, "row0"},
        {"by points far past the end, twice",
         [&] { return host.scrollBy("scroll", 1e308) && !host.scrollBy("scroll", 1e308); }, true, 800 - 369,
         "row11"},
        {"an unknown scroll view", [&] { return host.scrollBy("nope", 10); }, false, 800 - 369, "row11"},
        {"to an element above", [&] { return driver.scrollIntoView("row2"); }, true, 80, "row2"},
        {"to one in view", [&] { return driver.scrollIntoView("row3"); }, false, 80, "row2"},
        {"to one below: its bottom at the edge", [&] { return driver.scrollIntoView("row12"); }, true,
         520 - 369, "row4"},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.name);
        EXPECT_EQ(s.act(), s.moved);
        EXPECT_DOUBLE_EQ(host.scrollOffset("scroll"), s.offset);
        EXPECT_TRUE(shows(s.top));
        EXPECT_EQ(host.elementAt({150, driver.find(s.top)->layoutFrame.midY()})->identity, s.top);
    }
    // A click by id brings a hidden button into view first, as a test driver does.
    ASSERT_TRUE(driver.click("row18"));
    EXPECT_EQ(pressed, std::vector<std::string>{"row18"});
    EXPECT_TRUE(shows("row18"));
    // A rebuild keeps the place it was scrolled to.
    host.setNeedsRebuild();
    host.rebuildIfNeeded();
    EXPECT_TRUE(shows("row18"));
}

TEST_F(ScrollAndClipTest, APressOnASliderTrackMovesTheKnobThereAndOneOnTheKnobLeavesIt) {
    auto window = std::make_shared<Window>(Rect{100, 100, 300, 200}, StyleMask::borderless);
    auto slider = Slider::make(0, 0, 24, nullptr, "");
    slider->setFrame({10, 10, 116, 21}); // a track of 100 points from x 18 to 118 of the window
    window->contentView()->addSubview(slider);
    struct Case {
        const char* name;
        double from; // the value before the press
        double x;    // in the window
        bool tickValuesOnly;
        double value;
    };
    const Case cases[] = {
        {"the middle", 0, 68, false, 12},
        {"the left end", 12, 18, false, 0},
        {"before the track", 12, 0, false, 0},
        {"past the track", 0, 300, false, 24},
        {"a quarter", 0, 43, false, 6},
        {"between ticks", 0, 47, true, 7},
        {"the knob, off its centre", 12, 73, false, 12},
        {"the knob's edge", 12, 75, false, 12},
        {"just past the knob", 12, 80.5, false, 15},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        slider->allowsTickMarkValuesOnly = c.tickValuesOnly;
        slider->numberOfTickMarks = c.tickValuesOnly ? 25 : 0;
        slider->setDoubleValue(c.from);
        auto down = platform::NSEvent::mouseEvent(platform::EventType::leftMouseDown, {c.x, 20}, {}, 0,
                                                  window->windowNumber(), 1);
        slider->mouseDown(down);
        EXPECT_DOUBLE_EQ(slider->doubleValue(), c.value);
    }
}

TEST_F(ScrollAndClipTest, ADarkWindowGivesItsViewsTheDarkSchemeAndItsLabelsLightColours) {
    struct Scheme : dv::Component<Scheme> {
        dv::ColorScheme* seen;
        explicit Scheme(dv::ColorScheme* seen)
            : seen(seen) {}
        dv::Element body() override {
            *seen = environment<dv::ColorScheme>(dv::colorSchemeKey, dv::ColorScheme::light);
            return dv::Text("x");
        }
    };
    dv::ColorScheme seen = dv::ColorScheme::light;
    auto window = std::make_shared<Window>(Rect{0, 0, 200, 100}, StyleMask::titled);
    auto host = std::make_shared<dv::HostingView>(std::make_shared<Scheme>(&seen), Rect{0, 0, 200, 72});
    window->setContentView(host);
    host->rebuildIfNeeded();
    EXPECT_EQ(seen, dv::ColorScheme::light);
    window->setAppearance(Appearance::darkAqua);
    host->rebuildIfNeeded();
    EXPECT_EQ(seen, dv::ColorScheme::dark);

    using AppearancePalette::resolved;
    using AppearancePalette::resolvedText;
    using testsupport::TableRow;
    const TableRow<Color, Color> dark[] = {
        {"primary text", resolved(Color::labelColor(), Appearance::darkAqua),
         Color{1, 1, 1, 0.85, "labelColor"}},
        {"secondary text", resolved(Color::secondaryLabelColor(), Appearance::darkAqua),
         Color{1, 1, 1, 0.5, "secondaryLabelColor"}},
        {"text background", resolved(Color::textBackgroundColor(), Appearance::darkAqua),
         Color{0.118, 0.118, 0.118, 1, "textBackgroundColor"}},
        {"light: as stored", resolved(Color::labelColor(), Appearance::aqua), Color::labelColor()},
        {"a plain colour", resolved(Color::white(0.5), Appearance::darkAqua), Color::white(0.5)},
        {"green text on light", resolvedText(Color::systemGreen(), Appearance::aqua),
         Color{36 / 255.0, 138 / 255.0, 61 / 255.0, 1, "systemGreen"}},
        {"green fill on light", resolved(Color::systemGreen(), Appearance::aqua), Color::systemGreen()},
    };
    for (const auto& row : dark)
        EXPECT_EQ(row.given, row.expected) << row.name;
}

TEST_F(ScrollAndClipTest, AListThatMakesRowsOnDemandScrollsByWholeRows) {
    struct Rows : dv::Component<Rows> {
        std::vector<std::string>* pressed;
        explicit Rows(std::vector<std::string>* pressed)
            : pressed(pressed) {}
        dv::Element body() override {
            auto* log = pressed;
            return dv::List(
                       50,
                       [log](std::size_t i) {
                           const std::string id = "r" + std::to_string(i);
                           return dv::Button(id, [log, id] { log->push_back(id); }).frame(100, 30).id(id);
                       })
                .id("list");
        }
    };
    std::vector<std::string> pressed;
    dv::HostingView host(std::make_shared<Rows>(&pressed), {0, 0, 200, 300});
    dv::ViewDriver driver(host);
    struct Step {
        const char* name;
        std::function<bool()> act;
        bool moved;
        std::size_t first;
    };
    const Step steps[] = {
        {"a little: one row",
         [&] {
             return host.scrollAt({100, 100}, 5);
         },
         true, 1},
        {"a row's height and a half: two rows",
         [&] {
             return host.scrollAt({100, 100}, 59);
         },
         true, 3},
        {"far down: the last row",
         [&] {
             return host.scrollAt({100, 100}, 1e308);
         },
         true, 49},
        {"further down: nothing", [&] { return host.scrollBy("list", 100); }, false, 49},
        {"far up: the first row",
         [&] {
             return host.scrollAt({100, 100}, -1e308);
         },
         true, 0},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.name);
        EXPECT_EQ(s.act(), s.moved);
        EXPECT_EQ(host.firstShownRow("list"), s.first);
    }
    // The row the list's bottom edge cuts is hidden in part: a click by id shows it whole first.
    const auto* cut = driver.find("r7");
    ASSERT_NE(cut, nullptr);
    EXPECT_TRUE(cut->scrolledOut);
    ASSERT_TRUE(driver.click("r7"));
    EXPECT_EQ(pressed, std::vector<std::string>{"r7"});
    EXPECT_FALSE(driver.find("r7")->scrolledOut);
    EXPECT_GT(host.firstShownRow("list"), 0u);
}
