#pragma once

#include "model/WindowProvider.hpp"

namespace tilmora {

/// The system's window provider. It holds no state and has no operation of its own; the shell
/// creates one with no arguments wherever a `WindowProvider` is injected.
class SystemWindowProvider : public WindowProvider {};

} // namespace tilmora
