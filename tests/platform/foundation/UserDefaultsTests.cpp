#include "platform/control/SharedInstances.hpp"
#include "platform/foundation/FileSystem.hpp"
#include "platform/foundation/Folders.hpp"
#include "platform/foundation/JsonCoding.hpp"
#include "platform/foundation/NotificationCenter.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "support/FoundationSandbox.hpp"
#include "support/PlatformTest.hpp"
#include "support/SpecialFiles.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <thread>

using platform::Bytes;
using platform::PropertyArray;
using platform::PropertyDictionary;
using platform::PropertyValue;
using platform::UserDefaults;

namespace {

class UserDefaultsTest : public testsupport::FoundationSandbox {};

struct CoercionCase {
    const char* label;
    std::optional<PropertyValue> stored;
    bool asBool;
    std::int64_t asInteger;
    double asDouble;
    std::optional<std::string> asString;
};

TEST_F(UserDefaultsTest, TypedReadersCoerceStoredValues) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const CoercionCase cases[] = {
        {"absent", std::nullopt, false, 0, 0.0, std::nullopt},
        {"true", PropertyValue(true), true, 1, 1.0, "1"},
        {"false", PropertyValue(false), false, 0, 0.0, "0"},
        {"int 0", PropertyValue(0), false, 0, 0.0, "0"},
        {"int -3", PropertyValue(-3), true, -3, -3.0, "-3"},
        {"double 0.0", PropertyValue(0.0), false, 0, 0.0, "0"},
        {"double 2.75", PropertyValue(2.75), true, 2, 2.75, "2.75"},
        {"double -2.75", PropertyValue(-2.75), true, -2, -2.75, "-2.75"},
        {"double 1e20", PropertyValue(1e20), true, std::numeric_limits<std::int64_t>::max(), 1e20, "1e+20"},
        {"double nan", PropertyValue(nan), true, 0, nan, "nan"},
        {"YES", PropertyValue("YES"), true, 0, 0.0, "YES"},
        {"yes", PropertyValue("yes"), true, 0, 0.0, "yes"},
        {"True", PropertyValue("True"), true, 0, 0.0, "True"},
        {"TRUE", PropertyValue("TRUE"), true, 0, 0.0, "TRUE"},
        {"1", PropertyValue("1"), true, 1, 1.0, "1"},
        {" 42abc", PropertyValue(" 42abc"), true, 42, 42.0, " 42abc"},
        {"-7", PropertyValue("-7"), true, -7, -7.0, "-7"},
        {"3.9", PropertyValue("3.9"), true, 3, 3.9, "3.9"},
        {"0.5", PropertyValue("0.5"), false, 0, 0.5, "0.5"},
        {"no", PropertyValue("no"), false, 0, 0.0, "no"},
        {"false text", PropertyValue("false"), false, 0, 0.0, "false"},
        {"empty text", PropertyValue(""), false, 0, 0.0, ""},
        {"huge text", PropertyValue("99999999999999999999"), true, std::numeric_limits<std::int64_t>::max(),
         1e20, "99999999999999999999"},
        {"data", PropertyValue(Bytes{1, 2}), false, 0, 0.0, std::nullopt},
        {"date", PropertyValue(platform::Date{5.0}), false, 0, 0.0, std::nullopt},
        {"array", PropertyValue(PropertyArray{PropertyValue(1)}), false, 0, 0.0, std::nullopt},
        {"dictionary", PropertyValue(PropertyDictionary{{"a", PropertyValue(1)}}), false, 0, 0.0,
         std::nullopt},
    };
    UserDefaults& defaults = UserDefaults::standard();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        if (c.stored) {
            defaults.set(*c.stored, "key");
        } else {
            defaults.removeObjectForKey("key");
        }
        EXPECT_EQ(defaults.objectForKey("key").has_value(), c.stored.has_value());
        EXPECT_EQ(defaults.boolForKey("key"), c.asBool);
        EXPECT_EQ(defaults.integerForKey("key"), c.asInteger);
        if (std::isnan(c.asDouble)) {
            EXPECT_TRUE(std::isnan(defaults.doubleForKey("key")));
        } else {
            EXPECT_DOUBLE_EQ(defaults.doubleForKey("key"), c.asDouble);
        }
        EXPECT_EQ(defaults.stringForKey("key"), c.asString);
    }
}

