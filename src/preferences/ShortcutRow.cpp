#include "preferences/ShortcutRow.hpp"

#include "shortcuts/Recorder.hpp"

namespace tilmora {

namespace decl = platform::ui::declarative;

decl::Element ShortcutRow::element() const {
    decl::FrameSpec column;
    column.width = labelWidth;
    column.alignment = decl::Alignment::leading;
    return decl::HStack(decl::Alignment::center, std::nullopt,
                        {decl::Text(label).frame(column), GlobalShortcuts::Recorder::make(name, onChange),
                         decl::Spacer()})
        .id("shortcut." + name.rawValue);
}

} // namespace tilmora
