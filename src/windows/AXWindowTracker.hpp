#pragma once

#include "platform/desktop/AXUIElement.hpp"

#include <cstdint>
#include <optional>
#include <unordered_set>

namespace tilmora::WindowManager {

/// Which Accessibility windows of one application a restore has already given to a saved window,
/// so that two saved windows never take the same live one. A plain value, passed in-out; the
/// restore reads the sizes of its two sets.
struct AXWindowTracker {
    /// Identities of the elements given out.
    std::unordered_set<platform::AXUIElement> usedElements;
    /// Window numbers of the elements given out that had one.
    std::unordered_set<std::int64_t> usedWindowNumbers;

    /// Whether a window counts as used: by its number when it has one (`windowNumber`, as read from
    /// the element), else by its element.
    bool isUsed(const platform::AXUIElement& element, std::optional<std::int64_t> windowNumber) const {
        if (windowNumber) return usedWindowNumbers.count(*windowNumber) != 0;
        return usedElements.count(element) != 0;
    }

    /// Records a window: its element always, its number when it has one.
    void record(const platform::AXUIElement& element, std::optional<std::int64_t> windowNumber) {
        usedElements.insert(element);
        if (windowNumber) usedWindowNumbers.insert(*windowNumber);
    }
};

} // namespace tilmora::WindowManager
