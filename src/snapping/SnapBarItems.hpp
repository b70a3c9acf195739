#pragma once

#include "model/SnapIconKind.hpp"

#include <vector>

namespace tilmora {

/// One icon button of the snap bar: the kind it acts for, the action selector it sends to the
/// action target and the localization key of its tooltip.
struct SnapBarItem {
    SnapIconKind kind;
    const char* selector;
    const char* tooltipKey;
};

/// The 31 icon buttons of the snap bar in bar order (the centred kinds, maximize and almost
/// maximize come before the quarters and sixths; native full screen and the grid kinds are absent).
const std::vector<SnapBarItem>& snapBarItems();

} // namespace tilmora
