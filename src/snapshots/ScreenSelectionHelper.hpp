#pragma once

#include "platform/ui/Button.hpp"
#include "platform/ui/Responder.hpp"
#include "platform/ui/Window.hpp"

#include <functional>
#include <memory>

namespace tilmora::WindowManager {

/// The target of the replacement-display prompt's controls and the delegate of its window. Answers
/// "ok:" (calls `onOK`), "changed:" (takes the sending pop-up's selected index), "radioChanged:"
/// (turns on the sending radio button of the two and the other off) and the window's closing
/// (calls `onOK`). Lives for one prompt. Main thread.
class ScreenSelectionHelper : public platform::ui::Responder, public platform::ui::WindowDelegate {
public:
    ScreenSelectionHelper();

    /// The index of the selected pop-up item; 0 at first.
    long selectedIndex = 0;
    /// Called by OK and by the window's closing; unset at first.
    std::function<void()> onOK;
    /// "Just move to new screen".
    std::weak_ptr<platform::ui::Button> rbMove;
    /// "Smart resize to fit all windows on new screen".
    std::weak_ptr<platform::ui::Button> rbSmart;

    void windowWillClose(platform::ui::Window& window) override;
};

} // namespace tilmora::WindowManager
