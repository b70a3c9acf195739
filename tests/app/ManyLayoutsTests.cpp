// Many stored layouts on the main display: `menu` prints the Custom Layouts submenu closed, as a
// person sees the status menu, so it prints the same with 20,000 layouts as with 200; `menu
// "Custom Layouts"` prints the first hundred of them; chords, picks and `expect menu` through the
// submenu work as with a few. (What they cost is the status-menu benchmarks' business.)
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
#include <utility>
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

    /// What `menu` and `menu "Custom Layouts"` print with `count` layouts stored, after chords and
    /// a pick; the submenu then still lists the last layout.
    std::pair<std::string, std::string> menusWith(long count) {
        resetSharedInstances();
        tilmora::ProgramHost::shared().reset();
        DesktopConsole console(out);
        console.execute("desktop default");
        storeLayoutsOnTheMainDisplay(count);
        for (const char* line : {"program launch", "app focus com.apple.TextEdit", "key ctrl+opt+right",
                                 "key ctrl+opt+left", "menu pick \"Left Half\""})
            console.execute(line);
        console.execute("expect window com.apple.TextEdit \"Untitled\" frame 0 0 720 875");
        console.execute("expect menu \"Custom Layouts\" > \"Layout " + std::to_string(count - 1) + "\" present");
        EXPECT_EQ(console.exitStatus(), DesktopConsole::exitOk) << out.str();
        out.str("");
        console.execute("menu");
        const std::string menu = out.str();
        out.str("");
        console.execute("menu \"Custom Layouts\"");
        return {menu, out.str()};
    }
};

TEST_F(ManyLayoutsTest, TheMenuPrintsCustomLayoutsClosedAndTheSubmenuItsFirstHundred) {
    const auto [menuOfFew, layoutsOfFew] = menusWith(200);
    const auto [menuOfMany, layoutsOfMany] = menusWith(20'000);
    EXPECT_NE(menuOfFew.find("Custom Layouts ▸ (see menu \"Custom Layouts\")\n"), std::string::npos) << menuOfFew;
    EXPECT_EQ(menuOfFew.find("Layout 0"), std::string::npos) << menuOfFew;
    EXPECT_EQ(menuOfMany, menuOfFew);
    // The echo, a header (Grids) and 99 layouts, then the rest counted.
    for (const auto& [text, more] : {std::pair{layoutsOfFew, "… and 101 more\n"}, {layoutsOfMany, "… and 19901 more\n"}}) {
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 102) << text;
        EXPECT_TRUE(text.starts_with("> menu \"Custom Layouts\"\nGrids (disabled)\nLayout 0\n")) << text.substr(0, 200);
        EXPECT_TRUE(text.ends_with(more)) << text.substr(text.size() - std::min<std::size_t>(text.size(), 200));
    }
}

} // namespace
