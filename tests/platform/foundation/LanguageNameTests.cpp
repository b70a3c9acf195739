#include "platform/control/LocaleControl.hpp"
#include "platform/foundation/Bundle.hpp"
#include "support/PlatformTest.hpp"

using namespace platform;

namespace {

class LanguageNameTest : public PlatformTest {};

TEST_F(LanguageNameTest, LanguageNamesComeFromTheTableAndTheControlApi) {
    struct Case {
        const char* code;
        const char* in;
        std::optional<std::string> name;
    } cases[] = {
        {"de", "de", "Deutsch"},
        {"fr", "fr", "français"},
        {"ja", "ja", "日本語"},
        {"de", "fr", "allemand"},
        {"zh-Hans", "en", "Chinese, Simplified"},
        {"de", "de-CH", "Deutsch"},
        {"qq", "en", std::nullopt},
        {"de", "qq", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Locale::localizedLanguageName(c.code, c.in), c.name) << c.code << " in " << c.in;
    LocaleControl::setLanguageName("qq", "en", std::string("Test"));
    LocaleControl::setLanguageName("de", "de", std::nullopt);
    EXPECT_EQ(Locale::localizedLanguageName("qq", "en"), "Test");
    EXPECT_EQ(Locale::localizedLanguageName("de", "de"), std::nullopt);
    LocaleControl::setCurrentLanguageCode(std::optional<std::string>("fr"));
    EXPECT_EQ(Locale::localizedLanguageName("it"), "italien");
    LocaleControl::setCurrentLanguageCode(std::optional<std::string>());
    LocaleControl::setPreferredLanguages(std::vector<std::string>{});
    EXPECT_EQ(Locale::localizedLanguageName("it"), "Italian");
    LocaleControl::resetLanguageNames();
    EXPECT_EQ(Locale::localizedLanguageName("de", "de"), "Deutsch");
}

} // namespace
