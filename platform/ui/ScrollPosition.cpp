#include "platform/ui/ScrollPosition.hpp"

#include <algorithm>
#include <cmath>

namespace platform::ui {

void ScrollPosition::setOffset(double points) {
    offset_ = std::isfinite(points) ? std::max(0.0, points) : 0;
}

void ScrollPosition::setFirstRow(std::size_t row, std::size_t rowCount) {
    firstRow_ = rowCount == 0 ? 0 : std::min(row, rowCount - 1);
}

void ScrollPosition::limitTo(double overhang) {
    offset_ = std::clamp(offset_, 0.0, std::max(0.0, overhang));
}

bool ScrollPosition::scrollBy(double delta, const Limits& limits) {
    if (delta == 0 || !std::isfinite(delta)) return false;
    if (unit_ == Unit::points) {
        const double before = offset_;
        offset_ = std::max(0.0, before + delta);
        if (offset_ > limits.overhang) offset_ = std::max(0.0, limits.overhang);
        return offset_ != before;
    }
    // By whole rows: as many as the row's height goes into the distance, at least one.
    const double count = double(limits.rowCount);
    const double wanted =
        limits.rowHeight > 0 ? std::clamp(std::round(delta / limits.rowHeight), -count, count) : 0;
    const double rows = wanted != 0 ? wanted : (delta > 0 ? 1 : -1);
    const double last = count == 0 ? 0 : count - 1;
    const std::size_t next = std::size_t(std::clamp(double(firstRow_) + rows, 0.0, last));
    if (next == firstRow_) return false;
    firstRow_ = next;
    return true;
}

double ScrollPosition::revealDistance(double start, double end, double from, double to) {
    if (start < from) return start - from;
    if (end > to) return std::min(end - to, start - from);
    return 0;
}

} // namespace platform::ui
