#pragma once

#include "model/DisplayId.hpp"
#include "model/Layout.hpp"
#include "model/LayoutId.hpp"

#include <optional>
#include <vector>

namespace tilmora {

/// Keeps the layouts. Every operation is synchronous and may be called from any thread; each
/// implementation serializes its own work.
class LayoutStore {
public:
    virtual ~LayoutStore() = default;

    /// Every stored layout, each id at most once. Throws `platform::Error` when the stored layouts
    /// cannot be decoded.
    virtual std::vector<Layout> allLayouts() = 0;

    /// The layout to use on the display; absent when none. Never throws.
    virtual std::optional<Layout> layout(const DisplayId& displayId) = 0;

    /// The stored layout with that id; absent when none. Never throws.
    virtual std::optional<Layout> layout(const LayoutId& id) = 0;

    /// Afterwards the store holds `layout` under its id and no earlier layout with that id remains.
    /// Throws `platform::Error` when the layouts cannot be encoded or written (an unreadable or
    /// undecodable store counts as empty here).
    virtual void save(const Layout& layout) = 0;

    /// Afterwards no layout with that id is stored; an id that is not stored is no error. Throws
    /// `platform::Error` when the layouts cannot be encoded or written (an unreadable or undecodable
    /// store counts as empty here).
    virtual void deleteLayout(const LayoutId& layoutId) = 0;
};

} // namespace tilmora
