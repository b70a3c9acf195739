#include "RecorderTestSupport.hpp"
#include "platform/control/ViewDriver.hpp"
#include "platform/ui/declarative/HostingView.hpp"
#include "shortcuts/FormLabel.hpp"
#include "shortcuts/Recorder.hpp"
#include "shortcuts/Registry.hpp"
#include "shortcuts/ViewModifiers.hpp"
#include "support/ContentRoot.hpp"

#include <gtest/gtest.h>

using namespace tilmora::GlobalShortcuts;
using platform::ModifierFlags;
namespace decl = platform::ui::declarative;

namespace {

using Root = testsupport::ContentRoot;

class DeclarativeRecorderTest : public RecorderFixture {
protected:
    void TearDown() override {
        host.reset();
        RecorderFixture::TearDown();
    }
    /// Hosts `make()` in the window's content and builds it.
    decl::ViewDriver show(std::function<decl::Element()> make) {
        root = std::make_shared<Root>(std::move(make));
        host = std::make_shared<decl::HostingView>(root, platform::ui::Rect{0, 0, 400, 200});
        window->contentView()->addSubview(host);
        host->rebuildIfNeeded();
        settle();
        return decl::ViewDriver(*host);
    }
    /// Every recorder field under the host.
    std::vector<RecorderField*> fields() const {
        std::vector<RecorderField*> out;
        for (auto& v : host->subviews())
            if (auto* r = dynamic_cast<RecorderField*>(v.get())) out.push_back(r);
        return out;
    }
    void rebuild() {
        host->setNeedsRebuild();
        host->rebuildIfNeeded();
        settle();
    }
    decl::NodeKind bodyKind() const {
        // root component -> Recorder component -> its body
        const auto& recorder = *host->tree().node()->children.at(0).node();
        return recorder.children.at(0).node()->kind;
    }

