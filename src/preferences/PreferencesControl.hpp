#pragma once

#include "platform/ui/declarative/Representable.hpp"
#include "preferences/ControlCoordinator.hpp"

#include <memory>

namespace tilmora {

/// The base of the preferences form's controls (`CheckBox`, `ValueSlider`, `LanguagePopup`), each a
/// representable over the toolkit view `View`: its coordinator is a `ControlCoordinator` that keeps
/// a copy of the control (`Control`, the derived class, which answers `changed(View&)`) and whose
/// copy each `updateNSView` refreshes. Main thread only.
template <class Control, class View>
class PreferencesControl : public platform::ui::declarative::Representable<View> {
public:
    using Coordinator = ControlCoordinator<Control, View>;

    std::shared_ptr<platform::ui::Responder> makeCoordinator() override {
        return std::make_shared<Coordinator>(static_cast<const Control&>(*this));
    }
};

} // namespace tilmora
