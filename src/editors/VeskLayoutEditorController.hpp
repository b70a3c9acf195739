#pragma once

#include "model/Rect.hpp"
#include "model/VeskPreset.hpp"

#include "platform/desktop/Geometry.hpp"
#include "platform/foundation/Text.hpp"
#include "platform/foundation/Uuid.hpp"
#include "platform/ui/declarative/ViewBase.hpp"

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tilmora {

/// The whole state of the preset editor of one display and every editing operation on it:
/// choosing a preset, beginning a new grid or single-tile preset, keeping the tiles in step with
/// the kind and the grid size, validating, saving and deleting. It never touches the layout store:
/// the opener hands it the display's presets and two closures that save and delete there.
///
/// An observable object: every write of a published value tells the observing views first. The
/// writes of `editingKind`, `gridRows` and `gridCols` go through their setters, which run the
/// change observers after every write (a new kind, or a new grid size of a grid preset, rebuilds
/// the tiles), except while an operation below has them suppressed. Every other setter changes only
/// its own value.
///
/// Rectangles and points are normalised to the display: fractions 0 to 1 of its width and height,
/// origin at the top-left corner, y down. Texts come from `LocalizationManager` (the default table);
/// the "…Format" texts are filled through `platform::Text::format`, so a translation whose
/// conversion does not fit its argument shows unfilled. While `settings::verboseLogging` is true, every
/// operation prints one "[VESK][EDITOR] …" line through `print`. Main thread only.
class VeskLayoutEditorController : public platform::ui::declarative::ObservableObject {
public:
    /// Persists one preset; throws `platform::Error` when it cannot.
    using SavePreset = std::function<void(const VeskPreset&)>;
    /// Removes one preset by id; throws `platform::Error` when it cannot.
    using DeletePreset = std::function<void(const platform::UUID&)>;

    /// Lists `presets` by `sortOrder` (stable), logs "init displayId=<id> presets=<n>", then selects
    /// `selectedPresetID`, else the first of `presets` as passed (before sorting), else begins a new
    /// grid preset. Empty closures count as success.
    VeskLayoutEditorController(std::vector<VeskPreset> presets, std::string displayId,
                               std::optional<platform::UUID> selectedPresetID, SavePreset onSavePreset,
                               DeletePreset onDeletePreset);

    // Published state.
    const std::vector<VeskPreset>& presets() const { return presets_.get(); }
    const std::optional<platform::UUID>& selectedPresetID() const { return selectedPresetID_.get(); }
    const std::string& editingName() const { return editingName_.get(); }
    void setEditingName(std::string name) { editingName_.set(std::move(name)); }
    VeskPresetKind editingKind() const { return editingKind_.get(); }
    /// Writes the kind; a different kind than before keeps one tile (to a single tile) or rebuilds
    /// the grid (to a grid).
    void setEditingKind(VeskPresetKind kind);
    const std::vector<VeskTile>& tiles() const { return tiles_.get(); }
    const std::optional<platform::UUID>& selectedTileID() const { return selectedTileID_.get(); }
    void setSelectedTileID(std::optional<platform::UUID> id) { selectedTileID_.set(std::move(id)); }
    long gridRows() const { return gridRows_.get(); }
    /// Writes the row count; a different count while a grid is edited rebuilds the grid.
    void setGridRows(long rows);
    long gridCols() const { return gridCols_.get(); }
    /// Writes the column count; a different count while a grid is edited rebuilds the grid.
    void setGridCols(long cols);
    /// The normalised start and current point of a drag on the canvas.
    const std::optional<platform::CGPoint>& dragStart() const { return dragStart_.get(); }
    void setDragStart(std::optional<platform::CGPoint> p) { dragStart_.set(std::move(p)); }
    const std::optional<platform::CGPoint>& dragCurrent() const { return dragCurrent_.get(); }
    void setDragCurrent(std::optional<platform::CGPoint> p) { dragCurrent_.set(std::move(p)); }
    const std::optional<std::string>& statusMessage() const { return statusMessage_.get(); }

    /// The text form of the identifier of the display the presets belong to.
    const std::string& displayId() const { return displayId_; }

    /// True when the trimmed name is not empty and there is at least one tile.
    bool canSave() const;
    /// True when `selectedPresetID` names a preset of `presets`.
    bool editingPresetIsExisting() const;

    /// Loads a preset into the editing state (a grid preset shows a fresh uniform grid of the
    /// dimensions inferred from its tiles, else of the current ones), or begins a new grid preset
    /// when `id` is absent or names no preset. Logs two "selectPreset …" lines.
    void selectPreset(const std::optional<platform::UUID>& id);
    /// Begins a new, unsaved grid preset of the current rows and columns, its first tile selected.
    /// Logs "beginNewGridPreset rows=… cols=… tiles=…".
    void beginNewGridPreset();
    /// Begins a new, unsaved single-tile preset with one tile at (0.05, 0.05, 0.9, 0.9).
    /// Logs "beginNewSingleTilePreset tiles=1".
    void beginNewSingleTilePreset();
    /// Validates, then saves the edited preset through the save closure: as an update of the
    /// selected preset (keeping its id, display and sort order) or as a new preset sorted last. The
    /// name is made unique among the other presets (ignoring case and surrounding blanks, "Work 2",
    /// "Work 3", …) and the field shows the stored name. A throwing closure leaves the list, the
    /// selection and the tiles as they were and shows "Failed to save preset: <error>". Logs
    /// "save ok …" or "save failed …".
    void saveCurrentPreset();
    /// Deletes the selected preset; with a new preset under edit selects the first preset instead.
    void deleteCurrentPreset();
    /// Deletes the preset with `id` through the delete closure, then selects the preset now at its
    /// index (or the last), or begins a new grid when none is left. A throwing closure changes
    /// nothing but the status ("Failed to delete preset: <error>"). Logs "delete ok …" or
    /// "delete failed …".
    void deletePresetWithId(const platform::UUID& id);
    /// Replaces the tile of a single-tile preset with `rect` (normalised, y down), named by its
    /// number, and selects it; on a grid preset changes nothing.
    void addTileFromDrag(const Rect& rect);

    /// The most rows or columns a grid is drawn with: a larger count (written by a caller, not by
    /// the window's steppers, which stop at 12) draws this many instead of exhausting memory.
    static constexpr long maxGridCount = 100;

    /// The number of distinct values when values within 0.0005 of the last counted value (in
    /// ascending order) collapse onto it.
    static int uniqueCount(std::vector<double> values);
    /// The rows and columns of a uniform grid that `tiles` form (distinct top and left edges whose
    /// product is the tile count); none otherwise.
    static std::optional<std::pair<int, int>> inferGridDimensions(const std::vector<VeskTile>& tiles);

private:
    std::vector<VeskTile> defaultGridTiles() const;
    std::string uniquePresetName(const std::string& name, const std::optional<platform::UUID>& excluding) const;
    void syncTilesForKindChange(VeskPresetKind to);
    void syncTilesForGridConfigChange();
    void log(const std::string& message) const;
    /// Hands `preset` to the save closure (when there is one); on failure logs "save failed
    /// (<mode>) ...", shows the error in the status line and answers false.
    bool storePreset(const VeskPreset& preset, const char* mode);
    /// The start of a new preset of `kind`: tile sync held off (the caller releases it), no
    /// preset selected, the name localized from `nameKey`.
    void startNewPreset(const char* nameKey, VeskPresetKind kind);
    /// Logs "save ok (<mode>) id=... name=... kind=... tiles=N".
    void logSaved(const VeskPreset& preset, const char* mode) const;
    static std::string localized(const char* key);
    static std::string localizedFormat(const char* key, std::vector<platform::FormatArgument> arguments);

    template <class T>
    using Published = platform::ui::declarative::Published<T>;

    bool suppressAutoTileSync_ = false;
    Published<std::vector<VeskPreset>> presets_{this, {}};
    Published<std::optional<platform::UUID>> selectedPresetID_{this, std::nullopt};
    Published<std::string> editingName_{this, {}};
    Published<VeskPresetKind> editingKind_{this, VeskPresetKind::grid};
    Published<std::vector<VeskTile>> tiles_{this, {}};
    Published<std::optional<platform::UUID>> selectedTileID_{this, std::nullopt};
    Published<long> gridRows_{this, 3};
    Published<long> gridCols_{this, 4};
    Published<std::optional<platform::CGPoint>> dragStart_{this, std::nullopt};
    Published<std::optional<platform::CGPoint>> dragCurrent_{this, std::nullopt};
    Published<std::optional<std::string>> statusMessage_{this, std::nullopt};
    std::string displayId_;
    SavePreset onSavePreset_;
    DeletePreset onDeletePreset_;
};

} // namespace tilmora
