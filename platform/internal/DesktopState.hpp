#pragma once

#include <memory>
#include <sys/types.h>

namespace platform::desktop_detail {

class DesktopModel;

/// The simulated desktop's record store in use now, shared by the app-facing calls and the
/// control face (`SimDesktop`). Created on first use; `SharedInstances::resetAll` replaces it with
/// an empty one (no displays, this program the only running application). Any thread.
std::shared_ptr<DesktopModel> currentModel();

/// Puts an empty record store in place of the current one (what `SharedInstances::resetAll` does,
/// without touching any other shared instance). Any thread.
void replaceModel();

/// The process id of this program on the simulated desktop. Any thread.
pid_t programPid();

} // namespace platform::desktop_detail
