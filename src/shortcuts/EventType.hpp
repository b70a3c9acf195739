#pragma once

namespace tilmora::GlobalShortcuts {

/// What happened to a shortcut's chord: pressed or released.
enum class EventType { keyDown, keyUp };

} // namespace tilmora::GlobalShortcuts
