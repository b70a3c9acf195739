#include "UiTestFixture.hpp"

#include "platform/control/BundleControl.hpp"
#include "platform/control/SharedInstances.hpp"
#include "platform/control/SimDesktop.hpp"
#include "platform/control/UISimulator.hpp"
#include "platform/desktop/NSWorkspace.hpp"
#include "platform/foundation/NotificationCenter.hpp"
#include "platform/foundation/Bundle.hpp"
#include "platform/foundation/SharedInstance.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "platform/ui/Alert.hpp"
#include "platform/ui/Application.hpp"
#include "platform/ui/Beep.hpp"
#include "platform/ui/Cursor.hpp"
#include "platform/ui/Menu.hpp"

#include "support/DesktopTest.hpp"

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

using namespace platform::ui;

namespace {

/// A shared instance that a test adds with nothing but the holder.
struct Tally {
    int value = 0;
    static Tally& shared() { return platform::SharedInstance<Tally>::get(); }
};

/// Reaches Tally from its constructor and its destructor: the holder must reset it before Tally,
/// or its destructor would leave a mark on a fresh Tally.
struct Outer {
    Outer() { Tally::shared().value += 100; }
    ~Outer() { Tally::shared().value += 1; }
    static Outer& shared() { return platform::SharedInstance<Outer>::get(); }
};

struct Reentrant {
    Reentrant() { shared(); }
    static Reentrant& shared() { return platform::SharedInstance<Reentrant>::get(); }
};

/// Runs one fixture's SetUp and TearDown around `body`, as GoogleTest does for a test of it.
template <class Fixture>
void runAsTest(const std::function<void()>& body) {
    struct Run : Fixture {
        void TestBody() override {}
        using Fixture::SetUp;
        using Fixture::TearDown;
    } run;
    run.SetUp();
    body();
    run.TearDown();
}

struct FixtureCase {
    const char* name;
    std::function<void(const std::function<void()>&)> run;
};

const std::vector<FixtureCase>& fixtures() {
    static const std::vector<FixtureCase> cases = {
        {"PlatformTest", runAsTest<PlatformTest>},
        {"DesktopTest", runAsTest<DesktopTest>},
        {"UiTest", runAsTest<UiTest>},
    };
    return cases;
}

/// Leaves behind everything a careless test could: an alert answer and a menu pick it never used,
/// journals, a beep, a pushed cursor, a resource folder, a pressed modifier and a stored default.
void leaveEverythingBehind() {
    UISimulator::scriptAlertResponse(AlertResponse::press(1));
    UISimulator::scriptMenuPick(MenuPick{{"two"}, 0.1, nullptr});
    auto shown = std::make_shared<Alert>();
    shown->messageText = "journalled";
    shown->addButton("OK");
    UISimulator::setAlertResponder([](const Alert&) { return AlertResponse::press(0); });
    UISimulator::setMenuPicker([](Menu&) { return MenuPick{{"one"}, 0.1, nullptr}; });
    beep();
    Cursor::crosshair().push();
    platform::BundleControl::setResourceDirectory(std::filesystem::path("/nowhere"));
    platform::UserDefaults::standard().set(platform::PropertyValue(true), "leftBehind");
    Tally::shared().value = 7;
}

} // namespace

TEST(SharedReset, NothingQueuedByOneTestReachesTheNextTestOfAnyFixture) {
    for (const auto& first : fixtures()) {
        for (const auto& next : fixtures()) {
            SCOPED_TRACE(std::string(first.name) + " then " + next.name);
            first.run(leaveEverythingBehind);
            next.run([] {
                EXPECT_TRUE(UISimulator::alertLog().empty());
                EXPECT_TRUE(UISimulator::menuLog().empty());
                EXPECT_EQ(UISimulator::beepCount(), 0);
                EXPECT_EQ(UISimulator::cursorStackDepth(), 0u);
                EXPECT_EQ(Cursor::current(), "arrow");
                EXPECT_EQ(platform::Bundle::resourceDirectories().front(),
                          *platform::Bundle::executableDirectory());
                EXPECT_FALSE(platform::UserDefaults::standard().objectForKey("leftBehind"));
                EXPECT_EQ(Tally::shared().value, 0) << "the holder alone resets a new shared instance";

                // No answer is waiting: the alert gets its default button, unscripted.
                auto alert = std::make_shared<Alert>();
                alert->messageText = "fresh";
                alert->addButton("Keep");
                alert->addButton("Discard");
                EXPECT_EQ(alert->runModal(), ModalResponse::alertFirstButtonReturn);
                ASSERT_EQ(UISimulator::alertLog().size(), 1u);
                EXPECT_FALSE(UISimulator::alertLog()[0].scripted);

                // No pick is waiting: the menu is dismissed.
                auto menu = Menu::make("Fresh");
                menu->addItem("one", "one:", "");
                menu->addItem("two", "two:", "");
                EXPECT_FALSE(menu->popUp(nullptr, {}));
                ASSERT_EQ(UISimulator::menuLog().size(), 1u);
                EXPECT_FALSE(UISimulator::menuLog()[0].picked);
            });
        }
    }
}

