#include "snapshots/MatchReason.hpp"

#include "model/EnumName.hpp"

namespace tilmora::WindowManager {

namespace {

constexpr EnumName<MatchReason> reasonNames[] = {{MatchReason::id, "ID"},
                                                 {MatchReason::boundsExact, "BoundsExact"},
                                                 {MatchReason::closestSize, "ClosestSize"},
                                                 {MatchReason::remap, "Remap"}};

} // namespace

std::string_view rawValue(MatchReason reason) {
    return enumName(reasonNames, reason, "ID");
}

std::optional<MatchReason> matchReasonFromRawValue(std::string_view text) {
    return enumValue(reasonNames, text);
}

} // namespace tilmora::WindowManager
