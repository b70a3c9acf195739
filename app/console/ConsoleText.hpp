#pragma once

#include "platform/desktop/Geometry.hpp"

#include <string>

namespace tilmora {

/// How the console prints values in its transcript.
class ConsoleText {
public:
    /// The shortest decimal text of `v`, with ".0" for whole numbers ("100.0", "0.5").
    static std::string number(double v);
    /// `text` in double quotes, with `"` and `\` escaped by a backslash and control characters
    /// written as "\n", "\r", "\t" or "\xHH": the text always stays on one line.
    static std::string quote(const std::string& text);
    /// `text` as it is, but with control characters written as `quote` writes them (the echo of a
    /// command).
    static std::string controlsEscaped(const std::string& text);
    /// The reason in a file error of the platform ("could not read \"PATH\": No such file or
    /// directory" gives "no such file or directory"), to follow "cannot read PATH: "; a message
    /// of another form is kept whole.
    static std::string fileProblem(const std::string& message);
    /// "X Y W H" of a rectangle in global points.
    static std::string frame(const platform::CGRect& r);
};

} // namespace tilmora
