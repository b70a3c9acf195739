#include "platform/control/WorkspaceControl.hpp"

#include "platform/internal/WorkspaceState.hpp"

namespace platform {

void WorkspaceControl::setOpenURLFails(bool fails) {
    workspace_detail::state().openURLFails = fails;
}

} // namespace platform
