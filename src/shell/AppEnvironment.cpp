#include "shell/AppEnvironment.hpp"

#include "platform/dispatch/MainThread.hpp"
#include "snapping/RoriDeru.hpp"
#include "snapping/RoriDeruPresetGrid.hpp"

namespace tilmora {

void WindowMoverAdapter::moveFrontmostWindow(const Rect& rect) { roriDeru.moveFrontmostAXWindow(rect); }

AppEnvironment AppEnvironment::live(const std::function<std::shared_ptr<SnapshotManagerService>()>& makeSnapshotManager) {
    platform::requireMainThread("AppEnvironment::live");
    RoriDeru& grid = RoriDeru::shared();
    AppEnvironment environment;
    environment.roriDeru = &grid;
    environment.snapshotManager = makeSnapshotManager ? makeSnapshotManager() : nullptr;
    environment.windowMover = std::make_shared<WindowMoverAdapter>(grid);
    // One memory serves the shell and the views: the shared one, which read the defaults when it
    // was made (a value that does not decode leaves it empty and is kept aside by the memory). It
    // reads and applies its presets through the shared snap grid.
    DisplayLayoutMemory::installGrid(std::make_shared<RoriDeruPresetGrid>());
    DisplayLayoutMemory& memory = DisplayLayoutMemory::shared();
    environment.displayLayoutStore = std::make_shared<DisplayLayoutMemoryAdapter>(memory);
    return environment;
}

} // namespace tilmora
