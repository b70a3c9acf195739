#pragma once

#include "model/DisplayLayoutMemory.hpp"
#include "model/Rect.hpp"
#include "shell/SnapshotManagerService.hpp"

#include <functional>
#include <memory>

namespace tilmora {

class RoriDeru;

/// Moves the frontmost window to a rectangle (global coordinates, points, y up) through the snap
/// grid. Main thread.
class WindowMoving {
public:
    virtual ~WindowMoving() = default;
    virtual void moveFrontmostWindow(const Rect& rect) = 0;
};

/// The per-display layout memory as the shell and its views reach it. Main thread.
class DisplayLayoutPersisting {
public:
    virtual ~DisplayLayoutPersisting() = default;
    virtual DisplayLayoutMemory& store() = 0;
};

/// Moves through `RoriDeru::moveFrontmostAXWindow`.
class WindowMoverAdapter : public WindowMoving {
public:
    explicit WindowMoverAdapter(RoriDeru& roriDeru)
        : roriDeru(roriDeru) {}
    void moveFrontmostWindow(const Rect& rect) override;
    RoriDeru& roriDeru;
};

/// Holds one `DisplayLayoutMemory` (the shared one: the shell and the views work on one cache).
class DisplayLayoutMemoryAdapter : public DisplayLayoutPersisting {
public:
    explicit DisplayLayoutMemoryAdapter(DisplayLayoutMemory& memory)
        : memory_(memory) {}
    DisplayLayoutMemory& store() override { return memory_; }

private:
    DisplayLayoutMemory& memory_;
};

/// The four services the shell builds once and hands to the windows it creates. The snapshot
/// manager belongs to the snapshot layer above the shell, so the shell holds it through
/// `SnapshotManagerService`: the snapshot layer's hook builds it and its own views take their
/// interface back with a checked cast.
struct AppEnvironment {
    RoriDeru* roriDeru = nullptr;
    std::shared_ptr<SnapshotManagerService> snapshotManager;
    std::shared_ptr<WindowMoving> windowMover;
    std::shared_ptr<DisplayLayoutPersisting> displayLayoutStore;

    /// Takes `RoriDeru::shared()`, asks `makeSnapshotManager` for the snapshot manager (none when
    /// it is empty), installs the shared snap grid as the grid of the display-layout memory
    /// (`RoriDeruPresetGrid`) and wraps `DisplayLayoutMemory::shared()`. Main thread.
    static AppEnvironment live(const std::function<std::shared_ptr<SnapshotManagerService>()>& makeSnapshotManager);
};

} // namespace tilmora
