#include "support/DesktopTest.hpp"

#include "platform/control/SimDesktop.hpp"
#include <cmath>
#include <functional>
#include <limits>
#include <unordered_set>

using namespace platform;

namespace {

struct WriteCase {
    const char* name;
    std::function<void(WindowSpec&)> configure;
    std::function<AXError(const AXUIElement&)> write;
    std::vector<AXError> expectedErrors; // one per repetition of the write
    CGRect expectedFrame;                // global, after the writes
};

} // namespace

TEST_F(DesktopTest, WriteRulesShapeEveryWrite) {
    // Window at global (100, 500, 800, 300) on a 1440 x 900 main display: AX position (100, 100).
    const CGRect unchanged{100, 500, 800, 300};
    const auto asIs = [](WindowSpec&) {};
    const auto positionTo = [](CGPoint p) { return [p](const AXUIElement& e) { return setPosition(e, p); }; };
    const auto sizeTo = [](CGSize s) { return [s](const AXUIElement& e) { return setSize(e, s); }; };
    const std::vector<WriteCase> cases = {
        {"plain position", asIs, positionTo({10, 20}), {kAXErrorSuccess}, {10, 580, 800, 300}},
        {"read-only position",
         [](WindowSpec& w) { w.positionSettable = false; },
         positionTo({10, 20}),
         {kAXErrorAttributeUnsupported},
         unchanged},
        {"read-only size",
         [](WindowSpec& w) { w.sizeSettable = false; },
         sizeTo({10, 20}),
         {kAXErrorAttributeUnsupported},
         unchanged},
        {"fails the first two writes",
         [](WindowSpec& w) { w.failFirstWrites = 2; },
         positionTo({10, 20}),
         {kAXErrorCannotComplete, kAXErrorCannotComplete, kAXErrorSuccess},
         {10, 580, 800, 300}},
        {"nudges by 0.7",
         [](WindowSpec& w) { w.nudge = 0.7; },
         positionTo({10, 20}),
         {kAXErrorSuccess},
         {10.7, 579.3, 800, 300}},
        {"size keeps the top-left corner", asIs, sizeTo({400, 200}), {kAXErrorSuccess}, {100, 600, 400, 200}},
        {"maximum size clamps",
         [](WindowSpec& w) {
             w.maxSize = CGSize{600, 250};
         },
         sizeTo({1000, 1000}),
         {kAXErrorSuccess},
         {100, 550, 600, 250}},
        {"point given for the size",
         asIs,
         [](const AXUIElement& e) {
             return AXUIElementSetAttributeValue(e, "AXSize", CFValue(*AXValueCreate(CGPoint{1, 2})));
         },
         {kAXErrorIllegalArgument},
         unchanged},
        {"position that is not a number",
         asIs,
         positionTo({std::nan(""), 20}),
         {kAXErrorIllegalArgument},
         unchanged},
        {"infinite size",
         asIs,
         sizeTo({400, std::numeric_limits<double>::infinity()}),
         {kAXErrorIllegalArgument},
         unchanged},
        {"unknown attribute",
         asIs,
         [](const AXUIElement& e) { return AXUIElementSetAttributeValue(e, "AXColour", CFValue(true)); },
         {kAXErrorAttributeUnsupported},
         unchanged},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SimDesktop::clear();
        desk().useLaptop();
        WindowSpec w = window("W", {100, 500, 800, 300});
        c.configure(w);
        pid_t pid = desk().run(notesApp(), {w});
        std::uint32_t n = desk().windowsOf(pid).at(0).number;
        for (AXError expected : c.expectedErrors)
            EXPECT_EQ(c.write(windowElement(pid, n)), expected);
        CGRect f = desk().windowState(n)->frame;
        EXPECT_NEAR(f.minX(), c.expectedFrame.minX(), 1e-9);
        EXPECT_NEAR(f.minY(), c.expectedFrame.minY(), 1e-9);
        EXPECT_EQ(f.size, c.expectedFrame.size);
        EXPECT_EQ(desk().journal(JournalEntry::Kind::axWrite).size(), c.expectedErrors.size());
    }
}

