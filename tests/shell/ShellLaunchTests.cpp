#include "ShellFixture.hpp"

#include "model/DefaultProfileStore.hpp"
#include "model/DisplayLayoutMemory.hpp"
#include "model/Layout.hpp"
#include "model/LayoutProfile.hpp"
#include "model/ProfileController.hpp"
#include "model/Settings.hpp"
#include "platform/control/HostControl.hpp"
#include "platform/dispatch/DispatchQueue.hpp"
#include "platform/foundation/Error.hpp"
#include "snapping/RoriDeru.hpp"
#include "snapping/TilingController.hpp"

#include <gtest/gtest.h>

#include <atomic>

namespace tilmora {
namespace {

class ShellLaunchTest : public ShellTest {
protected:
    void restoreFixture() override {
        ShellTest::restoreFixture();
        desk().addDisplay(testsupport::builtInPanelSpec());
    }
    int count(const std::string& line) const {
        int n = 0;
        for (const auto& l : outputLines())
            n += l == line ? 1 : 0;
        return n;
    }
};

TEST_F(ShellLaunchTest, RegisteredDefaultsAnswerReadsWithoutBeingStored) {
    defaults().set(platform::PropertyValue(5.0), settings::gapSize.key);
    makeShell().registerAppDefaults();
    struct Case {
        const char* key;
        std::optional<platform::PropertyValue> value;
    };
    const std::vector<Case> cases = {
        {settings::verboseLogging.key, true},
        {settings::autoApplyDisplayLayouts.key, false},
        {settings::liveResizeDuringDrag.key, false},
        {settings::gapHorizontal.key, 0.0},
        {settings::stageReserveLeftWidth.key, 0.0},
        {settings::launchAtLogin.key, true},
        {settings::autoHideSnapBarWithStageManager.key, false},
        {settings::gapSize.key, 5.0}, // stored by the user: kept
        {settings::minimalMenuMode.key, std::nullopt},
        {settings::strictRestore.key, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(defaults().objectForKey(c.key), c.value);
    }
    // The 38 registered keys are all readable, and only the user's key is stored.
    EXPECT_EQ(defaults().dictionaryRepresentation().size(), 38u);
    const std::string stored = platform::FileSystem::readFile(defaults().storagePath());
    EXPECT_NE(stored.find(settings::gapSize.key), std::string::npos);
    EXPECT_EQ(stored.find(settings::verboseLogging.key), std::string::npos) << stored;
    EXPECT_TRUE(defaults().objectForKey(settings::gapVertical.key)->isDouble());
}

TEST_F(ShellLaunchTest, OneShellOwnsTheSharedServices) {
    defaults().set(platform::PropertyValue("xyz"), "DisplayLayoutMemory.v1");
    AppDelegate& shell = makeShell();
    EXPECT_EQ(AppDelegateWrapper::current().get(), &shell);
    EXPECT_EQ(&shell.roriDeru(), &RoriDeru::shared());
    EXPECT_EQ(&shell.roriDeru(), shell.environment().roriDeru);
    EXPECT_EQ(&shell.displayLayoutStore().store(), &DisplayLayoutMemory::shared());
    EXPECT_TRUE(shell.displayLayoutStore().store().cache().empty());
    EXPECT_EQ(shell.tilingController(), shell.tilingController());
}

TEST_F(ShellLaunchTest, TilingMoverCalledOnAWorkerMovesOnTheMainQueue) {
    desk().setAccessibilityTrusted(true);
    const pid_t notes = runFrontmost(notesApp(), {window("Doc", {100, 250, 800, 600})});
    const auto number = desk().windowsOf(notes).at(0).number;
    auto mover = makeShell().tilingController()->frontmostWindowMover;
    std::atomic<bool> ran = false;
    std::optional<platform::CGRect> frameAfterCall;
    platform::DispatchQueue::global().async([&] {
        mover(Rect{0, 0, 720, 900});
        frameAfterCall = desk().windowState(number)->frame;
        ran = true;
    });
    sim().runUntil([&] { return ran.load(); }, 5);
    ASSERT_TRUE(ran);
    EXPECT_EQ(frameAfterCall, (platform::CGRect{100, 250, 800, 600})) << "the worker only hands the move on";
    sim().runFor(1);
    EXPECT_EQ(desk().windowState(number)->frame, (platform::CGRect{0, 0, 720, 900}));
}

TEST_F(ShellLaunchTest, ProfileProviderGivesNoneOnceTheShellIsGone) {
    AppDelegate& shell = makeShell();
    auto store = shell.layoutStore();
    const Layout first{LayoutId(platform::UUID()), "First", DisplayId("1"), {}};
    const Layout chosen{LayoutId(platform::UUID()), "Chosen", DisplayId("1"), {}};
    store->save(first);
    store->save(chosen);
    const LayoutProfile profile{ProfileId(platform::UUID()),
                                "Desk",
                                MonitorConfigurationSignature({DisplayId("1")}),
                                {{DisplayId("1"), chosen.id}}};
    shell.profileStore()->save(profile);
    shell.profileController().overrideProfileId = profile.id;
    ASSERT_TRUE(store->layout(DisplayId("1")));
    EXPECT_EQ(store->layout(DisplayId("1"))->id, chosen.id); // the profile in force decides

    wrapper.reset();
    platform::ui::Application::shared().setDelegate(nullptr);
    // With the shell gone there is no profile in force: the plain store's first layout answers.
    ASSERT_TRUE(store->layout(DisplayId("1")));
    EXPECT_EQ(store->layout(DisplayId("1"))->id, first.id);
}

TEST_F(ShellLaunchTest, UpdaterCyclesStartTheUIOnceAndLogTheirOutcome) {
    desk().setAccessibilityTrusted(false);
    platform::ui::UISimulator::scriptAlertResponse(platform::ui::AlertResponse::press(1));
    AppDelegate& shell = makeShell();
    platform::SPUStandardUpdaterController controller(false, &shell);
    shell.updaterDidAbortWithError(controller.updater(), platform::Error("E"));
    shell.updaterDidFinishUpdateCycle(controller.updater(), platform::Error("E"));
    EXPECT_TRUE(shell.didFinishUIInitialization());
    EXPECT_TRUE(shell.initializationHasStarted());
    shell.updaterDidFinishUpdateCycle(controller.updater(), std::nullopt);
    EXPECT_EQ(count("Updater aborted with error: E"), 1);
    EXPECT_EQ(count("Updater finished update cycle. Error: E"), 1);
    EXPECT_EQ(count("Updater finished update cycle. Error: No error"), 1);
    // The start-up ran once: one Accessibility check line.
    EXPECT_EQ(count("Accessibility permissions NOT granted. Prompting user..."), 1);
}

TEST_F(ShellLaunchTest, UpdaterThatCannotStartStillStartsTheUI) {
    platform::HostControl::setUpdaterStartError("no feed");
    desk().setAccessibilityTrusted(true);
    AppDelegate& shell = makeShell();
    shell.startUpdater();
    EXPECT_FALSE(shell.didFinishUIInitialization());
    sim().runFor(0.1);
    EXPECT_TRUE(shell.didFinishUIInitialization());
    EXPECT_EQ(count("Updater aborted with error: no feed"), 1);
    EXPECT_EQ(count("Accessibility permissions granted."), 1);
}

TEST_F(ShellLaunchTest, LaunchPrintsTheSentinelAndTurnsSnappingOn) {
    platform::BundleControl::setBundlePath(std::filesystem::path("/Applications/Tilmora.app"));
    defaults().set(platform::PropertyValue(false), settings::snappingEnabled.key);
    sim().setWallClockOrigin(1735787045 - platform::SimScheduler::shared().now());
    makeShell().applicationDidFinishLaunching();
    sim().setWallClockOrigin(1767225600);
    ASSERT_FALSE(outputLines().empty());
    EXPECT_EQ(outputLines().front(),
              "[TLM] Sentinel AppDelegate loaded at 2025-01-02T03:04:05Z bundle=/Applications/Tilmora.app");
    EXPECT_EQ(platform::ui::Application::shared().activationPolicy(),
              platform::ui::ActivationPolicy::accessory);
    EXPECT_EQ(defaults().objectForKey(settings::snappingEnabled.key), platform::PropertyValue(true));
    EXPECT_TRUE(RoriDeru::shared().isSnappingEnabled());
    EXPECT_TRUE(shell().updaterController() != nullptr);
    // The sentinel line stays out of the log file.
    const auto log = logFilePath();
    ASSERT_TRUE(log);
    const std::string text =
        platform::FileSystem::fileExists(*log) ? platform::FileSystem::readFile(*log) : "";
    EXPECT_EQ(text.find("Sentinel"), std::string::npos);
}

} // namespace
} // namespace tilmora
