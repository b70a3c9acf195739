#pragma once

#include "snapshots/WindowAttributes.hpp"

#include <cstdint>
#include <optional>

namespace tilmora {

/// A copy of one saved window, safe to hand to any thread: every stored attribute and the row's
/// id in the store (none while the window is not saved yet).
struct WindowValue : WindowAttributes {
    std::optional<std::int64_t> rowID;

    bool operator==(const WindowValue&) const = default;
};

} // namespace tilmora
