#include "PreferencesFixture.hpp"

#include "model/LocalizationManager.hpp"
#include "model/Settings.hpp"
#include "platform/control/LocaleControl.hpp"
#include "platform/control/SimInput.hpp"
#include "platform/foundation/FileSystem.hpp"
#include "platform/foundation/Folders.hpp"
#include "platform/foundation/NotificationCenter.hpp"
#include "platform/ui/PopUpButton.hpp"
#include "shortcuts/RecorderField.hpp"

using namespace tilmora;
namespace decl = platform::ui::declarative;
using platform::PropertyValue;
using FormCalls = std::vector<std::string>;

namespace {

const decl::Node* findKind(const decl::Element& e, decl::NodeKind kind) {
    if (e.node()->kind == kind) return e.node().get();
    for (const auto& c : e.node()->children)
        if (auto* found = findKind(c, kind)) return found;
    return nullptr;
}

/// The elements of the scrolling stack.
const std::vector<decl::Element>& formElements(const decl::HostingView& host) {
    auto* scroll = findKind(host.tree(), decl::NodeKind::scroll);
    if (!scroll) throw std::runtime_error("no scrolling area");
    return scroll->children.at(0).node()->children;
}

/// The first text inside an element, in document order.
std::string firstText(const decl::Element& e) {
    if (e.node()->kind == decl::NodeKind::text) return e.node()->text;
    for (const auto& c : e.node()->children) {
        auto t = firstText(c);
        if (!t.empty()) return t;
    }
    return {};
}

struct Posts {
    Posts() {
        token = platform::NotificationCenter::defaultCenter().addObserver(
            LocalizationManager::languageDidChange, nullptr,
            [this](const platform::Notification&) { ++count; });
    }
    ~Posts() { platform::NotificationCenter::defaultCenter().removeObserver(token); }
    Posts(const Posts&) = delete;
    int count = 0;
    platform::ObserverToken token;
};

TEST_F(PreferencesTest, ThePlaceholderShowsUntilOneTurnAfterTheFirstAppearance) {
    struct Case {
        platform::OperatingSystemVersion os;
        bool progress;
    } cases[] = {{{10, 15, 7}, false}, {{11, 0, 0}, true}, {{14, 2, 0}, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.os.majorVersion);
        platform::SimInput::shared().setOperatingSystemVersion(c.os);
        auto driver = open(false);
        EXPECT_EQ(driver.texts(), FormCalls{"Loading preferences\u2026"});
        EXPECT_EQ(findKind(host->tree(), decl::NodeKind::progress) != nullptr, c.progress);
        EXPECT_EQ(findKind(host->tree(), decl::NodeKind::scroll), nullptr);
        drain();
        EXPECT_NE(findKind(host->tree(), decl::NodeKind::scroll), nullptr);
        window->close();
    }
}

TEST_F(PreferencesTest, TheFormHoldsItsElementsInOrderWithTheSnapShortcutsInThreeGroups) {
    store("AppLanguage", PropertyValue(std::string("de")));
    auto driver = open();
    const auto& elements = formElements(*host);
    ASSERT_EQ(elements.size(), 114u);
    std::vector<size_t> dividers;
    size_t snapRows = 0;
    for (size_t i = 0; i < elements.size(); ++i) {
        if (elements[i].node()->kind == decl::NodeKind::divider) dividers.push_back(i + 1);
        if (i + 1 >= 59 && elements[i].node()->kind == decl::NodeKind::hstack) ++snapRows;
    }
    EXPECT_EQ(dividers, (std::vector<size_t>{4, 7, 10, 13, 21, 24, 29, 36, 91, 101, 114}));
    EXPECT_EQ(snapRows, 53u);
    struct Row {
        size_t element;
        const char* text;
    } rows[] = {
        {1, "Einstellungen"},      {59, "Linke Hälfte"},          {84, "Move Left (edge)"},
        {85, "Move Right (edge)"}, {86, "Move Up (edge)"}, {87, "Move Down (edge)"},
    };
    for (const auto& r : rows)
        EXPECT_EQ(firstText(elements[r.element - 1]), r.text) << r.element;
    // The shortcut heading twice: callout over the switch, subheadline over the snap list.
    for (size_t element : {37u, 58u})
        EXPECT_EQ(elements[element - 1].node()->text, "Tastaturkurzbefehle");
    EXPECT_EQ(elements[36].node()->style.fontRole, "callout");
    EXPECT_EQ(elements[57].node()->style.fontRole, "subheadline");
    EXPECT_EQ(elements[57].node()->style.weight, "bold");
    EXPECT_EQ(elements[112].node()->padding.bottom, 6);
    EXPECT_EQ(elements[90].node()->padding.top, 4);
    // 61 recorders, each named by its id.
    EXPECT_TRUE(driver.exists("shortcut.snap-left-half"));
    EXPECT_TRUE(driver.exists("shortcut.quit-app"));
    EXPECT_TRUE(driver.exists("shortcut.bottom-right-sixth"));
    // Each row's recorder is found by its shortcut's name.
    auto* leftHalf = recorderField(*host, "snap-left-half");
    ASSERT_NE(leftHalf, nullptr);
    EXPECT_EQ(driver.nativeView("snap-left-half"), leftHalf);
    size_t recorders = 0;
    for (auto& v : host->subviews())
        if (dynamic_cast<GlobalShortcuts::RecorderField*>(v.get())) ++recorders;
    EXPECT_EQ(recorders, 61u);
}

TEST_F(PreferencesTest, AChordRecordedWhileShortcutsAreOffIsFollowedByTheSwitchOnce) {
    store(settings::keyboardShortcutsEnabled.key, PropertyValue(false));
    open();
    auto* field = recorderField(*host, "snap-left-half");
    ASSERT_NE(field, nullptr);
    platform::SimInput::shared().setKeysGoToProgram([] { return true; });
    ASSERT_TRUE(window->makeFirstResponder(field));
    takeCalls();
    platform::SimInput::shared().keyDown(40,
                                         platform::ModifierFlags::control | platform::ModifierFlags::option);
    platform::SimInput::shared().keyUp(40,
                                       platform::ModifierFlags::control | platform::ModifierFlags::option);
    drain();
    EXPECT_EQ(takeCalls(), FormCalls{"applyKeyboardShortcutsEnabledState"});
    EXPECT_TRUE(defaults().objectForKey("GlobalShortcuts_snap-left-half"));
}

TEST_F(PreferencesTest, PickingALanguageStoresItRedrawsTheFormAndRebuildsTheMenu) {
    struct Case {
        const char* what;
        bool systemOption; // else "Deutsch"
        std::optional<std::string> stored;
        int posts;
        int versionRaise;
        FormCalls calls;
    } cases[] = {
        {"the system option", true, std::nullopt, 1, 2, {"createMenu", "refreshIndicators"}},
        {"the stored language", false, "de", 0, 1, {"createMenu", "refreshIndicators"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        store("AppLanguage", PropertyValue(std::string("de")));
        auto driver = open();
        auto* popUp = dynamic_cast<platform::ui::PopUpButton*>(driver.nativeView("prefs.language"));
        ASSERT_NE(popUp, nullptr);
        EXPECT_EQ(popUp->titleOfSelectedItem(), "Deutsch");
        EXPECT_EQ(popUp->itemTitles().at(0), "Systemsprache");
        int before = view().localizationVersion();
        Posts posts;
        takeCalls();
        ASSERT_TRUE(driver.pick("prefs.language", c.systemOption ? popUp->itemTitles().at(0) : "Deutsch"));
        drain();
        EXPECT_EQ(defaults().stringForKey("AppLanguage"), c.stored);
        EXPECT_EQ(posts.count, c.posts);
        EXPECT_EQ(view().localizationVersion() - before, c.versionRaise);
        EXPECT_EQ(takeCalls(), c.calls);
        window->close();
    }
}

TEST_F(PreferencesTest, ANewLanguageRedrawsEveryLabelButTheFixedOnes) {
    auto driver = open();
    EXPECT_TRUE(driver.hasText("Preferences"));
    ASSERT_TRUE(driver.pick("prefs.language", "Deutsch"));
    drain();
    EXPECT_TRUE(driver.hasText("Einstellungen"));
    EXPECT_TRUE(driver.hasText("Sprache:"));
    EXPECT_TRUE(driver.hasText("Move Left (edge)"));
    EXPECT_TRUE(driver.hasText("Andockleiste anzeigen"));
    EXPECT_FALSE(driver.hasText("Preferences"));
}

TEST_F(PreferencesTest, LanguageNamesComeFromTheirOwnLanguageThenTheCurrentOneThenTheCode) {
    platform::LocaleControl::setCurrentLanguageCode(std::optional<std::string>("de"));
    struct Case {
        const char* what;
        const char* code;
        std::vector<std::pair<const char*, const char*>> removed; // (code, written in)
        const char* name;
    } cases[] = {
        {"own language", "de", {}, "Deutsch"},
        {"capitalized", "fr", {}, "Français"},
        {"written in Japanese", "ja", {}, "日本語"},
        {"no own name", "fr", {{"fr", "fr"}}, "Französisch"},
        {"no name at all", "fr", {{"fr", "fr"}, {"fr", "de"}}, "fr"},
        {"unknown code", "qq", {}, "qq"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        platform::LocaleControl::resetLanguageNames();
        for (const auto& [code, in] : c.removed)
            platform::LocaleControl::setLanguageName(code, in, std::nullopt);
        EXPECT_EQ(PreferencesView::languageDisplayName(c.code), c.name);
    }
}

TEST_F(PreferencesTest, WithoutLanguageFoldersTheFixedListIsOfferedUntilTheFirstChange) {
    auto root = *platform::Folders::home() / "res";
    platform::FileSystem::createDirectories(root / "Locales.bundle");
    platform::BundleControl::setResourceDirectory(root);
    auto driver = open();
    auto* popUp = dynamic_cast<platform::ui::PopUpButton*>(driver.nativeView("prefs.language"));
    ASSERT_NE(popUp, nullptr);
    EXPECT_EQ(popUp->itemTitles(),
              (std::vector<std::string>{"prefs.language.system", "English", "Deutsch", "Español", "Français",
                                        "Italiano", "日本語", "简体中文"}));
    ASSERT_TRUE(driver.pick("prefs.language", "Deutsch"));
    drain();
    EXPECT_EQ(popUp->itemTitles(), (std::vector<std::string>{"prefs.language.system"}));
    EXPECT_EQ(popUp->indexOfSelectedItem(), 0); // "de" is stored but not offered
    EXPECT_EQ(shown("AppLanguage"), PropertyValue(std::string("de")));
}

} // namespace
