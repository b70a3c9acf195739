// screen add <number|none> frame X Y W H visible X Y W H [scale S] [name "N"]
// screen remove <number>

#include "console/CommandArgs.hpp"
#include "console/CommandError.hpp"
#include "console/CommandRegistration.hpp"
#include "console/ConsoleSession.hpp"
#include "console/ConsoleText.hpp"
#include "platform/control/DisplayRange.hpp"
#include "platform/control/SimDesktop.hpp"

#include <algorithm>

namespace tilmora {

namespace {

const char* const kUsage = "usage: screen add <number|none> frame X Y W H visible X Y W H ...";
const char* const kRemoveUsage = "usage: screen remove <number>";
const char* const kVerbsUsage =
    "usage: screen add <number|none> frame X Y W H visible X Y W H ... | screen remove <number>";

void screenCommand(ConsoleSession& session, const CommandArgs& args) {
    session.leaveStartDesktop();
    const std::vector<std::string> t = args.texts();
    auto& desktop = platform::SimDesktop::shared();
    if (t[1] == "remove") {
        if (t.size() != 3) throw CommandError(kRemoveUsage);
        const long number = CommandArgs::parseInteger(t[2]);
        auto ids = desktop.displayIDs();
        if (std::find(ids.begin(), ids.end(), static_cast<std::uint32_t>(number)) == ids.end())
            throw CommandError("no display " + t[2]);
        // The console keeps one display, as a desktop a person uses always has one.
        if (ids.size() == 1) throw CommandError("at least one display must stay");
        desktop.removeDisplay(static_cast<std::uint32_t>(number));
        return;
    }
    if (t[1] != "add") throw CommandError(kVerbsUsage);
    if (t.size() < 3) throw CommandError(kUsage);
    platform::DisplaySpec spec;
    if (t[2] == "none") {
        std::uint32_t next = 1;
        for (auto id : desktop.displayIDs())
            next = std::max(next, id + 1);
        spec.displayID = next;
        spec.hasScreenNumber = false;
    } else {
        const long number = CommandArgs::parseInteger(t[2]);
        if (number <= 0) throw CommandError("a display number must be positive");
        spec.displayID = static_cast<std::uint32_t>(number);
        auto ids = desktop.displayIDs();
        if (std::find(ids.begin(), ids.end(), spec.displayID) != ids.end())
            throw CommandError("display " + t[2] + " exists already");
    }
    spec.name = "Display " + std::to_string(spec.displayID);
    bool haveFrame = false;
    for (std::size_t i = 3; i < t.size();) {
        if (t[i] == "frame") {
            spec.frame = CommandArgs::parseRect(t, i + 1);
            haveFrame = true;
            i += 5;
        } else if (t[i] == "visible") {
            spec.visibleFrame = CommandArgs::parseRect(t, i + 1);
            i += 5;
        } else if (t[i] == "scale" && i + 1 < t.size()) {
            spec.backingScaleFactor = CommandArgs::parseNumber(t[i + 1]);
            if (spec.backingScaleFactor <= 0) throw CommandError("a scale must be positive");
            i += 2;
        } else if (t[i] == "name" && i + 1 < t.size()) {
            spec.name = t[i + 1];
            i += 2;
        } else {
            throw CommandError("unexpected: " + t[i]);
        }
    }
    if (!haveFrame) throw CommandError("a screen needs a frame");
    if (spec.frame.size.width <= 0 || spec.frame.size.height <= 0)
        throw CommandError("a screen needs a size");
    // The desktop holds displays within its range only (docs/console.md gives it).
    if (auto problem = platform::DisplayRange::problem(spec)) throw CommandError(*problem);
    if (spec.visibleFrame && !spec.frame.contains(*spec.visibleFrame))
        throw CommandError("visible " + ConsoleText::frame(*spec.visibleFrame) + ": not inside the frame " +
                           ConsoleText::frame(spec.frame));
    desktop.addDisplay(spec);
}

const CommandRegistration registration({
    {.name = "screen",
     // One word is enough to choose between add and remove; each checks the rest itself.
     .arguments = ArgumentCheck::atLeast(1, kVerbsUsage),
     .handler = screenCommand,
     .help = {"screen add <number|none> frame X Y W H visible X Y W H [scale S] [name \"N\"]",
              "screen remove <number>"},
     .words = {"add", "remove"},
     .helpOrder = 200},
});

} // namespace

} // namespace tilmora
