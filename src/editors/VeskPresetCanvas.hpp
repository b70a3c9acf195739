#pragma once

#include "editors/VeskLayoutEditorController.hpp"

#include "platform/ui/Color.hpp"
#include "platform/ui/Path.hpp"
#include "platform/ui/declarative/ViewBase.hpp"

#include <memory>
#include <optional>
#include <string>
#include <utility>

namespace tilmora {

/// The middle column of the preset editor: a picture of the display, `previewAspectRatio` wide per
/// unit of height and fitted into the space it is offered, on which the preset under edit is drawn.
/// Back to front: black; a grid preset's guide lines; one tile per tile of the controller
/// ("tile.<UUID>", a tap selects it); the rectangle being drawn; a rounded border; and, while there
/// is no tile and no drag, a hint. A drag anywhere on the canvas ("canvas", minimum distance 0)
/// draws the tile of a single-tile preset.
///
/// Canvas points have their origin at the canvas's top-left corner, y down; the controller gets
/// them normalised to the canvas size (fractions 0 to 1, clamped). Holds no state of its own; texts
/// are looked up again whenever `localizationVersion` changes. Main thread.
class VeskPresetCanvas : public platform::ui::declarative::Component<VeskPresetCanvas> {
public:
    VeskPresetCanvas(std::shared_ptr<VeskLayoutEditorController> controller, double previewAspectRatio,
                     int localizationVersion)
        : controller(this, std::move(controller))
        , previewAspectRatio(previewAspectRatio)
        , localizationVersion(localizationVersion) {}
    /// Takes a new description's inputs; the looked-up texts stay while the counter does.
    VeskPresetCanvas& operator=(const VeskPresetCanvas& other) {
        controller = other.controller;
        previewAspectRatio = other.previewAspectRatio;
        localizationVersion = other.localizationVersion;
        return *this;
    }

    platform::ui::declarative::ObservedObject<VeskLayoutEditorController> controller;
    /// Width per unit of height of the canvas.
    double previewAspectRatio;
    /// The parent's language counter; read before every text lookup.
    int localizationVersion;

    platform::ui::declarative::Element body() override;

    /// The location (canvas points, y down) as fractions of the canvas size, each clamped to 0...1;
    /// (0, 0) when the canvas has no positive width or height.
    static platform::CGPoint normalisedPoint(platform::ui::Point location, platform::ui::Size canvas);
    /// The guide lines of a grid of max(rows, 1) by max(cols, 1) cells over a canvas of `size`,
    /// borders included: rows + 1 horizontal lines, then cols + 1 vertical ones.
    static platform::ui::Path gridLines(long rows, long cols, platform::ui::Size size);
    /// Tile styling for the kind under edit.
    static platform::ui::Color tileFill(VeskPresetKind kind, bool isSelected);
    static platform::ui::Color tileStroke(VeskPresetKind kind, bool isSelected);
    static double tileLineWidth(bool isSelected);

    /// One change of the drag at `location` on a canvas of `size`: on a single-tile preset, sets
    /// the start point (first change only) and the current point.
    void dragChanged(platform::ui::Point location, platform::ui::Size size);
    /// The end of the drag at `location`: clears both points and, on a single-tile preset, adds
    /// the rectangle from the start point to `location` when it is more than 0.02 wide and high.
    void dragEnded(platform::ui::Point location, platform::ui::Size size);

private:
    /// The hint's title and instructions, looked up again when `localizationVersion` changes.
    std::optional<std::pair<std::string, std::string>> hintTexts_;
    int hintVersion_ = 0;
};

} // namespace tilmora
