#include "SnapStateFixture.hpp"

#include "model/Settings.hpp"
#include "platform/foundation/Date.hpp"
#include "snapping/TLog.hpp"

#include <gtest/gtest.h>

#include <ctime>

namespace tilmora::testing {
namespace {

using platform::UserDefaults;

class SnapLogTest : public SnapStateTest {};

TEST_F(SnapLogTest, DeduplicatedLinesPrintOncePerIntervalAndMessage) {
    struct Call {
        double at; ///< seconds since the first call, on the media clock
        const char* msg;
        bool printed;
    };
    struct Case {
        const char* name;
        std::vector<Call> calls;
    };
    const Case cases[] = {
        {"same message", {{0, "a", true}, {0.5, "a", false}, {0.8, "a", true}, {1.5, "a", false}}},
        {"the interval itself prints", {{0, "a", true}, {0.75, "a", true}}},
        {"alternating messages", {{0, "a", true}, {0.1, "b", true}, {0.2, "a", true}, {0.3, "b", true}}},
        {"a suppressed call does not restart the interval",
         {{0, "a", true}, {0.7, "a", false}, {0.76, "a", true}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        resetSharedInstances();
        newLines();
        double now = 0;
        for (const auto& call : c.calls) {
            sim().runFor(call.at - now);
            now = call.at;
            TLog::logDedup("PRESET", "key", call.msg, 0.75);
            const auto fresh = newLines();
            EXPECT_EQ(fresh.size(), call.printed ? 1u : 0u) << "at " << call.at;
            if (call.printed && !fresh.empty()) {
                EXPECT_EQ(fresh[0], std::string("[...] [PRESET] ") + call.msg);
            }
        }
    }
}

TEST_F(SnapLogTest, TheDeduplicationMapDropsItsOldestHundred) {
    // 501 keys written at the same moment: the first hundred written go.
    for (int i = 0; i <= 500; ++i)
        TLog::logDedup("TILING", "k" + std::to_string(i), "m", 10);
    EXPECT_EQ(TLog::dedupCount(), 401u);
    newLines();
    TLog::logDedup("TILING", "k99", "m", 10);  // dropped: prints again
    TLog::logDedup("TILING", "k100", "m", 10); // kept: suppressed
    EXPECT_EQ(newLines().size(), 1u);

    // Older times go before later ones, whatever the order of writing.
    resetSharedInstances();
    TLog::logDedup("TILING", "early", "m", 10);
    sim().runFor(1);
    for (int i = 0; i < 499; ++i)
        TLog::logDedup("TILING", "k" + std::to_string(i), "m", 10);
    sim().runFor(1);
    TLog::logDedup("TILING", "early", "n", 10); // rewritten last: now the newest
    EXPECT_EQ(TLog::dedupCount(), 500u);
    TLog::logDedup("TILING", "last", "m", 10);
    EXPECT_EQ(TLog::dedupCount(), 401u);
    newLines();
    TLog::logDedup("TILING", "early", "n", 10);
    TLog::logDedup("TILING", "k0", "m", 10);
    EXPECT_EQ(newLines(), std::vector<std::string>{"[...] [TILING] m"});
}

TEST_F(SnapLogTest, VerboseOffPrintsNothingAndKeepsNoBook) {
    RecordingGrid grid;
    editSelection(grid, [&](auto& state) { state.byDisplay[1] = SnapIconKind::leftHalf; });
    UserDefaults::standard().set("YES", settings::verboseLogging.key); // not a Boolean: off
    newLines();
    TLog::log("TILING", "x");
    TLog::logDedup("TILING", "key", "x", 0.75);
    RoriDeru::logSnapState("x");
    grid.logRectPresetState("x");
    grid.selectedKind(screen(1));
    grid.selectedKindApplies(screen(1));
    grid.skipSnapDueToMissingOverlay(screen(1), "Drop");
    EXPECT_TRUE(newLines().empty());
    EXPECT_EQ(TLog::dedupCount(), 0u);
    // The overlay lines have their own switch.
    UserDefaults::standard().set(true, settings::overlayDebug.key);
    RoriDeru::olog("x");
    EXPECT_EQ(newLines(), std::vector<std::string>{"[OVERLAY] x"});
    UserDefaults::standard().set(false, settings::overlayDebug.key);
    UserDefaults::standard().set(true, settings::verboseLogging.key);
    RoriDeru::olog("y");
    EXPECT_TRUE(newLines().empty());
}

TEST_F(SnapLogTest, LinesOfTheSnapGrid) {
    RecordingGrid grid;
    editSelection(grid, [&](auto& state) {
        state.byDisplay = {{1, SnapIconKind::leftHalf}, {7, SnapIconKind::leftHalf}};
        state.lastDisplay = 7;
        state.global = SnapIconKind::grid3x3;
    });
    newLines();
    grid.logRectPresetState("x");
    grid.skipSnapDueToMissingOverlay(screen(1), "Drop");
    RoriDeru::logSnapState("state");
    TLog::log("AX", "Target app could not be determined");
    EXPECT_EQ(newLines(),
              (std::vector<std::string>{
                  "[...] [PRESET] x scope=single global=grid3x3 last=sid:7 entries=[Built-in Retina "
                  "Display=leftHalf, sid:7=leftHalf]",
                  "[...] [TILING] Drop on Built-in Retina Display with no overlay; skipping snap and leaving "
                  "window "
                  "as dropped",
                  "[RoriDeru] state",
                  "[...] [AX] Target app could not be determined",
              }));
}

TEST_F(SnapLogTest, SelectionReadsLogOncePerInterval) {
    RecordingGrid grid;
    editSelection(grid, [&](auto& state) { state.byDisplay[1] = SnapIconKind::leftHalf; });
    newLines();
    EXPECT_EQ(grid.selectedKind(screen(1)), SnapIconKind::leftHalf);
    sim().runFor(0.5);
    EXPECT_EQ(grid.selectedKind(screen(1)), SnapIconKind::leftHalf);
    EXPECT_TRUE(grid.selectedKindApplies(screen(1)));
    EXPECT_FALSE(grid.selectedKindApplies(screen(2)));
    EXPECT_FALSE(grid.selectedKind(std::nullopt));
    EXPECT_EQ(newLines(),
              (std::vector<std::string>{
                  "[...] [PRESET] [rect] selectedKind(for:) screen=Built-in Retina Display -> "
                  "Optional(Tilmora.SnapIconKind.leftHalf)",
                  "[...] [PRESET] [rect] selectedKindApplies screen=Built-in Retina Display -> true",
                  "[...] [PRESET] [rect] selectedKindApplies screen=DELL U2720Q -> false",
                  "[...] [PRESET] [rect] selectedKind(for:) screen=nil -> nil",
              }));
    // In all-displays scope the global kind answers for every screen.
    UserDefaults::standard().set(true, settings::gridAllDisplays.key);
    EXPECT_FALSE(grid.selectedKind(screen(1)));
    EXPECT_FALSE(grid.selectedKindApplies(screen(1)));
    editSelection(grid, [&](auto& state) { state.global = SnapIconKind::center; });
    EXPECT_EQ(grid.selectedKind(std::nullopt), SnapIconKind::center);
    EXPECT_TRUE(grid.selectedKindApplies(std::nullopt));
}

TEST_F(SnapLogTest, TimeStampsAreLocalTimeWithMilliseconds) {
    std::tm local{};
    ASSERT_NE(strptime("2026-12-09 09:05:07", "%Y-%m-%d %H:%M:%S", &local), nullptr);
    local.tm_isdst = -1;
    const double seconds = static_cast<double>(std::mktime(&local)) + 0.042;
    platform::Date::setNowProvider([seconds] { return seconds; });
    EXPECT_EQ(TLog::timeStamp(), "09:05:07.042");
    newLines();
    TLog::log("TILING", "x");
    const auto fresh = newLines();
    ASSERT_EQ(fresh.size(), 1u);
    EXPECT_EQ(fresh[0], "[...] [TILING] x");
    std::ifstream file(*logFilePath());
    std::string raw;
    std::getline(file, raw);
    EXPECT_EQ(raw, "[09:05:07.042] [TILING] x");
    platform::Date::setNowProvider({});
}

} // namespace
} // namespace tilmora::testing
