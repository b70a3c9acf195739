#pragma once

#include "model/Log.hpp"
#include "model/Settings.hpp"
#include "platform/control/SimDesktop.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "support/DesktopTest.hpp"
#include "windows/WindowManager.hpp"

#include <fstream>
#include <regex>
#include <string>
#include <vector>

/// A desktop test on the laptop (main display (0, 0, 1440, 900), visible frame (0, 0, 1440, 875))
/// with helpers for the windows of a running "Notes" and for the `WindowManager` log.
class WindowAccessTest : public DesktopTest {
protected:
    void SetUp() override {
        DesktopTest::SetUp();
        desk().useLaptop();
    }

    /// Verbose logging on, the way the snapshot operations turn it on.
    static void verbose() {
        platform::UserDefaults::standard().registerDefaults({{tilmora::settings::verboseLogging.key, true}});
        tilmora::WindowManager::applyRuntimePrefs();
    }

    /// The log file's lines with their "[HH:mm:ss.SSS] " stamp taken off; a line without a well-formed
    /// stamp is kept whole, so that a comparison shows it.
    static std::vector<std::string> logLines() {
        std::vector<std::string> lines;
        const auto path = tilmora::logFilePath();
        if (!path) return lines;
        std::ifstream file(*path);
        static const std::regex stamped(R"(^\[\d\d:\d\d:\d\d\.\d\d\d\] (.*)$)");
        for (std::string line; std::getline(file, line);) {
            std::smatch match;
            lines.push_back(std::regex_match(line, match, stamped) ? match[1].str() : line);
        }
        return lines;
    }

    /// Runs "Notes" with these windows; returns its pid.
    pid_t runNotes(const std::vector<platform::WindowSpec>& windows) {
        return desk().run(notesApp(), windows);
    }

    /// The numbers of an application's windows, front to back.
    std::vector<std::uint32_t> numbersOf(pid_t pid) {
        std::vector<std::uint32_t> numbers;
        for (const auto& w : desk().windowsOf(pid))
            numbers.push_back(w.number);
        return numbers;
    }

    /// The Accessibility element of the application's first window with this title.
    platform::AXUIElement titled(pid_t pid, const std::string& title) {
        for (const auto& w : desk().windowsOf(pid))
            if (w.title == title) return windowElement(pid, w.number);
        ADD_FAILURE() << "no window titled " << title;
        return {};
    }

    /// The Accessibility writes and actions of the journal, as "AXSize (800, 600)" or "AXRaise".
    std::vector<std::string> axCalls() {
        std::vector<std::string> calls;
        for (const auto& entry : desk().journal()) {
            if (entry.kind == platform::JournalEntry::Kind::axWrite)
                calls.push_back(entry.what + " " + entry.detail);
            else if (entry.kind == platform::JournalEntry::Kind::axAction)
                calls.push_back(entry.what);
        }
        return calls;
    }
};