TEST_F(DesktopTest, ReadsFailWithTheErrorOfTheirCause) {
    struct Case {
        const char* name;
        std::function<void(pid_t, std::uint32_t)> arrange;
        const char* attribute;
        AXError expected;
    };
    const std::vector<Case> cases = {
        {"untrusted", [](pid_t, std::uint32_t) { SimDesktop::shared().setAccessibilityTrusted(false); },
         "AXPosition", kAXErrorAPIDisabled},
        {"closed window", [](pid_t, std::uint32_t n) { SimDesktop::shared().closeWindow(n); }, "AXPosition",
         kAXErrorInvalidUIElement},
        {"ended application", [](pid_t p, std::uint32_t) { SimDesktop::shared().quit(p); }, "AXTitle",
         kAXErrorInvalidUIElement},
        {"unresponsive application",
         [](pid_t p, std::uint32_t) {
             AppSpec a = notesApp();
             a.axResponds = false;
             SimDesktop::shared().updateApp(p, a);
         },
         "AXTitle", kAXErrorCannotComplete},
        {"unknown attribute", [](pid_t, std::uint32_t) {}, "AXColour", kAXErrorAttributeUnsupported},
        {"no tabs", [](pid_t, std::uint32_t) {}, "AXTabs", kAXErrorAttributeUnsupported},
        {"no subrole",
         [](pid_t, std::uint32_t n) {
             WindowSpec w;
             w.subrole.reset();
             SimDesktop::shared().updateWindow(n, w);
         },
         "AXSubrole", kAXErrorNoValue},
        {"number only as window id",
         [](pid_t, std::uint32_t n) {
             WindowSpec w;
             w.numberForm = AXNumberForm::windowIDOnly;
             SimDesktop::shared().updateWindow(n, w);
         },
         "AXWindowNumber", kAXErrorAttributeUnsupported},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SimDesktop::clear();
        desk().useLaptop();
        pid_t pid = desk().run(notesApp(), {window("W", {100, 100, 400, 300})});
        std::uint32_t n = desk().windowsOf(pid).at(0).number;
        c.arrange(pid, n);
        CFValue v;
        EXPECT_EQ(AXUIElementCopyAttributeValue(windowElement(pid, n), c.attribute, v), c.expected);
    }
}

TEST_F(DesktopTest, WindowNumberFormsAnswerUnderTheirOwnAttribute) {
    struct Case {
        AXNumberForm form;
        bool byNumber;
        bool byID;
    };
    for (Case c : {Case{AXNumberForm::windowNumber, true, false},
                   Case{AXNumberForm::windowIDOnly, false, true}, Case{AXNumberForm::none, false, false}}) {
        SimDesktop::clear();
        desk().useLaptop();
        WindowSpec w = window("W", {100, 100, 400, 300});
        w.numberForm = c.form;
        pid_t pid = desk().run(notesApp(), {w});
        std::uint32_t n = desk().windowsOf(pid).at(0).number;
        CFValue a, b;
        EXPECT_EQ(AXUIElementCopyAttributeValue(windowElement(pid, n), "AXWindowNumber", a) ==
                      kAXErrorSuccess,
                  c.byNumber);
        EXPECT_EQ(AXUIElementCopyAttributeValue(windowElement(pid, n), "AXWindowID", b) == kAXErrorSuccess,
                  c.byID);
        if (c.byNumber) {
            EXPECT_EQ(a.integerValue(), std::int64_t(n));
        }
        if (c.byID) {
            EXPECT_EQ(b.integerValue(), std::int64_t(n));
        }
    }
}

