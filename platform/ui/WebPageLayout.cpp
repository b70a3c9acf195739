#include "platform/ui/WebPageLayout.hpp"

#include "platform/ui/TextMetrics.hpp"

#include <algorithm>

namespace platform::ui {

WebPageLayout WebPageLayout::make(const std::vector<WebPageText::Block>& blocks, double width) {
    using Kind = WebPageText::Kind;
    WebPageLayout page;
    page.width_ = std::max(0.0, width);
    const double margin = std::min(16.0, page.width_ / 4);
    double top = margin;
    for (std::size_t index = 0; index < blocks.size(); ++index) {
        const auto& block = blocks[index];
        PlacedBlock placed;
        placed.index = index;
        placed.font = Font{15, "regular", false};
        double before = 6, after = 10, indent = 0;
        if (block.kind == Kind::heading) {
            placed.font = Font{block.level == 1 ? 22.0 : block.level == 2 ? 16.0 : 15.0, "bold", false};
            before = block.level == 1 ? 6 : 18;
            after = block.level == 1 ? 12 : 8;
        } else if (block.kind == Kind::item) {
            before = after = 4;
            indent = 22.0 * std::max(1, block.level);
        }
        const double lineHeight = placed.font.pointSize * 1.6;
        const double left = margin + indent;
        const double lineWidth = std::max(0.0, page.width_ - margin - left);
        top += before;
        const double first = top;
        for (auto& text : TextMetrics::lines(block.text, lineWidth, placed.font)) {
            if (placed.lines.empty() && !block.marker.empty()) placed.markerFrame = {left - 28, top, 22, lineHeight};
            placed.lines.push_back({std::move(text), {left, top, lineWidth, lineHeight}});
            top += lineHeight;
        }
        placed.frame = {left, first, lineWidth, top - first};
        top += after;
        page.blocks_.push_back(std::move(placed));
    }
    page.height_ = top + margin;
    return page;
}

} // namespace platform::ui
