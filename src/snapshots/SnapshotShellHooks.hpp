#pragma once

namespace tilmora {

struct EditorWindowHooks;
struct ShellHooks;

/// Connects the snapshot layer to the shell below it at start-up: the store's controller, the
/// snapshot service, the snapshot manager as the main window's content, the shell's reset of
/// snapped windows for the quit's auto-reset, and the display descriptors and baseline grouping the
/// shell's commands and editor windows use. Main thread.
namespace SnapshotShellHooks {

/// Fills the snapshot slots of `hooks`: `persistenceController` (the shared controller, not
/// owned), `makeSnapshotManager` (a `SnapshotManagerAdapter` over its view context) and
/// `mainWindowRoot` (the manager view with the service and the context in its environment; it also
/// installs the shell's `resetAllSnappedWindows` as the quit's reset, holding the shell weakly).
void install(ShellHooks& hooks);

/// Fills `displayDescriptors` and `groupedTargets` of `hooks`.
void install(EditorWindowHooks& hooks);

} // namespace SnapshotShellHooks
} // namespace tilmora
