#pragma once

#include "snapping/RoriDeru.hpp"

namespace tilmora::testing {

/// Changes the stored rect selection of `grid` with `change`, as a test's starting point.
template <class Change>
void editSelection(RoriDeru& grid, Change change) {
    auto state = grid.rectSelection().state();
    change(state);
    grid.rectSelection().restore(state);
}

/// Changes the stored grid-preset marks of `grid` with `change`, as a test's starting point.
template <class Change>
void editMarking(RoriDeru& grid, Change change) {
    auto state = grid.presetMarking().state();
    change(state);
    grid.presetMarking().restore(state);
}

/// Changes the stored drag-session fields of `grid` with `change`, as a test's starting point.
template <class Change>
void editSession(RoriDeru& grid, Change change) {
    auto state = grid.dragSession().state();
    change(state);
    grid.dragSession().restore(state);
}

} // namespace tilmora::testing
