#pragma once

#include "model/ScreenInfo.hpp"

#include <memory>
#include <optional>
#include <vector>

namespace tilmora {

/// Where the model reads the connected screens from. The window-system layer installs the adapter
/// over the platform's screens at start-up (`ScreenSource::install`); tests install a fake.
/// Main thread.
class ScreenSource {
public:
    virtual ~ScreenSource() = default;

    /// The connected screens in the platform's order (the screen with the menu bar first).
    virtual std::vector<ScreenInfo> screens() const = 0;

    /// The main screen (the one holding the key window, else the first); none without screens.
    virtual std::optional<ScreenInfo> mainScreen() const = 0;

    /// The installed source; an empty source (no screens) until one is installed.
    static std::shared_ptr<const ScreenSource> current();

    /// Installs `source` as the current one; null puts back the empty source.
    static void install(std::shared_ptr<const ScreenSource> source);
};

} // namespace tilmora
