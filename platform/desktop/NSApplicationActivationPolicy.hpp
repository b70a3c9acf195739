#pragma once

namespace platform {

/// Activation policies of a running application: a regular application has a Dock icon and
/// windows, an accessory one (such as a menu-bar utility) only windows, a prohibited one neither.
enum class NSApplicationActivationPolicy { regular = 0, accessory = 1, prohibited = 2 };

} // namespace platform
