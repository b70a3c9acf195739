// The same console script (open the snapshot manager, type a name, save, launch and delete a
// snapshot) over 1,000 and over 5,000 snapshots planted in the store: the work grows with the
// number of snapshots, not with its square. Both runs in one process of one build.
#include "console/ProgramHost.hpp"
#include "platform/control/FoldersControl.hpp"
#include "snapshots/PersistenceController.hpp"
#include "support/ProgramScriptTest.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <iostream>
#include <string>

namespace {

class ManagerScaleTest : public ProgramScriptTest {
protected:
    /// Plants `count` snapshots of two windows in a fresh store, runs the script and returns its
    /// duration in seconds of real time.
    double runOver(int count) {
        tilmora::ProgramHost::shared().reset();
        platform::FoldersControl::useRoot(root() / std::to_string(count));
        resetSharedInstances();
        auto& context = tilmora::PersistenceController::shared().viewContext();
        for (int i = 0; i < count; ++i) {
            auto snapshot = context.insertSnapshot();
            snapshot->name = "Planted " + std::to_string(i);
            for (int w = 0; w < 2; ++w) {
                auto window = context.insertWindow();
                window->appName = "Notes";
                window->bundleIdentifier = "com.example.notes";
                window->windowTitle = "Window " + std::to_string(w);
                snapshot->addWindowsObject(window);
            }
        }
        context.save();
        const std::string saved = "p" + std::to_string(count + 1);
        const std::string script = "desktop laptop\n"
                                   "app install com.example.notes \"Notes\"\n"
                                   "window open com.example.notes \"Todo\" 100 100 600 400\n"
                                   "program launch\n"
                                   "menu pick \"Show Snapshot Manager\"\n"
                                   "ui type \"Tilmora Snapshots\" \"snapshot.nameField\" \"Abc\"\n"
                                   "ui click \"Tilmora Snapshots\" \"snapshot.save\"\n"
                                   "wait 1\n"
                                   "ui click \"Tilmora Snapshots\" \"snapshot.launch." + saved + "\"\n"
                                   "wait 3\n"
                                   "expect toast \"Snapshot 'Abc' launched.\"\n"
                                   "ui click \"Tilmora Snapshots\" \"snapshot.delete." + saved + "\"\n"
                                   "program quit\n";
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(run(script), 0) << out.str();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        return took.count();
    }
};

TEST_F(ManagerScaleTest, FiveTimesTheSnapshotsTakeAtMostSevenTimesTheTime) {
    const double thousand = runOver(1000);
    const double fiveThousand = runOver(5000);
    RecordProperty("seconds_1000", std::to_string(thousand));
    RecordProperty("seconds_5000", std::to_string(fiveThousand));
    std::cout << "1,000 snapshots: " << thousand << " s; 5,000 snapshots: " << fiveThousand << " s\n";
    EXPECT_LE(fiveThousand, 7 * thousand);
}

} // namespace
