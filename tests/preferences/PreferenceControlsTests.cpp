#include "platform/control/UISimulator.hpp"
#include "platform/control/ViewDriver.hpp"
#include "platform/ui/declarative/HostingView.hpp"
#include "preferences/CheckBox.hpp"
#include "preferences/LanguagePopup.hpp"
#include "preferences/ValueSlider.hpp"
#include "support/ContentRoot.hpp"
#include "support/PlatformTest.hpp"

#include <cmath>
#include <limits>

using namespace tilmora;
namespace decl = platform::ui::declarative;
using platform::ui::Button;
using platform::ui::PopUpButton;
using platform::ui::Slider;

namespace {

using Root = testsupport::ContentRoot;

/// A value outside any view, with a binding that counts its writes.
template <class T>
struct Bound {
    T value{};
    int writes = 0;
    decl::Binding<T> binding() {
        return decl::Binding<T>([this] { return value; },
                                [this](const T& v) {
                                    value = v;
                                    ++writes;
                                });
    }
};

class PreferenceControlTest : public PlatformTest {
protected:
    void TearDown() override {
        host.reset();
        PlatformTest::TearDown();
    }
    void show(std::function<decl::Element()> make) {
        host = std::make_shared<decl::HostingView>(std::make_shared<Root>(std::move(make)),
                                                   platform::ui::Rect{0, 0, 400, 200});
        host->rebuildIfNeeded();
    }
    /// What a change of the state outside does: a new description, then the update.
    void rebuild() {
        host->setNeedsRebuild();
        host->rebuildIfNeeded();
    }
    template <class T>
    T& native(const std::string& id) {
        auto* v = dynamic_cast<T*>(decl::ViewDriver(*host).nativeView(id));
        if (!v) throw std::runtime_error("no control " + id);
        return *v;
    }
    std::shared_ptr<decl::HostingView> host;
};

TEST(ValueSliderMath, TickMarksAreCountedFromTheStepWithoutUndefinedConversions) {
    const double nan = std::nan("");
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        double lower, upper, step;
        long ticks;
    } cases[] = {
        {0, 24, 1, 25},
        {0, 400, 2, 201},
        {0, 1, 0, 10001},       // a step of 0 acts as 0.0001
        {0, 1, 0.00005, 10001}, // so does anything up to 0.0001
        {0, 1, -3, 10001},
        {5, 5, 1, 2},   // an empty range still has two marks
        {10, 0, 1, 2},  // so has a reversed one
        {0, nan, 1, 2}, // a quotient that is not a number
        {0, inf, 1, std::numeric_limits<long>::max()},
        {0, 1e300, 1e-300, std::numeric_limits<long>::max()},
        {0, -inf, 1, 2},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ValueSlider::tickMarkCount(c.lower, c.upper, c.step), c.ticks)
            << c.lower << "..." << c.upper << " step " << c.step;
    }
}

TEST(ValueSliderMath, ValuesSnapToTheStepHalvesAwayFromZeroAndClampIntoTheRange) {
    struct Case {
        double x, lower, upper, step, expected;
    } cases[] = {
        {7.5, 0, 24, 1, 8},   {7.4, 0, 24, 1, 7},  {30, 0, 24, 1, 24},    {-3, 0, 24, 1, 0},
        {3, 0, 400, 2, 4},    {2.9, 0, 400, 2, 2}, {399, 0, 400, 2, 400}, {-0.5, -1, 1, 1, 0},
        {-1.5, -1, 1, 1, -1}, {5.6, 5, 10, 1, 6},  {0.00004, 0, 1, 0, 0}, {0.00006, 0, 1, 0, 0.0001},
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(ValueSlider::snapped(c.x, c.lower, c.upper, c.step), c.expected, 1e-9)
            << c.x << " in " << c.lower << "..." << c.upper << " step " << c.step;
    }
}

