#pragma once

#include "editors/VeskLayoutEditorController.hpp"

#include "platform/ui/declarative/ViewBase.hpp"

#include <map>
#include <memory>
#include <string>

namespace tilmora {

/// The content of the preset editor window of one display: a header ("Presets for <display>"),
/// then the presets panel (230 points wide: the list, "New Grid", "New Tile", "Delete Preset"),
/// the canvas (`VeskPresetCanvas`, the remaining width) and the inspector (280 points wide: name,
/// kind, rows and columns, tile details) side by side, and a bottom bar with the status line and
/// "Save Preset". It draws one controller's state and calls its operations; its only state is a
/// counter that "AppLanguageDidChange" increments, so that every text is looked up again in the
/// new language.
///
/// Element ids: "presets.row.<UUID>" (a preset's row; its context menu deletes that preset),
/// "inspector.name" (Return saves), "inspector.rows", "inspector.cols" (steppers 1 to 12, enabled
/// for a grid), "canvas" and "tile.<UUID>". Points y down from the view's top-left. Main thread.
class VeskLayoutEditorView : public platform::ui::declarative::Component<VeskLayoutEditorView> {
public:
    VeskLayoutEditorView(std::shared_ptr<VeskLayoutEditorController> controller, std::string displayName,
                         double previewAspectRatio)
        : controller(this, std::move(controller))
        , displayName(std::move(displayName))
        , previewAspectRatio(previewAspectRatio) {}
    /// Takes a new description's inputs; the state and the looked-up texts stay.
    VeskLayoutEditorView& operator=(const VeskLayoutEditorView& other) {
        controller = other.controller;
        displayName = other.displayName;
        previewAspectRatio = other.previewAspectRatio;
        return *this;
    }

    platform::ui::declarative::ObservedObject<VeskLayoutEditorController> controller;
    /// The display's localized name, for the header.
    std::string displayName;
    /// Width per unit of height of the canvas.
    double previewAspectRatio;
    /// Incremented on every "AppLanguageDidChange"; read before every text lookup.
    platform::ui::declarative::State<int> localizationVersion{this, 0};

    platform::ui::declarative::Element body() override;

private:
    /// The text of `key` in the language in force, looked up once per value of
    /// `localizationVersion`.
    std::string text(const char* key) const;
    platform::ui::declarative::Element header();
    platform::ui::declarative::Element mainContent();
    platform::ui::declarative::Element presetsPanel();
    platform::ui::declarative::Element presetRow(const VeskPreset& preset);
    platform::ui::declarative::Element inspectorPanel();
    platform::ui::declarative::Element bottomBar();

    /// The texts looked up since `localizationVersion` last changed.
    mutable std::map<std::string, std::string> texts_;
    mutable int textsVersion_ = -1;
};

} // namespace tilmora
