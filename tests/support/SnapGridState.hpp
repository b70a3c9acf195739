#pragma once

#include "support/SnapGridParts.hpp"

namespace tilmora::testing {

/// Changes the stored rect selection of `grid` with `change`, as a test's starting point.
template <class Change>
void editSelection(RoriDeru& grid, Change change) {
    auto& selection = SnapGridParts::rectSelection(grid);
    auto state = selection.state();
    change(state);
    selection.restore(state);
}

/// Changes the stored grid-preset marks of `grid` with `change`, as a test's starting point.
template <class Change>
void editMarking(RoriDeru& grid, Change change) {
    auto& marking = SnapGridParts::presetMarking(grid);
    auto state = marking.state();
    change(state);
    marking.restore(state);
}

/// Changes the stored drag-session fields of `grid` with `change`, as a test's starting point.
template <class Change>
void editSession(RoriDeru& grid, Change change) {
    auto& session = SnapGridParts::dragSession(grid);
    auto state = session.state();
    change(state);
    session.restore(state);
}

} // namespace tilmora::testing
