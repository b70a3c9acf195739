#include "ShortcutTestSupport.hpp"
#include "platform/control/StandardOutputControl.hpp"
#include "platform/foundation/NotificationCenter.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "platform/ui/Menu.hpp"
#include "shortcuts/CarbonHotKeys.hpp"
#include "shortcuts/Registry.hpp"

#include <gtest/gtest.h>

using namespace tilmora::GlobalShortcuts;
using platform::ModifierFlags;
using platform::PropertyValue;
using platform::UserDefaults;

namespace {

class RegistryTest : public ShortcutTest {
protected:
    void SetUp() override {
        ShortcutTest::SetUp();
        observer = platform::NotificationCenter::defaultCenter().addObserver(
            shortcutByNameDidChangeNotification, nullptr, [this](const platform::Notification& n) {
                auto it = n.userInfo.find("name");
                posted.push_back(it != n.userInfo.end() && it->second.asString() ? *it->second.asString()
                                                                                 : "?");
            });
    }
    std::optional<PropertyValue> stored(const std::string& raw) {
        return UserDefaults::standard().objectForKey("GlobalShortcuts_" + raw);
    }
    void pressAndRelease(const Shortcut& s) {
        const auto mods = modifierFlagsFor(s);
        input().keyDown(static_cast<std::uint16_t>(s.carbonKeyCode), mods);
        input().keyUp(static_cast<std::uint16_t>(s.carbonKeyCode), mods);
        settle();
    }
    static bool registeredShortcutsContain(const Shortcut& s) {
        return Registry::shared().registeredShortcuts().contains(s);
    }
    static ModifierFlags modifierFlagsFor(const Shortcut& s) { return s.modifiers(); }
    std::size_t registrationsOf(const Shortcut& s) {
        std::size_t n = 0;
        for (const auto& r : input().registeredHotKeys())
            if (r.keyCode == s.carbonKeyCode && r.modifiers == s.carbonModifiers) ++n;
        return n;
    }

