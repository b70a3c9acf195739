#include "model/DisplayLayoutMemory.hpp"

#include "model/HookRegistry.hpp"
#include "model/Settings.hpp"

#include "ModelFixture.hpp"

#include "platform/control/SystemLogControl.hpp"
#include "platform/foundation/UserDefaults.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>

using namespace tilmora;
using modeltest::screen;
using Preset = ScreenLayoutEntry::PresetModel;

namespace {

// The snap grid as the memory sees it: presets per display number, and a record of applies.
class FakeGrid : public DisplayPresetGrid {
public:
    std::map<std::optional<std::uint32_t>, Preset> presets;
    struct Applied {
        Preset preset;
        std::string screen;
        bool flash;
        bool activate;
    };
    std::vector<Applied> applied;

    Preset loadPreset(const ScreenInfo& screen) override {
        auto found = presets.find(screen.displayNumber);
        return found != presets.end() ? found->second : Preset{};
    }
    void applyPreset(const Preset& preset, const ScreenInfo& screen, bool flash, bool activate) override {
        applied.push_back({preset, screen.localizedName, flash, activate});
    }
};

class DisplayLayoutMemoryTest : public modeltest::ModelFixture {
protected:
    void SetUp() override {
        ModelFixture::SetUp();
        platform::UserDefaults::standard().registerDefaults({{settings::verboseLogging.key, true}});
        screens->list = {screen(1, 0, 1440, 900, 2, "Built-in"), screen(2, 1440, 1920, 1080, 1, "External")};
        grid->presets[1] = Preset{3, 2, 4, 6};
        grid->presets[2] = Preset{1, 3, 0, 0};
    }

    std::string stored() const {
        auto data = platform::UserDefaults::standard().dataForKey("DisplayLayoutMemory.v1");
        return data ? std::string(data->begin(), data->end()) : std::string();
    }
    void store(const std::string& json) {
        platform::UserDefaults::standard().set(platform::Bytes(json.begin(), json.end()),
                                               "DisplayLayoutMemory.v1");
    }

    std::shared_ptr<FakeGrid> grid = std::make_shared<FakeGrid>();
};

} // namespace

TEST_F(DisplayLayoutMemoryTest, CaptureStoresEveryScreenUnderTheConfigurationKey) {
    DisplayLayoutMemory memory(grid);
    memory.captureCurrentPresetConfiguration();
    const std::string key = "1-2880x1800|2-1920x1080";
    auto json = platform::parseJson(stored());
    ASSERT_TRUE(json.contains(key)) << stored();
    ASSERT_EQ(json[key].size(), 2u);
    EXPECT_EQ(json[key][0]["signature"]["displayID"], 1);
    EXPECT_EQ(json[key][0]["signature"]["width"], 2880);
    EXPECT_EQ(json[key][0]["preset"]["rows"], 3);
    EXPECT_EQ(json[key][0]["preset"]["gutter"], 4.0);
    EXPECT_EQ(json[key][1]["signature"]["displayID"], 2);
    EXPECT_TRUE(systemLogged("[DisplayLayoutMemory] Captured 2 preset(s) for configuration " + key));

    // Applying it again puts each preset on its screen.
    memory.applyStoredConfiguration(true);
    ASSERT_EQ(grid->applied.size(), 2u);
    EXPECT_EQ(grid->applied[0].screen, "Built-in");
    EXPECT_EQ(grid->applied[0].preset, (Preset{3, 2, 4, 6}));
    EXPECT_FALSE(grid->applied[0].flash);
    EXPECT_TRUE(grid->applied[0].activate);
    EXPECT_TRUE(systemLogged("[DisplayLayoutMemory] Applying preset 3x2 to Built-in (activate=true)"));
}

