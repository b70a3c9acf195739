#pragma once

#include "platform/ui/declarative/Representable.hpp"
#include "shortcuts/RecorderField.hpp"

namespace tilmora::GlobalShortcuts {

/// The recorder field as a declarative representable: made once per place with the name and the
/// change handler; every rebuild only hands the field the (possibly new) name, so a new handler is
/// not picked up by a field that exists. Main thread only.
class RecorderRepresentable : public platform::ui::declarative::Representable<RecorderField> {
public:
    RecorderRepresentable(Name name, RecorderField::OnChange onChange)
        : name(std::move(name))
        , onChange(std::move(onChange)) {}

    Name name;
    RecorderField::OnChange onChange;

    std::shared_ptr<RecorderField> makeNSView(platform::ui::declarative::RepresentableContext&) override {
        return RecorderField::make(name, onChange);
    }
    void updateNSView(RecorderField& view, platform::ui::declarative::RepresentableContext&) override {
        view.setShortcutName(name);
    }
};

} // namespace tilmora::GlobalShortcuts
