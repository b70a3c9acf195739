// Decodes fuzzed JSON as one of the stored model values (the first byte picks which, the rest is
// the JSON text) and checks the round trip: a value that decodes encodes, and its encoding decodes
// to an equal value. Decoding failures are `platform::Error`s; anything else escaping aborts.
#include "model/DisplayDescriptor.hpp"
#include "model/DisplaySignature.hpp"
#include "model/Layout.hpp"
#include "model/LayoutProfile.hpp"
#include "model/MonitorConfigurationSignature.hpp"
#include "model/Rect.hpp"
#include "model/ScreenLayoutEntry.hpp"
#include "model/SnapArea.hpp"
#include "model/SnapshotDefinition.hpp"
#include "model/SnapshotWindowMapping.hpp"
#include "model/Tile.hpp"
#include "model/VeskPreset.hpp"
#include "model/VeskPresetKind.hpp"
#include "model/VeskTile.hpp"
#include "model/WindowDescriptor.hpp"
#include "platform/foundation/Error.hpp"
#include "platform/foundation/JsonCoding.hpp"
#include "shortcuts/Shortcut.hpp"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

template <class T>
void roundTrip(std::string_view text) {
    std::optional<T> decoded;
    try {
        decoded.emplace(platform::decodeJsonText<T>(text));
    } catch (const platform::Error&) {
        return;
    }
    // What decoded must encode and come back equal.
    const std::string encoded = platform::encodeJsonText(*decoded);
    const T again = platform::decodeJsonText<T>(encoded);
    if (!(again == *decoded)) {
        std::fprintf(stderr, "round trip changed the value; encoded as %s\n", encoded.c_str());
        std::abort();
    }
}

template <class T>
void single(std::string_view text, bool asArray) {
    if (asArray)
        roundTrip<std::vector<T>>(text);
    else
        roundTrip<T>(text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    using namespace tilmora;
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    // Low bit: one value or an array of them, as the store files hold.
    const bool asArray = (data[0] & 1) != 0;
    switch ((data[0] >> 1) % 15) {
    case 0: single<Rect>(text, asArray); break;
    case 1: single<Tile>(text, asArray); break;
    case 2: single<Layout>(text, asArray); break;
    case 3: single<LayoutProfile>(text, asArray); break;
    case 4: single<DisplayDescriptor>(text, asArray); break;
    case 5: single<DisplaySignature>(text, asArray); break;
    case 6: single<MonitorConfigurationSignature>(text, asArray); break;
    case 7: single<ScreenLayoutEntry>(text, asArray); break;
    case 8: single<SnapArea>(text, asArray); break;
    case 9: single<SnapshotDefinition>(text, asArray); break;
    case 10: single<SnapshotWindowMapping>(text, asArray); break;
    case 11: single<VeskPreset>(text, asArray); break;
    case 12: single<VeskTile>(text, asArray); break;
    case 13: single<WindowDescriptor>(text, asArray); break;
    case 14: single<GlobalShortcuts::Shortcut>(text, asArray); break;
    }
    return 0;
}
