#pragma once

#include "platform/ui/declarative/Node.hpp"

namespace platform::ui::declarative {

/// The declarative tree's layout: sizes from what each element asks for and what it is offered,
/// stacks sharing the room left to flexible elements (spacers, colours, shapes, canvases, frames
/// with an infinite maximum). Fills `Node::layoutFrame` (points, host space, y down).
namespace Layout {
Size measure(Node& node, Size proposal);
void place(Node& node, Rect rect);
/// Measures and places the tree in `bounds`.
void run(Node& root, Rect bounds);
} // namespace Layout

} // namespace platform::ui::declarative
