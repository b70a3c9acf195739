#pragma once

#include "model/ScreenInfo.hpp"

#include <memory>
#include <optional>
#include <vector>

namespace tilmora {

/// Where the model reads the connected screens from: the platform's screens
/// (`SystemScreenSource`) unless a test installs a fake with `ScreenSource::install`. Main thread.
class ScreenSource {
public:
    virtual ~ScreenSource() = default;

    /// The connected screens in the platform's order (the screen with the menu bar first).
    virtual std::vector<ScreenInfo> screens() const = 0;

    /// The main screen (the one holding the key window, else the first); none without screens.
    virtual std::optional<ScreenInfo> mainScreen() const = 0;

    /// The installed source; the platform's screens unless another was installed.
    static std::shared_ptr<const ScreenSource> current();

    /// Installs `source` as the current one; null puts back the platform's screens.
    static void install(std::shared_ptr<const ScreenSource> source);
};

} // namespace tilmora