TEST(SharedReset, HolderCreatesOnFirstUseAndResetsNewestFirst) {
    runAsTest<PlatformTest>([] {
        EXPECT_FALSE(platform::SharedInstance<Tally>::exists());
        EXPECT_EQ(&Tally::shared(), &Tally::shared());
        EXPECT_TRUE(platform::SharedInstance<Tally>::exists());

        // Outer's constructor reaches Tally, so Tally registered first and is reset last.
        Outer::shared();
        EXPECT_EQ(Tally::shared().value, 100);
        platform::SharedInstances::resetAll();
        EXPECT_FALSE(platform::SharedInstance<Outer>::exists());
        EXPECT_FALSE(platform::SharedInstance<Tally>::exists());
        Outer::shared();
        EXPECT_EQ(Tally::shared().value, 100) << "the old Outer's destructor marked the old Tally";

        EXPECT_THROW(Reentrant::shared(), std::logic_error);
        EXPECT_FALSE(platform::SharedInstance<Reentrant>::exists());
    });
}

namespace {

/// A shared instance of the simulated desktop's: it outlives the program.
struct DesktopTally {
    static constexpr platform::SharedScope sharedScope = platform::SharedScope::desktop;
    int value = 0;
    static DesktopTally& shared() { return platform::SharedInstance<DesktopTally>::get(); }
};

} // namespace

TEST(SharedReset, ProgramResetRemakesTheProgramsStateAndKeepsTheSystems) {
    runAsTest<DesktopTest>([] {
        auto& desktop = platform::SimDesktop::shared();
        desktop.useLaptop();
        const pid_t other =
            desktop.run(testsupport::notesApp(), {testsupport::windowSpec("Todo", {100, 100, 400, 300})});
        beep();
        Tally::shared().value = 7;
        DesktopTally::shared().value = 7;
        int observed = 0;
        platform::NotificationCenter::defaultCenter().addObserver("Ping", nullptr,
                                                                  [&](const platform::Notification&) { ++observed; });
        // Set and not yet written: the program's end writes it, and the next instance reads it back;
        // registered fallbacks live in memory only.
        platform::UserDefaults::standard().set(platform::PropertyValue(true), "kept");
        platform::UserDefaults::standard().registerDefaults({{"registered", platform::PropertyValue(true)}});
        const pid_t program = desktop.programPid();
        auto& application = Application::shared();
        application.terminate(nullptr);
        ASSERT_TRUE(application.isTerminated());

        platform::SharedInstances::resetProgram();
        desktop.startProgram();
        desktop.startProgram(); // once running, nothing more

        EXPECT_EQ(Tally::shared().value, 0);
        EXPECT_FALSE(Application::shared().isTerminated());
        platform::NotificationCenter::defaultCenter().post("Ping", nullptr);
        EXPECT_EQ(observed, 0) << "the program's observers went with it";
        EXPECT_TRUE(platform::UserDefaults::standard().boolForKey("kept"));
        EXPECT_FALSE(platform::UserDefaults::standard().objectForKey("registered"));
        EXPECT_EQ(DesktopTally::shared().value, 7);
        EXPECT_EQ(desktop.windowsOf(other).size(), 1u) << "the desktop stays";
        EXPECT_EQ(UISimulator::beepCount(), 1) << "the simulator's journal stays";
        EXPECT_NE(desktop.programPid(), program);
        std::vector<pid_t> listed;
        for (const auto& app : platform::NSWorkspace::shared().runningApplications())
            if (app.bundleIdentifier() == "com.quorvane.Tilmora") listed.push_back(app.processIdentifier());
        EXPECT_EQ(listed, std::vector<pid_t>{desktop.programPid()}) << "the program is listed once, anew";
    });
}
