#include "console/CommandTable.hpp"
#include "console/ConsoleSession.hpp"
#include "console/DesktopConsole.hpp"
#include "platform/control/SimDesktop.hpp"
#include "platform/foundation/FileSystem.hpp"
#include "support/ConsoleScriptTest.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <new>
#include <sstream>
#include <stdexcept>
#include <sys/stat.h>

using tilmora::CommandTable;
using tilmora::ConsoleSession;
using tilmora::DesktopConsole;

namespace {

class ConsoleHostileInputTest : public ConsoleScriptTest {
protected:
    bool has(const std::string& part) const { return out.str().find(part) != std::string::npos; }
};

TEST_F(ConsoleHostileInputTest, AnyExceptionOfACommandIsAnErrorAndTheTranscriptStaysWhole) {
    struct Case {
        const char* name;
        std::function<void()> thrower;
        const char* message;
    };
    const Case cases[] = {
        {"filesystem",
         [] {
             throw std::filesystem::filesystem_error("cannot search",
                                                     std::make_error_code(std::errc::permission_denied));
         },
         "filesystem error: cannot search: Permission denied"},
        {"memory", [] { throw std::bad_alloc(); }, "out of memory"},
        {"logic", [] { throw std::out_of_range("index 7"); }, "index 7"},
        {"other", [] { throw 42; }, "unexpected failure"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CommandTable table;
        table.add({.name = "say",
                   .arguments = tilmora::ArgumentCheck::any(),
                   .handler = [](ConsoleSession& s, const tilmora::CommandArgs&) { s.out() << "said\n"; },
                   .help = {},
                   .helpOrder = 1});
        table.add({.name = "boom",
                   .arguments = tilmora::ArgumentCheck::any(),
                   .handler = [&](ConsoleSession&, const tilmora::CommandArgs&) { c.thrower(); },
                   .help = {},
                   .helpOrder = 1});
        out.str("");
        DesktopConsole::Options options;
        options.commands = &table;
        DesktopConsole console(out, options);
        EXPECT_EQ(console.runString("say\nboom\nsay\n"), DesktopConsole::exitError);
        EXPECT_EQ(out.str(),
                  std::string("> say\nsaid\n> boom\nerror: line 2: ") + c.message + "\n> say\nsaid\n");
    }
}

TEST_F(ConsoleHostileInputTest, DesktopFilesWithBadNumbersAreRefusedByFieldAndChangeNothing) {
    const auto file = root() / "desk.json";
    const std::pair<const char*, const char*> bad[] = {
        {R"({"displays": [{"frame": [0, 0, 10, 10], "spaces": 1e9}]})",
         "displays[0].spaces: must be from 1 to 16"},
        {R"({"displays": [{"frame": [0, 0, 10, 10], "spaces": 17}]})",
         "displays[0].spaces: must be from 1 to 16"},
        {R"({"displays": [{"id": -1, "frame": [0, 0, 10, 10]}]})", "displays[0].id: must be from 1"},
        {R"({"displays": [{"id": 0, "frame": [0, 0, 10, 10]}]})", "displays[0].id: must be from 1"},
        {R"({"displays": [{"id": 1e20, "frame": [0, 0, 10, 10]}]})", "displays[0].id: must be from 1"},
        {R"({"displays": [{"id": 1.5, "frame": [0, 0, 10, 10]}]})", "displays[0].id: must be a whole number"},
        {R"({"displays": [{"id": 4, "frame": [0, 0, 10, 10]}, {"id": 4, "frame": [10, 0, 10, 10]}]})",
         "displays[1].id: display 4 exists already"},
        {R"({"fixture": "laptop", "displays": [{"id": 1, "frame": [9, 0, 10, 10]}]})",
         "displays[0].id: display 1 exists already"},
        {R"({"displays": [{"frame": [0, 0, 0, 10]}]})",
         "displays[0].frame: a width or height is not positive"},
        {R"({"displays": [{"frame": [0, 0, 10, -4]}]})",
         "displays[0].frame: a width or height is not positive"},
        {R"({"displays": [{"frame": [1e308, 0, 1e308, 10]}]})", "displays[0].frame: an edge is not finite"},
        {R"({"displays": [{"frame": [0, 0, 10, 10], "visible": [0, 0, 20, 10]}]})",
         "displays[0].visible: not inside the frame"},
        {R"({"displays": [{"frame": [0, 0, 10, 10], "scale": 0}]})", "displays[0].scale: must be positive"},
        {R"({"fixture": "laptop", "displays": [{"id": 2, "name": "Far", "frame": [1e20, 0, 100, 100],
            "visible": [1e20, 0, 100, 100], "scale": 1, "spaces": 1}], "apps": []})",
         "displays[0].frame: x 1e+20: must be within ±1e9 points"},
        {R"({"displays": [{"frame": [0, 0, 3e38, 3e38], "visible": [0, 0, 10, 10]}]})",
         "displays[0].frame: width 3e+38: must be above 0 and at most 1e6 points"},
        {R"({"displays": [{"frame": [0, 0, 10, 10], "scale": 17}]})",
         "displays[0]: scale 17.0: must be above 0 and at most 16"},
        {R"({"fixture": "laptop", "apps": [{"bundleIdentifier": "a", "launchDelay": 1e300}]})",
         "apps[0].launchDelay: must be from 0 to 86400"},
        {R"({"fixture": "laptop", "apps": [{"bundleIdentifier": "a", "windows": [{"space": 2}]}]})",
         "apps[0].windows[0].space: must be from 0 to 1"},
        {R"({"fixture": "laptop", "apps": [{"bundleIdentifier": "a", "windows": [{"min": [-1, 5]}]}]})",
         "apps[0].windows[0].min: a minimum size cannot be negative"},
        {R"({"fixture": "laptop", "apps": [{"bundleIdentifier": "a", "windows": [{"frame": [1e308, 0, 1e308, 10]}]}]})",
         "bad desktop file: apps[0].windows[0].frame"},
        {R"({"fixture": "laptop", "frontmost": "com.nobody"})",
         "frontmost: application not running: com.nobody"},
    };
    const std::string before = "desktop laptop\nscreen add 5 frame 2000 0 100 100\n";
    for (const auto& [json, message] : bad) {
        SCOPED_TRACE(json);
        platform::SimDesktop::clear();
        platform::FileSystem::writeFile(file, json);
        EXPECT_EQ(run(before + "show screens\ndesktop load " + file.string() + "\nshow screens\n"),
                  DesktopConsole::exitError);
        EXPECT_TRUE(has(std::string("error: line 4: bad desktop file: ") + "")) << out.str();
        EXPECT_TRUE(has(message)) << out.str();
        // The previous desktop is unchanged: both listings are the same.
        const std::string t = out.str();
        const auto first = t.find("> show screens\n") + 15;
        const auto firstEnd = t.find("> desktop load");
        const auto second = t.rfind("> show screens\n") + 15;
        EXPECT_EQ(t.substr(first, firstEnd - first), t.substr(second)) << t;
    }
    // A window's Space is counted on the display its frame lies on.
    platform::FileSystem::writeFile(file, R"({"fixture": "laptop", "displays": [{"frame": [1440, 0, 800, 600],
        "spaces": 3}], "apps": [{"bundleIdentifier": "a", "windows": [{"frame": [1500, 10, 100, 100], "space": 3}]}]})");
    EXPECT_EQ(run("desktop load " + file.string() + "\nexpect window a \"\" space 3\n"), 0) << out.str();
}

