#include "platform/ui/WebPageLayout.hpp"

#include "platform/ui/TextMetrics.hpp"

#include <algorithm>

namespace platform::ui {

namespace {

/// The run of `link`'s text (searched in `text` from `from`, which then moves past it) on the line
/// of `placed` where it starts; an empty rectangle when the text holds no such run.
Rect inlineLinkFrame(const WebPageLayout::PlacedBlock& placed, const std::string& text,
                     const std::string& link, std::size_t& from) {
    const std::size_t start = link.empty() ? std::string::npos : text.find(link, from);
    if (start == std::string::npos) return {};
    const std::size_t end = start + link.size();
    from = end;
    // Each line is a run of the text; the blanks where the text broke are dropped.
    std::size_t lineStart = 0;
    for (const auto& line : placed.lines) {
        lineStart = std::min(text.find(line.text, lineStart), text.size());
        const std::size_t lineEnd = lineStart + line.text.size();
        if (start < lineEnd || &line == &placed.lines.back()) {
            const double x0 =
                TextMetrics::width(text.substr(lineStart, start - std::min(start, lineStart)), placed.font);
            const std::size_t runEnd = std::max(std::min(end, lineEnd), lineStart);
            const double x1 = TextMetrics::width(text.substr(lineStart, runEnd - lineStart), placed.font);
            return {line.frame.minX() + x0, line.frame.minY(), std::max(0.0, x1 - x0), line.frame.height()};
        }
        lineStart = lineEnd;
    }
    return {};
}

} // namespace

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
        std::size_t searched = 0;
        for (const auto& link : block.links)
            placed.linkFrames.push_back(
                block.isLink() ? placed.frame : inlineLinkFrame(placed, block.text, link.text, searched));
        top += after;
        page.blocks_.push_back(std::move(placed));
    }
    page.height_ = top + margin;
    return page;
}

} // namespace platform::ui
