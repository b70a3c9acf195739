#pragma once

#include "platform/ui/declarative/Representable.hpp"
#include "preferences/ControlCoordinator.hpp"

#include <memory>

namespace tilmora {

/// The base of the preferences form's controls (`CheckBox`, `ValueSlider`, `LanguagePopup`), each a
/// representable over the toolkit view `View`: its coordinator is a `ControlCoordinator` that keeps
/// a copy of the control (`Control`, the derived class) and whose copy each update refreshes. The
/// derived class answers `make(target)` (the toolkit view, sending "changed:" to `target`),
/// `update(view)` (shows the control's current value) and `changed(view)` (the view's action).
/// Main thread only.
template <class Control, class View>
class PreferencesControl : public platform::ui::declarative::Representable<View> {
public:
    using Coordinator = ControlCoordinator<Control, View>;

    std::shared_ptr<platform::ui::Responder> makeCoordinator() override {
        return std::make_shared<Coordinator>(control());
    }
    std::shared_ptr<View> makeNSView(platform::ui::declarative::RepresentableContext& context) override {
        return control().make(context.coordinator);
    }
    void updateNSView(View& view, platform::ui::declarative::RepresentableContext& context) override {
        control().update(view);
        Coordinator::refresh(context.coordinator, control());
    }

private:
    const Control& control() const { return static_cast<const Control&>(*this); }
};

} // namespace tilmora
