#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

/// The platform's system log: diagnostic lines that the system writes outside its own log file
/// (the display-layout memory, the snap-area store). Each call is one line, written to the
/// platform's standard error (`StandardError`, which a desktop console captures) with the prefix
/// "tilmora[system]: " and kept in a record that tests read (`SystemLogControl`). Any thread.
void systemLog(std::string_view message);

} // namespace platform
