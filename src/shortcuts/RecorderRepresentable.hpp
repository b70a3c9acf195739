#pragma once

#include "platform/ui/declarative/Representable.hpp"
#include "shortcuts/RecorderCocoa.hpp"

namespace tilmora::KeyboardShortcuts {

/// The recorder field as a declarative representable: made once per place with the name and the
/// change handler; every rebuild only hands the field the (possibly new) name, so a new handler is
/// not picked up by a field that exists. Main thread only.
class RecorderRepresentable : public platform::ui::declarative::Representable<RecorderCocoa> {
public:
    RecorderRepresentable(Name name, RecorderCocoa::OnChange onChange)
        : name(std::move(name))
        , onChange(std::move(onChange)) {}

    Name name;
    RecorderCocoa::OnChange onChange;

    std::shared_ptr<RecorderCocoa> makeNSView(platform::ui::declarative::RepresentableContext&) override {
        return RecorderCocoa::make(name, onChange);
    }
    void updateNSView(RecorderCocoa& view, platform::ui::declarative::RepresentableContext&) override {
        view.setShortcutName(name);
    }
};

} // namespace tilmora::KeyboardShortcuts
