#pragma once

#include "platform/ui/Font.hpp"
#include "platform/ui/Rect.hpp"
#include "platform/ui/WebPageText.hpp"

#include <string>
#include <vector>

namespace platform::ui {

/// Where a web view sets the blocks of its page, as a plain browser sets the help page: 16 points
/// of margin (a quarter of the width when narrower), headings in bold at 22 (level 1), 16
/// (level 2) and 15 points, other text at 15 points, lines 1.6 times the size apart, list items
/// indented by 22 points a level with their markers before them; words wrap onto the next line
/// where a line would pass the width (measured with `TextMetrics`, as the screen capture draws).
/// The screen capture draws from it and `ui show` reads what lies outside the view. Pure; any
/// thread.
class WebPageLayout {
public:
    struct Line {
        std::string text;
        /// The line's box in page space: points, y down from the page's top.
        Rect frame;
    };
    struct PlacedBlock {
        /// The block's index in the page's blocks.
        std::size_t index = 0;
        Font font;
        std::vector<Line> lines;
        /// The marker's box before the first line (right aligned in it); empty without a marker.
        Rect markerFrame;
        /// From the first line's top to the last line's bottom (page space).
        Rect frame;
        /// Where each of the block's links shows, in the order of its links (page space): a block
        /// that is one link is its whole frame; a link inside other text is the run of its text on
        /// the line where it starts (to that line's end when it goes on to the next).
        std::vector<Rect> linkFrames;
    };

    /// Lays `blocks` out `width` points wide.
    static WebPageLayout make(const std::vector<WebPageText::Block>& blocks, double width);

    const std::vector<PlacedBlock>& blocks() const { return blocks_; }
    /// The page's height: its last line's bottom and the margin below it (points).
    double height() const { return height_; }
    double width() const { return width_; }

private:
    std::vector<PlacedBlock> blocks_;
    double height_ = 0;
    double width_ = 0;
};

} // namespace platform::ui
