// Many stored layouts on the main display: chords and menu picks cost what they cost with a few,
// and the Custom Layouts submenu still lists every one of them when it opens.
#include "model/DefaultLayoutStore.hpp"
#include "model/Layout.hpp"
#include "platform/desktop/NSScreen.hpp"
#include "platform/foundation/FileSystem.hpp"
#include "platform/foundation/JsonCoding.hpp"
#include "support/ProgramScriptTest.hpp"
#include "windows/ScreenIdentity.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

using tilmora::DesktopConsole;

namespace {

class ManyLayoutsTest : public ProgramScriptTest {
protected:
    /// Stores `count` two-tile layouts on the main display, in a file dated an hour back (saved in
    /// an earlier session).
    static void storeLayoutsOnTheMainDisplay(long count) {
        const tilmora::DisplayId display(tilmora::tlm_identifierString(*platform::NSScreen::main()));
        std::vector<tilmora::Layout> layouts;
        for (long i = 0; i < count; ++i) {
            std::vector<tilmora::Tile> tiles{
                tilmora::Tile{tilmora::TileId{platform::UUID()}, display, {0.0, 0.0, 0.5, 1.0}, std::nullopt},
                tilmora::Tile{tilmora::TileId{platform::UUID()}, display, {0.5, 0.0, 0.5, 1.0}, std::nullopt}};
            layouts.push_back(tilmora::Layout{tilmora::LayoutId{platform::UUID()}, "Layout " + std::to_string(i),
                                              display, std::move(tiles)});
        }
        const auto file = tilmora::DefaultLayoutStore().url();
        platform::FileSystem::createDirectories(file.parent_path());
        platform::FileSystem::writeAtomically(file, platform::jsonText(platform::encodeJsonArray(layouts)));
        std::filesystem::last_write_time(file, std::filesystem::last_write_time(file) - std::chrono::hours(1));
    }

    /// The least wall-clock time, over three rounds in one console, of five chords and one menu
    /// pick with `count` layouts stored; the menu then lists them all.
    double secondsForChordsAndAPick(long count) {
        resetSharedInstances();
        tilmora::ProgramHost::shared().reset();
        out.str("");
        DesktopConsole console(out);
        console.execute("desktop default");
        storeLayoutsOnTheMainDisplay(count);
        for (const char* line : {"program launch", "app focus com.apple.TextEdit", "key ctrl+opt+right"})
            console.execute(line);
        double best = 1e9;
        for (int round = 0; round < 3; ++round) {
            const auto start = std::chrono::steady_clock::now();
            for (const char* chord : {"left", "right", "up", "down", "left"})
                console.execute(std::string("key ctrl+opt+") + chord);
            console.execute("menu pick \"Left Half\"");
            best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        }
        console.execute("expect window com.apple.TextEdit \"Untitled\" frame 0 0 720 875");
        console.execute("expect menu \"Custom Layouts\" > \"Layout " + std::to_string(count - 1) + "\" present");
        EXPECT_EQ(console.exitStatus(), DesktopConsole::exitOk) << out.str();
        return best;
    }
};

TEST_F(ManyLayoutsTest, ChordsAndMenuPicksCostTheSameWithAHundredTimesTheLayouts) {
    const double few = secondsForChordsAndAPick(200);
    const double many = secondsForChordsAndAPick(20'000);
    EXPECT_LE(many, 3 * few) << "200 layouts: " << few << " s, 20,000 layouts: " << many << " s";
}

} // namespace
