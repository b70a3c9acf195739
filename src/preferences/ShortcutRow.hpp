#pragma once

#include "platform/ui/declarative/Elements.hpp"
#include "shortcuts/Name.hpp"
#include "shortcuts/RecorderField.hpp"

#include <string>

namespace tilmora {

/// A row of the preferences' shortcut list: the label (already localized) in a column
/// `labelWidth` points wide, leading, then the recorder of `name`, then a spacer. The recorder
/// calls `onChange` after a chord was recorded or cleared. Main thread only.
struct ShortcutRow {
    std::string label;
    GlobalShortcuts::Name name;
    double labelWidth = 0;
    GlobalShortcuts::RecorderField::OnChange onChange;

    /// The row's horizontal stack, with the id "shortcut.<raw value>"; the recorder's field is
    /// identified by the raw value itself.
    platform::ui::declarative::Element element() const;
};

} // namespace tilmora
