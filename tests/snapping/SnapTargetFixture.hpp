#pragma once

#include "SnapStateFixture.hpp"

#include "model/NotificationManager.hpp"
#include "model/Settings.hpp"
#include "platform/control/BundleControl.hpp"
#include "platform/control/SimInput.hpp"
#include "platform/control/SimScheduler.hpp"
#include "support/RecordingToastHost.hpp"

#include <cmath>
#include <ostream>
#include <string>
#include <vector>

namespace tilmora::testing {

using RecordingToastPanel = testsupport::RecordingToastPanel;
using RecordingToastHost = testsupport::RecordingToastHost;

/// Display 1 "Built-in", frame and visible frame (0, 0, 1440, 900) at scale 2; the program's main
/// bundle named "com.quorvane.Tilmora" (as its running application); verbose logging on; toasts
/// of the toast manager recorded; and Notes ("com.example.notes") frontmost with one standard
/// window "Doc" at (100, 250, 800, 600) (Accessibility position (100, 50)).
class SnapTargetTest : public SnapStateTest {
protected:
    void restoreFixture() override {
        DesktopTest::restoreFixture();
        desk().addDisplay(testsupport::builtInPanelSpec());
        platform::BundleControl::setBundleIdentifier(testsupport::programBundleIdentifier);
        platform::UserDefaults::standard().set(true, settings::verboseLogging.key);
        NotificationManager::installHost(toastHost);
    }

    void SetUp() override {
        SnapStateTest::SetUp();
        notes = runFrontmost(notesApp(), {window("Doc", {100, 250, 800, 600})});
        notesWindow = desk().windowsOf(notes).at(0).number;
        desk().clearJournal();
        newLines();
    }

    static platform::NSScreen builtIn() { return screen(1); }

    /// The Accessibility writes and actions of the journal: "<what> <detail>" (failed ones end in
    /// " failed"), each with its time relative to the first.
    struct Step {
        std::string text;
        double at = 0;
        bool operator==(const Step&) const = default;
        friend void PrintTo(const Step& step, std::ostream* out) { *out << step.text << " @" << step.at; }
    };
    std::vector<Step> axSteps() const {
        std::vector<Step> steps;
        double start = -1;
        for (const auto& entry : platform::SimDesktop::shared().journal()) {
            if (entry.kind != platform::JournalEntry::Kind::axWrite &&
                entry.kind != platform::JournalEntry::Kind::axAction)
                continue;
            if (start < 0) start = entry.time;
            std::string text = entry.what;
            if (!entry.detail.empty()) text += " " + entry.detail;
            if (entry.result != 0) text += " failed";
            // Whole milliseconds, so the clock's rounding does not matter.
            steps.push_back({text, std::round((entry.time - start) * 1000) / 1000});
        }
        return steps;
    }

    /// Lines printed since the last call that hold `part`.
    std::vector<std::string> newLinesWith(const std::string& part) {
        std::vector<std::string> found;
        for (const auto& line : newLines())
            if (line.find(part) != std::string::npos) found.push_back(line);
        return found;
    }

    std::shared_ptr<RecordingToastHost> toastHost = std::make_shared<RecordingToastHost>();
    pid_t notes = 0;
    std::uint32_t notesWindow = 0;
};

} // namespace tilmora::testing