TEST_F(DisplayLayoutMemoryTest, ApplyWithoutForceOnlyLogsWhileAutoApplyIsOff) {
    DisplayLayoutMemory memory(grid);
    memory.captureCurrentPresetConfiguration();
    memory.applyStoredConfiguration(false);
    EXPECT_TRUE(grid->applied.empty());
    EXPECT_TRUE(systemLogged("[DisplayLayoutMemory] Auto-apply disabled; skipping stored layout"));

    platform::UserDefaults::standard().set(true, settings::autoApplyDisplayLayouts.key);
    memory.applyStoredConfiguration(false);
    ASSERT_EQ(grid->applied.size(), 2u);
    EXPECT_FALSE(grid->applied[0].activate);
    EXPECT_TRUE(systemLogged("[DisplayLayoutMemory] Applying preset 1x3 to External (activate=false)"));
}

TEST_F(DisplayLayoutMemoryTest, NoStoredLayoutLines) {
    DisplayLayoutMemory memory(grid);
    memory.captureCurrentPresetConfiguration();
    // Screen 2 replaced by screen 3 of the same size.
    screens->list[1].displayNumber = 3;
    memory.applyStoredConfiguration(true);
    EXPECT_TRUE(
        systemLogged("[DisplayLayoutMemory] No stored layout for configuration 1-2880x1800|3-1920x1080"));
    screens->list.clear();
    memory.applyStoredConfiguration(true);
    EXPECT_TRUE(systemLogged("[DisplayLayoutMemory] No stored layout for configuration <none>"));
    memory.captureCurrentPresetConfiguration(); // nothing to capture
    EXPECT_EQ(platform::parseJson(stored()).size(), 1u);
    EXPECT_TRUE(grid->applied.empty());
}

TEST_F(DisplayLayoutMemoryTest, StoredEntriesAreNormalizedAndResolvedOnePerScreen) {
    screens->list = {screen(1, 0, 1920, 1080, 1, "One"), screen(std::nullopt, 1920, 1920, 1080, 1, "Loose"),
                     screen(5, 3840, 1920, 1080, 1, "Five")};
    const std::string key = "1-1920x1080|5-1920x1080|unknown-1920x1080";
    store(
        R"({")" + key +
        R"(":[)"
        R"({"signature":{"displayID":1,"width":1920,"height":1080},"preset":{"rows":0,"cols":3,"gutter":-4,"padding":2}},)"
        R"({"signature":{"displayID":1,"width":1920,"height":1080},"preset":{"rows":9,"cols":9,"gutter":0,"padding":0}},)"
        R"({"signature":{"width":1920,"height":1080},"preset":{"rows":2,"cols":1,"gutter":0,"padding":0}},)"
        R"({"signature":{"displayID":7,"width":1920,"height":1080},"preset":{"rows":4,"cols":4,"gutter":0,"padding":0}}]})");
    DisplayLayoutMemory memory(grid);
    memory.applyStoredConfiguration(true);
    EXPECT_TRUE(systemLogged("[DisplayLayoutMemory] Applying preset 0x3 to One (activate=true)"));
    std::vector<std::pair<std::string, Preset>> got;
    for (const auto& a : grid->applied)
        got.emplace_back(a.screen, a.preset);
    // Entry 1: screen 1, normalized. Entry 2: number 1 is used; a screen without a number of the
    // same size fits. Entry 3 (no number) and entry 4 (number 7, not connected): the screen without
    // a number fits them too, and taking it uses no number.
    const std::vector<std::pair<std::string, Preset>> expected = {{"One", Preset{1, 3, 0, 2}},
                                                                  {"Loose", Preset{9, 9, 0, 0}},
                                                                  {"Loose", Preset{2, 1, 0, 0}},
                                                                  {"Loose", Preset{4, 4, 0, 0}}};
    EXPECT_EQ(got, expected);
}