TEST_F(UserDefaultsTest, KindReadersAnswerOnlyTheirKind) {
    UserDefaults& defaults = UserDefaults::standard();
    defaults.set(Bytes{0, 255, 7}, "data");
    defaults.set(PropertyArray{PropertyValue("a"), PropertyValue(2)}, "array");
    defaults.set(PropertyDictionary{{"k", PropertyValue(1.5)}}, "dict");
    EXPECT_EQ(defaults.dataForKey("data"), (Bytes{0, 255, 7}));
    EXPECT_EQ(defaults.arrayForKey("array")->size(), 2u);
    EXPECT_EQ(defaults.dictionaryForKey("dict")->at("k"), PropertyValue(1.5));
    for (const char* key : {"data", "array", "dict", "missing"}) {
        SCOPED_TRACE(key);
        EXPECT_EQ(defaults.dataForKey(key).has_value(), std::string(key) == "data");
        EXPECT_EQ(defaults.arrayForKey(key).has_value(), std::string(key) == "array");
        EXPECT_EQ(defaults.dictionaryForKey(key).has_value(), std::string(key) == "dict");
    }
}

TEST_F(UserDefaultsTest, EveryKindSurvivesARestart) {
    const PropertyDictionary values = {
        {"bool", PropertyValue(true)},
        {"int", PropertyValue(std::numeric_limits<std::int64_t>::min())},
        {"double", PropertyValue(0.1)},
        {"infinite", PropertyValue(-std::numeric_limits<double>::infinity())},
        {"text", PropertyValue("héllo \"quoted\"\n")},
        {"data", PropertyValue(Bytes{0, 1, 2, 253, 254, 255, 10})},
        {"emptyData", PropertyValue(Bytes{})},
        {"date", PropertyValue(platform::Date{1700000000.125})},
        {"nested",
         PropertyValue(PropertyArray{PropertyValue(PropertyDictionary{{"x", PropertyValue(Bytes{9})}}),
                                     PropertyValue(false)})},
    };
    for (const auto& [key, value] : values)
        UserDefaults::standard().set(value, key);
    platform::SharedInstances::resetAll();
    EXPECT_EQ(UserDefaults::standard().dictionaryRepresentation(), values);
}

TEST_F(UserDefaultsTest, RegisteredValuesAnswerReadersButAreNeverPersisted) {
    UserDefaults& defaults = UserDefaults::standard();
    defaults.registerDefaults({{"WMVerboseLogging", PropertyValue(true)}, {"WMGapSize", PropertyValue(8.0)}});
    EXPECT_TRUE(defaults.boolForKey("WMVerboseLogging"));
    ASSERT_TRUE(defaults.objectForKey("WMGapSize").has_value());

    defaults.set(false, "WMVerboseLogging");
    EXPECT_FALSE(defaults.boolForKey("WMVerboseLogging"));
    EXPECT_EQ(
        defaults.dictionaryRepresentation(),
        (PropertyDictionary{{"WMVerboseLogging", PropertyValue(false)}, {"WMGapSize", PropertyValue(8.0)}}));

    defaults.removeObjectForKey("WMVerboseLogging");
    EXPECT_TRUE(defaults.boolForKey("WMVerboseLogging")) << "the registered value answers again";

    defaults.set(3, "Stored");
    platform::SharedInstances::resetAll();
    EXPECT_FALSE(defaults.objectForKey("WMGapSize").has_value());
    EXPECT_EQ(defaults.dictionaryRepresentation(), (PropertyDictionary{{"Stored", PropertyValue(3)}}));
    const std::string file = platform::FileSystem::readFile(defaults.storagePath());
    EXPECT_EQ(file.find("WMGapSize"), std::string::npos);
}

TEST_F(UserDefaultsTest, SuiteDomainsAreIndependent) {
    UserDefaults wm("com.apple.WindowManager");
    UserDefaults sameSuite("com.apple.WindowManager");
    wm.registerDefaults({{"Registered", PropertyValue(1)}});
    wm.set(true, "GloballyEnabled");
    UserDefaults::standard().set(false, "GloballyEnabled");

    EXPECT_TRUE(sameSuite.boolForKey("GloballyEnabled"));
    EXPECT_TRUE(sameSuite.objectForKey("Registered").has_value());
    EXPECT_FALSE(UserDefaults::standard().boolForKey("GloballyEnabled"));
    EXPECT_FALSE(UserDefaults::standard().objectForKey("Registered").has_value());
    EXPECT_NE(wm.storagePath(), UserDefaults::standard().storagePath());
    EXPECT_EQ(wm.storagePath().filename(), "com.apple.WindowManager.json");

    platform::SharedInstances::resetAll();
    EXPECT_TRUE(UserDefaults("com.apple.WindowManager").boolForKey("GloballyEnabled"));
    EXPECT_FALSE(UserDefaults::standard().boolForKey("GloballyEnabled"));
}

