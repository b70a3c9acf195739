#pragma once

#include "snapshots/CaptureTest.hpp"
#include "snapshots/DisplayFingerprint.hpp"
#include "snapshots/SavedDisplayIdentity.hpp"
#include "snapshots/SnapshotRestore.hpp"

#include "platform/dispatch/MediaTime.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

/// A desktop test on the laptop (frame (0, 0, 1440, 900), visible frame (0, 0, 1440, 875)) with
/// verbose logging on, toasts recorded, and builders of saved rows and snapshot copies for the
/// restore.
class RestoreTest : public WindowAccessTest {
protected:
    /// Also runs again after `resetSharedInstances()`: the laptop, fresh toasts, verbose logging, and
    /// the log counted from here on.
    void restoreFixture() override {
        desk().useLaptop();
        toasts = std::make_shared<RecordingToastHost>();
        tilmora::NotificationManager::installHost(toasts);
        verbose();
        logStart = logLines().size();
    }

    /// A saved row titled `title` of `bundle`: `rect` is (x from the visible frame's left, y down
    /// from its top, width, height) on display `displayID`, whose visible frame was `visible`.
    static tilmora::WindowValue row(const std::string& title, const platform::CGRect& rect, std::int64_t rowID,
                                    std::uint32_t displayID = 1,
                                    const platform::CGRect& visible = {0, 0, 1440, 875},
                                    std::int64_t spaceID = 0,
                                    std::optional<std::string> bundle = std::string("com.example.notes")) {
        tilmora::WindowValue w;
        w.bundleIdentifier = std::move(bundle);
        w.windowTitle = title;
        w.xPosition = rect.origin.x;
        w.yPosition = rect.origin.y;
        w.width = rect.size.width;
        w.height = rect.size.height;
        w.screenUUID = tilmora::WindowManager::packScreenUUID(displayID,
                                                              tilmora::WindowManager::displayFingerprintHash(displayID));
        w.windowID = tilmora::WindowManager::packWindowID(visible.origin.x, visible.origin.y);
        w.originalScreenWidth = visible.size.width;
        w.originalScreenHeight = visible.size.height;
        w.spaceID = spaceID;
        w.rowID = rowID;
        return w;
    }

    static tilmora::SnapshotValue snapshotOf(std::optional<std::string> name, std::vector<tilmora::WindowValue> rows,
                                             std::int16_t scope = 0) {
        tilmora::SnapshotValue s;
        s.name = std::move(name);
        s.scope = scope;
        s.windows = std::move(rows);
        return s;
    }

    struct Outcome {
        int calls = 0;
        bool success = false;
        std::string message;
        /// Seconds from the call to the completion (media clock).
        double after = -1;
    };

    /// Starts the restore of `snapshot` and runs the clock for `seconds`.
    Outcome restore(const tilmora::SnapshotValue& snapshot, double seconds = 60) {
        auto out = std::make_shared<Outcome>();
        const double start = platform::mediaTime();
        tilmora::WindowManager::restoreSnapshot(snapshot, [out, start](bool ok, const std::string& message) {
            ++out->calls;
            out->success = ok;
            out->message = message;
            out->after = platform::mediaTime() - start;
        });
        sim().runFor(seconds);
        return *out;
    }

    /// The log lines since the fixture was last set up.
    std::vector<std::string> lines() const {
        auto all = logLines();
        if (logStart >= all.size()) return {};
        return {all.begin() + static_cast<long>(logStart), all.end()};
    }

    /// How many log lines (since the fixture was set up) contain `text`.
    int linesWith(const std::string& text) const {
        int n = 0;
        for (const auto& line : lines())
            if (line.find(text) != std::string::npos) ++n;
        return n;
    }

    /// The index of the first log line (since the fixture was set up) containing `text`; -1 when none.
    int lineIndex(const std::string& text) const {
        const auto all = lines();
        for (std::size_t i = 0; i < all.size(); ++i)
            if (all[i].find(text) != std::string::npos) return static_cast<int>(i);
        return -1;
    }

    /// The global frame of the application's window titled `title`.
    platform::CGRect frameOf(pid_t pid, const std::string& title) {
        for (const auto& w : desk().windowsOf(pid))
            if (w.title == title) return w.frame;
        ADD_FAILURE() << "no window titled " << title;
        return {};
    }

    std::size_t journalCount(platform::JournalEntry::Kind kind) { return desk().journal(kind).size(); }

    std::shared_ptr<RecordingToastHost> toasts = std::make_shared<RecordingToastHost>();
    std::size_t logStart = 0;
};
