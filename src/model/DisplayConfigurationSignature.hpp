#pragma once

#include "model/DisplaySignature.hpp"
#include "model/ScreenInfo.hpp"

#include <optional>
#include <string>
#include <vector>

namespace tilmora {

/// The whole set of connected screens as one text key, such as "1-2880x1800|2-1920x1080". The
/// display-layout memory files grid presets under it.
struct DisplayConfigurationSignature {
    /// The connected screens, sorted by key segment when built by `key(screens)`.
    std::vector<DisplaySignature> signatures;

    /// The key segments of `signatures`, in list order, joined with "|".
    std::string key() const;

    /// The key of a set of screens: their signatures (screens without one are skipped), sorted as
    /// text by key segment ("10-..." before "2-..."), joined with "|". None when no screen has a
    /// signature.
    static std::optional<std::string> key(const std::vector<ScreenInfo>& screens);
};

} // namespace tilmora
