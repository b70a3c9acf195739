#include "SnapshotQuitTest.hpp"

#include "platform/dispatch/DispatchQueue.hpp"

#include <csignal>

using tilmora::WindowManager::quitSnapshot;
using tilmora::WindowManager::waitUntilExit;

namespace {

class QuitTest : public SnapshotQuitTest {
protected:
    QuitResult quit(const tilmora::Snapshot& snapshot) {
        auto result = std::make_shared<QuitResult>();
        quitSnapshot(snapshot, [result](bool success, const std::string& message) {
            ++result->calls;
            result->success = success;
            result->message = message;
        });
        results.push_back(result);
        return *result;
    }
    const QuitResult& last() const { return *results.back(); }
    std::vector<std::shared_ptr<QuitResult>> results;
};

TEST_F(QuitTest, ProtectedAndOwnApplicationsAreNeverQuit) {
    verbose();
    platform::BundleControl::setBundleIdentifier(std::string("com.example.self"));
    struct Case {
        const char* label;
        std::vector<std::pair<std::string, std::optional<std::string>>> apps;
    };
    const Case cases[] = {
        {"finder and dock", {{"com.apple.finder", "Finder"}, {"com.apple.dock", "Dock"}}},
        {"system processes", {{"com.apple.systemuiserver", {}}, {"com.apple.loginwindow", {}}, {"", {}}}},
        {"the program itself", {{"com.example.self", "Self"}}},
        {"no windows", {}},
    };
    const pid_t self = desk().run(app("com.example.self", "Self"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        auto snapshot = storeSnapshot("Work", c.apps);
        quit(*snapshot);
        sim().drainMainQueue();
        EXPECT_EQ(last().calls, 1);
        EXPECT_TRUE(last().success);
        EXPECT_EQ(last().message, "No applications to quit for this snapshot.\n");
        EXPECT_EQ(sim().now(), 0.0);
    }
    EXPECT_TRUE(hasLine("[SUCCESS] quitSnapshot complete — success=true. No applications to quit for this snapshot."));
    EXPECT_TRUE(hasLine("[START] === quitSnapshot: Work ==="));
    EXPECT_EQ(desk().pids("com.example.self"), std::vector<pid_t>{self});
    EXPECT_EQ(signalsInJournal(), 0u);
}

TEST_F(QuitTest, AnApplicationEndingAfterTerminateIsSeenWithinOnePoll) {
    verbose();
    platform::TerminationSpec slow;
    slow.quitDelay = 0.35;
    runNotes(slow);
    quit(*storeSnapshot("Work", {{"com.example.notes", "Notes"}}));
    sim().runFor(0.39);
    EXPECT_FALSE(hasLine("[INFO] Terminated Notes"));
    EXPECT_EQ(last().calls, 0);
    sim().runFor(0.02);
    EXPECT_TRUE(hasLine("[INFO] Terminated Notes"));
    EXPECT_EQ(last().calls, 1);
    EXPECT_TRUE(last().success);
    EXPECT_EQ(last().message, "All snapshot applications terminated.\n");
    EXPECT_TRUE(hasLine("[SUCCESS] quitSnapshot complete — success=true. All snapshot applications terminated."));
}

TEST_F(QuitTest, TheLadderClimbsToTheStepTheApplicationObeys) {
    verbose();
    struct Case {
        const char* label;
        platform::TerminationSpec termination;
        double endsAt; // seconds after the start
        const char* successLine;
    };
    platform::TerminationSpec force;
    force.obeysTerminate = false;
    force.quitDelay = 0.05;
    platform::TerminationSpec sigterm = obeysOnlySigkill();
    sigterm.obeysSIGTERM = true;
    const Case cases[] = {
        {"force-terminate", force, 2.6, "[INFO] Force-terminated Notes"},
        {"SIGTERM", sigterm, 4.5, "[INFO] SIGTERM succeeded Notes"},
        {"SIGKILL", obeysOnlySigkill(), 5.5, "[INFO] SIGKILL succeeded Notes"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        resetSharedInstances();
        verbose();
        const pid_t pid = runNotes(c.termination);
        quit(*storeSnapshot("Work", {{"com.example.notes", "Notes"}}));
        sim().runFor(c.endsAt - 0.05);
        EXPECT_FALSE(hasLine(c.successLine));
        sim().runFor(0.06);
        EXPECT_TRUE(hasLine(c.successLine));
        EXPECT_EQ(last().calls, 1);
        EXPECT_TRUE(last().success);
        EXPECT_TRUE(desk().pids("com.example.notes").empty());
        if (std::string(c.label) == "SIGKILL") {
            const std::string p = std::to_string(pid);
            for (const auto* line : {"[INFO] Attempting to terminate Notes (com.example.notes) [pid=", "[WARN] SIGTERM fallback Notes [pid=",
                                     "[WARN] SIGKILL fallback Notes [pid="})
                EXPECT_TRUE(hasLine(std::string(line) + p + "]")) << line;
            EXPECT_TRUE(hasLine("[INFO] Terminate requested=true Notes"));
            EXPECT_TRUE(hasLine("[INFO] Force-terminate requested=true Notes"));
        }
    }
}

TEST_F(QuitTest, InstancesThatRefuseEverythingFailEachThroughItsOwnLadder) {
    verbose();
    const pid_t first = runNotes(refusesEverything());
    const pid_t second = runNotes(refusesEverything());
    quit(*storeSnapshot("Work", {{"com.example.notes", "Notes"}, {"com.example.notes", "Notes"}}));
    sim().runFor(6.45);
    EXPECT_FALSE(hasLine("[ERROR] Failed to terminate Notes (com.example.notes) [pid=" + std::to_string(first) + "]"));
    sim().runFor(0.1);
    EXPECT_TRUE(hasLine("[ERROR] Failed to terminate Notes (com.example.notes) [pid=" + std::to_string(first) + "]"));
    EXPECT_TRUE(hasLine("[INFO] Attempting to terminate Notes (com.example.notes) [pid=" + std::to_string(second) + "]"));
    EXPECT_EQ(last().calls, 0);
    sim().runFor(6.4);
    EXPECT_EQ(last().calls, 0);
    sim().runFor(0.1);
    EXPECT_EQ(last().calls, 1);
    EXPECT_TRUE(hasLine("[ERROR] Failed to terminate Notes (com.example.notes) [pid=" + std::to_string(second) + "]"));
    EXPECT_FALSE(last().success);
    EXPECT_EQ(last().message, "Some snapshot applications failed to terminate.\n");
    EXPECT_TRUE(hasLine("[WARN] quitSnapshot complete — success=false. Some snapshot applications failed to terminate."));
    EXPECT_EQ(desk().pids("com.example.notes").size(), 2u);
}

TEST_F(QuitTest, WaitingForAPidBelowOneNeverSignals) {
    struct Case {
        std::int32_t pid;
        double timeout;
    };
    for (const Case& c : {Case{0, 2.5}, Case{-1, 2.5}, Case{0, 0.0}}) {
        SCOPED_TRACE(c.pid);
        bool gone = false;
        platform::DispatchQueue::global().async([&] { gone = waitUntilExit(c.pid, c.timeout); });
        sim().drainMainQueue();
        EXPECT_TRUE(gone);
        EXPECT_EQ(sim().now(), 0.0);
        EXPECT_FALSE(tilmora::WindowManager::sendSignal(c.pid, SIGKILL));
    }
    for (const auto& entry : desk().journal())
        EXPECT_NE(entry.kind, platform::JournalEntry::Kind::signal);
}

TEST_F(QuitTest, AProcessThatMayNotBeSignalledCountsAsRunning) {
    platform::TerminationSpec t = refusesEverything();
    const pid_t pid = runNotes(t);
    bool gone = true;
    platform::DispatchQueue::global().async([&] { gone = waitUntilExit(pid, 0.3); });
    sim().runFor(0.5);
    EXPECT_FALSE(gone);
}

} // namespace
