#include "windows/SpaceMoveRetry.hpp"

#include "windows/SpacesMover.hpp"
#include "windows/SpacesTest.hpp"

#include <gtest/gtest.h>

namespace tilmora::WindowManager {
namespace {

constexpr std::int32_t kTryOther = platform::kSkyLightMoveTryOtherVariant;
const std::string kRetryContext = "for com.example.notes ‘Doc’";

/// A "Notes" window on Desktop 1 of the laptop, to be moved to Desktop 3's Space by a worker.
class SpaceMoveRetryTest : public SpacesTest {
protected:
    void SetUp() override {
        SpacesTest::SetUp();
        verbose();
        const pid_t pid = runNotes({window("Doc", {100, 100, 800, 600})});
        w = numbersOf(pid).front();
        from = laptopSpaces()[0];
        target = laptopSpaces()[2];
    }

    /// Runs the move on a worker; the result and the seconds it took.
    std::pair<bool, double> move(RestoreLogSession& session, SpacesMover& mover = spacesMover()) {
        return onWorker<bool>([&] { return attemptSpaceMoveWithRetry(w, target, kRetryContext, session, mover); });
    }

    std::string prefix(const RestoreLogSession& session, const char* level) {
        return std::string("[") + level + "] [RESTORE][" + session.id() + "] ";
    }

    std::uint64_t spaceOfWindow() { return desk().windowState(w)->space; }

    std::uint32_t w = 0;
    std::uint64_t from = 0;
    std::uint64_t target = 0;
};

TEST_F(SpaceMoveRetryTest, ASuccessAtTheSecondAttemptIsLoggedOncePerRestore) {
    desk().queueSkyLightMoveResults({1000, 0});
    RestoreLogSession session;
    auto [ok, seconds] = move(session);
    EXPECT_TRUE(ok);
    EXPECT_NEAR(seconds, 0.15, 1e-6);
    EXPECT_EQ(spaceOfWindow(), target);
    const std::string line =
        prefix(session, "SPACE") + "Spaces(SkyLight) move OK: windowID=" + std::to_string(w) + " => Space " +
        std::to_string(target) + " (after=" + std::to_string(target) + ") attempt=2 " + kRetryContext;
    EXPECT_EQ(restoreLines(), std::vector<std::string>{line});

    auto [again, againSeconds] = move(session);
    EXPECT_TRUE(again);
    EXPECT_NEAR(againSeconds, 0.0, 1e-6);
    EXPECT_EQ(restoreLines(), std::vector<std::string>{line}) << "same window and target in the same restore";

    RestoreLogSession next;
    move(next);
    EXPECT_EQ(countContaining("move OK"), 2) << "a new restore logs again";
}

struct FailureCase {
    const char* name;
    std::vector<const char*> removed;
    std::string rc;
    bool activeKnown;
};

class SpaceMoveFailureTest : public SpaceMoveRetryTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(SpaceMoveFailureTest, TwelveFailuresGiveOneWarningWithWhatIsKnown) {
    const auto& c = GetParam();
    for (const char* name : c.removed)
        desk().removeSymbol(name);
    desk().queueSkyLightMoveResults(std::vector<std::int32_t>(12, 1000));
    auto mover = SpacesMover::make();
    RestoreLogSession session;
    auto [ok, seconds] = move(session, *mover);
    EXPECT_FALSE(ok);
    EXPECT_NEAR(seconds, 1.8, 1e-6);
    EXPECT_EQ(spaceOfWindow(), from);
    EXPECT_EQ(restoreLines(),
              std::vector<std::string>{
                  prefix(session, "WARN") + "Spaces(SkyLight) move FAILED after retries: windowID=" +
                  std::to_string(w) + " targetSpace=" + std::to_string(target) + " rc=" + c.rc +
                  " attempts=12 activeSpace=" + (c.activeKnown ? std::to_string(from) : "-1") +
                  " after=" + std::to_string(from) + " " + kRetryContext});
}

const FailureCase kFailureCases[] = {
    {"MoveAnswers1000", {}, "1000", true},
    {"NoMoveFunction", {"SLSMoveWindowsToManagedSpace", "CGSMoveWindowsToManagedSpace"}, "nil", true},
    {"NoActiveSpaceFunction", {"CGSGetActiveSpace", "SLSGetActiveSpace"}, "1000", false},
};

INSTANTIATE_TEST_SUITE_P(Cases, SpaceMoveFailureTest, ::testing::ValuesIn(kFailureCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SpaceMoveRetryTest, TheTryOtherVariantResultFallsBackToTheOlderMove) {
    desk().queueSkyLightMoveResults({kTryOther});
    RestoreLogSession session;
    auto [ok, seconds] = move(session);
    EXPECT_TRUE(ok);
    EXPECT_NEAR(seconds, 0.12, 1e-6);
    EXPECT_EQ(spaceOfWindow(), target);
    EXPECT_EQ(restoreLines(),
              std::vector<std::string>{prefix(session, "SPACE") + "Spaces(CGS) move OK: windowID=" +
                                       std::to_string(w) + " => Space " + std::to_string(target) +
                                       " (after=" + std::to_string(target) + ") attempt=1 " + kRetryContext});
}

TEST_F(SpaceMoveRetryTest, AnOlderMoveThatDoesNotTakeEffectCostsTheFullPauseToo) {
    desk().setLegacyMoveWorks(false);
    desk().queueSkyLightMoveResults({kTryOther, 0});
    RestoreLogSession session;
    auto [ok, seconds] = move(session);
    EXPECT_TRUE(ok);
    EXPECT_NEAR(seconds, 0.27, 1e-6) << "120 ms for the check, then the 150 ms pause";
    EXPECT_EQ(countContaining("Spaces(CGS)"), 0);
    EXPECT_EQ(countContaining("Spaces(SkyLight) move OK: windowID=" + std::to_string(w) + " => Space " +
                              std::to_string(target) + " (after=" + std::to_string(target) + ") attempt=2"),
              1);
}

TEST_F(SpaceMoveRetryTest, AnOkThatDidNotMoveIsReportedAsAMismatch) {
    desk().setSkyLightMoveTakesEffect(false);
    RestoreLogSession session;
    auto [ok, seconds] = move(session);
    EXPECT_TRUE(ok);
    EXPECT_NEAR(seconds, 0.0, 1e-6);
    const std::string window = std::to_string(w), t = std::to_string(target), a = std::to_string(from);
    EXPECT_EQ(restoreLines(),
              (std::vector<std::string>{
                  prefix(session, "SPACE") + "Spaces(SkyLight) move OK: windowID=" + window + " => Space " +
                      t + " (after=" + a + ") attempt=1 " + kRetryContext,
                  prefix(session, "WARN") +
                      "Spaces(SkyLight) move returned OK but verification mismatch: windowID=" + window +
                      " target=" + t + " after=" + a + " " + kRetryContext,
              }));
}

TEST_F(SpaceMoveRetryTest, AnUnknownSpaceAfterwardsReadsAsMinusOne) {
    desk().setSpaceAnswerForm(platform::SpaceAnswerForm::empty);
    RestoreLogSession session;
    auto [ok, seconds] = move(session);
    EXPECT_TRUE(ok);
    EXPECT_EQ(countContaining("(after=-1) attempt=1"), 1);
    EXPECT_EQ(countContaining("verification mismatch"), 0) << "an unknown Space is no mismatch";
}

} // namespace
} // namespace tilmora::WindowManager
