#pragma once

#include "platform/ui/declarative/ViewBase.hpp"
#include "shortcuts/Name.hpp"

namespace tilmora::GlobalShortcuts {

/// The view behind `globalKeyboardShortcut`: its content with the name's chord as keyboard
/// shortcut, none while a recorder records (`isRecorderActive`, from the recorders' active-status
/// notification; one without a Boolean "isActive" counts as inactive). A change notification of the
/// name toggles `triggerRefresh`, the content's identity, so the content is built anew. Main thread.
class GlobalKeyboardShortcutViewModifier
    : public platform::ui::declarative::Component<GlobalKeyboardShortcutViewModifier> {
public:
    GlobalKeyboardShortcutViewModifier(platform::ui::declarative::Element content, Name name)
        : content(std::move(content))
        , name(std::move(name)) {}

    platform::ui::declarative::Element body() override;

    platform::ui::declarative::State<bool> isRecorderActive{this, false};
    platform::ui::declarative::State<bool> triggerRefresh{this, false};
    platform::ui::declarative::Element content;
    Name name;
};

} // namespace tilmora::GlobalShortcuts
