#pragma once

#include "platform/ui/View.hpp"

namespace platform::ui {

/// Owns a view; a window shows the view of its content view controller.
class ViewController : public Responder {
public:
    ViewController() = default;
    explicit ViewController(std::shared_ptr<View> view)
        : view_(std::move(view)) {}
    /// The controller's view, made by `loadView` on first use.
    const std::shared_ptr<View>& view();
    void setView(std::shared_ptr<View> view) { view_ = std::move(view); }

protected:
    virtual void loadView() { view_ = std::make_shared<View>(); }

private:
    std::shared_ptr<View> view_;
};

/// Owns a window and shows it.
class WindowController : public Responder {
public:
    WindowController() = default;
    explicit WindowController(std::shared_ptr<Window> window)
        : window_(std::move(window)) {}
    const std::shared_ptr<Window>& window() const { return window_; }
    void setWindow(std::shared_ptr<Window> window) { window_ = std::move(window); }
    /// Orders the window front and makes it key.
    virtual void showWindow(Responder* sender);

private:
    std::shared_ptr<Window> window_;
};

} // namespace platform::ui
