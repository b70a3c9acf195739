#pragma once

#include "platform/ui/PopUpButton.hpp"
#include "platform/ui/declarative/Binding.hpp"
#include "preferences/PopupOption.hpp"
#include "preferences/PreferencesControl.hpp"

#include <functional>
#include <vector>

namespace tilmora {

/// A pop-up menu of the preferences form (the language and the capture rule): one item per option
/// titled with its name, rebuilt on every update; the selected item is the first option whose
/// code equals `selection`, else the first item. Choosing an item writes its code (the empty code
/// when no item is selected) and then calls `onChange` with it. Main thread only.
class LanguagePopup : public PreferencesControl<LanguagePopup, platform::ui::PopUpButton> {
public:
    LanguagePopup(std::vector<PopupOption> options, platform::ui::declarative::Binding<std::string> selection,
                  std::function<void(const std::string&)> onChange)
        : options(std::move(options))
        , selection(std::move(selection))
        , onChange(std::move(onChange)) {}

    std::vector<PopupOption> options;
    platform::ui::declarative::Binding<std::string> selection;
    std::function<void(const std::string&)> onChange;

    std::shared_ptr<platform::ui::PopUpButton> make(const std::shared_ptr<platform::ui::Responder>& target) const;
    void update(platform::ui::PopUpButton& popUp) const;

    /// The action: writes the chosen item's code (empty when none is selected), calls the handler.
    void changed(platform::ui::PopUpButton& popUp);
};

} // namespace tilmora