TEST_F(UserDefaultsTest, DomainNamesBecomeSafeAndDistinctFileNames) {
    const std::pair<const char*, const char*> cases[] = {
        {"com.apple.WindowManager", "com.apple.WindowManager.json"},
        {"com.x_y", "com.x_y.json"},
        {"com.x/y", "com.x%2Fy.json"},
        {"com.x%2Fy", "com.x%252Fy.json"},
        {"../evil/x", "..%2Fevil%2Fx.json"},
        {"..", "%...json"},
        {".", "%..json"},
        {"", "%.json"},
        {"_", "_.json"},
        {"caf\xC3\xA9", "caf%C3%A9.json"},
    };
    for (const auto& [name, file] : cases)
        EXPECT_EQ(UserDefaults::fileNameForDomain(name), file) << name;
}

TEST_F(UserDefaultsTest, DomainsWhoseNamesDifferOnlyInEscapedCharactersKeepTheirOwnValues) {
    UserDefaults("com.x/y").set(1, "k");
    UserDefaults("com.x_y").set(2, "k");
    platform::SharedInstances::resetAll();
    EXPECT_EQ(UserDefaults("com.x/y").integerForKey("k"), 1);
    EXPECT_EQ(UserDefaults("com.x_y").integerForKey("k"), 2);
}

TEST_F(UserDefaultsTest, CorruptFileIsMovedAsideAndNeverOverwritten) {
    const char* corruptTexts[] = {
        "{not json",
        "[1, 2]",
        R"({"k": 5})",
        R"({"k": {"integer": "5"}})",
        R"({"k": {"data": "%%%%"}})",
        R"({"k": {"bool": true, "integer": 1}})",
    };
    for (const char* text : corruptTexts) {
        SCOPED_TRACE(text);
        platform::SharedInstances::resetAll();
        const auto file = UserDefaults::standard().storagePath();
        const auto folder = file.parent_path();
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            std::filesystem::remove(entry);
        platform::FileSystem::writeFile(file, text);
        platform::SharedInstances::resetAll();

        testing::internal::CaptureStdout();
        EXPECT_FALSE(UserDefaults::standard().objectForKey("k").has_value());
        const std::string err = testing::internal::GetCapturedStdout();
        EXPECT_NE(err.find("Corrupt defaults file"), std::string::npos) << err;

        std::vector<std::filesystem::path> aside;
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            if (entry.path().filename().string().starts_with("Tilmora.json.corrupt-"))
                aside.push_back(entry.path());
        ASSERT_EQ(aside.size(), 1u);
        EXPECT_EQ(platform::FileSystem::readFile(aside[0]), text);
        EXPECT_FALSE(platform::FileSystem::fileExists(file));

        UserDefaults::standard().set(1, "k");
        EXPECT_EQ(platform::FileSystem::readFile(aside[0]), text);
    }
}

TEST_F(UserDefaultsTest, APipeADeviceOrAnOversizedFileIsNeverReadWhole) {
    namespace fs = std::filesystem;
    using Plant = testsupport::SpecialFile;
    struct Case {
        const char* label;
        Plant plant;
        const char* logged;
        bool keptAside; // else left exactly where it is and never written
    } cases[] = {
        {"pipe", Plant::pipe, "is not a regular file; left as it is, working in memory only", false},
        {"link to /dev/zero", Plant::zeroDeviceLink,
         "is not a regular file; left as it is, working in memory only", false},
        {"2 GB sparse file", Plant::sparse2GB, "(larger than 268435456 bytes) moved aside", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        platform::SharedInstances::resetAll();
        const auto file = UserDefaults::standard().storagePath();
        fs::remove_all(file.parent_path());
        fs::create_directories(file.parent_path());
        ASSERT_NO_FATAL_FAILURE(testsupport::plantSpecialFile(file, c.plant));
        const auto kind = fs::symlink_status(file).type();
        platform::SharedInstances::resetAll();
        testing::internal::CaptureStdout();
        UserDefaults::standard().registerDefaults({{"k", PropertyValue(5)}});
        EXPECT_EQ(UserDefaults::standard().integerForKey("k"), 5);
        const std::string out = testing::internal::GetCapturedStdout();
        EXPECT_NE(out.find(c.logged), std::string::npos) << out;
        UserDefaults::standard().set(6, "k");
        EXPECT_EQ(UserDefaults::synchronizeAll(), c.keptAside);
        EXPECT_EQ(UserDefaults::standard().integerForKey("k"), 6);
        if (c.keptAside) {
            EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(file)));
            std::size_t aside = 0;
            for (const auto& entry : fs::directory_iterator(file.parent_path()))
                if (entry.path().filename().string().starts_with("Tilmora.json.corrupt-")) {
                    ++aside;
                    EXPECT_EQ(fs::file_size(entry.path()), 2'000'000'000u);
                }
            EXPECT_EQ(aside, 1u);
        } else {
            EXPECT_EQ(fs::symlink_status(file).type(), kind);
        }
        fs::remove(file);
    }
}

