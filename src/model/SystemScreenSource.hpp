#pragma once

#include "model/ScreenInfo.hpp"
#include "model/ScreenSource.hpp"

#include "platform/desktop/NSScreen.hpp"

#include <cstdint>
#include <optional>

namespace tilmora {

/// The screen source over the platform's screens (`NSScreen`); the one in force until a test
/// installs another. Main thread.
class SystemScreenSource final : public ScreenSource {
public:
    std::vector<ScreenInfo> screens() const override;
    std::optional<ScreenInfo> mainScreen() const override;

    /// A screen's display number: its "NSScreenNumber" taken as a number and read as an unsigned
    /// 32-bit value (so -1 reads as 4294967295); none when the key is missing or not a number.
    static std::optional<std::uint32_t> displayIdentifierValue(const platform::NSScreen& screen);

    /// What the model reads of `screen`.
    static ScreenInfo info(const platform::NSScreen& screen);
};

} // namespace tilmora
