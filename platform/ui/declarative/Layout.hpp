#pragma once

#include "platform/ui/declarative/Node.hpp"

namespace platform::ui::declarative {

/// The declarative tree's layout: sizes from what each element asks for and what it is offered,
/// stacks sharing the room left to flexible elements (spacers along the stack's axis, colours,
/// shapes, canvases, scroll views, frames with an infinite maximum). A horizontal stack gives each
/// fixed child its fitting width; when they do not fit, its flexible children shrink first, then
/// its texts, never its fixed-size children, and what still does not fit is clipped at the stack's
/// edge (as for a vertical stack). A wrapped control in a fixed frame takes that size. A scroll
/// view shows its content moved by its `scrollOffset` and clipped to its frame. Fills
/// `Node::layoutFrame` (points, host space, y down), `clipsContent`, `visibleFrame` and
/// `scrolledOut`.
namespace Layout {
Size measure(Node& node, Size proposal);
/// Places a measured element in `rect`; nothing above it clips it.
void place(Node& node, Rect rect);
/// Measures and places the tree in `bounds`, which clip it.
void run(Node& root, Rect bounds);
} // namespace Layout

} // namespace platform::ui::declarative
