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

/// An Accessibility value of `type` holding `held` in `member`; none when creation is told to fail.
template <class T>
std::optional<AXValue> create(AXValueType type, T AXValue::*member, const T& held) {
    if (flag(&DesktopModel::axValueCreationFails)) return std::nullopt;
    AXValue v;
    v.type = type;
    v.*member = held;
    return v;
}

/// Reads `member` of `value` into `out` when `value` and the asked `type` are both `held`.
template <class T>
bool read(const AXValue& value, AXValueType type, AXValueType held, T AXValue::*member, T& out) {
    if (value.type != type || type != held || flag(&DesktopModel::axValueConversionFails)) return false;
    out = value.*member;
    return true;
}

} // namespace

std::optional<AXValue> AXValueCreate(const CGPoint& point) {
    return create(AXValueType::cgPoint, &AXValue::point, point);
}

std::optional<AXValue> AXValueCreate(const CGSize& size) {
    return create(AXValueType::cgSize, &AXValue::size, size);
}

bool AXValueGetValue(const AXValue& value, AXValueType type, CGPoint& out) {
    return read(value, type, AXValueType::cgPoint, &AXValue::point, out);
}

bool AXValueGetValue(const AXValue& value, AXValueType type, CGSize& out) {
    return read(value, type, AXValueType::cgSize, &AXValue::size, out);
}

} // namespace platform
