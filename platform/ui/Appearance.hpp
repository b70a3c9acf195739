#pragma once

namespace platform::ui {

/// A window's appearance: light (`aqua`) or dark (`darkAqua`). Semantic colours (label, text
/// background, window background, control colours) are drawn in its variant; the system's own
/// appearance, which windows take unless they set one, is light.
enum class Appearance { aqua, darkAqua };

} // namespace platform::ui
