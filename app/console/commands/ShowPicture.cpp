#include "console/commands/ShowPicture.hpp"

#include "console/CommandArgs.hpp"
#include "console/CommandError.hpp"
#include "console/ConsoleSession.hpp"
#include "platform/control/ScreenCapture.hpp"

#include <ostream>

namespace tilmora {

namespace {

const char* const kUsage = "usage: show picture FILE.png [display N] [scale S]";

} // namespace

void showPicture(ConsoleSession& session, const CommandArgs& args) {
    // show picture FILE [display N] [scale S]: the options in any order, each at most once.
    if (args.argumentCount() < 2) throw CommandError(kUsage);
    const std::string& file = args.text(2);
    // The picture is PNG data: a name that says otherwise would mislead whoever opens the file.
    if (file.size() <= 4 || file.substr(file.size() - 4) != ".png")
        throw CommandError("a picture is a PNG file: its name ends in \".png\" (" + file + ")");
    platform::ui::ScreenCapture::Options options;
    bool haveDisplay = false, haveScale = false;
    for (std::size_t i = 3; i < args.size(); i += 2) {
        const std::string& word = args.text(i);
        if (i + 1 >= args.size()) throw CommandError(kUsage);
        if (word == "display" && !haveDisplay) {
            const long number = args.integer(i + 1);
            if (number <= 0) throw CommandError("no display " + args.text(i + 1));
            options.display = static_cast<std::uint32_t>(number);
            haveDisplay = true;
        } else if (word == "scale" && !haveScale) {
            options.scale = args.number(i + 1);
            haveScale = true;
        } else {
            throw CommandError(kUsage);
        }
    }
    const auto picture = platform::ui::ScreenCapture::writePNG(file, options);
    session.out() << "picture " << file << " " << picture.width() << " x " << picture.height() << "\n";
}

} // namespace tilmora
