#pragma once

#include "platform/ui/Button.hpp"
#include "platform/ui/declarative/Binding.hpp"
#include "preferences/PreferencesControl.hpp"

#include <functional>
#include <string>

namespace tilmora {

/// A check box of the preferences form: the toolkit's check-box button with `title` beside it
/// (already localized), its state bound to `isOn`. A click writes the new state to the binding,
/// even when it is unchanged, and then calls `onChange` with it. Main thread only.
class CheckBox : public PreferencesControl<CheckBox, platform::ui::Button> {
public:
    CheckBox(std::string title, platform::ui::declarative::Binding<bool> isOn,
             std::function<void(bool)> onChange = nullptr)
        : title(std::move(title))
        , isOn(std::move(isOn))
        , onChange(std::move(onChange)) {}

    std::string title;
    platform::ui::declarative::Binding<bool> isOn;
    std::function<void(bool)> onChange;

    std::shared_ptr<platform::ui::Button> make(const std::shared_ptr<platform::ui::Responder>& target) const;
    void update(platform::ui::Button& button) const;

    /// The action: reads the button's state (on is 1), writes it, calls the handler.
    void changed(platform::ui::Button& button);
};

} // namespace tilmora