TEST_F(DesktopTest, ApplicationElementListsWindowsFrontToBackAndFocusesTheFrontOne) {
    desk().useLaptop();
    pid_t pid =
        desk().run(notesApp(), {window("Back", {0, 0, 400, 300}), window("Front", {50, 50, 400, 300})});
    AXUIElement app = AXUIElementCreateApplication(pid);
    CFValue list, focused;
    ASSERT_EQ(AXUIElementCopyAttributeValue(app, "AXWindows", list), kAXErrorSuccess);
    ASSERT_EQ(list.asArray()->size(), 2u);
    AXUIElement front = *(*list.asArray())[0].asElement();
    AXUIElement back = *(*list.asArray())[1].asElement();
    CFValue title;
    AXUIElementCopyAttributeValue(front, "AXTitle", title);
    EXPECT_EQ(*title.asString(), "Front");

    ASSERT_EQ(AXUIElementPerformAction(back, "AXRaise"), kAXErrorSuccess);
    ASSERT_EQ(AXUIElementCopyAttributeValue(app, "AXFocusedWindow", focused), kAXErrorSuccess);
    EXPECT_EQ(*focused.asElement(), back);

    // A minimized window stays listed but loses the focus.
    ASSERT_EQ(AXUIElementSetAttributeValue(back, "AXMinimized", CFValue(true)), kAXErrorSuccess);
    AXUIElementCopyAttributeValue(app, "AXFocusedWindow", focused);
    EXPECT_EQ(*focused.asElement(), front);
    AXUIElementCopyAttributeValue(app, "AXWindows", list);
    EXPECT_EQ(list.asArray()->size(), 2u);

    // Identity: the same window read twice is one element of a hash set.
    std::unordered_set<AXUIElement> set{front, *focused.asElement(), back};
    EXPECT_EQ(set.size(), 2u);
}

TEST_F(DesktopTest, ApplicationListingOnlyTheActiveSpaceHidesOtherSpaces) {
    DisplaySpec d;
    d.frame = {0, 0, 1440, 900};
    d.spaces = 2;
    desk().addDisplay(d);
    AppSpec a = notesApp();
    a.axListsOnlyActiveSpace = true;
    WindowSpec other = window("Other", {0, 0, 400, 300});
    other.desktop = 2;
    pid_t pid = desk().run(a, {window("Here", {0, 0, 400, 300}), other});
    EXPECT_EQ(axWindowCount(pid), 1u);
    desk().switchToDesktop(1, 2);
    EXPECT_EQ(axWindowCount(pid), 1u);
    a.axListsOnlyActiveSpace = false;
    desk().updateApp(pid, a);
    EXPECT_EQ(axWindowCount(pid), 2u);
}

TEST_F(DesktopTest, ZoomButtonTogglesBetweenTheVisibleFrameAndTheOldFrame) {
    desk().useLaptop();
    pid_t pid = desk().run(notesApp(), {window("W", {100, 100, 400, 300})});
    std::uint32_t n = desk().windowsOf(pid).at(0).number;
    CFValue button;
    ASSERT_EQ(AXUIElementCopyAttributeValue(windowElement(pid, n), "AXZoomButton", button), kAXErrorSuccess);
    ASSERT_EQ(AXUIElementPerformAction(*button.asElement(), "AXPress"), kAXErrorSuccess);
    EXPECT_EQ(desk().windowState(n)->frame, (CGRect{0, 0, 1440, 875}));
    AXUIElementPerformAction(*button.asElement(), "AXPress");
    EXPECT_EQ(desk().windowState(n)->frame, (CGRect{100, 100, 400, 300}));
    EXPECT_EQ(AXUIElementPerformAction(windowElement(pid, n), "AXPress"), kAXErrorActionUnsupported);
}

