#pragma once

#include "model/DisplayProvider.hpp"

namespace tilmora {

/// The system's display provider: lists the connected screens as display descriptors. Holds no
/// state; create it with no arguments wherever a `DisplayProvider` is needed. Main thread; logs
/// nothing.
class SystemDisplayProvider : public DisplayProvider {
public:
    /// One descriptor per screen of the screen list, in its order (the screen with the menu bar
    /// first): id the screen's `tlm_identifierString`, name its localized name, bounds its visible
    /// frame (points, global coordinates, y up), scaleFactor its backing scale. Nothing is sorted,
    /// filtered or de-duplicated; no screens give an empty list.
    std::vector<DisplayDescriptor> currentDisplays() override;
};

} // namespace tilmora