TEST_F(UserDefaultsTest, UnreadableFileIsKeptAndDomainWorksInMemory) {
    UserDefaults defaults("Unreadable");
    const auto file = defaults.storagePath();
    std::filesystem::create_directories(file / "inside");
    platform::SharedInstances::resetAll();
    testing::internal::CaptureStdout();
    defaults.set(true, "k");
    testing::internal::GetCapturedStdout();
    EXPECT_TRUE(defaults.boolForKey("k"));
    EXPECT_TRUE(std::filesystem::is_directory(file / "inside"));
    EXPECT_FALSE(defaults.synchronize());
}

TEST_F(UserDefaultsTest, DidChangeIsPostedAfterEveryWriteWithTheDefaultsAsObject) {
    UserDefaults& defaults = UserDefaults::standard();
    std::vector<std::optional<PropertyValue>> seen;
    auto& center = platform::NotificationCenter::defaultCenter();
    center.addObserver(UserDefaults::didChangeNotification, &defaults, [&](const platform::Notification& n) {
        EXPECT_EQ(n.object, &defaults);
        // The change is already stored when observers run (the file follows within a second).
        seen.push_back(defaults.persistedObjectForKey("k"));
    });
    defaults.registerDefaults({{"k", PropertyValue(0)}});
    EXPECT_TRUE(seen.empty()) << "registering is not a write";
    defaults.set(5, "k");
    defaults.removeObjectForKey("k");
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], PropertyValue(5));
    EXPECT_FALSE(seen[1].has_value());
}

TEST_F(UserDefaultsTest, ConcurrentWritersLoseNothing) {
    constexpr int kThreads = 4;
    constexpr int kWrites = 25;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t] {
            for (int i = 0; i < kWrites; ++i)
                UserDefaults::standard().set(i, "t" + std::to_string(t) + "-" + std::to_string(i));
        });
    }
    for (auto& thread : threads)
        thread.join();
    platform::SharedInstances::resetAll();
    EXPECT_EQ(UserDefaults::standard().dictionaryRepresentation().size(), std::size_t(kThreads * kWrites));
}

} // namespace

class UserDefaultsSavingTest : public PlatformTest {
protected:
    static std::string onDisk() { return platform::FileSystem::readFile(UserDefaults::standard().storagePath()); }
    static bool saved(const std::string& key) { return onDisk().find("\"" + key + "\"") != std::string::npos; }
};

TEST_F(UserDefaultsSavingTest, ChangesAreWrittenAtMostOncePerSecondAndFlushedOnRequestOrReset) {
    auto& defaults = UserDefaults::standard();
    defaults.set(1, "a");
    EXPECT_TRUE(saved("a")) << "a change after a quiet second is written at once";
    defaults.set(2, "b");
    defaults.removeObjectForKey("a");
    EXPECT_FALSE(saved("b"));
    sim().runFor(0.9);
    EXPECT_FALSE(saved("b"));
    sim().runFor(0.2);
    EXPECT_TRUE(saved("b"));
    EXPECT_FALSE(saved("a"));

    defaults.set(3, "c");
    EXPECT_FALSE(saved("c"));
    EXPECT_TRUE(defaults.synchronize());
    EXPECT_TRUE(saved("c"));

    UserDefaults suite("com.example.suite");
    suite.set(4, "d");
    suite.set(5, "e");
    defaults.set(6, "f");
    EXPECT_TRUE(UserDefaults::synchronizeAll());
    EXPECT_TRUE(saved("f"));
    EXPECT_NE(platform::FileSystem::readFile(suite.storagePath()).find("\"e\""), std::string::npos);

    defaults.set(7, "g");
    platform::SharedInstances::resetAll();
    EXPECT_TRUE(saved("g")) << "forgetting the domains writes what is dirty";
    EXPECT_EQ(UserDefaults::standard().integerForKey("g"), 7);
}

