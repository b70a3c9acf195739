#include "shortcuts/FormLabel.hpp"

namespace tilmora::GlobalShortcuts {

using namespace platform::ui::declarative;

Element formLabel(Element view, Element label) {
    view.labelsHidden().alignmentGuide(controlAlignment, "leading");
    Element row = HStack(Alignment::firstTextBaseline, std::nullopt, {std::move(label), std::move(view)});
    row.alignmentGuide("leading", controlAlignment);
    return row;
}

} // namespace tilmora::GlobalShortcuts
