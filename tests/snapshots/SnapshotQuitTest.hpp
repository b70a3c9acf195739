#pragma once

#include "CaptureTest.hpp"

#include "snapshots/SnapshotQuit.hpp"

#include "platform/control/BundleControl.hpp"
#include "platform/control/LocaleControl.hpp"

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

/// A capture test with the program's English string tables and helpers that store snapshots of
/// given applications and start those applications.
class SnapshotQuitTest : public CaptureTest {
protected:
    void SetUp() override {
        CaptureTest::SetUp();
        useProgramTextsInEnglish();
    }

    /// Stores a snapshot named `name` with one window per (bundle identifier, application name).
    std::shared_ptr<tilmora::Snapshot>
    storeSnapshot(const std::optional<std::string>& name,
                  const std::vector<std::pair<std::string, std::optional<std::string>>>& apps) {
        auto snapshot = context().insertSnapshot();
        snapshot->name = name;
        for (const auto& [bundle, appName] : apps) {
            auto window = context().insertWindow();
            window->bundleIdentifier = bundle;
            window->appName = appName;
            window->windowTitle = "Window";
            snapshot->addWindowsObject(window);
        }
        context().save();
        return snapshot;
    }

    /// Runs "Notes" with the given way of ending; returns its pid.
    pid_t runNotes(const platform::TerminationSpec& termination) {
        auto spec = notesApp();
        spec.termination = termination;
        return desk().run(spec);
    }

    static platform::TerminationSpec obeysOnlySigkill() {
        platform::TerminationSpec t;
        t.obeysTerminate = false;
        t.obeysForceTerminate = false;
        t.obeysSIGTERM = false;
        return t;
    }

    static platform::TerminationSpec refusesEverything() {
        platform::TerminationSpec t = obeysOnlySigkill();
        t.obeysSIGKILL = false;
        t.signalsPermitted = false;
        return t;
    }

    struct QuitResult {
        int calls = 0;
        bool success = false;
        std::string message;
    };

    static bool hasLine(const std::string& line) {
        const auto lines = logLines();
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }

    std::size_t signalsInJournal() const {
        std::size_t n = 0;
        for (const auto& entry : platform::SimDesktop::shared().journal())
            if (entry.kind == platform::JournalEntry::Kind::signal && entry.what != "0") ++n;
        return n;
    }
};
