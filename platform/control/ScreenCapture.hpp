#pragma once

#include "platform/control/ScreenPicture.hpp"
#include "platform/ui/Color.hpp"

#include <cstdint>
#include <filesystem>
#include <optional>

namespace platform::ui {

/// The simulated window server's screen capture (control API: tests and the desktop console; the
/// system never calls it). It draws what a person would see on the simulated desktop:
///
/// - the union of the displays' frames (or one display's), y flipped so that the picture looks like
///   the desktop; each display's area in the desktop colour with its menu-bar strip (the part of
///   the frame above the visible frame) showing the frontmost application's name; between
///   displays the neutral background;
/// - other applications' windows on screen, back to front in the window server's order (lower
///   layers first): a rounded rectangle with a title bar and the title, in the active colours for
///   the frontmost application; minimized windows, windows of hidden applications and windows on
///   inactive Desktops are left out;
/// - the program's own windows at their level and alpha: their background, layer trees (shape
///   layers with path, fill, stroke and line width, text layers, images), views and controls drawn
///   plainly, and hosted declarative views through the element tree the view driver reads;
/// - windows at or above the menu bar's level (status items, overlays) over the menu bar;
/// - the pointer as an arrow on top.
///
/// Pixels per point = `scale`. Colours are the palette below, exact in 8 bits. The same desktop
/// always gives the same pixels and the same PNG bytes. Main thread (it reads the program's
/// windows); logs nothing; failures throw `platform::Error`.
class ScreenCapture {
public:
    static constexpr double minimumScale = 0.25;
    static constexpr double maximumScale = 4;
    /// The largest picture side, pixels.
    static constexpr int maximumSide = 16384;

    struct Options {
        /// Pixels per point, `minimumScale`...`maximumScale`.
        double scale = 1;
        /// Only this display's area (its window-server number); none: every display.
        std::optional<std::uint32_t> display;
        bool showsPointer = true;
        /// False: texts are left out (everything else is drawn as usual), so that a picture with
        /// them and one without show each text's pixels and what lies under them.
        bool drawsText = true;
    };

    /// Draws the desktop. Throws `platform::Error` for a scale out of range ("scale 5.0 is outside
    /// 0.25...4"), an unknown display ("no display 3"), a desktop without displays ("there is no
    /// display to draw") or a picture over `maximumSide` on a side ("a picture of 20000 x 1080
    /// pixels is over 16384 pixels on a side").
    static ScreenPicture capture(const Options& options);
    static ScreenPicture capture();

    /// Draws the desktop and writes it as a PNG file at `file` (atomically); returns the picture.
    /// On any failure (the ones of `capture`, a folder that does not exist: "no such folder: DIR",
    /// a failed write) nothing is written.
    static ScreenPicture writePNG(const std::filesystem::path& file, const Options& options);

    // ----- the palette

    /// Between and around the displays.
    static Color backgroundColor() { return rgb(38, 38, 42); }
    /// A display's bare desktop.
    static Color desktopColor() { return rgb(64, 110, 160); }
    static Color menuBarColor() { return rgb(236, 236, 238); }
    static Color menuBarTextColor() { return rgb(30, 30, 30); }
    /// The body of another application's window.
    static Color windowBodyColor() { return rgb(255, 255, 255); }
    /// The title bar of a window whose application is not frontmost.
    static Color titleBarColor() { return rgb(232, 232, 232); }
    /// The title bar of a window of the frontmost application.
    static Color activeTitleBarColor() { return rgb(208, 210, 216); }

private:
    static Color rgb(int r, int g, int b) { return Color::rgba(r / 255.0, g / 255.0, b / 255.0); }
};

} // namespace platform::ui
