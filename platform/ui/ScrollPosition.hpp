#pragma once

#include <cstddef>
#include <limits>

namespace platform::ui {

/// Where a scrollable area stands along its axis, and the one rule by which it moves: by points
/// (a scroll view, a web page: the offset from the content's start) or by whole rows (a list
/// that makes its rows on demand: the first row it shows). The wheel, a move by points and
/// bringing a span into view all go through it. A value; main thread.
class ScrollPosition {
public:
    enum class Unit { points, rows };

    /// What limits a move: the content's overhang past the visible part (points; unbounded when
    /// the layout limits the offset afterwards), and for rows the height of one row (points) and
    /// the number of rows.
    struct Limits {
        double overhang = std::numeric_limits<double>::infinity();
        double rowHeight = 0;
        std::size_t rowCount = 0;
    };

    explicit ScrollPosition(Unit unit = Unit::points)
        : unit_(unit) {}

    Unit unit() const { return unit_; }
    /// Points from the content's start (a points area).
    double offset() const { return offset_; }
    /// The first row shown (a rows area).
    std::size_t firstRow() const { return firstRow_; }
    /// Sets the offset: not finite or negative becomes 0.
    void setOffset(double points);
    /// Sets the first row, limited to the last of `rowCount` rows (0 when there is none).
    void setFirstRow(std::size_t row, std::size_t rowCount);
    /// Limits the offset to [0, overhang] (points).
    void limitTo(double overhang);

    /// Moves by `delta` points towards the content's end (negative: back towards its start). A
    /// points area moves by `delta` within [0, overhang]; a rows area by as many rows of
    /// `rowHeight` as go into `delta` (at least one; by one when the row height is unknown),
    /// within the first and the last row. False when `delta` is 0 or not finite or the position
    /// did not change.
    bool scrollBy(double delta, const Limits& limits);

    /// The distance (points) to scroll so that the span [start, end] lies in the shown span
    /// [from, to]: 0 when it does, to its start when it is longer than the shown span.
    static double revealDistance(double start, double end, double from, double to);

private:
    Unit unit_;
    double offset_ = 0;
    std::size_t firstRow_ = 0;
};

} // namespace platform::ui
