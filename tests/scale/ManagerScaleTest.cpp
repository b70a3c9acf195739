// The same console script (open the snapshot manager, type a name, save, launch and delete a
// snapshot) over 1,000 and over 5,000 snapshots planted in the store: it works the same, and the
// manager makes only the rows in view, as many with 5,000 snapshots as with 1,000. (How the time
// grows with the snapshots is the snapshot-manager benchmark's business.)
#include "console/ProgramHost.hpp"
#include "platform/control/FoldersControl.hpp"
#include "snapshots/PersistenceController.hpp"
#include "support/ProgramScriptTest.hpp"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>

namespace {

class ManagerScaleTest : public ProgramScriptTest {
protected:
    /// Plants `count` snapshots of two windows in a fresh store, runs the script and returns the
    /// number of snapshot rows the manager had made when it opened (the rows `ui show` lists).
    std::size_t rowsMadeOver(int count) {
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
                                   "ui show \"Tilmora Snapshots\"\n"
                                   "ui type \"Tilmora Snapshots\" \"snapshot.nameField\" \"Abc\"\n"
                                   "ui click \"Tilmora Snapshots\" \"snapshot.save\"\n"
                                   "wait 1\n"
                                   "ui click \"Tilmora Snapshots\" \"snapshot.launch." + saved + "\"\n"
                                   "wait 3\n"
                                   "expect toast \"Snapshot 'Abc' launched.\"\n"
                                   "ui click \"Tilmora Snapshots\" \"snapshot.delete." + saved + "\"\n"
                                   "program quit\n";
        EXPECT_EQ(run(script), 0) << out.str();
        const std::string text = out.str();
        const std::string row = "id=snapshot.launch.";
        std::size_t rows = 0;
        for (auto at = text.find(row); at != std::string::npos; at = text.find(row, at + 1)) ++rows;
        return rows;
    }
};

TEST_F(ManagerScaleTest, FiveTimesTheSnapshotsMakeNoMoreRows) {
    const std::size_t thousand = rowsMadeOver(1000);
    EXPECT_GT(thousand, 0u);
    EXPECT_LT(thousand, 100u);
    EXPECT_EQ(rowsMadeOver(5000), thousand);
}

} // namespace
