#include "platform/desktop/AXValue.hpp"

#include "platform/internal/DesktopModel.hpp"
#include "platform/internal/DesktopState.hpp"

namespace platform {

using desktop_detail::DesktopModel;

namespace {

bool flag(bool DesktopModel::*member) {
    auto holder = desktop_detail::currentModel();
    DesktopModel::Txn t(*holder);
    return (*holder).*member;
}

} // namespace

std::optional<AXValue> AXValueCreate(const CGPoint& point) {
    if (flag(&DesktopModel::axValueCreationFails)) return std::nullopt;
    AXValue v;
    v.type = AXValueType::cgPoint;
    v.point = point;
    return v;
}

std::optional<AXValue> AXValueCreate(const CGSize& size) {
    if (flag(&DesktopModel::axValueCreationFails)) return std::nullopt;
    AXValue v;
    v.type = AXValueType::cgSize;
    v.size = size;
    return v;
}

bool AXValueGetValue(const AXValue& value, AXValueType type, CGPoint& out) {
    if (value.type != type || type != AXValueType::cgPoint || flag(&DesktopModel::axValueConversionFails))
        return false;
    out = value.point;
    return true;
}

bool AXValueGetValue(const AXValue& value, AXValueType type, CGSize& out) {
    if (value.type != type || type != AXValueType::cgSize || flag(&DesktopModel::axValueConversionFails))
        return false;
    out = value.size;
    return true;
}

} // namespace platform
