#pragma once

#include "model/TextIdentifier.hpp"

namespace tilmora {

/// Identifies a window of another application by opaque text: the window server's window number
/// in decimal where the snap grid makes it (the window mutator reads it back as a decimal integer),
/// or the process identifier, "-" and the window title where the snapshot subsystem makes it.
struct WindowId : TextIdentifier<WindowId> {
    static constexpr const char* typeName = "WindowId";
    using TextIdentifier::TextIdentifier;
};

} // namespace tilmora
