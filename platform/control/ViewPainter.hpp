#pragma once

#include "platform/control/PicturePainter.hpp"
#include "platform/ui/Layer.hpp"
#include "platform/ui/View.hpp"
#include "platform/ui/Window.hpp"

#include <string>
#include <vector>

namespace platform::ui {

class Button;
class PopUpButton;
class Slider;
class TextField;
class WKWebView;

/// Draws the program's own windows for the screen capture: a titled window's frame and title
/// bar, the window's background, then its content view tree. Each view is drawn in its own space
/// (points, y up): its backing layer's background and border, the control itself drawn plainly
/// (push buttons with their titles, check boxes and radio buttons, pop-ups with the selected item,
/// sliders with the knob, text fields with their text or placeholder, labels, web views with
/// their page's text), the layer's
/// sublayers (shape layers, text layers), a hosting view's declarative tree, then its subviews.
/// Hidden views and layers are skipped; alpha and opacity below 1 are blended. Main thread.
class ViewPainter {
public:
    explicit ViewPainter(PicturePainter& painter)
        : p_(painter) {}

    /// Draws `window` at `frame` (global coordinates) with `alpha`; `active` picks the title bar's
    /// colours. Nothing for alpha 0.
    void window(const Window& window, const CGRect& frame, double alpha, bool active);
    /// Draws `view` and its subtree in its superview's space.
    void view(const View& view);
    /// Draws `layer` and its sublayers in its superlayer's space.
    void layer(const Layer& layer);

private:
    void layerContent(const Layer& layer, const CGRect& bounds);
    void control(const View& view);
    void button(const Button& button, const CGRect& bounds);
    void popUp(const PopUpButton& popUp, const CGRect& bounds);
    void slider(const Slider& slider, const CGRect& bounds);
    void textField(const TextField& field, const CGRect& bounds);
    /// A web view's page: its blocks of text from the top, wrapped at blanks to the view's width.
    void webView(const WKWebView& web, const CGRect& bounds);

    PicturePainter& p_;
};

} // namespace platform::ui
