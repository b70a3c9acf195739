#pragma once

#include "platform/control/ScreenPicture.hpp"
#include "platform/desktop/Geometry.hpp"

#include <string>
#include <vector>

namespace testsupport {

/// What a person would find wrong with how a window shows, read from `ui show`'s lines of the
/// window and a picture of the screen it is on (see `WindowLayoutCheck::problems`).
class WindowLayoutCheck {
public:
    /// One line of `ui show`: its depth (two spaces a level), kind, id, quoted text, value,
    /// flags and frame (global points, y up).
    struct Line {
        std::size_t depth = 0;
        std::string kind;
        std::string id;
        std::string text;
        std::string value;
        bool disabled = false;
        bool scrolledOut = false;
        bool hasFrame = false;
        platform::CGRect frame;
        std::string source;
    };

    /// The lines of `ui show`'s output.
    static std::vector<Line> parse(const std::string& shown);

    /// The contrast ratio of two colours (1 to 21), from their relative luminance.
    static double contrast(const platform::ui::ScreenPicture::Pixel& a,
                           const platform::ui::ScreenPicture::Pixel& b);

    /// The problems of a window whose content area (global points, y up) is `content`:
    /// - a control or text that no scroll view hides ("scrolled-out") and that does not lie inside
    ///   the content area;
    /// - two controls or texts printed as siblings (the same parent line) whose frames overlap;
    /// - a text drawn in an enabled control or label (a text field's value, not its placeholder)
    ///   whose contrast with the colour drawn under it is under 3:1: the largest contrast, within
    ///   the element's frame, between a pixel of `picture` and the same pixel of `bare`, the same
    ///   picture drawn without texts (1 when the text changed no pixel).
    /// Each problem is one line naming the element.
    static std::vector<std::string> problems(const std::string& shown, const platform::CGRect& content,
                                             const platform::ui::ScreenPicture& picture,
                                             const platform::ui::ScreenPicture& bare);
};

} // namespace testsupport
