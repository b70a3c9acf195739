#pragma once

#include "model/LayoutStore.hpp"
#include "model/VeskPreset.hpp"
#include "platform/desktop/NSScreen.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "platform/foundation/Uuid.hpp"
#include "platform/ui/Responder.hpp"
#include "shell/AppEnvironment.hpp"
#include "shell/commands/WindowRectMemory.hpp"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tilmora {

class RoriDeru;
class TilingController;

/// What the preset-grid commands reach: the snap grid, the window mover, the user defaults (the
/// selection per display), the window rectangles, the shell's layouts and tiling controller (read
/// when needed: both are built on first use), and the shell's hooks for what follows a command.
/// Main thread.
struct VeskPresetContext {
    RoriDeru& grid;
    WindowMoving& mover;
    platform::UserDefaults& defaults;
    WindowRectMemory& rects;
    std::function<std::shared_ptr<LayoutStore>()> layouts;
    std::function<std::shared_ptr<TilingController>()> tiling;
    /// Rebuilds the status menu.
    std::function<void()> rebuildStatusMenu;
    /// The snap bar's selection highlight follows the selected kind (when there is a bar).
    std::function<void()> refreshSnapBarSelection;
};

/// The preset grids of a display ("Custom Layouts"): choosing one from the status menu or a tile
/// from the snap bar selects it on its display, makes it the display's transient tiling layout
/// and moves the frontmost window into its first tile; choosing the selected one again switches
/// it off. The selection is stored under "WMVeskSelectedPresetId." + the display key as
/// upper-case UUID text.
///
/// Geometry: a tile's fractions are of the visible frame, from its top-left corner, y down; the
/// window moves in global coordinates (points, y up from the bottom of the main display). Main
/// thread.
class VeskPresetCommands {
public:
    /// A preset chosen for one display, carried by a menu item.
    struct MenuSelection {
        platform::UUID presetId;
        std::string displayId;
        bool operator==(const MenuSelection&) const = default;
    };

    /// Over `context`, which outlives the commands (one command per full expression).
    explicit VeskPresetCommands(const VeskPresetContext& context)
        : c_(context) {}

    /// The preset selected on the display of `screen`, if any.
    static std::optional<platform::UUID> selectedPresetId(const platform::UserDefaults& defaults,
                                                          const platform::NSScreen& screen);
    /// The single-tile presets of the display of `screen` in `store`, in store order.
    static std::vector<VeskPreset> singleTilePresets(LayoutStore& store, const platform::NSScreen& screen);

    /// Stores `presetId` as the selection of the display of `screen`, or removes it (a write only
    /// when one is stored).
    void setSelectedPresetId(const std::optional<platform::UUID>& presetId, const platform::NSScreen& screen);
    /// Clears the selection and the transient layout of each of `screens`.
    void clearSelection(const std::vector<platform::NSScreen>& screens);
    /// Clears the selection and transient layout of the display of `screen` when `presetId` is the
    /// one selected there.
    void forgetIfSelected(const platform::UUID& presetId, const platform::NSScreen& screen);
    /// The preset a menu item carries (a `MenuSelection`, or a bare UUID for the snapping screen).
    void applyFromMenu(platform::ui::Responder* sender);
    /// The single-tile preset a snap-bar button names (by identifier, else by its tag).
    void applyTileFromSnapBar(platform::ui::Responder* sender);
    /// Selects `preset` on `screen` and moves the frontmost window into its first tile, or
    /// switches it off when it is already selected there.
    void apply(const VeskPreset& preset, const platform::NSScreen& screen);
    /// Moves the frontmost window into `tile` of `screen`'s visible frame (its rectangles recorded).
    void applyTile(const VeskTile& tile, const platform::NSScreen& screen);

private:
    const VeskPresetContext& c_;
};

} // namespace tilmora
