#pragma once

#include <string>

namespace tilmora::GridPresetLogText {

/// A gutter or padding (points) as the grid-preset log line shows it: truncated toward zero to a
/// whole number ("7.9" gives "7", "-0.5" gives "0") when it is finite and fits a 64-bit integer;
/// otherwise its double text ("nan", "inf", "1e+20"). Pure; any thread.
std::string wholeNumber(double value);

} // namespace tilmora::GridPresetLogText