    std::shared_ptr<Root> root;
    std::shared_ptr<decl::HostingView> host;
};

TEST_F(DeclarativeRecorderTest, TheRecorderIsTheFieldAloneOrARowWithItsLabel) {
    struct Case {
        const char* what;
        platform::OperatingSystemVersion os;
        std::function<decl::Element(const Name&)> make;
        decl::NodeKind kind;
        std::optional<std::string> label;
    };
    const auto snapLeft = [](const Name& n) { return Recorder::titledVerbatim("Snap left", n); };
    using enum decl::NodeKind;
    const Case cases[] = {
        {"no label",
         {15, 3, 0},
         [](const Name& n) { return Recorder::make(n); },
         representable,
         std::nullopt},
        {"titled on 13", {13, 0, 0}, snapLeft, labeledContent, "Snap left"},
        {"titled on 12", {12, 6, 0}, snapLeft, hstack, "Snap left"},
        {"key title on 15",
         {15, 0, 0},
         [](const Name& n) { return Recorder::titled("no.such.key", n); },
         labeledContent,
         "no.such.key"},
        {"any label",
         {15, 0, 0},
         [](const Name& n) { return Recorder::labeled(n, nullptr, [] { return decl::Text("Custom"); }); },
         labeledContent,
         "Custom"},
    };
    for (const auto& c : cases) {
        input().setOperatingSystemVersion(c.os);
        const Name name("declared");
        auto driver = show([&] { return c.make(name); });
        EXPECT_EQ(bodyKind(), c.kind) << c.what;
        EXPECT_EQ(fields().size(), 1u) << c.what;
        if (c.label) {
            EXPECT_TRUE(driver.hasText(*c.label)) << c.what;
        } else {
            for (const auto& t : driver.texts())
                EXPECT_EQ(t, "") << c.what;
        }
        if (c.kind == decl::NodeKind::hstack) {
            const auto& row = *host->tree().node()->children.at(0).node()->children.at(0).node();
            EXPECT_EQ(row.alignment, decl::Alignment::firstTextBaseline) << c.what;
            EXPECT_EQ(row.alignmentGuides,
                      (std::vector<decl::AlignmentGuide>{{"leading", controlAlignment}}));
            const auto& control = *row.children.at(1).node();
            EXPECT_TRUE(control.labelHidden) << c.what;
            EXPECT_EQ(control.alignmentGuides,
                      (std::vector<decl::AlignmentGuide>{{controlAlignment, "leading"}}));
        }
        host->removeFromSuperview();
        host.reset();
    }
}

TEST_F(DeclarativeRecorderTest, ARebuildWithAnotherNameUpdatesTheSameField) {
    setShortcut(Shortcut(40, 6144), Name("first"));
    setShortcut(Shortcut(37, 6144), Name("second"));
    std::string current = "first";
    int firstCalls = 0, secondCalls = 0;
    std::function<void(const std::optional<Shortcut>&)> handler = [&](const auto&) { ++firstCalls; };
    show([&] { return Recorder::make(Name(current), handler); });
    ASSERT_EQ(fields().size(), 1u);
    RecorderField* field = fields()[0];
    EXPECT_EQ(field->stringValue(), "⌃⌥K");

    current = "second";
    handler = [&](const auto&) { ++secondCalls; };
    rebuild();
    ASSERT_EQ(fields().size(), 1u);
    EXPECT_EQ(fields()[0], field);
    EXPECT_EQ(field->shortcutName().rawValue, "second");
    EXPECT_EQ(field->stringValue(), "⌃⌥L");

    // The field keeps the handler it was made with.
    ASSERT_TRUE(window->makeFirstResponder(field));
    press(38, ctrlOpt);
    EXPECT_EQ(getShortcut(Name("second")), Shortcut(38, 6144));
    EXPECT_EQ(firstCalls, 1);
    EXPECT_EQ(secondCalls, 0);
}

TEST_F(DeclarativeRecorderTest, AButtonCarriesTheNamesChordExceptWhileRecording) {
    const Name name("button");
    const Name other("button-other");
    setShortcut(Shortcut(Key::leftArrow, ctrlOpt), name);
    auto driver = show([&] {
        return decl::VStack(decl::Alignment::center, std::nullopt,
                            {globalKeyboardShortcut(decl::Button("Go", [] {}), name), Recorder::make(other)});
    });
    const decl::KeyboardShortcut leftChord{decl::KeyEquivalent::leftArrow,
                                           decl::EventModifiers::control | decl::EventModifiers::option,
                                           decl::KeyboardShortcut::Localization::custom};
    EXPECT_EQ(driver.keyboardShortcut("Go"), leftChord);
    const std::string firstIdentity = driver.find("Go")->key;

    // Any recorder recording takes the chord away; ending brings it back.
    RecorderField* field = fields().at(0);
    ASSERT_TRUE(window->makeFirstResponder(field));
    host->rebuildIfNeeded();
    EXPECT_EQ(driver.keyboardShortcut("Go"), std::nullopt);
    window->makeFirstResponder(nullptr);
    host->rebuildIfNeeded();
    EXPECT_EQ(driver.keyboardShortcut("Go"), leftChord);
    EXPECT_EQ(driver.find("Go")->key, firstIdentity);

    // Another name's change leaves the button alone.
    setShortcut(Shortcut(Key::k, ctrlOpt), other);
    host->rebuildIfNeeded();
    EXPECT_EQ(driver.find("Go")->key, firstIdentity);

    // A new chord for the name: a new identity and the new chord.
    setShortcut(Shortcut(Key::rightArrow, ctrlOpt), name);
    host->rebuildIfNeeded();
    EXPECT_NE(driver.find("Go")->key, firstIdentity);
    auto now = driver.keyboardShortcut("Go");
    ASSERT_TRUE(now);
    EXPECT_EQ(now->key, decl::KeyEquivalent::rightArrow);

    // An active-status notification without a Boolean counts as inactive.
    platform::NotificationCenter::defaultCenter().post(recorderActiveStatusDidChangeNotification, nullptr,
                                                       {{"isActive", platform::PropertyValue(true)}});
    host->rebuildIfNeeded();
    EXPECT_EQ(driver.keyboardShortcut("Go"), std::nullopt);
    platform::NotificationCenter::defaultCenter().post(recorderActiveStatusDidChangeNotification, nullptr,
                                                       {{"isActive", platform::PropertyValue("yes")}});
    host->rebuildIfNeeded();
    EXPECT_TRUE(driver.keyboardShortcut("Go"));

    // Cleared: no chord.
    setShortcut(std::nullopt, name);
    host->rebuildIfNeeded();
    EXPECT_EQ(driver.keyboardShortcut("Go"), std::nullopt);
}

TEST_F(DeclarativeRecorderTest, EventModifiersRunWhileTheViewIsShown) {
    const Name name("events");
    setShortcut(Shortcut(Key::j, ctrlOpt), name);
    bool shown = true;
    std::vector<std::string> seen;
    show([&] {
        if (!shown) return decl::Text("hidden");
        return onKeyboardShortcut(
            onGlobalKeyboardShortcut(
                decl::Text("watch"), name,
                [&](EventType t) { seen.push_back(t == EventType::keyDown ? "any:down" : "any:up"); }),
            name, EventType::keyUp, [&] { seen.push_back("up"); });
    });
    input().keyDown(38, ctrlOpt);
    settle();
    EXPECT_EQ(seen, std::vector<std::string>{"any:down"});
    input().keyUp(38, ctrlOpt);
    settle();
    EXPECT_EQ(seen, (std::vector<std::string>{"any:down", "up", "any:up"}));

    // A rebuild keeps the one subscription per modifier.
    rebuild();
    seen.clear();
    press(38, ctrlOpt);
    EXPECT_EQ(seen.size(), 3u);

    // While a recorder records nothing arrives.
    setPaused(true);
    seen.clear();
    press(38, ctrlOpt);
    EXPECT_TRUE(seen.empty());
    setPaused(false);

    // After the view went the unused chord's hot key goes too.
    ASSERT_TRUE(Registry::shared().registeredShortcuts().contains(Shortcut(Key::j, ctrlOpt)));
    shown = false;
    rebuild();
    EXPECT_FALSE(Registry::shared().registeredShortcuts().contains(Shortcut(Key::j, ctrlOpt)));
    EXPECT_TRUE(input().registeredHotKeys().empty());
    seen.clear();
    press(38, ctrlOpt);
    EXPECT_TRUE(seen.empty());
}

} // namespace
