#pragma once

#include "platform/ui/View.hpp"

namespace platform::ui {

/// A grid of views in rows and columns (rows from the top down): row and column spacing; its
/// fitting size is the widest view of each column and the tallest of each row, plus spacing.
/// Main thread only.
class GridView : public View {
public:
    /// A grid from rows of views; shorter rows are padded with empty cells.
    static std::shared_ptr<GridView> withViews(const std::vector<std::vector<std::shared_ptr<View>>>& rows);

    double rowSpacing = 6;
    double columnSpacing = 6;

    size_t numberOfRows() const { return rows_.size(); }
    size_t numberOfColumns() const { return columns_; }
    /// The view of a cell; null for an empty cell or one out of range.
    std::shared_ptr<View> cellView(size_t column, size_t row) const;
    const std::vector<std::vector<std::shared_ptr<View>>>& rows() const { return rows_; }

    Size fittingSize() const override;
    void layout() override;

private:
    std::vector<double> columnWidths() const;
    std::vector<double> rowHeights() const;
    std::vector<std::vector<std::shared_ptr<View>>> rows_;
    size_t columns_ = 0;
};

} // namespace platform::ui
