#pragma once

#include "platform/control/PicturePainter.hpp"
#include "platform/ui/declarative/Node.hpp"

#include <optional>

namespace platform::ui::declarative {

/// Draws a hosted declarative tree for the screen capture from the frames its last layout gave
/// (`Node::layoutFrame`, points, y down from the host's top-left): backgrounds, the element itself
/// (texts, buttons with their bezels, text fields, pickers with the selected option, steppers,
/// progress bars, shapes with fill and stroke, colours, images by name, dividers, web views),
/// its children in z order, then overlays; opacity is blended, and a clip shape clips the element
/// with its padding, backgrounds and overlays. A text is drawn on the lines its layout broke it
/// into (`Node::textLines`), its last line cut with "…" when it still does not fit. Representable
/// controls are the host's subviews and are drawn with the views. Elements that clip their content
/// (scroll views, stacks whose content does not fit) draw their children inside their frame only;
/// a scroll view whose content is longer than it shows its indicator. The painter must be in the
/// host's y-down space. Main thread.
class ElementPainter {
public:
    explicit ElementPainter(PicturePainter& painter)
        : p_(painter) {}

    void element(const Element& element);

private:
    void node(const Node& node, const std::optional<Color>& foreground);
    void content(const Node& node, const std::optional<Color>& foreground);
    void shape(const Node& node, const CGRect& frame);
    void textLines(const Node& node, const CGRect& frame, const PicturePainter::TextStyle& style);
    /// A scroll view's indicator, when it shows one and its content is longer than it.
    void scrollIndicator(const Node& node);

    PicturePainter& p_;
};

} // namespace platform::ui::declarative
