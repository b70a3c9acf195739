#pragma once

#include "platform/ui/Responder.hpp"

#include <memory>

namespace tilmora {

/// The target of a control of the preferences form (`CheckBox`, `ValueSlider`, `LanguagePopup`):
/// keeps a copy of the control value, replaced on every update (`refresh`), and answers
/// "changed:" from a `View` by calling the copy's `changed(view)`; a sender of another kind is
/// ignored. Main thread only.
template <class Control, class View>
class ControlCoordinator : public platform::ui::Responder {
public:
    explicit ControlCoordinator(Control parent)
        : parent(std::move(parent)) {
        registerAction("changed:", [this](platform::ui::Responder* sender) {
            if (auto* view = dynamic_cast<View*>(sender)) this->parent.changed(*view);
        });
    }

    Control parent;

    /// Puts `control` in place of the copy that `coordinator` keeps, when it is one of these.
    static void refresh(const std::shared_ptr<platform::ui::Responder>& coordinator, const Control& control) {
        if (auto own = std::dynamic_pointer_cast<ControlCoordinator>(coordinator)) own->parent = control;
    }
};

} // namespace tilmora
