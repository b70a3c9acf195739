#include "console/DesktopConsole.hpp"

#include "platform/control/ScreenCapture.hpp"
#include "platform/foundation/FileSystem.hpp"
#include "support/PlatformTest.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <unistd.h>

using tilmora::DesktopConsole;

namespace {

/// `show picture` on the laptop with its external display, writing into a folder of its own.
class ShowPictureTest : public PlatformTest {
protected:
    void SetUp() override {
        PlatformTest::SetUp();
        folder = std::filesystem::temp_directory_path() / ("tilmora-show-picture-" + std::to_string(::getpid()));
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
    }
    void TearDown() override {
        std::filesystem::remove_all(folder);
        PlatformTest::TearDown();
    }

    int run(const std::string& script) {
        out.str("");
        DesktopConsole console(out);
        return console.runString(setup + script);
    }
    std::string file(const std::string& name) const { return (folder / name).string(); }

    const std::string setup = "desktop laptop-external\n"
                              "app install com.apple.TextEdit \"TextEdit\"\n"
                              "window open com.apple.TextEdit \"Notes\" 120 180 800 600\n";
    std::filesystem::path folder;
    std::ostringstream out;
};

TEST_F(ShowPictureTest, WritesTheDesktopsPictureAndPrintsItsSize) {
    struct Case {
        const char* options;
        const char* size;
        platform::ui::ScreenCapture::Options capture;
    };
    auto options = [](double scale, std::optional<std::uint32_t> display) {
        platform::ui::ScreenCapture::Options o;
        o.scale = scale;
        o.display = display;
        return o;
    };
    const Case cases[] = {
        {"", "3360 x 1080", options(1, {})},
        {" display 2", "1920 x 1080", options(1, 2)},
        {" scale 2", "6720 x 2160", options(2, {})},
        {" scale 0.5 display 1", "720 x 450", options(0.5, 1)},
    };
    for (const auto& c : cases) {
        const std::string path = file("desk.png");
        std::filesystem::remove(path);
        EXPECT_EQ(run("show picture " + path + c.options + "\n"), 0) << out.str();
        EXPECT_NE(out.str().find("picture " + path + " " + c.size + "\n"), std::string::npos) << out.str();
        ASSERT_TRUE(platform::FileSystem::fileExists(path)) << c.options;
        // The file holds what the screen capture draws of the same desktop.
        EXPECT_TRUE(platform::FileSystem::readFile(path) == platform::ui::ScreenCapture::capture(c.capture).pngData())
            << c.options;
    }
}

TEST_F(ShowPictureTest, BadRequestsExitWithAnErrorAndWriteNothing) {
    struct Case {
        const char* script; ///< after the setup; "{p}" stands for the picture's path
        const char* message;
    };
    const std::string usage = "usage: show picture FILE.png [display N] [scale S]";
    const Case cases[] = {
        {"show picture {missing}/p.png", "no such folder: {missing}"},
        {"show picture {p} scale 0.2", "scale 0.2 is outside 0.25...4"},
        {"show picture {p} scale 5", "scale 5.0 is outside 0.25...4"},
        {"show picture {p} scale x", "not a number: x"},
        {"show picture {p} display 3", "no display 3"},
        {"show picture {p} display 0", "no display 0"},
        {"screen add 3 frame 3360 0 1000 1080 visible 3360 0 1000 1055\nshow picture {p} scale 4",
         "a picture of 17440 x 4320 pixels is over 16384 pixels on a side"},
        {"show picture", usage.c_str()},
        {"show picture {p} scale", usage.c_str()},
        {"show picture {p} zoom 2", usage.c_str()},
        {"show picture {p}.jpg", "a picture is a PNG file: its name ends in \".png\""},
        {"show picture {p} scale 2 scale 3", usage.c_str()},
        {"show windows now", "usage: show screens"},
    };
    auto fill = [&](std::string text) {
        const std::pair<std::string, std::string> names[] = {{"{p}", file("p.png")},
                                                             {"{missing}", file("missing")}};
        for (const auto& [name, value] : names)
            for (auto at = text.find(name); at != std::string::npos; at = text.find(name, at + value.size()))
                text.replace(at, name.size(), value);
        return text;
    };
    for (const auto& c : cases) {
        EXPECT_EQ(run(fill(c.script) + "\n"), DesktopConsole::exitError) << c.script;
        EXPECT_NE(out.str().find("error: line "), std::string::npos) << c.script;
        EXPECT_NE(out.str().find(fill(c.message)), std::string::npos) << c.script << "\n" << out.str();
        EXPECT_EQ(out.str().find("\npicture "), std::string::npos) << c.script;
        EXPECT_TRUE(std::filesystem::is_empty(folder)) << c.script;
    }
}

} // namespace
