#pragma once

#include "model/UuidIdentifier.hpp"

namespace tilmora {

/// Identifies a layout; the layout store replaces and deletes by it.
struct LayoutId : UuidIdentifier<LayoutId> {
    static constexpr const char* typeName = "LayoutId";
    using UuidIdentifier::UuidIdentifier;
};

} // namespace tilmora
