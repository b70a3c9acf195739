#include "windows/SystemDisplayProvider.hpp"

#include "platform/desktop/NSScreen.hpp"
#include "windows/GeometryBridge.hpp"
#include "windows/ScreenIdentity.hpp"

namespace tilmora {

std::vector<DisplayDescriptor> SystemDisplayProvider::currentDisplays() {
    std::vector<DisplayDescriptor> displays;
    for (const auto& screen : platform::NSScreen::screens()) {
        displays.push_back(DisplayDescriptor{DisplayId(tlm_identifierString(screen)), screen.localizedName(),
                                             toRect(screen.visibleFrame()), screen.backingScaleFactor()});
    }
    return displays;
}

} // namespace tilmora