TEST_F(ConsoleHostileInputTest, FilesThatAreNotRegularOrTooLargeAreRefusedBeforeReading) {
    const auto big = root() / "big.json";
    platform::FileSystem::writeFile(big, std::string(DesktopConsole::maxFileBytes + 1024 * 1024, ' '));
    const std::pair<std::string, const char*> cases[] = {
        {"/dev/zero", "not a regular file"},
        {root().string(), "not a regular file"},
        {big.string(), "larger than 16777216 bytes"},
    };
    for (const auto& [path, reason] : cases) {
        SCOPED_TRACE(path);
        EXPECT_EQ(run("desktop load " + path + "\n"), DesktopConsole::exitError);
        EXPECT_TRUE(has("error: line 1: cannot read " + path)) << out.str();
        EXPECT_TRUE(has(reason)) << out.str();

        std::ostringstream errors;
        out.str("");
        DesktopConsole console(out);
        EXPECT_EQ(console.runFile(path, errors), DesktopConsole::exitError);
        EXPECT_EQ(errors.str(), "tilmora: cannot read script: " + path + ": " + reason + "\n");
        EXPECT_EQ(out.str(), "");
    }
}

TEST_F(ConsoleHostileInputTest, AScriptFileRunsWithoutItsByteOrderMark) {
    const auto script = root() / "s.tilmora";
    platform::FileSystem::writeFile(script, "\xEF\xBB\xBF"
                                            "desktop laptop\nexpect screens 1\n");
    std::ostringstream errors;
    DesktopConsole console(out);
    EXPECT_EQ(console.runFile(script.string(), errors), 0) << out.str();
    EXPECT_EQ(out.str(), "> desktop laptop\n> expect screens 1\n");
    EXPECT_EQ(errors.str(), "");
}

