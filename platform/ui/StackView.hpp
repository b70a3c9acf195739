#pragma once

#include "platform/ui/View.hpp"

namespace platform::ui {

enum class UserInterfaceOrientation { horizontal = 0, vertical = 1 };
enum class LayoutAttribute {
    left = 1,
    right = 2,
    top = 3,
    bottom = 4,
    leading = 5,
    trailing = 6,
    width = 7,
    height = 8,
    centerX = 9,
    centerY = 10,
    firstBaseline = 12
};
enum class StackDistribution {
    gravityAreas = -1,
    fill = 0,
    fillEqually = 1,
    fillProportionally = 2,
    equalSpacing = 3,
    equalCentering = 4
};

/// A stack of arranged views along one axis (vertical stacks run from the top down): spacing,
/// edge insets, cross-axis alignment and distribution. Hidden arranged views take no room.
/// Its fitting size is the arranged views' fitting sizes plus spacing and insets. Main thread only.
class StackView : public View {
public:
    StackView() = default;
    static std::shared_ptr<StackView> withViews(const std::vector<std::shared_ptr<View>>& views);

    UserInterfaceOrientation orientation = UserInterfaceOrientation::horizontal;
    LayoutAttribute alignment = LayoutAttribute::centerY;
    StackDistribution distribution = StackDistribution::gravityAreas;
    double spacing = 8;
    EdgeInsets edgeInsets;
    bool detachesHiddenViews = true;

    const std::vector<std::shared_ptr<View>>& arrangedSubviews() const { return arranged_; }
    void addArrangedSubview(const std::shared_ptr<View>& view);
    void insertArrangedSubview(const std::shared_ptr<View>& view, size_t index);
    /// Stops arranging the view; it stays a subview (remove it from the superview as well to drop it).
    void removeArrangedSubview(const std::shared_ptr<View>& view);

    Size fittingSize() const override;
    void layout() override;

private:
    std::vector<std::shared_ptr<View>> arranged_;
};

} // namespace platform::ui
