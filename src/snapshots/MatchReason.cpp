#include "snapshots/MatchReason.hpp"

namespace tilmora::WindowManager {

namespace {

constexpr MatchReason allReasons[] = {MatchReason::id, MatchReason::boundsExact, MatchReason::closestSize,
                                      MatchReason::remap};

} // namespace

std::string_view rawValue(MatchReason reason) {
    switch (reason) {
    case MatchReason::id:
        return "ID";
    case MatchReason::boundsExact:
        return "BoundsExact";
    case MatchReason::closestSize:
        return "ClosestSize";
    case MatchReason::remap:
        return "Remap";
    }
    return "ID";
}

std::optional<MatchReason> matchReasonFromRawValue(std::string_view text) {
    for (MatchReason reason : allReasons)
        if (rawValue(reason) == text) return reason;
    return std::nullopt;
}

} // namespace tilmora::WindowManager
