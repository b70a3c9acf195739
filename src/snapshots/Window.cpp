#include "snapshots/Window.hpp"

namespace tilmora {

WindowValue Window::value() const {
    WindowValue v;
    static_cast<WindowAttributes&>(v) = *this;
    v.rowID = rowID();
    return v;
}

} // namespace tilmora