TEST_F(DesktopTest, SettableQueryFollowsTheWindowAndPromptsAreCounted) {
    desk().useLaptop();
    WindowSpec w = window("W", {100, 100, 400, 300});
    w.positionSettable = false;
    pid_t pid = desk().run(notesApp(), {w});
    AXUIElement e = windowElement(pid, desk().windowsOf(pid).at(0).number);
    bool settable = true;
    EXPECT_EQ(AXUIElementIsAttributeSettable(e, "AXPosition", settable), kAXErrorSuccess);
    EXPECT_FALSE(settable);
    EXPECT_EQ(AXUIElementIsAttributeSettable(e, "AXSize", settable), kAXErrorSuccess);
    EXPECT_TRUE(settable);

    desk().setAccessibilityTrusted(false);
    EXPECT_EQ(AXUIElementIsAttributeSettable(e, "AXSize", settable), kAXErrorAPIDisabled);
    EXPECT_FALSE(AXIsProcessTrustedWithOptions({{kAXTrustedCheckOptionPrompt, CFValue(false)}}));
    EXPECT_FALSE(AXIsProcessTrustedWithOptions({}));
    EXPECT_EQ(desk().accessibilityPrompts(), 0);
    EXPECT_FALSE(AXIsProcessTrustedWithOptions({{kAXTrustedCheckOptionPrompt, CFValue(true)}}));
    EXPECT_FALSE(AXIsProcessTrustedWithOptions({{kAXTrustedCheckOptionPrompt, CFValue(true)}}));
    EXPECT_EQ(desk().accessibilityPrompts(), 2);
}

TEST_F(DesktopTest, ValuesCanFailToBeCreatedOrConverted) {
    EXPECT_TRUE(AXValueCreate(CGPoint{1, 2}));
    desk().setAXValueCreationFails(true);
    EXPECT_FALSE(AXValueCreate(CGPoint{1, 2}));
    EXPECT_FALSE(AXValueCreate(CGSize{1, 2}));
    desk().setAXValueCreationFails(false);
    AXValue v = *AXValueCreate(CGSize{3, 4});
    CGPoint p;
    CGSize s;
    EXPECT_FALSE(AXValueGetValue(v, AXValueType::cgPoint, p));
    EXPECT_TRUE(AXValueGetValue(v, AXValueType::cgSize, s));
    desk().setAXValueConversionFails(true);
    EXPECT_FALSE(AXValueGetValue(v, AXValueType::cgSize, s));
}

TEST_F(DesktopTest, ApplicationsMayListWindowsTwiceOrNotAtAllAndWithholdTheFocusedOne) {
    struct Case {
        const char* name;
        bool listsNothing;
        bool withholdsFocus;
        int frontListings;
        std::vector<const char*> listed; // titles of "AXWindows", in order
        bool focusedAnswers;
    };
    const std::vector<Case> cases = {
        {"plain", false, false, 1, {"Front", "Back"}, true},
        {"front window listed twice", false, false, 2, {"Front", "Front", "Back"}, true},
        {"empty list", true, false, 1, {}, true},
        {"empty list, no focused window", true, true, 1, {}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SimDesktop::clear();
        desk().useLaptop();
        AppSpec a = notesApp();
        a.axWindowsEmpty = c.listsNothing;
        a.axFocusedWindowMissing = c.withholdsFocus;
        WindowSpec front = window("Front", {50, 50, 400, 300});
        front.axListings = c.frontListings;
        pid_t pid = desk().run(a, {window("Back", {0, 0, 400, 300}), front});
        AXUIElement app = AXUIElementCreateApplication(pid);

        CFValue list;
        ASSERT_EQ(AXUIElementCopyAttributeValue(app, "AXWindows", list), kAXErrorSuccess);
        std::vector<std::string> titles;
        for (const auto& v : *list.asArray()) {
            CFValue title;
            AXUIElementCopyAttributeValue(*v.asElement(), "AXTitle", title);
            titles.push_back(*title.asString());
        }
        EXPECT_EQ(titles, std::vector<std::string>(c.listed.begin(), c.listed.end()));
        if (titles.size() == 3) {
            EXPECT_EQ(*(*list.asArray())[0].asElement(), *(*list.asArray())[1].asElement());
        }

        CFValue focused, main;
        EXPECT_EQ(AXUIElementCopyAttributeValue(app, "AXFocusedWindow", focused),
                  c.focusedAnswers ? kAXErrorSuccess : kAXErrorNoValue);
        ASSERT_EQ(AXUIElementCopyAttributeValue(app, "AXMainWindow", main), kAXErrorSuccess);
        CFValue title;
        AXUIElementCopyAttributeValue(*main.asElement(), "AXTitle", title);
        EXPECT_EQ(*title.asString(), "Front");
    }
}