TEST_F(PreferenceControlTest, ASliderActionSnapsWritesOnlyChangesAndAlwaysSetsTheKnobAndCallsTheHandler) {
    struct Case {
        const char* what;
        double bound;
        std::vector<double> drag;
        double expected;
        int writes;
    } cases[] = {
        {"released between marks", 3, {7.5}, 8, 1},
        {"below the mark", 3, {7.4}, 7, 1},
        {"past the top", 3, {30}, 24, 1},
        {"past the bottom", 3, {-3}, 0, 1},
        {"onto the bound value", 8, {8.00004}, 8, 0},
        {"back to where it was", 8, {7.6}, 8, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Bound<double> value{c.bound};
        std::vector<double> handled;
        show([&] {
            return decl::representable<ValueSlider>(value.binding(), 0.0, 24.0, 1.0,
                                                    [&](double v) { handled.push_back(v); })
                .id("slider");
        });
        auto& slider = native<Slider>("slider");
        EXPECT_EQ(slider.numberOfTickMarks, 25);
        EXPECT_TRUE(slider.isContinuous);
        EXPECT_FALSE(slider.allowsTickMarkValuesOnly);
        decl::ViewDriver(*host).slide("slider", c.drag);
        EXPECT_EQ(value.value, c.expected);
        EXPECT_EQ(value.writes, c.writes);
        EXPECT_EQ(slider.doubleValue(), c.expected);
        EXPECT_EQ(handled, std::vector<double>(c.drag.size(), c.expected));
    }
}

TEST_F(PreferenceControlTest, ASliderFollowsTheBoundValueOnlyBeyondTheToleranceAndKeepsItsTickMarks) {
    Bound<double> value{10};
    double upper = 24;
    show([&] { return decl::representable<ValueSlider>(value.binding(), 0.0, upper, 1.0).id("slider"); });
    auto& slider = native<Slider>("slider");
    value.value = 10.00005; // within 0.0001: the knob stays
    rebuild();
    EXPECT_EQ(slider.doubleValue(), 10);
    value.value = 30; // a stored value beyond the range: the knob stands at the end
    rebuild();
    EXPECT_EQ(slider.doubleValue(), 24);
    upper = 40;
    value.value = 30;
    rebuild();
    EXPECT_EQ(slider.maxValue, 40);
    EXPECT_EQ(slider.doubleValue(), 30);
    EXPECT_EQ(slider.numberOfTickMarks, 25); // set when made only
}

TEST_F(PreferenceControlTest, ACheckBoxClickAlwaysWritesAndCallsAndAnUpdateFollowsTheBinding) {
    Bound<bool> isOn{false};
    std::string title = "Verbose";
    std::vector<bool> handled;
    show([&] {
        return decl::representable<CheckBox>(title, isOn.binding(), [&](bool v) { handled.push_back(v); })
            .id("box");
    });
    auto& button = native<Button>("box");
    EXPECT_EQ(button.state, platform::ui::ControlState::off);
    EXPECT_EQ(button.title, "Verbose");
    decl::ViewDriver(*host).click("box");
    EXPECT_TRUE(isOn.value);
    EXPECT_EQ(handled, std::vector<bool>{true});
    // A click when the box already shows the bound value writes and calls all the same.
    isOn.value = false;
    button.state = platform::ui::ControlState::off;
    platform::ui::UISimulator::click(button);
    button.state = platform::ui::ControlState::on;
    button.sendAction();
    EXPECT_EQ(isOn.writes, 3);
    EXPECT_EQ(handled, (std::vector<bool>{true, true, true}));
    isOn.value = false;
    title = "Ausführlich";
    rebuild();
    EXPECT_EQ(button.state, platform::ui::ControlState::off);
    EXPECT_EQ(button.title, "Ausführlich");
}

TEST_F(PreferenceControlTest, APopUpShowsTheMatchingOptionOrTheFirstAndWritesTheChosenCode) {
    struct Case {
        const char* what;
        std::vector<PopupOption> options;
        std::string selection;
        std::vector<std::string> titles;
        long selected;
    } cases[] = {
        {"matching",
         {{"", "System Default"}, {"de", "Deutsch"}, {"fr", "Français"}},
         "de",
         {"System Default", "Deutsch", "Français"},
         1},
        {"not offered", {{"", "System Default"}, {"de", "Deutsch"}}, "fr", {"System Default", "Deutsch"}, 0},
        {"empty list", {}, "de", {}, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Bound<std::string> selection{c.selection};
        auto options = c.options;
        show([&] {
            return decl::representable<LanguagePopup>(options, selection.binding(), [](const std::string&) {})
                .id("popup");
        });
        auto& popUp = native<PopUpButton>("popup");
        EXPECT_FALSE(popUp.pullsDown);
        EXPECT_EQ(popUp.itemTitles(), c.titles);
        EXPECT_EQ(popUp.indexOfSelectedItem(), c.selected);
        EXPECT_EQ(selection.value, c.selection); // the binding is kept
        EXPECT_EQ(selection.writes, 0);
    }
}

TEST_F(PreferenceControlTest, APopUpActionWritesTheCodeOrEmptyWithoutASelectionAndRebuildsNamesOnUpdate) {
    Bound<std::string> selection{""};
    std::vector<PopupOption> options{{"", "System Default"}, {"de", "Deutsch"}};
    std::vector<std::string> handled;
    show([&] {
        return decl::representable<LanguagePopup>(options, selection.binding(),
                                                  [&](const std::string& code) { handled.push_back(code); })
            .id("popup");
    });
    ASSERT_TRUE(decl::ViewDriver(*host).pick("popup", "Deutsch"));
    EXPECT_EQ(selection.value, "de");
    auto& popUp = native<PopUpButton>("popup");
    popUp.selectItemAt(-1);
    popUp.sendAction();
    EXPECT_EQ(selection.value, "");
    EXPECT_EQ(handled, (std::vector<std::string>{"de", ""}));
    options = {{"", "Systemstandard"}, {"de", "Deutsch"}};
    selection.value = "de";
    rebuild();
    EXPECT_EQ(popUp.itemTitles(), (std::vector<std::string>{"Systemstandard", "Deutsch"}));
    EXPECT_EQ(popUp.indexOfSelectedItem(), 1);
}

} // namespace
