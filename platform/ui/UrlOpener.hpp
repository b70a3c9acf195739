#pragma once

#include <string>

namespace platform::ui {

/// Opens a URL with its default application (the workspace's "open URL"). On the simulated desktop
/// the URL is recorded (`UISimulator::openedURLs`); true unless the URL is empty.
bool openURL(const std::string& url);

} // namespace platform::ui
