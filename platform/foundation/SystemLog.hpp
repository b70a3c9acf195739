#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

/// The platform's system log: diagnostic lines that the system writes outside its own log file
/// (the display-layout memory, the snap-area store). Each call is one line, written to standard
/// error with the prefix "tilmora[system]: " and kept in a record that tests read. Any thread.
void systemLog(std::string_view message);

/// Control API of the system log (tests and the desktop console).
namespace SystemLog {

/// Every line written since the last reset, in order, without the prefix.
std::vector<std::string> recordedLines();

/// Empties the record and turns the echo to standard error back on.
void resetForTesting();

/// Turns the echo to standard error on or off (the record is always kept).
void setEchoToStandardError(bool echo);

} // namespace SystemLog

} // namespace platform
