#include "windows/SpacesService.hpp"

#include "model/Settings.hpp"

#include "platform/desktop/NSWorkspace.hpp"
#include "platform/dispatch/DispatchQueue.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "windows/SpacesMover.hpp"
#include "windows/SpacesTest.hpp"

#include <gtest/gtest.h>

namespace tilmora {
namespace {

using platform::UserDefaults;

const std::string kTag = "[SPACE][SERVICE] ";

/// A laptop with four Desktops and "Notes" in front with one window on each of them.
class SpacesServiceTest : public SpacesTest {
protected:
    void SetUp() override {
        SpacesTest::SetUp();
        std::vector<platform::WindowSpec> windows;
        for (int d = 1; d <= desktops; ++d) {
            auto spec = window("Doc " + std::to_string(d), {100.0 + 10 * d, 100, 800, 600});
            spec.desktop = d;
            windows.push_back(spec);
        }
        notes = runNotes(windows);
        desk().setFrontmost(notes);
        spaces = laptopSpaces();
    }

    static void set(const std::string& key, bool value) { UserDefaults::standard().set(value, key); }

    /// Anchors on and the service's lines written.
    static void anchorsAndDiagnostics() {
        set(settings::spacesEnableAnchors.key, true);
        set(settings::spacesLogDiagnostics.key, true);
    }

    /// The program's windows in the window server's list.
    std::vector<platform::SimDesktop::WindowState> programWindows() {
        std::vector<platform::SimDesktop::WindowState> own;
        for (const auto& w : desk().allWindows())
            if (w.pid == desk().programPid()) own.push_back(w);
        return own;
    }

    std::vector<std::string> serviceLines() {
        std::vector<std::string> lines;
        for (const auto& line : logLines())
            if (line.rfind(kTag, 0) == 0) lines.push_back(line.substr(kTag.size()));
        return lines;
    }

    /// The user switches the laptop to Desktop `d`; the service hears of it on the main queue.
    void visit(int d) {
        desk().switchToDesktop(1, d);
        sim().runFor(0.01);
    }

    SpacesService& service() { return SpacesService::shared(); }