TEST_F(UserDefaultsSavingTest, TheFileKeepsItsPrettyPrintedLayout) {
    auto& defaults = UserDefaults::standard();
    const PropertyArray numbers{PropertyValue(0.5), PropertyValue(2.0)};
    defaults.set(PropertyValue(PropertyDictionary{{"z", PropertyValue(PropertyArray{})},
                                                  {"a\u0001\"\\\t", PropertyValue(numbers)},
                                                  {"e", PropertyValue(PropertyDictionary{})}}),
                 "nested");
    defaults.set(PropertyValue(std::numeric_limits<double>::quiet_NaN()), "nan");
    defaults.set(PropertyValue(1e20), "big");
    defaults.set(PropertyValue(Bytes{1, 2}), "data");
    defaults.set(PropertyValue(platform::Date{12.25}), "date");
    defaults.set(PropertyValue("é\n"), "text");
    defaults.set(PropertyValue(true), "yes");
    ASSERT_TRUE(defaults.synchronize());
    const std::string text = onDisk();
    EXPECT_EQ(text, platform::parseJson(text).dump(2) + "\n");
}

TEST_F(UserDefaultsTest, TextsThatAreNotUtf8AreRefusedAndTheDomainKeepsSaving) {
    const std::string bad = "caf\xE9";
    struct Case {
        const char* label;
        std::string key;
        PropertyValue value;
    };
    const Case cases[] = {
        {"text", "k", PropertyValue(bad)},
        {"truncated sequence", "k", PropertyValue(std::string("\xE2\x82"))},
        {"surrogate", "k", PropertyValue(std::string("\xED\xA0\x80"))},
        {"overlong slash", "k", PropertyValue(std::string("\xC0\xAF"))},
        {"inside an array", "k", PropertyValue(PropertyArray{PropertyValue("ok"), PropertyValue(bad)})},
        {"dictionary key", "k", PropertyValue(PropertyDictionary{{bad, PropertyValue(1)}})},
        {"key", bad, PropertyValue(1)},
    };
    UserDefaults& defaults = UserDefaults::standard();
    defaults.set(1, "before");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        int posts = 0;
        auto token = platform::NotificationCenter::defaultCenter().addObserver(
            UserDefaults::didChangeNotification, nullptr, [&](const platform::Notification&) { ++posts; });
        EXPECT_THROW(defaults.set(c.value, c.key), platform::Error);
        platform::NotificationCenter::defaultCenter().removeObserver(token);
        EXPECT_EQ(posts, 0);
        EXPECT_FALSE(defaults.objectForKey(c.key).has_value());
    }
    defaults.set(2, "after");
    EXPECT_TRUE(defaults.synchronize());
    platform::SharedInstances::resetAll();
    EXPECT_EQ(UserDefaults::standard().integerForKey("before"), 1);
    EXPECT_EQ(UserDefaults::standard().integerForKey("after"), 2);
}

TEST_F(UserDefaultsTest, FileHoldingBytesThatAreNotUtf8LoadsThemEscapedAndSavesTheRest) {
    struct Case {
        const char* label;
        std::string stored; // the JSON text of the value, as it stands in the file
        std::string reads;
    };
    const Case cases[] = {
        {"lone byte", "\"caf\xE9\"", "caf\\xE9"},
        {"backslashes doubled", "\"a\\\\b\xFF\"", "a\\\\b\\xFF"},
        {"escaped backslash", "\"\\u005C\x80\"", "\\\\\\x80"},
        {"other escapes kept", "\"\\n\\\"\xC3\"", "\n\"\\xC3"},
        {"well-formed kept", "\"\xC3\xA9\xF0\x9F\x98\x80\xFE\"", "\xC3\xA9\xF0\x9F\x98\x80\\xFE"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        platform::SharedInstances::resetAll();
        const auto file = UserDefaults("Broken").storagePath();
        platform::FileSystem::createDirectories(file.parent_path());
        platform::FileSystem::writeFile(file, "{\"good\": {\"integer\": 7}, \"bad\": {\"string\": " + c.stored +
                                                  "}, \"list\": {\"array\": [{\"string\": \"x\"}]}}");
        platform::SharedInstances::resetAll();
        testing::internal::CaptureStdout();
        UserDefaults defaults("Broken");
        EXPECT_EQ(defaults.stringForKey("bad"), c.reads);
        const std::string err = testing::internal::GetCapturedStdout();
        EXPECT_NE(err.find("not UTF-8"), std::string::npos) << err;
        EXPECT_EQ(defaults.integerForKey("good"), 7);

        defaults.set(8, "new");
        platform::SharedInstances::resetAll();
        UserDefaults reopened("Broken");
        EXPECT_EQ(reopened.integerForKey("good"), 7);
        EXPECT_EQ(reopened.integerForKey("new"), 8);
        EXPECT_EQ(reopened.stringForKey("bad"), c.reads);
        EXPECT_TRUE(reopened.arrayForKey("list").has_value());
    }
}
