#include "WindowCommandFixture.hpp"
#include "support/SnapGridState.hpp"

#include "model/DefaultLayoutStore.hpp"
#include "model/LayoutStoreVesk.hpp"
#include "model/Settings.hpp"
#include "platform/control/SimInput.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "snapping/SnapBarController.hpp"
#include "snapping/TilingController.hpp"

#include <fstream>

namespace tilmora::shelltest {
namespace {

using platform::UUID;
using PresetPlaceholder = EditorWindowHooks::PresetEditorPlaceholder;

class EditorWindowTest : public WindowCommandTest {
protected:
    void SetUp() override {
        WindowCommandTest::SetUp();
        desk().useLaptopWithExternal();
    }

    PresetPlaceholder& presetEditor() {
        auto placeholder =
            std::dynamic_pointer_cast<PresetPlaceholder>(shell->veskLayoutWindowController()->window()->contentViewController());
        if (!placeholder) throw std::runtime_error("no preset editor placeholder");
        return *placeholder;
    }

    static VeskPreset preset(const std::string& name, const std::string& display) {
        return {UUID(), name, VeskPresetKind::singleTile, display, {{UUID(), "tile", {0, 0, 0.5, 1}}}, 0};
    }

    std::vector<std::string> presetNames(const std::string& display) {
        std::vector<std::string> names;
        for (const auto& p : veskPresets(*shell->layoutStore(), DisplayId(display))) names.push_back(p.name);
        return names;
    }
};

TEST_F(EditorWindowTest, ThePresetEditorOpensOnceForTheDisplayUnderThePointer) {
    auto& grid = shell->roriDeru();
    grid.setSelectedKind(SnapIconKind::leftHalf, screen(1));
    tilmora::testing::editMarking(grid, [&](auto& state) { state.inMenu = true; });
    platform::SimInput::shared().moveMouse({2000, 500});
    ASSERT_TRUE(send("openVeskLayoutEditor:"));
    EXPECT_FALSE(grid.selectedKind(screen(1)).has_value());
    EXPECT_FALSE(grid.shouldMarkGridPresetInMenu());

    ASSERT_NE(shell->veskLayoutWindowController(), nullptr);
    const auto window = shell->veskLayoutWindowController()->window();
    EXPECT_EQ(window->styleMask(), 15u);
    EXPECT_EQ(window->title, "Layout Editor – DELL U2720Q");
    EXPECT_EQ(window->frame(), (platform::CGRect{1850, 167.5, 1100, 720}));
    EXPECT_EQ(window->minSize, (platform::CGSize{960, 600}));
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(presetEditor().request.displayId, "2");
    EXPECT_EQ(presetEditor().request.displayName, "DELL U2720Q");
    EXPECT_DOUBLE_EQ(presetEditor().request.previewAspectRatio, 1920.0 / 1055.0);

    window->orderOut();
    platform::SimInput::shared().moveMouse({500, 500});
    ASSERT_TRUE(send("openVeskLayoutEditor:"));
    EXPECT_EQ(shell->veskLayoutWindowController()->window(), window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(presetEditor().request.displayId, "2");
}

TEST_F(EditorWindowTest, AScreenWithoutVisibleHeightPreviewsAtSixteenByNine) {
    desk().useLaptop();
    desk().setDisplayFrame(1, {0, 0, 1440, 900}, platform::CGRect{0, 0, 1440, 0});
    platform::SimInput::shared().moveMouse({500, 500});
    ASSERT_TRUE(send("openVeskLayoutEditor:"));
    EXPECT_DOUBLE_EQ(presetEditor().request.previewAspectRatio, 16.0 / 9.0);
}

TEST_F(EditorWindowTest, TheLayoutEditorOpensForTheMainScreenAndIsReused) {
    EditorWindowHooks hooks;
    std::vector<std::string> asked;
    hooks.displayDescriptors = [&asked](const std::vector<platform::NSScreen>& screens) {
        std::vector<DisplayDescriptor> result;
        for (const auto& s : screens) {
            asked.push_back(s.localizedName());
            result.push_back({DisplayId(std::to_string(*tlm_displayID(s))), s.localizedName(),
                              {0, 0, 1440, 875}, 2});
        }
        return result;
    };
    EditorWindowHooks::install(hooks);
    ASSERT_TRUE(send("openLayoutEditor:"));
    ASSERT_NE(shell->layoutEditorWindowController(), nullptr);
    const auto window = shell->layoutEditorWindowController()->window();
    EXPECT_EQ(asked, (std::vector<std::string>{"Built-in Retina Display"}));
    EXPECT_EQ(window->contentSize(), (platform::CGSize{720, 560}));
    EXPECT_EQ(window->minSize, (platform::CGSize{700, 520}));
    EXPECT_EQ(window->styleMask(), 15u);
    EXPECT_NEAR(window->frame().midX(), 720, 0.5);
    auto placeholder = std::dynamic_pointer_cast<EditorWindowHooks::LayoutEditorPlaceholder>(window->contentViewController());
    ASSERT_NE(placeholder, nullptr);
    EXPECT_EQ(placeholder->request.display.id, DisplayId("1"));
    EXPECT_EQ(placeholder->request.layoutStore, shell->layoutStore());

    window->orderOut();
    ASSERT_TRUE(send("openLayoutEditor:"));
    EXPECT_EQ(shell->layoutEditorWindowController()->window(), window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(asked.size(), 1u);
}

TEST_F(EditorWindowTest, NoEditorOpensWithoutScreensOrDescriptors) {
    ASSERT_TRUE(send("openLayoutEditor:"));
    EXPECT_EQ(shell->layoutEditorWindowController(), nullptr);
    desk().removeDisplay(2);
    desk().removeDisplay(1);
    ASSERT_TRUE(send("openVeskLayoutEditor:"));
    EXPECT_EQ(shell->veskLayoutWindowController(), nullptr);
}

TEST_F(EditorWindowTest, SavingAndDeletingFromThePresetEditorReachTheStoreAndTheSelection) {
    platform::SimInput::shared().moveMouse({2000, 500});
    ASSERT_TRUE(send("openVeskLayoutEditor:"));
    auto request = presetEditor().request;
    const auto kept = preset("Kept", "2");
    const auto chosen = preset("Chosen", "2");
    const auto menuBefore = shell->cachedStatusMenu();
    request.onSavePreset(kept);
    request.onSavePreset(chosen);
    EXPECT_EQ(shell->cachedStatusMenu(), menuBefore);
    sim().drainMainQueue();
    EXPECT_NE(shell->cachedStatusMenu(), menuBefore);
    EXPECT_EQ(presetNames("2"), (std::vector<std::string>{"Chosen", "Kept"}));

    ASSERT_TRUE(sendWithObject("applyVeskPresetFromMenu:", AppDelegate::VeskPresetMenuSelection{chosen.id, "2"}));
    ASSERT_TRUE(shell->veskSelectedPresetId(screen(2)).has_value());
    request.onDeletePreset(kept.id);
    EXPECT_EQ(shell->veskSelectedPresetId(screen(2)), chosen.id);
    EXPECT_EQ(shell->tilingController()->transientLayoutsByDisplay.count(DisplayId("2")), 1u);
    request.onDeletePreset(chosen.id);
    EXPECT_FALSE(shell->veskSelectedPresetId(screen(2)).has_value());
    EXPECT_EQ(shell->tilingController()->transientLayoutsByDisplay.count(DisplayId("2")), 0u);
    EXPECT_TRUE(presetNames("2").empty());

    // Once the shell is gone both callbacks do nothing.
    auto store = shell->layoutStore();
    shell.reset();
    EXPECT_NO_THROW(request.onSavePreset(preset("Late", "2")));
    EXPECT_NO_THROW(request.onDeletePreset(kept.id));
    EXPECT_TRUE(veskPresets(*store, DisplayId("2")).empty());
}

TEST_F(EditorWindowTest, ASavedSingleTileJoinsTheSnapBarOnTheNextTurn) {
    platform::UserDefaults::standard().set(false, settings::snapBarVisible.key);
    ASSERT_TRUE(send("toggleSnapBar:"));
    ASSERT_TRUE(shell->snapBarController());
    sim().runFor(0.5);
    const auto titles = [this] {
        std::vector<std::string> names;
        for (const auto& button : shell->snapBarController()->tilePresetButtons()) names.push_back(button->title);
        return names;
    };
    EXPECT_TRUE(titles().empty());
    platform::SimInput::shared().moveMouse({500, 500});
    ASSERT_TRUE(send("openVeskLayoutEditor:"));
    auto request = presetEditor().request;
    request.onSavePreset(preset("Half", "1"));
    EXPECT_TRUE(titles().empty()); // refreshed on the next main-queue turn, not during the save
    sim().drainMainQueue();
    EXPECT_EQ(titles(), std::vector<std::string>{"Half"});
}

TEST_F(EditorWindowTest, AStoreErrorReachesTheEditor) {
    // The layouts file would go inside a plain file: every save fails.
    const auto blocker = std::filesystem::temp_directory_path() / ("tilmora-shell-blocker-" + UUID().uuidString());
    std::ofstream(blocker) << "x";
    shell->useBaseLayoutStore(std::make_shared<DefaultLayoutStore>(blocker / "layouts.json"));
    platform::SimInput::shared().moveMouse({500, 500});
    ASSERT_TRUE(send("openVeskLayoutEditor:"));
    auto request = presetEditor().request;
    const auto menuBefore = shell->cachedStatusMenu();
    EXPECT_ANY_THROW(request.onSavePreset(preset("Lost", "1")));
    sim().drainMainQueue();
    EXPECT_EQ(shell->cachedStatusMenu(), menuBefore);
    std::filesystem::remove(blocker);
}

} // namespace
} // namespace tilmora::shelltest