    pid_t notes = 0;
    std::vector<std::uint64_t> spaces;
};

TEST_F(SpacesServiceTest, StartsOnceAndNotUnderTheKillSwitch) {
    set(settings::spacesLogDiagnostics.key, true);
    set(settings::spacesKillSwitch.key, true);
    service().start();
    EXPECT_FALSE(service().isStarted());
    set(settings::spacesKillSwitch.key, false);
    service().start();
    EXPECT_TRUE(service().isStarted());
    service().start();
    EXPECT_EQ(serviceLines(), (std::vector<std::string>{
                                  "SpacesService start skipped: kill switch enabled.",
                                  "SpacesService started.",
                                  "start() ignored (already started).",
                              }));
}

TEST_F(SpacesServiceTest, WithDefaultSettingsSpaceChangesMakeNoWindowAndNoLine) {
    service().start();
    visit(2);
    visit(3);
    EXPECT_TRUE(programWindows().empty());
    EXPECT_FALSE(service().hasAnyAnchor());
    EXPECT_TRUE(logLines().empty()) << "diagnostics are off by default";
}

TEST_F(SpacesServiceTest, DiagnosticsFollowEitherSetting) {
    const auto diagnostics = settings::spacesLogDiagnostics.key;
    const auto verbose = settings::verboseLogging.key;
    struct Case {
        const char* name;
        platform::PropertyDictionary stored;
        bool written;
    };
    const Case cases[] = {
        {"neither", {}, false},
        {"diagnostics", {{diagnostics, true}}, true},
        {"diagnostics as a number", {{diagnostics, 1}}, true},
        {"verbose", {{diagnostics, false}, {verbose, true}}, true},
        {"verbose as a number is no Boolean", {{verbose, 1}}, false},
        {"verbose as text is no Boolean", {{verbose, "YES"}}, false},
    };
    for (const auto& c : cases) {
        auto& defaults = UserDefaults::standard();
        defaults.removeObjectForKey(diagnostics);
        defaults.removeObjectForKey(verbose);
        for (const auto& [key, value] : c.stored)
            defaults.set(value, key);
        const auto before = serviceLines().size();
        service().start();
        EXPECT_EQ(serviceLines().size() - before, c.written ? 1u : 0u) << c.name;
    }
}

TEST_F(SpacesServiceTest, AnchorsLearnEachVisitedSpaceOnce) {
    anchorsAndDiagnostics();
    WindowManager::configureSpacesServiceIfNeeded();
    service().start();
    visit(2);
    visit(1);
    visit(2);

    EXPECT_EQ(service().knownSpaceIDs(), (std::vector<std::uint64_t>{spaces[0], spaces[1]}));
    EXPECT_TRUE(service().hasAnyAnchor());
    const auto own = programWindows();
    ASSERT_EQ(own.size(), 2u) << "the extra panels are gone";
    EXPECT_EQ(own[0].space + own[1].space, spaces[0] + spaces[1]);
    const auto first = own[0].space == spaces[0] ? own[0].number : own[1].number;
    const auto second = own[0].space == spaces[0] ? own[1].number : own[0].number;
    for (const auto& w : own) {
        EXPECT_EQ(w.frame, platform::CGRect(10, 10, 1, 1));
        EXPECT_FALSE(desk().windowAt({10.5, 10.5}).has_value() &&
                     desk().windowAt({10.5, 10.5})->pid == desk().programPid())
            << "clicks pass through an anchor";
    }
    const std::string s1 = std::to_string(spaces[0]), s2 = std::to_string(spaces[1]);
    EXPECT_EQ(serviceLines(),
              (std::vector<std::string>{
                  "Discovered SpaceID=" + s1 + " (anchor windowNumber=" + std::to_string(first) +
                      "). KnownSpaces=[" + s1 + "]",
                  "SpacesService started.",
                  "Discovered SpaceID=" + s2 + " (anchor windowNumber=" + std::to_string(second) +
                      "). KnownSpaces=[" + s1 + ", " + s2 + "]",
              }));
}

TEST_F(SpacesServiceTest, WithoutTheProviderTheWindowListTellsTheSpace) {
    set(settings::spacesEnableAnchors.key, true);
    service().start();
    visit(3);
    EXPECT_EQ(service().knownSpaceIDs(), (std::vector<std::uint64_t>{spaces[0], spaces[2]}));
}

struct UnresolvedCase {
    const char* name;
    bool diagnostics;
    std::size_t lines;
    const char* text;
};

class SpacesServiceUnresolvedTest : public SpacesServiceTest,
                                    public ::testing::WithParamInterface<UnresolvedCase> {};

TEST_P(SpacesServiceUnresolvedTest, AnUnresolvedSpaceWarnsOnceWhileDiagnosticsAreOff) {
    const auto& c = GetParam();
    auto app = notesApp();
    app.axFocusedWindowMissing = true;
    desk().updateApp(notes, app);
    set(settings::spacesEnableAnchors.key, true);
    set(settings::spacesLogDiagnostics.key, c.diagnostics);
    set(settings::verboseLogging.key, false);
    WindowManager::configureSpacesServiceIfNeeded();
    service().start();
    visit(2);
    visit(3);
    visit(1);
    std::vector<std::string> anchorLines;
    for (const auto& line : serviceLines())
        if (line.rfind("Anchor created", 0) == 0) anchorLines.push_back(line);
    ASSERT_EQ(anchorLines.size(), c.lines);
    for (const auto& line : anchorLines)
        EXPECT_EQ(line.rfind(c.text, 0), 0u) << line;
    EXPECT_FALSE(service().hasAnyAnchor());
    for (const auto& w : programWindows())
        EXPECT_FALSE(w.onScreen) << "every unresolved panel is ordered out";
}

const UnresolvedCase kUnresolvedCases[] = {
    {"DiagnosticsOff", false, 1,
     "Anchor created but SpaceID could not be resolved (further warnings suppressed). windowNumber="},
    {"DiagnosticsOn", true, 4, "Anchor created but SpaceID could not be resolved. windowNumber="},
};

INSTANTIATE_TEST_SUITE_P(Cases, SpacesServiceUnresolvedTest, ::testing::ValuesIn(kUnresolvedCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SpacesServiceTest, ASwitchBringsTheAnchorForwardAndHandsTheFocusBack) {
    anchorsAndDiagnostics();
    service().start();
    visit(2);
    visit(1);
    ASSERT_EQ(service().knownSpaceIDs(), (std::vector<std::uint64_t>{spaces[0], spaces[1]}));

    EXPECT_TRUE(service().switchToSpace(spaces[1], false));
    EXPECT_EQ(desk().activeSpace(1), spaces[1]);
    EXPECT_EQ(desk().frontmost(), desk().programPid());
    const auto own = programWindows();
    const auto anchor =
        std::find_if(own.begin(), own.end(), [&](const auto& w) { return w.space == spaces[1]; });
    ASSERT_NE(anchor, own.end());
    const std::uint32_t anchorNumber = anchor->number;
    EXPECT_EQ(serviceLines().back(), "Switch requested to SpaceID=" + std::to_string(spaces[1]) +
                                         " via anchor windowID=" + std::to_string(anchorNumber) + ".");

    sim().runFor(0.079);
    EXPECT_EQ(desk().frontmost(), desk().programPid());
    sim().runFor(0.002);
    EXPECT_EQ(desk().frontmost(), notes);
    EXPECT_FALSE(desk().windowState(anchorNumber)->onScreen) << "ordered out again";
    EXPECT_EQ(desk().windowState(anchorNumber)->space, spaces[1]) << "and still on its Space";
    EXPECT_EQ(desk().activeSpace(1), spaces[1]);
}

TEST_F(SpacesServiceTest, ASwitchAskedByAWorkerHappensWhenTheMainQueueRuns) {
    anchorsAndDiagnostics();
    service().start();
    visit(2);
    visit(1);
    std::uint64_t activeWhenAnswered = 0;
    auto [requested, seconds] = onWorker<bool>([&] {
        const bool ok = service().switchToSpace(spaces[1], false);
        activeWhenAnswered = desk().activeSpace(1);
        return ok;
    });
    EXPECT_TRUE(requested);
    EXPECT_NEAR(seconds, 0.0, 1e-9);
    EXPECT_EQ(activeWhenAnswered, spaces[0]);
    sim().runFor(0.01);
    EXPECT_EQ(desk().activeSpace(1), spaces[1]);
}

TEST_F(SpacesServiceTest, SwitchesAreRefusedByTheSettings) {
    struct Case {
        const char* name;
        bool killSwitch;
        std::optional<platform::PropertyValue> switching;
        bool force;
        bool expected;
    };
    const Case cases[] = {
        {"default", false, std::nullopt, false, true},
        {"switching off", false, false, false, false},
        {"switching off, forced", false, false, true, true},
        {"switching as text counts as missing", false, "NO", false, true},
        {"kill switch", true, std::nullopt, false, false},
        {"kill switch, forced", true, std::nullopt, true, false},
    };
    anchorsAndDiagnostics();
    service().start();
    visit(2);
    visit(1);
    for (const auto& c : cases) {
        visit(1);
        auto& defaults = UserDefaults::standard();
        defaults.removeObjectForKey(settings::spacesEnableSwitching.key);
        if (c.switching) defaults.set(*c.switching, settings::spacesEnableSwitching.key);
        set(settings::spacesKillSwitch.key, c.killSwitch);
        EXPECT_EQ(service().switchToSpace(spaces[1], c.force), c.expected) << c.name;
        EXPECT_EQ(desk().activeSpace(1), c.expected ? spaces[1] : spaces[0]) << c.name;
        sim().runFor(0.1);
    }
}

TEST_F(SpacesServiceTest, AForcedSwitchToAnUnknownSpaceRecordsTheCurrentOne) {
    set(settings::spacesLogDiagnostics.key, true);
    service().start(); // anchors off: nothing recorded yet
    ASSERT_FALSE(service().hasAnyAnchor());
    EXPECT_FALSE(service().switchToSpace(spaces[2], true));
    EXPECT_EQ(service().knownSpaceIDs(), std::vector<std::uint64_t>{spaces[0]});
    EXPECT_EQ(desk().activeSpace(1), spaces[0]);
    EXPECT_EQ(serviceLines().back(), "Switch requested to SpaceID=" + std::to_string(spaces[2]) +
                                         " but no anchor exists yet. KnownSpaces=[" +
                                         std::to_string(spaces[0]) + "]");

    // Without force and with anchors off nothing is recorded.
    visit(2);
    EXPECT_FALSE(service().switchToSpace(spaces[2], false));
    EXPECT_EQ(service().knownSpaceIDs(), std::vector<std::uint64_t>{spaces[0]});
}

TEST_F(SpacesServiceTest, AnAnchorAskedForByAWorkerIsMadeOnTheMainThread) {
    platform::DispatchQueue::global().async([this] { service().ensureAnchorForCurrentSpace(true); });
    sim().runUntil([&] { return service().hasAnyAnchor(); }, 1.0);
    EXPECT_EQ(service().knownSpaceIDs(), std::vector<std::uint64_t>{spaces[0]});

    set(settings::spacesKillSwitch.key, true);
    visit(2);
    service().ensureAnchorForCurrentSpace(true);
    EXPECT_EQ(service().knownSpaceIDs(), std::vector<std::uint64_t>{spaces[0]})
        << "the kill switch wins over force";
}

TEST_F(SpacesServiceTest, TheLookupIsConfiguredOnceFromAnyThread) {
    verbose();
    const auto w = numbersOf(notes).front();
    bool workerDone = false;
    platform::DispatchQueue::global().async([&] {
        WindowManager::configureSpacesServiceIfNeeded();
        workerDone = true;
    });
    WindowManager::configureSpacesServiceIfNeeded();
    sim().runUntil([&] { return workerDone; }, 1.0);
    WindowManager::configureSpacesServiceIfNeeded();
    EXPECT_EQ(countLines("[SPACE] SpacesService configured (once)."), 1);

    const auto provider = service().primarySpaceProvider();
    ASSERT_TRUE(provider);
    EXPECT_EQ(provider(0), std::nullopt);
    EXPECT_EQ(provider(w), desk().windowState(w)->space);
}

TEST_F(SpacesServiceTest, TheConfigurationLineNeedsVerboseLogging) {
    WindowManager::configureSpacesServiceIfNeeded();
    verbose();
    WindowManager::configureSpacesServiceIfNeeded();
    EXPECT_TRUE(service().primarySpaceProvider());
    EXPECT_EQ(countContaining("SpacesService configured"), 0);
}

} // namespace
} // namespace tilmora
