#pragma once

#include <string>
#include <vector>

/// The simulator's view of the system log (`systemLog`). Tests and the desktop console only.
/// `SharedInstances::resetAll` empties the record and turns the echo back on. Any thread.
namespace platform::SystemLogControl {

/// Every line written since the last reset, in order, without the prefix.
std::vector<std::string> recordedLines();

/// Empties the record (for long runs that would otherwise keep every line).
void clearRecordedLines();

/// Turns the echo to standard error (`StandardError`) on or off (the record is always kept).
void setEchoToStandardError(bool echo);

} // namespace platform::SystemLogControl
