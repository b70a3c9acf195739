#pragma once

namespace tilmora {

/// Reaches other applications' windows for reading. The tiling controller keeps one but never calls
/// it, so the interface declares no operation.
class WindowProvider {
public:
    virtual ~WindowProvider() = default;
};

} // namespace tilmora