TEST_F(DisplayLayoutMemoryTest, AnUnnumberedEntryTakesTheFirstUnusedScreenOfItsSize) {
    screens->list = {screen(1, 0, 1920, 1080, 1, "One"), screen(2, 1920, 1920, 1080, 1, "Two")};
    store(
        R"({"1-1920x1080|2-1920x1080":[)"
        R"({"signature":{"displayID":1,"width":1920,"height":1080},"preset":{"rows":1,"cols":1,"gutter":0,"padding":0}},)"
        R"({"signature":{"width":1920,"height":1080},"preset":{"rows":2,"cols":2,"gutter":0,"padding":0}}]})");
    DisplayLayoutMemory memory(grid);
    memory.applyStoredConfiguration(true);
    ASSERT_EQ(grid->applied.size(), 2u);
    EXPECT_EQ(grid->applied[1].screen, "Two");
}

TEST_F(DisplayLayoutMemoryTest, ASecondEntryOfAUsedNumberIsSkipped) {
    store(
        R"({"1-2880x1800|2-1920x1080":[)"
        R"({"signature":{"displayID":2,"width":1920,"height":1080},"preset":{"rows":1,"cols":1,"gutter":0,"padding":0}},)"
        R"({"signature":{"displayID":2,"width":1920,"height":1080},"preset":{"rows":2,"cols":2,"gutter":0,"padding":0}}]})");
    DisplayLayoutMemory memory(grid);
    memory.applyStoredConfiguration(true);
    ASSERT_EQ(grid->applied.size(), 1u);
    EXPECT_EQ(grid->applied[0].screen, "External");
    EXPECT_EQ(grid->applied[0].preset, (Preset{1, 1, 0, 0}));
}

TEST_F(DisplayLayoutMemoryTest, TwoInstancesOnOneKeyKeepEachOthersCaptures) {
    DisplayLayoutMemory shellMemory(grid), viewsMemory(grid);
    shellMemory.captureCurrentPresetConfiguration();
    screens->list.pop_back();
    viewsMemory.captureCurrentPresetConfiguration();
    auto json = platform::parseJson(stored());
    EXPECT_TRUE(json.contains("1-2880x1800|2-1920x1080"));
    EXPECT_TRUE(json.contains("1-2880x1800"));

    // And the first instance applies what the second captured.
    shellMemory.applyStoredConfiguration(true);
    EXPECT_EQ(grid->applied.size(), 1u);

    // The shared instance uses the installed grid.
    DisplayLayoutMemory::installGrid(grid);
    DisplayLayoutMemory::shared().applyStoredConfiguration(true);
    EXPECT_EQ(grid->applied.size(), 2u);
    EXPECT_EQ(DisplayLayoutMemory::shared().defaultsKey(), "DisplayLayoutMemory.v1");
}

TEST_F(DisplayLayoutMemoryTest, UndecodableDataReadsEmptyAndIsKeptAsideWhenOverwritten) {
    store("not json");
    DisplayLayoutMemory memory(grid);
    EXPECT_TRUE(memory.cache().empty());
    memory.applyStoredConfiguration(true);
    EXPECT_TRUE(
        systemLogged("[DisplayLayoutMemory] No stored layout for configuration 1-2880x1800|2-1920x1080"));
    memory.captureCurrentPresetConfiguration();
    EXPECT_EQ(platform::parseJson(stored()).size(), 1u);
    auto kept = platform::UserDefaults::standard().dataForKey("DisplayLayoutMemory.v1.corrupt");
    ASSERT_TRUE(kept);
    EXPECT_EQ(std::string(kept->begin(), kept->end()), "not json");
}

TEST_F(DisplayLayoutMemoryTest, AnUnencodablePresetIsLoggedAndLeavesTheStoredDataAlone) {
    DisplayLayoutMemory memory(grid);
    memory.captureCurrentPresetConfiguration();
    const std::string before = stored();
    grid->presets[1].gutter = std::numeric_limits<double>::quiet_NaN();
    screens->list.pop_back();
    memory.captureCurrentPresetConfiguration();
    EXPECT_EQ(stored(), before);
    bool failed = false;
    for (const auto& line : platform::SystemLogControl::recordedLines())
        failed |= line.starts_with("[DisplayLayoutMemory] Failed to persist layouts: ");
    EXPECT_TRUE(failed);
}