    platform::ObserverToken observer;
    std::vector<std::string> posted;
};

TEST_F(RegistryTest, DefaultIsStoredOnceAndClearingSticksUntilReset) {
    const Name x("x", ctrlOptLeft);
    ASSERT_TRUE(stored("x"));
    EXPECT_EQ(*stored("x")->asString(), R"({"carbonKeyCode":123,"carbonModifiers":6144})");
    EXPECT_EQ(posted, std::vector<std::string>{"x"});
    const Name again("x", ctrlOptLeft);
    EXPECT_EQ(posted.size(), 1u);

    setShortcut(std::nullopt, x);
    ASSERT_TRUE(stored("x"));
    EXPECT_EQ(stored("x")->asBool() ? *stored("x")->asBool() : true, false);
    EXPECT_EQ(getShortcut(x), std::nullopt);
    const Name third("x", ctrlOptLeft);
    EXPECT_EQ(getShortcut(third), std::nullopt);
    reset({x});
    EXPECT_EQ(getShortcut(x), ctrlOptLeft);
    EXPECT_EQ(posted, (std::vector<std::string>{"x", "x", "x"}));
}

TEST_F(RegistryTest, ClearingANameWithoutDefaultRemovesItsKeyOnce) {
    const Name y("y");
    y.setShortcut(ctrlOptH);
    posted.clear();
    setShortcut(std::nullopt, y);
    EXPECT_FALSE(stored("y"));
    EXPECT_EQ(posted.size(), 1u);
    setShortcut(std::nullopt, y);
    EXPECT_EQ(posted.size(), 1u);
}

TEST_F(RegistryTest, StoredValuesThatAreNotChordTextReadAsNone) {
    const Name z("z");
    struct Case {
        const char* what;
        PropertyValue value;
    };
    const Case cases[] = {
        {"false", PropertyValue(false)},
        {"number", PropertyValue(123)},
        {"corrupt text", PropertyValue(std::string("{\"carbonKeyCode\":"))},
        {"code as text", PropertyValue(std::string(R"({"carbonKeyCode":"123","carbonModifiers":6144})"))},
    };
    for (const auto& c : cases) {
        UserDefaults::standard().set(c.value, "GlobalShortcuts_z");
        EXPECT_EQ(getShortcut(z), std::nullopt) << c.what;
        EXPECT_TRUE(userDefaultsContains(z)) << c.what;
    }
}

TEST_F(RegistryTest, StoredChordsTheRecorderWouldRefuseNeverBecomeHotKeys) {
    const Name z("z");
    int ran = 0;
    onKeyDown(z, [&] { ++ran; });
    struct Case {
        Shortcut chord;
        bool kept;
    };
    const Case cases[] = {
        {Shortcut(Key::a, ModifierFlags()), false},
        {Shortcut(Key::a, ModifierFlags::shift), false},
        {Shortcut(Key::leftArrow, ModifierFlags::function), false},
        {Shortcut(Key::f5, ModifierFlags()), true},
        {Shortcut(Key::f20, ModifierFlags::shift), true},
        {Shortcut(Key::a, ModifierFlags::command), true},
        {Shortcut(Key::a, ModifierFlags::option | ModifierFlags::shift), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.chord.carbonKeyCode * 100000 + c.chord.carbonModifiers);
        UserDefaults::standard().set(PropertyValue(platform::encodeJsonText(c.chord)), "GlobalShortcuts_z");
        enable({z});
        EXPECT_EQ(getShortcut(z).has_value(), c.kept);
        EXPECT_EQ(registrationsOf(c.chord), c.kept ? 1u : 0u);
        ran = 0;
        handleOnKeyDown(c.chord);
        EXPECT_EQ(ran, c.kept ? 1 : 0);
        disable({z});
    }
}

TEST_F(RegistryTest, AllNamesAndResetAll) {
    Name("a").setShortcut(ctrlOptG);
    Name("b").setShortcut(ctrlOptH);
    UserDefaults::standard().set(PropertyValue(true), "SomethingElse");
    const auto names = allNames();
    EXPECT_EQ(names, (std::unordered_set<Name>{Name("a"), Name("b")}));
    const Name withDefault("c", ctrlOptLeft);
    resetAll();
    EXPECT_FALSE(stored("a"));
    EXPECT_FALSE(stored("b"));
    EXPECT_FALSE(stored("c")); // rebuilt without its default: removed, not restored
    EXPECT_TRUE(UserDefaults::standard().objectForKey("SomethingElse"));
}

TEST_F(RegistryTest, SharedChordRunsEveryNameAndSurvivesReRecordingOne) {
    const Name one("one"), two("two");
    one.setShortcut(ctrlOptG);
    two.setShortcut(ctrlOptG);
    std::vector<std::string> ran;
    onKeyDown(one, [&] { ran.push_back("one"); });
    onKeyDown(two, [&] { ran.push_back("two"); });
    EXPECT_EQ(registrationsOf(ctrlOptG), 1u);

    pressAndRelease(ctrlOptG);
    std::sort(ran.begin(), ran.end());
    EXPECT_EQ(ran, (std::vector<std::string>{"one", "two"}));

    ran.clear();
    setPaused(true);
    pressAndRelease(ctrlOptG);
    EXPECT_TRUE(ran.empty());
    setPaused(false);

    setEnabled(false);
    EXPECT_FALSE(isEnabled(one));
    EXPECT_FALSE(isEnabled(two));
    setEnabled(true);
    EXPECT_TRUE(isEnabled(one));

    one.setShortcut(ctrlOptH);
    ran.clear();
    pressAndRelease(ctrlOptG);
    EXPECT_EQ(ran, std::vector<std::string>{"two"});
    pressAndRelease(ctrlOptH);
    EXPECT_EQ(ran, (std::vector<std::string>{"two", "one"}));

    two.setShortcut(std::nullopt);
    EXPECT_EQ(registrationsOf(ctrlOptG), 0u);
    EXPECT_FALSE(registeredShortcutsContain(ctrlOptG));
}

TEST_F(RegistryTest, HandlerAddedByAnActionRunsFromTheNextPress) {
    const Name n("n");
    n.setShortcut(ctrlOptG);
    int first = 0, added = 0;
    onKeyDown(n, [&] {
        ++first;
        onKeyDown(n, [&] { ++added; });
    });
    pressAndRelease(ctrlOptG);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(added, 0);
    pressAndRelease(ctrlOptG);
    EXPECT_EQ(first, 2);
    EXPECT_EQ(added, 1);
}

TEST_F(RegistryTest, APressSeesAChordWrittenBehindTheRegistrysBack) {
    const Name n("n"), m("m");
    n.setShortcut(ctrlOptG);
    m.setShortcut(ctrlOptH);
    int ranN = 0;
    onKeyDown(n, [&] { ++ranN; });
    onKeyDown(m, [] {});
    handleOnKeyDown(ctrlOptG);
    EXPECT_EQ(ranN, 1);
    // Written straight to the defaults: the next press reads it.
    UserDefaults::standard().set(PropertyValue(platform::encodeJsonText(ctrlOptH)), "GlobalShortcuts_n");
    handleOnKeyDown(ctrlOptG);
    EXPECT_EQ(ranN, 1);
    handleOnKeyDown(ctrlOptH);
    EXPECT_EQ(ranN, 2);
}

TEST_F(RegistryTest, EachReadSeesTheValueStoredBeforeItAndARefusedTextIsLoggedOnce) {
    const Name w("w");
    std::string printed;
    platform::StandardOutputControl::setCapture([&](std::string_view text) { printed += text; });
    const auto text = [](const Shortcut& s) { return PropertyValue(platform::encodeJsonText(s)); };
    const Shortcut bareA(Key::a, ModifierFlags());
    struct Case {
        std::optional<PropertyValue> stored; // none: removed
        std::optional<Shortcut> read;
        std::size_t refusalsLogged;
    };
    const Case cases[] = {
        {text(ctrlOptG), ctrlOptG, 0},  {text(ctrlOptH), ctrlOptH, 0}, {PropertyValue(false), std::nullopt, 0},
        {text(ctrlOptG), ctrlOptG, 0},  {text(bareA), std::nullopt, 1}, {text(ctrlOptH), ctrlOptH, 1},
        {text(bareA), std::nullopt, 1}, {std::nullopt, std::nullopt, 1},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        if (c.stored)
            UserDefaults::standard().set(*c.stored, "GlobalShortcuts_w");
        else
            UserDefaults::standard().removeObjectForKey("GlobalShortcuts_w");
        EXPECT_EQ(getShortcut(w), c.read) << i;
        EXPECT_EQ(getShortcut(w), c.read) << i;
        std::size_t refusals = 0;
        for (auto at = printed.find("Ignored the stored chord"); at != std::string::npos;
             at = printed.find("Ignored the stored chord", at + 1))
            ++refusals;
        EXPECT_EQ(refusals, c.refusalsLogged) << i;
    }
    // A registered value answers once nothing is stored.
    UserDefaults::standard().registerDefaults({{"GlobalShortcuts_w", text(ctrlOptH)}});
    EXPECT_EQ(getShortcut(w), ctrlOptH);
    platform::StandardOutputControl::setCapture(nullptr);
}

TEST_F(RegistryTest, UpActionsRunOnRelease) {
    const Name n("n");
    n.setShortcut(ctrlOptG);
    std::vector<std::string> ran;
    onKeyDown(n, [&] { ran.push_back("down"); });
    onKeyUp(n, [&] { ran.push_back("up"); });
    pressAndRelease(ctrlOptG);
    EXPECT_EQ(ran, (std::vector<std::string>{"down", "up"}));
}

TEST_F(RegistryTest, RemovingHandlersKeepsChordsOthersStillUse) {
    const Name a("a"), b("b"), c("c");
    a.setShortcut(ctrlOptG);
    b.setShortcut(ctrlOptG);
    c.setShortcut(ctrlOptH);
    onKeyDown(a, [] {});
    onKeyDown(b, [] {});
    onKeyDown(c, [] {});
    removeHandler(a);
    EXPECT_EQ(registrationsOf(ctrlOptG), 1u); // b still uses it
    removeHandler(b);
    EXPECT_EQ(registrationsOf(ctrlOptG), 0u);

    auto stream = events(c);
    sim().drainMainQueue();
    removeAllHandlers();
    EXPECT_EQ(registrationsOf(ctrlOptH), 1u); // the stream still uses it
    EXPECT_EQ(shortcutsForStreamHandlers(), std::unordered_set<Shortcut>{ctrlOptH});
    EXPECT_TRUE(shortcutsForLegacyHandlers().empty());
}

TEST_F(RegistryTest, StreamsJoinAndLeaveThroughTheMainQueue) {
    const Name n("n");
    n.setShortcut(ctrlOptG);
    disable({n});
    EXPECT_EQ(registrationsOf(ctrlOptG), 0u);
    {
        auto all = events(n);
        auto downs = events(EventType::keyDown, n);
        handleOnKeyDown(ctrlOptG);
        EXPECT_EQ(all.pendingCount(), 0u); // not joined yet
        sim().drainMainQueue();
        EXPECT_EQ(registrationsOf(ctrlOptG), 1u);
        pressAndRelease(ctrlOptG);
        EXPECT_EQ(all.next(), EventType::keyDown);
        EXPECT_EQ(all.next(), EventType::keyUp);
        EXPECT_EQ(all.next(), std::nullopt);
        EXPECT_EQ(downs.next(), EventType::keyDown);
        EXPECT_EQ(downs.next(), std::nullopt);
        downs.cancel();
        sim().drainMainQueue();
        EXPECT_EQ(registrationsOf(ctrlOptG), 1u); // `all` still uses it
    }
    sim().drainMainQueue();
    EXPECT_EQ(registrationsOf(ctrlOptG), 0u);
    EXPECT_TRUE(shortcutsForStreamHandlers().empty());
}

TEST_F(RegistryTest, EnableAndDisableFollowTheStoredChord) {
    const Name n("n"), none("none");
    n.setShortcut(ctrlOptG);
    EXPECT_TRUE(isEnabled(n)); // storing registers
    disable({n, none});
    EXPECT_FALSE(isEnabled(n));
    EXPECT_EQ(getShortcut(n), ctrlOptG);
    enable({n, none});
    EXPECT_TRUE(isEnabled(n));
    EXPECT_FALSE(isEnabled(none));
}

TEST_F(RegistryTest, MenuTrackingNotificationsSwitchOnceEach) {
    const Name n("n");
    n.setShortcut(ctrlOptG);
    auto& center = platform::NotificationCenter::defaultCenter();
    center.post(platform::ui::MenuDidBeginTrackingNotification);
    center.post(platform::ui::MenuDidBeginTrackingNotification);
    EXPECT_TRUE(isMenuOpen());
    EXPECT_EQ(registrationsOf(ctrlOptG), 0u);
    center.post(platform::ui::MenuDidEndTrackingNotification);
    EXPECT_FALSE(isMenuOpen());
    ASSERT_EQ(input().registeredHotKeys().size(), 1u);
    EXPECT_EQ(input().registeredHotKeys()[0].id, 1u); // same id again
}

} // namespace
