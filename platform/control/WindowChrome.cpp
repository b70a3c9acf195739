#include "platform/control/WindowChrome.hpp"

#include "platform/control/ScreenCapture.hpp"
#include "platform/ui/TitleBarGeometry.hpp"

#include <algorithm>

namespace platform::ui::WindowChrome {

namespace {

Color rgb(int r, int g, int b) {
    return Color::rgba(r / 255.0, g / 255.0, b / 255.0);
}

} // namespace

void draw(PicturePainter& painter, const CGRect& frame, const std::string& title, bool active, const Color& body,
          Buttons has) {
    if (frame.isEmpty()) return;
    PicturePainter::Scope scope(painter);
    painter.clipRoundedRect(frame, cornerRadius);
    painter.fillRect(frame, body);
    const CGRect titleBar = TitleBarGeometry::titleBar(frame);
    painter.fillRect(titleBar, active ? ScreenCapture::activeTitleBarColor() : ScreenCapture::titleBarColor());
    painter.strokeLine({titleBar.minX(), titleBar.minY()}, {titleBar.maxX(), titleBar.minY()}, rgb(200, 200, 200),
                       1);
    // Close, minimize and zoom, where the window takes their clicks.
    const Color buttons[] = {rgb(255, 95, 87), rgb(254, 188, 46), rgb(40, 200, 64)};
    const bool present[] = {has.close, has.minimize, has.zoom};
    using TitleBarGeometry::Button;
    for (const Button button : {Button::close, Button::miniaturize, Button::zoom}) {
        const auto centre = TitleBarGeometry::buttonCentre(frame, button);
        if (!centre) break;
        const double r = TitleBarGeometry::buttonDiameter / 2;
        const CGRect circle{centre->x - r, centre->y - r, 2 * r, 2 * r};
        const int i = static_cast<int>(button);
        if (!present[i]) {
            // A disabled button: a pale disc in a grey ring.
            painter.fillEllipse(circle, rgb(225, 225, 225));
            painter.strokeEllipse(circle.insetBy(0.5, 0.5), rgb(190, 190, 190), 1);
            continue;
        }
        painter.fillEllipse(circle, active ? buttons[i] : rgb(205, 205, 205));
    }
    PicturePainter::TextStyle style;
    style.bold = true;
    style.color = active ? rgb(40, 40, 40) : rgb(150, 150, 150);
    style.align = PicturePainter::Align::center;
    painter.text(title, titleBar.insetBy(std::min(80.0, titleBar.width() / 2 - 1), 0), style);
    painter.strokeRoundedRect(frame, cornerRadius, rgb(140, 140, 140), 1);
}

} // namespace platform::ui::WindowChrome
