#include "model/LocalizationManager.hpp"
#include "model/StringsTable.hpp"

#include "ModelFixture.hpp"

#include "platform/control/BundleControl.hpp"
#include "platform/control/LocaleControl.hpp"
#include "platform/control/SharedInstances.hpp"
#include "platform/dispatch/RunLoop.hpp"
#include "platform/foundation/FileSystem.hpp"
#include "platform/foundation/NotificationCenter.hpp"
#include "platform/foundation/UserDefaults.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>

using namespace tilmora;

TEST(StringsTable, ParsesTheStringsFormat) {
    struct Case {
        const char* what;
        std::string text;
        std::map<std::string, std::string, std::less<>> expected;
    };
    const Case cases[] = {
        {"plain", R"("a" = "b";)", {{"a", "b"}}},
        {"comments and blanks", "/* c */\n\"a\" = \"b\"; // tail\n\n\"c\"=\"d\" ;", {{"a", "b"}, {"c", "d"}}},
        {"escapes",
         R"("k" = "say \"hi\"\n\ttab \\ \U00e4 \101";)",
         {{"k", "say \"hi\"\n\ttab \\ \xC3\xA4 A"}}},
        {"surrogate pair", R"("k" = "\UD83D\UDE00";)", {{"k", "\xF0\x9F\x98\x80"}}},
        {"unquoted", "menu.title = Title;", {{"menu.title", "Title"}}},
        {"later wins", R"("a" = "1"; "a" = "2";)", {{"a", "2"}}},
        {"key alone", R"("a";)", {{"a", "a"}}},
        {"non-string values left out",
         R"("a" = ("x", "y"); "b" = { "c" = "d"; }; "e" = <0a0b>; "f" = "g";)",
         {{"f", "g"}}},
        {"braced dictionary", R"({ "a" = "b"; })", {{"a", "b"}}},
        {"byte-order mark", "\xEF\xBB\xBF\"a\" = \"b\";", {{"a", "b"}}},
        {"UTF-16 LE", std::string("\xFF\xFE\"\0a\0\"\0=\0\"\0\xE4\0\"\0;\0", 18), {{"a", "\xC3\xA4"}}},
        {"UTF-16 BE", std::string("\xFE\xFF\0\"\0a\0\"\0=\0\"\0b\0\"\0;", 18), {{"a", "b"}}},
        {"empty", "", {}},
    };
    for (const auto& c : cases) {
        auto table = StringsTable::parse(c.text);
        ASSERT_TRUE(table) << c.what;
        EXPECT_EQ(table->strings, c.expected) << c.what;
    }
    for (const char* bad :
         {R"("a" = "b")", R"("a" = "b)", R"("a" "b";)", "/* open", R"("a" = ("x";)", R"(= "b";)"})
        EXPECT_FALSE(StringsTable::parse(bad)) << bad;
}

namespace {

class LocalizationTest : public modeltest::ModelFixture {
protected:
    void SetUp() override {
        ModelFixture::SetUp();
        platform::BundleControl::setResourceDirectory(root() / "Resources");
        platform::LocaleControl::setPreferredLanguages(std::vector<std::string>{});
        platform::LocaleControl::setCurrentLanguageCode(std::optional<std::string>{});
        token = platform::NotificationCenter::defaultCenter().addObserver(
            "AppLanguageDidChange", nullptr, [this](const platform::Notification& n) {
                EXPECT_EQ(n.object, nullptr);
                const std::string* code = n.objectValue ? n.objectValue->asString() : nullptr;
                EXPECT_EQ(code != nullptr, n.objectValue.has_value()); // a value object is always text
                posted.push_back(code ? std::optional(*code) : std::nullopt);
            });
    }

    std::filesystem::path locales() const { return root() / "Resources" / "Locales.bundle"; }

    void addTable(const std::string& language, const std::string& text,
                  const std::string& table = "Localizable") {
        auto folder = locales() / (language + ".lproj");
        platform::FileSystem::createDirectories(folder);
        platform::FileSystem::writeFile(folder / (table + ".strings"), text);
    }

    LocalizationManager& manager() { return LocalizationManager::shared(); }

    /// One turn of the main run loop: the manager looks at the disk again (once) after it.
    static void nextTurn() { platform::RunLoop::main().runFor(0); }

    std::vector<std::optional<std::string>> posted;
    platform::ObserverToken token;
};

} // namespace

TEST_F(LocalizationTest, StringsComeFromTheFirstLanguageWhenNoneIsPreferred) {
    addTable("de", R"("hello" = "Hallo";)");
    addTable("fr", R"("hello" = "Bonjour";)");
    platform::FileSystem::createDirectories(locales() / "en.LPROJ");
    platform::FileSystem::createDirectories(locales() / ".hidden.lproj");
    platform::FileSystem::writeFile(locales() / "notes.txt", "x");
    EXPECT_EQ(manager().availableLanguages(), (std::vector<std::string>{"de", "fr"}));
    EXPECT_EQ(manager().localizedString("hello"), "Hallo");
    EXPECT_EQ(manager().localizedString("missing.key"), "missing.key");
    EXPECT_EQ(manager().localizedString("hello", "Other"), "hello");
}

TEST_F(LocalizationTest, LanguageChoiceOrder) {
    addTable("de", R"("k" = "de";)");
    addTable("en", R"("k" = "en";)");
    addTable("fr", R"("k" = "fr";)");
    auto& defaults = platform::UserDefaults::standard();
    EXPECT_EQ(manager().localizedString("k"), "en"); // the bundle's own development language

    platform::BundleControl::setPreferredLocalizations(std::vector<std::string>{"xx"});
    platform::LocaleControl::setCurrentLanguageCode(std::optional<std::string>("fr"));
    EXPECT_EQ(manager().localizedString("k"), "fr"); // the locale's language
    platform::LocaleControl::setCurrentLanguageCode(std::optional<std::string>{});
    EXPECT_EQ(manager().localizedString("k"), "en"); // then "en"

    defaults.set("de", "AppLanguage");
    EXPECT_EQ(manager().localizedString("k"), "de"); // the stored choice first
    defaults.set("pt", "AppLanguage");
    EXPECT_EQ(manager().localizedString("k"), "en"); // a choice without a folder is ignored

    // A changed table is read again at the first lookup of the next turn of the run loop.
    addTable("en", R"("k" = "changed";)");
    nextTurn();
    EXPECT_EQ(manager().localizedString("k"), "changed");
    addTable("en", R"("k" = ("not", "text");)");
    nextTurn();
    EXPECT_EQ(manager().localizedString("k"), "k");
    addTable("en", "broken \"");
    nextTurn();
    EXPECT_EQ(manager().localizedString("k"), "k");
}

TEST_F(LocalizationTest, WithoutTheBundleTheKeyIsTheText) {
    EXPECT_FALSE(manager().localesRootURL());
    EXPECT_TRUE(manager().availableLanguages().empty());
    EXPECT_EQ(manager().localizedString("menu.quit"), "menu.quit");
    EXPECT_FALSE(manager().urlForLocalizedResource("help", "html"));
    // The root is found once and kept for the run.
    addTable("en", R"("menu.quit" = "Quit";)");
    EXPECT_EQ(manager().localizedString("menu.quit"), "menu.quit");
    platform::SharedInstances::resetAll();
    platform::BundleControl::setResourceDirectory(root() / "Resources");
    EXPECT_EQ(manager().localizedString("menu.quit"), "Quit");
}

TEST_F(LocalizationTest, ABundleWithContentsResourcesUsesThatFolder) {
    auto inner = locales() / "Contents" / "Resources" / "en.lproj";
    platform::FileSystem::createDirectories(inner);
    platform::FileSystem::writeFile(inner / "Localizable.strings", R"("a" = "inner";)");
    EXPECT_EQ(manager().localesRootURL(), locales() / "Contents" / "Resources");
    EXPECT_EQ(manager().localizedString("a"), "inner");
}

TEST_F(LocalizationTest, SettingTheLanguagePostsOncePerChange) {
    auto& m = manager();
    m.setSelectedLanguageCode("de");
    m.setSelectedLanguageCode("de");
    EXPECT_EQ(posted, (std::vector<std::optional<std::string>>{"de"}));
    EXPECT_EQ(m.selectedLanguageCode(), "de");
    m.setSelectedLanguageCode(std::nullopt);
    EXPECT_FALSE(platform::UserDefaults::standard().objectForKey("AppLanguage"));
    EXPECT_EQ(posted.size(), 2u);
    EXPECT_EQ(posted.back(), std::nullopt);
    m.setSelectedLanguageCode("");
    EXPECT_EQ(posted.size(), 2u); // "" counts as none, and none is stored
    EXPECT_EQ(m.key, "AppLanguage");
}

TEST_F(LocalizationTest, ResourcesFollowTheChoiceThenThePreferredLanguagesThenEnglish) {
    for (const char* language : {"de", "en", "fr", "pt"})
        addTable(language, "", "help");
    auto help = [&](const char* language) {
        return locales() / (std::string(language) + ".lproj") / "help.html";
    };
    for (const char* language : {"en", "pt"})
        platform::FileSystem::writeFile(help(language), "<html/>");
    platform::FileSystem::writeFile(help("fr"), "<html/>");

    platform::LocaleControl::setPreferredLanguages(std::vector<std::string>{"pt-BR", "de"});
    EXPECT_EQ(manager().urlForLocalizedResource("help", "html"), help("pt")); // pt-BR tries pt
    platform::UserDefaults::standard().set("fr", "AppLanguage");
    EXPECT_EQ(manager().urlForLocalizedResource("help", "html"), help("fr"));
    platform::UserDefaults::standard().set("xx", "AppLanguage"); // tried first though it has no folder
    EXPECT_EQ(manager().urlForLocalizedResource("help", "html"), help("pt"));
    platform::LocaleControl::setPreferredLanguages(std::vector<std::string>{"de"});
    EXPECT_EQ(manager().urlForLocalizedResource("help", "html"), help("en"));
    std::filesystem::remove(help("en"));
    EXPECT_EQ(manager().urlForLocalizedResource("help", "html"), help("fr")); // the others, sorted
    EXPECT_FALSE(manager().urlForLocalizedResource("missing", "html"));
}

// Every key that the code looks up with a literal has an English text in the shipped tables.
TEST(LocalizationKeys, EveryKeyUsedInTheCodeHasAnEnglishText) {
    const std::filesystem::path source = TILMORA_SOURCE_DIR;
    const auto english = source / "resources" / "Locales.bundle" / "en.lproj";
    const std::regex call(
        R"re(localizedString\s*\(\s*"([^"]+)"(\s*,\s*(?:std::optional<std::string>\s*\(\s*)?(?:std::string\s*\(\s*)?"([^"]+)")?)re");
    std::map<std::string, std::optional<StringsTable>> tables;
    std::set<std::string> missing;
    std::size_t keys = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(source / "src")) {
        const auto ext = entry.path().extension();
        if (ext != ".cpp" && ext != ".hpp") continue;
        std::ifstream in(entry.path());
        std::stringstream text;
        text << in.rdbuf();
        const std::string content = text.str();
        for (std::sregex_iterator it(content.begin(), content.end(), call), end; it != end; ++it) {
            const std::string key = (*it)[1];
            const std::string table = (*it)[3].matched ? std::string((*it)[3]) : std::string("Localizable");
            // The shortcut module looks its key names up in its own bundle.
            const bool module = it->position() >= 9 && content.compare(it->position() - 9, 9, "module().") == 0;
            const auto folder = module ? source / "resources" / "GlobalShortcuts.bundle" / "en.lproj"
                                       : english;
            auto& parsed = tables[(module ? "module:" : "") + table];
            if (!parsed) parsed = StringsTable::read((folder / (table + ".strings")).string());
            ++keys;
            if (!parsed || !parsed->strings.contains(key))
                missing.insert(table + ": " + key + " (" + entry.path().filename().string() + ")");
        }
    }
    EXPECT_GT(keys, 0u);
    for (const auto& key : missing)
        ADD_FAILURE() << "no English text for " << key;

    // Every shipped table parses.
    for (const auto& entry : std::filesystem::recursive_directory_iterator(english.parent_path())) {
        if (entry.path().extension() == ".strings") {
            EXPECT_TRUE(StringsTable::read(entry.path().string())) << entry.path();
        }
    }
}

TEST_F(LocalizationTest, AStoredCodeThatIsNoLanguageCodeReadsAsUnknown) {
    for (const char* language : {"en", "fr"}) {
        addTable(language, R"("hello" = ")" + std::string(language) + "\";");
        platform::FileSystem::writeFile(locales() / (std::string(language) + ".lproj") / "help.html", "<html/>");
    }
    // A folder beside the locales bundle that a stored "../evil" would reach.
    const auto outside = locales().parent_path() / "evil.lproj";
    platform::FileSystem::createDirectories(outside);
    platform::FileSystem::writeFile(outside / "help.html", "<script/>");
    platform::FileSystem::writeFile(outside / "Localizable.strings", R"("hello" = "evil";)");
    const auto english = locales() / "en.lproj" / "help.html";
    const auto french = locales() / "fr.lproj" / "help.html";

    struct Case {
        std::string stored;
        bool isCode;
        std::filesystem::path help;
        std::string hello;
    };
    const std::vector<Case> cases = {
        {"fr", true, french, "fr"},
        {"pt-BR", true, english, "en"},
        {"zh_Hant", true, english, "en"},
        {"../evil", false, english, "en"},
        {"..", false, english, "en"},
        {"fr/../../evil", false, english, "en"},
        {"/tmp/evil", false, english, "en"},
        {"fr.", false, english, "en"},
        {" fr", false, english, "en"},
        {"fr\n", false, english, "en"},
        {"fr\xC3\xA9", false, english, "en"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        platform::UserDefaults::standard().set(c.stored, "AppLanguage");
        EXPECT_EQ(LocalizationManager::isLanguageCode(c.stored), c.isCode);
        EXPECT_EQ(manager().selectedLanguageCode(), c.isCode ? std::optional(c.stored) : std::nullopt);
        EXPECT_EQ(manager().urlForLocalizedResource("help", "html"), c.help);
        EXPECT_EQ(manager().localizedString("hello"), c.hello);
    }

    // The system's preferred languages are checked the same way.
    platform::UserDefaults::standard().removeObjectForKey("AppLanguage");
    platform::LocaleControl::setPreferredLanguages(std::vector<std::string>{"../evil", "fr-CA"});
    EXPECT_EQ(manager().urlForLocalizedResource("help", "html"), french);
}

TEST_F(LocalizationTest, ATableRewrittenInPlaceWithTheSameSizeAndTimeTakesEffectAtTheNextLookup) {
    addTable("en", R"("hello" = "Hello";)");
    const auto file = locales() / "en.lproj" / "Localizable.strings";
    const auto stamp = std::filesystem::last_write_time(file);
    EXPECT_EQ(manager().localizedString("hello"), "Hello");
    // Same inode, same size and, as on a file system with coarse times, the same modification time.
    platform::FileSystem::writeFile(file, R"("hello" = "Howdy";)");
    std::filesystem::last_write_time(file, stamp);
    nextTurn();
    EXPECT_EQ(manager().localizedString("hello"), "Howdy");
    // A language folder added between two turns counts at the second.
    addTable("fr", R"("hello" = "Salut";)");
    nextTurn();
    platform::UserDefaults::standard().set("fr", "AppLanguage");
    EXPECT_EQ(manager().localizedString("hello"), "Salut");
    // A table that appears where there was none, and one that goes.
    addTable("de", R"("hello" = "Hallo";)");
    nextTurn();
    platform::UserDefaults::standard().set("de", "AppLanguage");
    EXPECT_EQ(manager().localizedString("hello", "Other"), "hello");
    addTable("de", R"("hello" = "Hallo!";)", "Other");
    nextTurn();
    EXPECT_EQ(manager().localizedString("hello", "Other"), "Hallo!");
    // The stored choice is read at every lookup, within one turn too.
    platform::UserDefaults::standard().set("fr", "AppLanguage");
    EXPECT_EQ(manager().localizedString("hello"), "Salut");
    platform::UserDefaults::standard().set("de", "AppLanguage");
    EXPECT_EQ(manager().localizedString("hello", "Other"), "Hallo!");
    EXPECT_EQ(manager().localizedString("hello"), "Hallo");
    platform::FileSystem::removeItem(locales() / "de.lproj" / "Other.strings");
    platform::UserDefaults::standard().set("de", "AppLanguage");
    nextTurn();
    EXPECT_EQ(manager().localizedString("hello", "Other"), "hello");
}
