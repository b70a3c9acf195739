#include "editors/VeskLayoutEditorController.hpp"

#include "model/LayoutStoreVesk.hpp"
#include "model/LocalizationManager.hpp"
#include "model/Log.hpp"

#include "platform/foundation/Error.hpp"

#include <algorithm>
#include <cmath>
#include <set>

namespace tilmora {

namespace {

/// The rectangle of a new single tile: the display less a 5 % margin.
constexpr Rect defaultTileRect{0.05, 0.05, 0.9, 0.9};

std::string kindText(VeskPresetKind kind) {
    return std::string(rawValue(kind));
}

} // namespace

VeskLayoutEditorController::VeskLayoutEditorController(std::vector<VeskPreset> presets, std::string displayId,
                                                       std::optional<platform::UUID> selectedPresetID,
                                                       SavePreset onSavePreset, DeletePreset onDeletePreset)
    : displayId_(std::move(displayId))
    , onSavePreset_(std::move(onSavePreset))
    , onDeletePreset_(std::move(onDeletePreset)) {
    std::optional<platform::UUID> firstPassed;
    if (!presets.empty()) firstPassed = presets.front().id;
    const size_t given = presets.size();
    presets_.set(sortedBySortOrder(std::move(presets)));
    log("init displayId=" + displayId_ + " presets=" + std::to_string(given));
    auto toSelect = selectedPresetID ? selectedPresetID : firstPassed;
    if (toSelect)
        selectPreset(toSelect);
    else
        beginNewGridPreset();
}

void VeskLayoutEditorController::setEditingKind(VeskPresetKind kind) {
    VeskPresetKind old = editingKind_.get();
    editingKind_.set(kind);
    if (suppressAutoTileSync_ || kind == old) return;
    syncTilesForKindChange(kind);
}

void VeskLayoutEditorController::setGridRows(long rows) {
    long old = gridRows_.get();
    gridRows_.set(rows);
    if (suppressAutoTileSync_ || editingKind_.get() == VeskPresetKind::singleTile || rows == old) return;
    syncTilesForGridConfigChange();
}

void VeskLayoutEditorController::setGridCols(long cols) {
    long old = gridCols_.get();
    gridCols_.set(cols);
    if (suppressAutoTileSync_ || editingKind_.get() == VeskPresetKind::singleTile || cols == old) return;
    syncTilesForGridConfigChange();
}

bool VeskLayoutEditorController::canSave() const {
    return !platform::Text::trimmingWhitespaceAndNewlines(editingName_.get()).empty() && !tiles_.get().empty();
}

bool VeskLayoutEditorController::editingPresetIsExisting() const {
    const auto& id = selectedPresetID_.get();
    if (!id) return false;
    const auto& list = presets_.get();
    return std::any_of(list.begin(), list.end(), [&](const VeskPreset& p) { return p.id == *id; });
}

void VeskLayoutEditorController::selectPreset(const std::optional<platform::UUID>& id) {
    const auto& list = presets_.get();
    auto it = id ? std::find_if(list.begin(), list.end(), [&](const VeskPreset& p) { return p.id == *id; })
                 : list.end();
    if (it == list.end()) {
        beginNewGridPreset();
        return;
    }
    const VeskPreset preset = *it;
    log("selectPreset id=" + preset.id.uuidString() + " name=" + preset.name + " kind=" + kindText(preset.kind));
    suppressAutoTileSync_ = true;
    selectedPresetID_.set(preset.id);
    editingName_.set(preset.name);
    setEditingKind(preset.kind);
    if (preset.kind == VeskPresetKind::singleTile) {
        tiles_.set(preset.tiles);
    } else {
        if (auto dims = inferGridDimensions(preset.tiles)) {
            setGridRows(dims->first);
            setGridCols(dims->second);
        }
        tiles_.set(defaultGridTiles());
    }
    selectedTileID_.set(tiles_.get().empty() ? std::nullopt : std::optional(tiles_.get().front().id));
    log("selectPreset tiles=" + std::to_string(tiles_.get().size()) + " rows=" + std::to_string(gridRows_.get()) +
        " cols=" + std::to_string(gridCols_.get()));
    statusMessage_.set(localizedFormat("layoutEditor.status.editingPresetFormat", {preset.name}));
    suppressAutoTileSync_ = false;
}

void VeskLayoutEditorController::startNewPreset(const char* nameKey, VeskPresetKind kind) {
    suppressAutoTileSync_ = true;
    selectedPresetID_.set(std::nullopt);
    editingName_.set(localized(nameKey));
    setEditingKind(kind);
}

void VeskLayoutEditorController::beginNewGridPreset() {
    startNewPreset("layoutEditor.preset.newGridName", VeskPresetKind::grid);
    tiles_.set(defaultGridTiles());
    selectedTileID_.set(tiles_.get().empty() ? std::nullopt : std::optional(tiles_.get().front().id));
    log("beginNewGridPreset rows=" + std::to_string(gridRows_.get()) + " cols=" + std::to_string(gridCols_.get()) +
        " tiles=" + std::to_string(tiles_.get().size()));
    statusMessage_.set(localized("layoutEditor.status.creatingGrid"));
    suppressAutoTileSync_ = false;
}

void VeskLayoutEditorController::beginNewSingleTilePreset() {
    startNewPreset("layoutEditor.preset.newTileName", VeskPresetKind::singleTile);
    VeskTile tile{platform::UUID(), localized("layoutEditor.tile.defaultName"), defaultTileRect};
    tiles_.set({tile});
    selectedTileID_.set(tile.id);
    log("beginNewSingleTilePreset tiles=" + std::to_string(tiles_.get().size()));
    statusMessage_.set(localized("layoutEditor.status.creatingSingleTile"));
    suppressAutoTileSync_ = false;
}

bool VeskLayoutEditorController::storePreset(const VeskPreset& preset, const char* mode) {
    if (!onSavePreset_) return true;
    try {
        onSavePreset_(preset);
        return true;
    } catch (const std::exception& e) {
        log(std::string("save failed (") + mode + ") id=" + preset.id.uuidString() + " error=" + e.what());
        statusMessage_.set(std::string("Failed to save preset: ") + e.what());
        return false;
    }
}

void VeskLayoutEditorController::logSaved(const VeskPreset& preset, const char* mode) const {
    log(std::string("save ok (") + mode + ") id=" + preset.id.uuidString() + " name=" + preset.name +
        " kind=" + kindText(preset.kind) + " tiles=" + std::to_string(preset.tiles.size()));
}

void VeskLayoutEditorController::saveCurrentPreset() {
    const std::string trimmed = platform::Text::trimmingWhitespaceAndNewlines(editingName_.get());
    if (trimmed.empty() || tiles_.get().empty()) {
        statusMessage_.set(localized("layoutEditor.status.validationError"));
        return;
    }
    const std::int64_t nextOrder = nextSortOrder(presets_.get());
    const bool isGrid = editingKind_.get() == VeskPresetKind::grid;
    const auto& list = presets_.get();
    const auto& selected = selectedPresetID_.get();
    auto it = selected ? std::find_if(list.begin(), list.end(), [&](const VeskPreset& p) { return p.id == *selected; })
                       : list.end();

    if (it != list.end()) {
        const size_t index = size_t(it - list.begin());
        const std::string newName = uniquePresetName(trimmed, selected);
        if (newName != trimmed) editingName_.set(newName);
        VeskPreset preset = presets_.get()[index];
        preset.name = newName;
        preset.kind = editingKind_.get();
        preset.tiles = isGrid ? defaultGridTiles() : tiles_.get();
        if (!storePreset(preset, "update")) return;
        auto updated = presets_.get();
        updated[index] = preset;
        presets_.set(sortedBySortOrder(std::move(updated)));
        logSaved(preset, "update");
        statusMessage_.set(localizedFormat("layoutEditor.status.updatedPresetFormat", {newName}));
        return;
    }

    const std::string newName = uniquePresetName(trimmed, std::nullopt);
    if (newName != trimmed) editingName_.set(newName);
    VeskPreset preset{platform::UUID(), newName, editingKind_.get(), displayId_,
                      isGrid ? defaultGridTiles() : tiles_.get(), nextOrder};
    if (!storePreset(preset, "new")) return;
    auto updated = presets_.get();
    updated.push_back(preset);
    presets_.set(sortedBySortOrder(std::move(updated)));
    selectedPresetID_.set(preset.id);
    logSaved(preset, "new");
    statusMessage_.set(localizedFormat("layoutEditor.status.savedNewPresetFormat", {newName}));
}

void VeskLayoutEditorController::deleteCurrentPreset() {
    if (const auto id = selectedPresetID_.get()) {
        deletePresetWithId(*id);
    } else if (!presets_.get().empty()) {
        selectPreset(presets_.get().front().id);
    } else {
        statusMessage_.set(localized("layoutEditor.status.noPresetToDelete"));
    }
}

void VeskLayoutEditorController::deletePresetWithId(const platform::UUID& id) {
    const auto& list = presets_.get();
    auto it = std::find_if(list.begin(), list.end(), [&](const VeskPreset& p) { return p.id == id; });
    if (it == list.end()) {
        statusMessage_.set(localized("layoutEditor.status.noPresetToDelete"));
        return;
    }
    const size_t index = size_t(it - list.begin());
    const std::string name = it->name;
    if (onDeletePreset_) {
        try {
            onDeletePreset_(id);
        } catch (const std::exception& e) {
            log("delete failed id=" + id.uuidString() + " error=" + e.what());
            statusMessage_.set(std::string("Failed to delete preset: ") + e.what());
            return;
        }
    }
    auto remaining = presets_.get();
    remaining.erase(remaining.begin() + long(index));
    presets_.set(std::move(remaining));
    const auto& left = presets_.get();
    if (!left.empty()) {
        selectPreset(left[std::min(index, left.size() - 1)].id);
    } else {
        selectedPresetID_.set(std::nullopt);
        beginNewGridPreset();
    }
    log("delete ok id=" + id.uuidString() + " name=" + name + " remaining=" + std::to_string(presets_.get().size()));
    statusMessage_.set(localizedFormat("layoutEditor.status.deletedPresetFormat", {name}));
}

void VeskLayoutEditorController::addTileFromDrag(const Rect& rect) {
    if (editingKind_.get() != VeskPresetKind::singleTile) return;
    VeskTile tile{platform::UUID(), localizedFormat("layoutEditor.tile.numberedFormat", {tiles_.get().size() + 1}),
                  rect};
    tiles_.set({tile});
    selectedTileID_.set(tile.id);
}

int VeskLayoutEditorController::uniqueCount(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    int count = 0;
    double last = 0;
    for (double v : values) {
        if (count == 0 || std::abs(v - last) > 0.0005) {
            ++count;
            last = v;
        }
    }
    return count;
}

std::optional<std::pair<int, int>> VeskLayoutEditorController::inferGridDimensions(const std::vector<VeskTile>& tiles) {
    if (tiles.empty()) return std::nullopt;
    std::vector<double> lefts, tops;
    for (const auto& t : tiles) {
        // The smallest x and y of the rectangle, also for one stored with a negative size.
        lefts.push_back(std::min(t.normalisedRect.x, t.normalisedRect.x + t.normalisedRect.width));
        tops.push_back(std::min(t.normalisedRect.y, t.normalisedRect.y + t.normalisedRect.height));
    }
    const int cols = uniqueCount(lefts);
    const int rows = uniqueCount(tops);
    if (rows >= 1 && cols >= 1 && size_t(rows) * size_t(cols) == tiles.size()) return std::pair{rows, cols};
    return std::nullopt;
}

std::vector<VeskTile> VeskLayoutEditorController::defaultGridTiles() const {
    const long rows = std::clamp(gridRows_.get(), 1L, maxGridCount);
    const long cols = std::clamp(gridCols_.get(), 1L, maxGridCount);
    const std::string numbered = localized("layoutEditor.tile.numberedFormat");
    std::vector<VeskTile> out;
    out.reserve(size_t(rows * cols));
    long k = 1;
    for (long r = 0; r < rows; ++r)
        for (long c = 0; c < cols; ++c, ++k)
            out.push_back({platform::UUID(), platform::Text::format(numbered, {k}),
                           Rect{double(c) / double(cols), double(r) / double(rows), 1.0 / double(cols),
                                1.0 / double(rows)}});
    return out;
}

std::string VeskLayoutEditorController::uniquePresetName(const std::string& name,
                                                         const std::optional<platform::UUID>& excluding) const {
    const std::string trimmed = platform::Text::trimmingWhitespaceAndNewlines(name);
    if (trimmed.empty()) return name;
    std::set<std::string> taken;
    for (const auto& p : presets_.get())
        if (!excluding || p.id != *excluding)
            taken.insert(platform::Text::lowercased(platform::Text::trimmingWhitespaceAndNewlines(p.name)));
    if (!taken.count(platform::Text::lowercased(trimmed))) return trimmed;
    for (long n = 2;; ++n) {
        std::string candidate = trimmed + " " + std::to_string(n);
        if (!taken.count(platform::Text::lowercased(candidate))) return candidate;
    }
}

void VeskLayoutEditorController::syncTilesForKindChange(VeskPresetKind to) {
    if (to == VeskPresetKind::grid) {
        syncTilesForGridConfigChange();
        return;
    }
    const auto& current = tiles_.get();
    const auto& selected = selectedTileID_.get();
    auto it = selected ? std::find_if(current.begin(), current.end(), [&](const VeskTile& t) { return t.id == *selected; })
                       : current.end();
    VeskTile kept = it != current.end() ? *it
                    : !current.empty() ? current.front()
                                       : VeskTile{platform::UUID(), localized("layoutEditor.tile.defaultName"), defaultTileRect};
    tiles_.set({kept});
    selectedTileID_.set(kept.id);
}

void VeskLayoutEditorController::syncTilesForGridConfigChange() {
    tiles_.set(defaultGridTiles());
    selectedTileID_.set(tiles_.get().empty() ? std::nullopt : std::optional(tiles_.get().front().id));
    log("syncTilesForGridConfigChange rows=" + std::to_string(gridRows_.get()) +
        " cols=" + std::to_string(gridCols_.get()) + " tiles=" + std::to_string(tiles_.get().size()));
}

void VeskLayoutEditorController::log(const std::string& message) const {
    if (veskVerboseEnabled()) print("[VESK][EDITOR] " + message);
}

std::string VeskLayoutEditorController::localized(const char* key) {
    return LocalizationManager::shared().localizedString(key);
}

std::string VeskLayoutEditorController::localizedFormat(const char* key,
                                                        std::vector<platform::FormatArgument> arguments) {
    return platform::Text::format(localized(key), arguments);
}

} // namespace tilmora
