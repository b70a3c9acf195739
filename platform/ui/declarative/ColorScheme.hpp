#pragma once

namespace platform::ui::declarative {

/// The appearance a declarative view is drawn for. Views read it from their environment under
/// `colorSchemeKey` (`ViewBase::environment<ColorScheme>(colorSchemeKey, ColorScheme::light)`);
/// an ancestor sets it with `Element::environment(colorSchemeKey, ColorScheme::dark)`, and where
/// none does the appearance is light.
enum class ColorScheme { light, dark };

inline constexpr const char* colorSchemeKey = "colorScheme";

} // namespace platform::ui::declarative
