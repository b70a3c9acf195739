#include "platform/control/BundleControl.hpp"
#include "platform/control/LocaleControl.hpp"
#include "platform/control/SharedInstances.hpp"
#include "platform/foundation/Bundle.hpp"
#include "platform/ui/Image.hpp"

#include "support/PlatformTest.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

using platform::Bundle;
using platform::BundleControl;
using platform::PropertyDictionary;
using platform::PropertyValue;

namespace {

class BundleTest : public PlatformTest {};

TEST_F(BundleTest, MainBundleIdentityIsOptionalAndSetThroughTheControlApi) {
    Bundle main = Bundle::main();
    EXPECT_EQ(main.bundleIdentifier(), std::nullopt);
    EXPECT_EQ(main.bundlePath(), *Bundle::executableDirectory());
    EXPECT_EQ(main.infoDictionary(), std::nullopt);

    BundleControl::setBundleIdentifier("com.example.tilmora");
    BundleControl::setBundlePath(std::filesystem::path("/Applications/Tilmora.app"));
    EXPECT_EQ(main.bundleIdentifier(), "com.example.tilmora") << "a kept handle reads the new values";
    EXPECT_EQ(Bundle::main().bundlePath(), "/Applications/Tilmora.app");

    platform::SharedInstances::resetAll();
    EXPECT_EQ(main.bundleIdentifier(), std::nullopt);
    EXPECT_EQ(main.bundlePath(), *Bundle::executableDirectory());
}

TEST_F(BundleTest, BundleNameIsReadOnlyWhenItIsAText) {
    struct Case {
        const char* name;
        std::optional<PropertyDictionary> info;
        std::optional<std::string> bundleName;
        bool hasNameObject;
    };
    const std::vector<Case> cases = {
        {"no info dictionary", std::nullopt, std::nullopt, false},
        {"empty dictionary", PropertyDictionary{}, std::nullopt, false},
        {"a text", PropertyDictionary{{"CFBundleName", PropertyValue("Tilmora")}}, "Tilmora", true},
        {"an empty text", PropertyDictionary{{"CFBundleName", PropertyValue("")}}, "", true},
        {"a number", PropertyDictionary{{"CFBundleName", PropertyValue(std::int64_t(7))}}, std::nullopt, true},
        {"an array", PropertyDictionary{{"CFBundleName", PropertyValue(platform::PropertyArray{})}}, std::nullopt,
         true},
        {"another key only", PropertyDictionary{{"CFBundleDisplayName", PropertyValue("T")}}, std::nullopt, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        BundleControl::setInfoDictionary(c.info);
        EXPECT_EQ(Bundle::main().infoDictionary(), c.info);
        EXPECT_EQ(Bundle::main().bundleName(), c.bundleName);
        EXPECT_EQ(Bundle::main().objectForInfoDictionaryKey("CFBundleName").has_value(), c.hasNameObject);
    }
}

/// Files put next to the test executable and in "<executable folder>/../share/tilmora" for one
/// test, removed afterwards.
class InstalledResources {
public:
    InstalledResources()
        : exe_(*Bundle::executableDirectory())
        , share_(exe_.parent_path() / "share" / "tilmora") {}
    ~InstalledResources() {
        std::error_code ec;
        for (const auto& file : made_)
            std::filesystem::remove(file, ec);
    }
    void put(bool nextToExecutable, const std::string& name, std::uint32_t width) {
        const auto& dir = nextToExecutable ? exe_ : share_;
        std::filesystem::create_directories(dir);
        std::ofstream png(dir / name, std::ios::binary);
        const unsigned char header[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n', 0, 0, 0, 13,
                                        'I',  'H', 'D', 'R', 0,    0,    0,    static_cast<unsigned char>(width),
                                        0,    0,   0,   16};
        png.write(reinterpret_cast<const char*>(header), sizeof header);
        made_.push_back(dir / name);
    }
    const std::filesystem::path& share() const { return share_; }

private:
    std::filesystem::path exe_;
    std::filesystem::path share_;
    std::vector<std::filesystem::path> made_;
};

TEST_F(BundleTest, ImagesByNameAreFoundInTheInstalledFolderToo) {
    InstalledResources resources;
    resources.put(false, "TilmoraProbeInstalled.png", 20);
    resources.put(true, "TilmoraProbeBoth.png", 30);
    resources.put(false, "TilmoraProbeBoth.png", 40);

    struct Case {
        const char* name;
        std::optional<double> width;
        std::optional<std::filesystem::path> folder;
    };
    const std::vector<Case> cases = {
        {"TilmoraProbeInstalled", 20, resources.share()},
        {"TilmoraProbeInstalled.png", 20, resources.share()},
        {"TilmoraProbeBoth", 30, *Bundle::executableDirectory()},
        {"TilmoraProbeMissing", std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto image = platform::ui::Image::named(c.name);
        ASSERT_EQ(image != nullptr, c.width.has_value());
        if (!image) continue;
        EXPECT_EQ(image->size().width, *c.width);
        EXPECT_EQ(image->file().parent_path(), *c.folder);
    }

    // A resource folder set through the control API is the only one searched.
    BundleControl::setResourceDirectory(resources.share().parent_path());
    EXPECT_EQ(platform::ui::Image::named("TilmoraProbeInstalled"), nullptr);
    EXPECT_EQ(Bundle::pathForResource("TilmoraProbeInstalled", "png"), std::nullopt);
}

TEST_F(BundleTest, LocaleSettingsReturnToTheEnvironmentOnReset) {
    const auto environment = platform::Locale::preferredLanguages();
    const auto code = platform::Locale::currentLanguageCode();
    platform::LocaleControl::setPreferredLanguages(std::vector<std::string>{"sv-SE"});
    platform::LocaleControl::setCurrentLanguageCode(std::optional<std::string>{});
    EXPECT_EQ(platform::Locale::preferredLanguages(), std::vector<std::string>{"sv-SE"});
    EXPECT_EQ(platform::Locale::currentLanguageCode(), std::nullopt);
    platform::SharedInstances::resetAll();
    EXPECT_EQ(platform::Locale::preferredLanguages(), environment);
    EXPECT_EQ(platform::Locale::currentLanguageCode(), code);
}

} // namespace
