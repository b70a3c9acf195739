#pragma once

#include "platform/desktop/Geometry.hpp"

#include <string>

namespace tilmora {

/// How the console prints values in its transcript.
class ConsoleText {
public:
    /// `v` as a person reads it: rounded to two decimals, then its shortest decimal text, with ".0"
    /// for whole numbers ("100.0", "437.5", "165.88"; 62.999999999999886 gives "63.0", -0.001
    /// "0.0"). Every number the console prints goes through here; `expect` compares the number
    /// itself within `numberTolerance`.
    static std::string number(double v);
    /// How near a number must be to the one a script expects when the script gives no larger
    /// tolerance: half the last decimal `number` prints.
    static constexpr double numberTolerance = 0.005;
    /// `text` in double quotes, with `"` and `\` escaped by a backslash and control characters
    /// written as "\n", "\r", "\t" or "\xHH" (below 0x20 and DEL), the C1 controls U+0080 to
    /// U+009F as "\u0080" to "\u009F" and a byte that is no part of a well-formed UTF-8 character
    /// as "\xHH": the text always stays on one line and nothing of it reaches a terminal as a
    /// command. Other characters print whole ("Café 東京", "⌃⌥←"). Every name the console prints
    /// from the program or a file goes through here, `controlsEscaped` or `linesEscaped`.
    static std::string quote(const std::string& text);
    /// `text` as it is, but with control characters written as `quote` writes them (the echo of a
    /// command, a menu item's title).
    static std::string controlsEscaped(const std::string& text);
    /// `text` with control characters written as `quote` writes them, but for its line breaks and
    /// tabs, which stay (the program's output in `show log`).
    static std::string linesEscaped(const std::string& text);
    /// The reason in a file error of the platform ("could not read \"PATH\": No such file or
    /// directory" gives "no such file or directory"), to follow "cannot read PATH: "; a message
    /// of another form is kept whole.
    static std::string fileProblem(const std::string& message);
    /// `text` with the typographic characters of titles in their ASCII spelling: "x" for "×",
    /// "..." for "…", "-" for "–".
    static std::string asciiSpelling(const std::string& text);
    /// Whether a name given in a command names `title`: the same text, or the same once both are in
    /// their ASCII spelling (so "Grid 2 x 2" names "Grid 2 × 2").
    static bool namesTitle(const std::string& name, const std::string& title);
    /// "X Y W H" of a rectangle in global points.
    static std::string frame(const platform::CGRect& r);
};

} // namespace tilmora