TEST_F(DisplayLayoutMemoryTest, VerboseLinesOnlyWhileVerboseLoggingIsOn) {
    platform::UserDefaults::standard().set(false, settings::verboseLogging.key);
    DisplayLayoutMemory memory(grid);
    memory.captureCurrentPresetConfiguration();
    memory.applyStoredConfiguration(false);
    EXPECT_TRUE(platform::SystemLogControl::recordedLines().empty());
}

TEST_F(DisplayLayoutMemoryTest, AStoredValueOfAnotherKindIsKeptAsideBeforeACapture) {
    struct Case {
        const char* label;
        platform::PropertyValue value;
    };
    const Case cases[] = {
        {"text", platform::PropertyValue("{\"1-2880x1800\": []}")},
        {"number", platform::PropertyValue(7)},
        {"dictionary", platform::PropertyValue(platform::PropertyDictionary{{"a", platform::PropertyValue(1)}})},
    };
    auto& defaults = platform::UserDefaults::standard();
    defaults.set(platform::PropertyValue("kept earlier"), "DisplayLayoutMemory.v1.corrupt");
    int n = 1;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        defaults.set(c.value, "DisplayLayoutMemory.v1");
        DisplayLayoutMemory memory(grid);
        EXPECT_TRUE(memory.cache().empty());
        memory.captureCurrentPresetConfiguration();
        EXPECT_EQ(platform::parseJson(stored()).size(), 1u);
        const std::string aside = "DisplayLayoutMemory.v1.corrupt-" + std::to_string(++n);
        EXPECT_EQ(defaults.objectForKey(aside), c.value);
    }
    EXPECT_EQ(defaults.stringForKey("DisplayLayoutMemory.v1.corrupt"), "kept earlier");
}

namespace {

using HookPlaceholderTest = DisplayLayoutMemoryTest;

// Until the shell installs the snap grid, the shared memory reads the default preset and applies
// nothing, and says once that nothing was installed; the hook list names it until then.
TEST_F(HookPlaceholderTest, TheSharedMemoryWithoutAGridSaysSoOnce) {
    const auto unfilled = [] {
        const auto names = HookRegistry::notReal();
        return std::find(names.begin(), names.end(), "DisplayLayoutMemory.grid") != names.end();
    };
    EXPECT_TRUE(unfilled());
    auto& memory = DisplayLayoutMemory::shared();
    memory.captureCurrentPresetConfiguration();
    memory.captureCurrentPresetConfiguration();
    memory.applyStoredConfiguration(true);
    EXPECT_EQ(memory.cache().at("1-2880x1800|2-1920x1080").front().preset, (Preset{2, 2, 0, 0}));
    const auto logged = platform::SystemLogControl::recordedLines();
    EXPECT_EQ(std::count(logged.begin(), logged.end(),
                         "[Hooks] Nothing installed for DisplayLayoutMemory.grid: stored presets are neither read "
                         "nor applied"),
              1);
    DisplayLayoutMemory::installGrid(grid);
    EXPECT_FALSE(unfilled());
    memory.applyStoredConfiguration(true);
    EXPECT_EQ(grid->applied.size(), 2u);
}

// A function hook holds the real thing unless it is empty or holds its placeholder.
TEST(HookRegistryTest, AFunctionHookIsRealUnlessEmptyOrThePlaceholder) {
    struct Placeholders {
        static int none() { return 0; }
        static int other() { return 1; }
    };
    const std::pair<const char*, std::pair<std::function<int()>, bool>> cases[] = {
        {"empty", {std::function<int()>(), false}},
        {"the placeholder", {&Placeholders::none, false}},
        {"another function", {&Placeholders::other, true}},
        {"a closure", {[] { return 2; }, true}},
    };
    for (const auto& [name, c] : cases)
        EXPECT_EQ(HookRegistry::holdsOtherThan(c.first, &Placeholders::none), c.second) << name;
}

} // namespace