TEST_F(ConsoleHostileInputTest, QuietSuccessesAndMisleadingMessagesNowNameTheArgument) {
    const std::string setup = "desktop laptop\napp install com.apple.TextEdit \"TextEdit\"\n";
    const std::pair<const char*, const char*> cases[] = {
        {"window open com.apple.TextEdit \"A\" 0 0 10 10 space 999999999",
         "space 999999999: the window's display has 1 space"},
        {"window open com.apple.TextEdit \"A\" 0 0 10 10 space 2",
         "space 2: the window's display has 1 space"},
        {"window open com.apple.TextEdit \"A\" 0 0 10 10 min -1 5",
         "min -1 5: a minimum size cannot be negative"},
        {"window open \"\" \"A\" 0 0 10 10", "a bundle id cannot be empty"},
        {"app install \"\" \"X\"", "a bundle id cannot be empty"},
        {"screen add 3 frame 2000 0 100 100 visible 2000 0 200 100",
         "visible 2000.0 0.0 200.0 100.0: not inside the frame"},
        {"app quit com.quorvane.Tilmora",
         "app quit com.quorvane.Tilmora: the program itself ends with \"quit\""},
        {"help extra", "usage: help"},
        {"quit extra", "usage: quit"},
        {"desktop load", "usage: desktop load <file.json>"},
        {"screen remove", "usage: screen remove <number>"},
        {"screen add", "usage: screen add"},
        {"screen add 4294967295 frame 0 0 1 1", "out of range: 4294967295"},
        {"screen add 3 frame 1e308 0 100 100 visible 1e308 0 100 100",
         "frame x 1e+308: must be within ±1e9 points"},
        {"screen add 3 frame 0 0 3e38 3e38 visible 0 0 3e38 3e38",
         "frame width 3e+38: must be above 0 and at most 1e6 points"},
        {"screen add 3 frame 2000 0 100 100 scale 1e300", "scale 1e+300: must be above 0 and at most 16"},
        {"app install com.x \"X\" launch-delay 1 extra", "unexpected: extra"},
        {"app install com.x \"X\" launch-delay", "launch-delay needs a number of seconds"},
        {"app install com.x \"X\" launch-delay 86401", "launch-delay 86401: at most 86400 seconds"},
    };
    for (const auto& [line, message] : cases) {
        SCOPED_TRACE(line);
        platform::SimDesktop::clear();
        EXPECT_EQ(run(setup + line + "\nshow windows\n"), DesktopConsole::exitError) << out.str();
        EXPECT_TRUE(has(std::string("error: line 3: ") + message)) << out.str();
        EXPECT_FALSE(has("\"A\" frame")) << out.str(); // no window was opened
    }
}

TEST_F(ConsoleHostileInputTest, TitlesPrintOnOneLineWithControlCharactersEscaped) {
    const auto file = root() / "desk.json";
    platform::FileSystem::writeFile(file, R"({"fixture": "laptop", "apps": [{"bundleIdentifier": "a\u001b]0;b\u0007",
        "windows": [{"title": "A\nscreen 9\r\t\u001b[2J\u009b", "frame": [0, 0, 10, 10]}]}]})");
    EXPECT_EQ(run("desktop load " + file.string() + "\nshow windows\nshow apps\nshow journal\n"), 0) << out.str();
    const std::string bundle = "a\\x1B]0;b\\x07";
    EXPECT_TRUE(has("\n" + bundle + " \"A\\nscreen 9\\r\\t\\x1B[2J\\u009B\" frame 0.0 0.0 10.0 10.0 space 1\n"))
        << out.str();
    EXPECT_TRUE(has("\n" + bundle + " \"" + bundle + "\" pid ")) << out.str();
    EXPECT_TRUE(has(" launch pid 501 " + bundle + "\n")) << out.str();
}

} // namespace
