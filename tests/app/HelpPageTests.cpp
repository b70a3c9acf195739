// The help panel's page as the console shows it: its headings, steps and links, in the language
// the panel was made in.
#include <algorithm>
#include "support/ProgramScriptTest.hpp"

#include <gtest/gtest.h>

#include <regex>

namespace {

using tilmora::DesktopConsole;

class HelpPageTest : public ProgramScriptTest {
protected:
    /// `ui show` output with the frames of the page's lines (those indented under the web view)
    /// taken out.
    static std::string withoutPageFrames(const std::string& text) {
        static const std::regex frame(R"((\n  [^\n]*?) frame -?[0-9.]+ -?[0-9.]+ -?[0-9.]+ -?[0-9.]+)");
        return std::regex_replace(text, frame, "$1");
    }
};

const char* const kToGerman = R"(menu pick "Preferences…"
ui pick "Preferences" "prefs.language" "Deutsch"
ui click "Preferences" "prefs.close"
)";

TEST_F(HelpPageTest, ThePanelShowsItsPageInTheLanguageItWasFirstOpenedIn) {
    struct Case {
        const char* name;
        std::string script;
        std::vector<std::string> lines; // each ends a line (or stands before its frame or "scrolled-out"), after the one before
    };
    const std::vector<std::string> english = {
        R"(heading "Tilmora Help")",
        R"(link "Quick Start" value="#quickstart")",
        R"(heading "Quick Start")",
        R"(item "1. Allow Accessibility access when asked (System Settings > Privacy & Security > Accessibility).")",
        R"(item "2. Click the icon in the menu bar and choose a command such as Left Half to place the frontmost window.")",
        R"(item "3. Or press a shortcut: ⌃⌥ with an arrow key snaps to a half, ⌃⌥↩ maximizes, ⌃⌥⌦ restores.")",
        R"(item "4. Open the Snapshot Manager, type a name and save your current windows as a snapshot; Launch brings them back later.")",
        R"(heading "Snapping")",
        // Nothing is chosen on a first launch: the step says a grid shows only once one is.
        R"(item "• Choose a grid from the menu or a placement on the snap bar, then drag a window by its title bar: the grid appears on the screen under the pointer. Drop the window on a tile to place it there. Until one is chosen (as on a first launch), dragging shows no grid.")",
        R"(heading "Troubleshooting")"};
    const std::vector<std::string> german = {
        R"(heading "Tilmora-Hilfe")",
        R"(heading "Schnellstart")",
        R"(item "1. Erlauben Sie den Zugriff auf die Bedienungshilfen, wenn Sie gefragt werden (Systemeinstellungen > Datenschutz & Sicherheit > Bedienungshilfen).")",
        R"(item "2. Klicken Sie auf das Symbol in der Menüleiste und wählen Sie einen Befehl wie Linke Hälfte, um das vorderste Fenster zu platzieren.")",
        R"(item "3. Oder drücken Sie einen Kurzbefehl: ⌃⌥ mit einer Pfeiltaste legt das Fenster in eine Hälfte, ⌃⌥↩ maximiert, ⌃⌥⌦ stellt wieder her.")",
        R"(item "4. Öffnen Sie den Snapshot-Manager, geben Sie einen Namen ein und sichern Sie Ihre aktuellen Fenster als Snapshot; Starten stellt sie später wieder her.")",
        R"(heading "Andocken")",
        R"(item "• Wählen Sie im Menü ein Raster oder in der Andockleiste eine Platzierung und ziehen Sie dann ein Fenster an seiner Titelleiste: Auf dem Bildschirm unter dem Zeiger erscheint das Raster. Lassen Sie das Fenster über einer Kachel los, um es dort zu platzieren. Solange nichts gewählt ist (wie beim ersten Start), zeigt das Ziehen kein Raster.")"};
    auto after = [](std::string first, std::vector<std::string> lines) {
        lines.insert(lines.begin(), std::move(first));
        return lines;
    };
    const Case cases[] = {
        {"English", "menu pick \"Help\"\nui show \"Tilmora Help\"\n", after(R"(webView id=help.page value="file:///")", english)},
        // The panel made before the switch keeps its page; a table-of-contents link keeps it too.
        {"opened before a switch",
         std::string("menu pick \"Help\"\n") + kToGerman +
             "menu pick \"Hilfe\"\nui click \"Tilmora Help\" \"Snapping\"\nui show \"Tilmora Help\"\n",
         after(R"(webView id=help.page value="file:///#snapping")", english)},
        {"first opened after a switch", std::string(kToGerman) + "menu pick \"Hilfe\"\nui show \"Tilmora-Hilfe\"\n",
         german},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        resetSharedInstances();
        // Each run starts in English, whatever language the one before chose.
        const int status = run("desktop default\ndefaults delete AppLanguage\nprogram launch\n" + c.script);
        EXPECT_EQ(status, DesktopConsole::exitOk) << transcript();
        std::size_t at = 0;
        for (const auto& line : c.lines) {
            const std::size_t ends = transcript().find(line + "\n", at);
            const std::size_t framed = transcript().find(line + " frame ", at);
            const std::size_t hidden = transcript().find(line + " scrolled-out", at);
            const std::size_t found = std::min({ends, framed, hidden});
            ASSERT_NE(found, std::string::npos) << "missing after offset " << at << ": " << line << "\n"
                                                << transcript();
            at = found + line.size();
        }
        tilmora::ProgramHost::shared().reset();
    }
}

TEST_F(HelpPageTest, TheViewFillsThePanelAndAContentsLinkTheWheelAndUiScrollMoveThePage) {
    const int status = run("desktop default\nprogram launch\nmenu pick \"Help\"\n"
                           "ui click \"Tilmora Help\" \"Troubleshooting\"\nui show \"Tilmora Help\"\n"
                           "mouse move 720 450\nmouse scroll -300\nui show \"Tilmora Help\"\n"
                           "ui scroll \"Tilmora Help\" \"help.page\" by -2000\nui show \"Tilmora Help\"\n");
    EXPECT_EQ(status, DesktopConsole::exitOk) << transcript();
    // The output of each `ui show`, in order.
    std::vector<std::string> shown;
    for (std::size_t at = transcript().find("> ui show"); at != std::string::npos;) {
        const std::size_t next = transcript().find("> ui show", at + 1);
        shown.push_back(transcript().substr(at, next == std::string::npos ? std::string::npos : next - at));
        at = next;
    }
    ASSERT_EQ(shown.size(), 3u) << transcript();
    const struct {
        const char* name;
        std::size_t show;
        const char* line; // a whole line
    } rows[] = {
        {"the view between the insets", 0,
         R"(webView id=help.page value="file:///#troubleshoot" frame 374.0 177.0 692.0 576.0)"},
        {"the link's section in view", 0, R"(  heading "Troubleshooting")"},
        {"the contents out of view", 0, R"(  link "Quick Start" value="#quickstart" scrolled-out)"},
        {"the first section out of view", 0, R"(  heading "Quick Start" scrolled-out)"},
        {"the wheel up", 1, R"(  heading "Custom Layouts")"},
        {"the link's section below", 1, R"(  heading "Troubleshooting" scrolled-out)"},
        {"back at the top", 2, R"(  heading "Tilmora Help")"},
        {"the contents in view", 2, R"(  link "Troubleshooting" value="#troubleshoot")"},
        {"a later section out of view", 2, R"(  heading "Snapping" scrolled-out)"},
    };
    for (const auto& row : rows)
        EXPECT_NE(withoutPageFrames(shown[row.show]).find(std::string("\n") + row.line + "\n"),
                  std::string::npos)
            << row.name << "\n"
            << shown[row.show];
}

TEST_F(HelpPageTest, APointerClickOnAContentsLinkScrollsToItsSection) {
    // The panel's first click is also the first time its views are hit: the pointer finds the
    // page where `ui show` puts it ("Troubleshooting", the contents' last link, at y 348).
    const int status = run("desktop default\nprogram launch\nmenu pick \"Help\"\n"
                           "mouse move 420 348\nmouse down\nmouse up\nui show \"Tilmora Help\"\n");
    EXPECT_EQ(status, DesktopConsole::exitOk) << transcript();
    for (const char* line : {R"(webView id=help.page value="file:///#troubleshoot" frame 374.0 177.0 692.0 576.0)",
                             R"(  heading "Troubleshooting")", R"(  heading "Quick Start" scrolled-out)"})
        EXPECT_NE(withoutPageFrames(transcript()).find(std::string("\n") + line + "\n"), std::string::npos)
            << line << "\n"
            << transcript();
}

TEST_F(HelpPageTest, AFreshPageFollowsItsFirstLinkAndThePointerFindsEachLinkAtItsPrintedFrame) {
    DesktopConsole console(out);
    console.runString("desktop default\nprogram launch\nmenu pick \"Help\"\nwait 1\n"
                      "ui click \"Tilmora Help\" \"Snapping\"\nui show \"Tilmora Help\"\n");
    std::string shown = transcript().substr(transcript().find("> ui show"));
    // Every line of the page has its frame, in view or not.
    std::size_t pageLines = 0;
    for (std::size_t at = shown.find("\n  "); at != std::string::npos; at = shown.find("\n  ", at + 1)) {
        ++pageLines;
        const std::string line = shown.substr(at + 1, shown.find('\n', at + 1) - at - 1);
        EXPECT_NE(line.find(" frame "), std::string::npos) << line;
    }
    EXPECT_GT(pageLines, 30u) << shown;
    for (const char* line :
         {R"(  heading "Snapping")", R"(  link "Quick Start" value="#quickstart" scrolled-out)",
          R"(  link "Troubleshooting" value="#troubleshoot" scrolled-out)"})
        EXPECT_NE(withoutPageFrames(shown).find(std::string("\n") + line + "\n"), std::string::npos)
            << line << "\n"
            << shown;

    // Back at the top, a click at the middle of a contents link's printed frame follows it.
    out.str("");
    console.runString("ui scroll \"Tilmora Help\" \"help.page\" by -5000\nui show \"Tilmora Help\"\n");
    std::smatch frame;
    const std::string top = transcript();
    ASSERT_TRUE(std::regex_search(
        top, frame,
        std::regex(R"(link "Keyboard Shortcuts" value="#shortcuts" frame (\S+) (\S+) (\S+) (\S+)\n)")))
        << top;
    const double x = std::stod(frame[1]) + std::stod(frame[3]) / 2;
    const double y = std::stod(frame[2]) + std::stod(frame[4]) / 2;
    out.str("");
    console.runString("mouse move " + std::to_string(x) + " " + std::to_string(y) +
                      "\nmouse down\nmouse up\nui show \"Tilmora Help\"\n");
    shown = withoutPageFrames(transcript());
    for (const char* line :
         {R"(webView id=help.page value="file:///#shortcuts" frame 374.0 177.0 692.0 576.0)",
          R"(  heading "Keyboard Shortcuts")"})
        EXPECT_NE(shown.find(std::string("\n") + line + "\n"), std::string::npos) << line << "\n" << shown;
}

} // namespace
