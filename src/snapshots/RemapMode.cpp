#include "snapshots/RemapMode.hpp"

#include "model/EnumName.hpp"

namespace tilmora::WindowManager {

namespace {

constexpr EnumName<RemapMode> modeNames[] = {
    {RemapMode::moveOnly, "moveOnly"}, {RemapMode::smartFit, "smartFit"}, {RemapMode::tileGrid, "tileGrid"}};

} // namespace

std::string_view caseName(RemapMode mode) {
    return enumName(modeNames, mode, "moveOnly");
}

} // namespace tilmora::WindowManager
