#pragma once

#include "model/Rect.hpp"

#include <string>
#include <unordered_map>

namespace tilmora {

/// The rectangles the window commands remember per window key, for the restore commands: the
/// rectangle before the latest recording command, and the one before the first recording command
/// of this run (the baseline, never replaced). Main thread.
class WindowRectMemory {
public:
    using RectByKey = std::unordered_map<std::string, Rect>;

    /// Per window key, the window's rectangle before the latest recording command.
    const RectByKey& last() const { return last_; }
    /// Per window key, the window's rectangle before the first recording command of this run.
    const RectByKey& baseline() const { return baseline_; }

    /// Stores `currentRect` as the baseline of `key` (and logs it) unless it has one.
    void captureBaselineIfNeeded(const std::string& key, const Rect& currentRect);
    /// Records a window about to be moved by a command: its baseline if it has none, and its last
    /// rectangle.
    void record(const std::string& key, const Rect& currentRect);

private:
    RectByKey last_;
    RectByKey baseline_;
};

} // namespace tilmora
