#include "platform/control/ScreenCapture.hpp"

#include "platform/control/PicturePainter.hpp"
#include "platform/control/ViewPainter.hpp"
#include "platform/control/WindowChrome.hpp"
#include "platform/foundation/Error.hpp"
#include "platform/foundation/FileSystem.hpp"
#include "platform/foundation/Text.hpp"
#include "platform/input/NSEvent.hpp"
#include "platform/internal/DesktopTransaction.hpp"
#include "platform/ui/Application.hpp"
#include "platform/ui/StatusItem.hpp"
#include "platform/ui/Window.hpp"

#include <algorithm>
#include <cmath>
#include <memory>

namespace platform::ui {

namespace {

/// One display as the window server holds it (global coordinates).
struct SceneDisplay {
    std::uint32_t id = 0;
    CGRect frame;
    CGRect visibleFrame;
};

/// One on-screen window, copied out of the desktop's records.
struct SceneWindow {
    std::uint32_t number = 0;
    std::string title;
    CGRect frame;
    int layer = 0;
    double alpha = 1;
    bool own = false;
    bool active = false;
};

struct Scene {
    std::vector<SceneDisplay> displays;
    /// Back to front: lower layers first, then the window server's order.
    std::vector<SceneWindow> windows;
    std::string frontmostName;
};

Scene readScene() {
    Scene scene;
    TXN;
    for (const auto& d : m.displays)
        scene.displays.push_back({d.spec.displayID, d.spec.frame, d.visibleFrame()});
    if (auto it = m.apps.find(m.frontPid); it != m.apps.end())
        scene.frontmostName = it->second.spec.localizedName.value_or(it->second.spec.bundleIdentifier);
    for (auto it = m.zOrder.rbegin(); it != m.zOrder.rend(); ++it) {
        const auto* w = m.window(*it);
        if (!w || !m.onScreen(*w)) continue;
        scene.windows.push_back({w->number, w->spec.title, w->spec.frame, w->spec.layer, w->spec.alpha, w->own,
                                 w->pid == m.frontPid});
    }
    std::stable_sort(scene.windows.begin(), scene.windows.end(),
                     [](const SceneWindow& a, const SceneWindow& b) { return a.layer < b.layer; });
    return scene;
}

/// Whether the program's window `number` holds a status item's button.
bool holdsStatusItem(std::uint32_t number) {
    for (const auto& item : StatusBar::system().items())
        if (item->buttonWindow() && item->buttonWindow()->windowNumber() == long(number)) return true;
    return false;
}

void drawWindow(PicturePainter& painter, const SceneWindow& w, const std::vector<SceneDisplay>& displays) {
    if (w.alpha <= 0) return;
    if (w.own && holdsStatusItem(w.number)) {
        // Every display's menu bar shows the status item, where a press there reaches it.
        if (Window* window = Application::shared().windowWithNumber(w.number)) {
            if (const auto& content = window->contentView()) content->layoutSubtreeIfNeeded();
            for (const auto& d : displays)
                ViewPainter(painter).window(*window, StatusBar::system().buttonFrame(d.frame), w.alpha,
                                            w.active);
        }
        return;
    }
    if (w.own) {
        // The program's window is drawn from the toolkit's object; one the toolkit no longer
        // lists (the application object was reset) shows nothing.
        if (Window* window = Application::shared().windowWithNumber(w.number)) {
            // What is on screen has been laid out, as a display pass does before it draws.
            if (const auto& content = window->contentView()) content->layoutSubtreeIfNeeded();
            ViewPainter(painter).window(*window, w.frame, w.alpha, w.active);
        }
        return;
    }
    PicturePainter::Scope scope(painter);
    const bool grouped = w.alpha < 1;
    if (grouped) painter.beginGroup();
    WindowChrome::draw(painter, w.frame, w.title, w.active, ScreenCapture::windowBodyColor());
    if (grouped) painter.endGroup(w.alpha);
}

void drawMenuBar(PicturePainter& painter, const SceneDisplay& d, const std::string& frontmostName) {
    const double top = d.frame.maxY();
    const double height = top - std::min(top, d.visibleFrame.maxY());
    if (height <= 0) return;
    const CGRect strip{d.frame.minX(), top - height, d.frame.width(), height};
    painter.fillRect(strip, ScreenCapture::menuBarColor());
    PicturePainter::TextStyle style;
    style.bold = true;
    style.size = std::min(13.0, height * 0.6);
    style.color = ScreenCapture::menuBarTextColor();
    painter.text(frontmostName, {strip.minX() + 16, strip.minY(), std::min(300.0, strip.width() / 2), strip.height()},
                 style);
}

/// The arrow pointer with its tip at `tip` (global coordinates).
void drawPointer(PicturePainter& painter, CGPoint tip) {
    static const CGPoint outline[] = {{0, 0}, {0, -17}, {4, -13}, {7, -20}, {9.5, -19}, {6.5, -12}, {12, -12}};
    cairo_t* cr = painter.context();
    cairo_new_path(cr);
    for (const auto& p : outline)
        cairo_line_to(cr, tip.x + p.x, tip.y + p.y);
    cairo_close_path(cr);
    painter.setColor(Color::blackColor());
    cairo_fill_preserve(cr);
    painter.setColor(Color::whiteColor());
    cairo_set_line_width(cr, 1);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
}

std::string scaleText(double scale) {
    return Text::doubleDescription(scale);
}

/// A whole number of pixels as a person reads it: its digits while it is below 1e15, else the
/// double's description ("1e+20"), so no side is ever printed wrapped.
std::string pixelCountText(double pixels) {
    if (std::abs(pixels) < 1e15) return std::to_string(static_cast<long long>(pixels));
    return Text::doubleDescription(pixels);
}

} // namespace

ScreenPicture ScreenCapture::capture(const Options& options) {
    if (!(options.scale >= minimumScale && options.scale <= maximumScale))
        throw Error("scale " + scaleText(options.scale) + " is outside 0.25...4");
    Scene scene = readScene();
    CGRect area = CGRect::null();
    for (const auto& d : scene.displays) {
        if (options.display && d.id != *options.display) continue;
        area = area.unionWith(d.frame);
    }
    if (options.display && area.isNull()) throw Error("no display " + std::to_string(*options.display));
    if (area.isEmpty()) throw Error("there is no display to draw");
    const double w = std::round(area.width() * options.scale);
    const double h = std::round(area.height() * options.scale);
    // Only a side known to be in range becomes an integer (a NaN side fails the test too).
    if (!(w <= maximumSide && h <= maximumSide))
        throw Error("a picture of " + pixelCountText(w) + " x " + pixelCountText(h) + " pixels is over " +
                    std::to_string(maximumSide) + " pixels on a side");
    ScreenPicture picture(area, options.scale, std::max(1, static_cast<int>(w)), std::max(1, static_cast<int>(h)));

    std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> surface(
        cairo_image_surface_create_for_data(picture.data(), CAIRO_FORMAT_RGB24, picture.width(), picture.height(),
                                            picture.stride()),
        &cairo_surface_destroy);
    std::unique_ptr<cairo_t, decltype(&cairo_destroy)> context(cairo_create(surface.get()), &cairo_destroy);
    if (cairo_status(context.get()) != CAIRO_STATUS_SUCCESS)
        throw Error(std::string("cannot draw the picture: ") + cairo_status_to_string(cairo_status(context.get())));
    cairo_t* cr = context.get();
    // Global coordinates (points, y up) in, pixels (y down from the area's top-left) out.
    cairo_matrix_t matrix;
    cairo_matrix_init(&matrix, options.scale, 0, 0, -options.scale, -area.minX() * options.scale,
                      area.maxY() * options.scale);
    cairo_set_matrix(cr, &matrix);

    PicturePainter painter(cr);
    painter.drawsText = options.drawsText;
    painter.fillRect(area, backgroundColor());
    for (const auto& d : scene.displays)
        painter.fillRect(d.frame, desktopColor());
    // Windows below the menu bar's level, the menu bars, then everything at or above it.
    auto firstAbove = std::find_if(scene.windows.begin(), scene.windows.end(),
                                   [](const SceneWindow& win) { return win.layer >= WindowLevel::mainMenu; });
    for (auto it = scene.windows.begin(); it != firstAbove; ++it)
        drawWindow(painter, *it, scene.displays);
    for (const auto& d : scene.displays)
        drawMenuBar(painter, d, scene.frontmostName);
    for (auto it = firstAbove; it != scene.windows.end(); ++it)
        drawWindow(painter, *it, scene.displays);
    if (options.showsPointer) {
        const CGPoint pointer = NSEvent::mouseLocation();
        const bool onADisplay = std::any_of(scene.displays.begin(), scene.displays.end(),
                                            [&](const SceneDisplay& d) { return d.frame.contains(pointer); });
        if (onADisplay) drawPointer(painter, pointer);
    }
    cairo_surface_flush(surface.get());
    return picture;
}

ScreenPicture ScreenCapture::capture() {
    return capture(Options{});
}

ScreenPicture ScreenCapture::writePNG(const std::filesystem::path& file, const Options& options) {
    std::filesystem::path folder = file.parent_path();
    if (folder.empty()) folder = ".";
    if (!FileSystem::isDirectory(folder)) throw Error("no such folder: " + folder.string());
    ScreenPicture picture = capture(options);
    FileSystem::writeAtomically(file, picture.pngData());
    return picture;
}

} // namespace platform::ui
