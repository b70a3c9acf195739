#include "platform/ui/GridView.hpp"

#include <numeric>

namespace platform::ui {

std::shared_ptr<GridView> GridView::withViews(const std::vector<std::vector<std::shared_ptr<View>>>& rows) {
    auto g = std::make_shared<GridView>();
    for (auto& r : rows)
        g->columns_ = std::max(g->columns_, r.size());
    for (auto r : rows) {
        r.resize(g->columns_);
        for (auto& v : r)
            if (v) g->addSubview(v);
        g->rows_.push_back(std::move(r));
    }
    return g;
}

std::shared_ptr<View> GridView::cellView(size_t column, size_t row) const {
    if (row >= rows_.size() || column >= columns_) return nullptr;
    return rows_[row][column];
}

std::vector<double> GridView::columnWidths() const {
    std::vector<double> w(columns_, 0);
    for (auto& r : rows_)
        for (size_t c = 0; c < columns_; ++c)
            if (r[c]) w[c] = std::max(w[c], r[c]->fittingSize().width);
    return w;
}

std::vector<double> GridView::rowHeights() const {
    std::vector<double> h;
    for (auto& r : rows_) {
        double m = 0;
        for (auto& v : r)
            if (v) m = std::max(m, v->fittingSize().height);
        h.push_back(m);
    }
    return h;
}

Size GridView::fittingSize() const {
    auto w = columnWidths();
    auto h = rowHeights();
    double W =
        std::accumulate(w.begin(), w.end(), 0.0) + (w.size() > 1 ? columnSpacing * double(w.size() - 1) : 0);
    double H =
        std::accumulate(h.begin(), h.end(), 0.0) + (h.size() > 1 ? rowSpacing * double(h.size() - 1) : 0);
    return {widthConstraint.value_or(W), heightConstraint.value_or(H)};
}

void GridView::layout() {
    auto w = columnWidths();
    auto h = rowHeights();
    double top = frame().height();
    for (size_t r = 0; r < rows_.size(); ++r) {
        top -= h[r];
        double x = 0;
        for (size_t c = 0; c < columns_; ++c) {
            if (auto& v = rows_[r][c]) {
                Size s = v->fittingSize();
                v->setFrame({x, top + (h[r] - s.height) / 2, s.width, s.height});
            }
            x += w[c] + columnSpacing;
        }
        top -= rowSpacing;
    }
}

} // namespace platform::ui
