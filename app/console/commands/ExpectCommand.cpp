// expect window <bundle-id> "<title>" frame X Y W H [tolerance T]
// expect window <bundle-id> "<title>" space N | minimized | fullscreen | exists | missing
// expect frontmost <bundle-id> | expect pointer X Y | expect screens N | expect windows N

#include "console/CommandArgs.hpp"
#include "console/CommandError.hpp"
#include "console/CommandRegistration.hpp"
#include "console/ConsoleSession.hpp"
#include "console/ConsoleText.hpp"
#include "console/DesktopQueries.hpp"
#include "console/ExpectationRegistration.hpp"
#include "console/NameSuggestions.hpp"
#include "platform/control/SimDesktop.hpp"
#include "platform/desktop/NSRunningApplication.hpp"
#include "platform/desktop/NSScreen.hpp"
#include "platform/input/NSEvent.hpp"

#include <algorithm>
#include <cmath>

namespace tilmora {

namespace {

using Text = ConsoleText;

/// The checks on one window; a window that is not there fails every check but "missing".
void expectWindow(ConsoleSession& session, const CommandArgs& args) {
    const std::vector<std::string> t = args.texts();
    if (t.size() < 5 || !args.quoted(3))
        throw CommandError("usage: expect window <bundle-id> \"<title>\" ...");
    const std::string label = "window " + t[2] + " " + Text::quote(t[3]);
    auto row = DesktopQueries::findWindow(t[2], t[3]);
    const std::string& check = t[4];
    if (check == "missing" || check == "exists") {
        if (t.size() != 5) throw CommandError("unexpected: " + t[5]);
        const bool wantExists = check == "exists";
        if (row.has_value() != wantExists)
            session.failExpectation(label, wantExists ? "exists" : "missing", row ? "exists" : "missing");
        return;
    }
    if (check == "frame") {
        const platform::CGRect want = CommandArgs::parseRect(t, 5);
        double tolerance = 0;
        if (t.size() == 11 && t[9] == "tolerance") {
            tolerance = CommandArgs::parseNumber(t[10]);
            if (tolerance < 0) throw CommandError("a tolerance cannot be negative");
        } else if (t.size() != 9) {
            throw CommandError("usage: expect window <bundle-id> \"<title>\" frame X Y W H [tolerance T]");
        }
        if (!row) return session.failExpectation(label, "frame " + Text::frame(want), "no such window");
        // The frame printed is rounded: a number it prints holds for the frame it stands for.
        tolerance = std::max(tolerance, Text::numberTolerance);
        const platform::CGRect& f = row->state.frame;
        const bool ok = std::fabs(f.origin.x - want.origin.x) <= tolerance &&
                        std::fabs(f.origin.y - want.origin.y) <= tolerance &&
                        std::fabs(f.size.width - want.size.width) <= tolerance &&
                        std::fabs(f.size.height - want.size.height) <= tolerance;
        if (!ok) session.failExpectation(label, "frame " + Text::frame(want), "frame " + Text::frame(f));
        return;
    }
    if (check == "space") {
        if (t.size() != 6) throw CommandError("usage: expect window <bundle-id> \"<title>\" space N");
        const long want = CommandArgs::parseInteger(t[5]);
        if (!row) return session.failExpectation(label, "space " + t[5], "no such window");
        const int actual = DesktopQueries::desktopNumber(row->state.space);
        if (actual != want)
            session.failExpectation(label, "space " + std::to_string(want),
                                    "space " + std::to_string(actual));
        return;
    }
    if (check == "minimized" || check == "fullscreen") {
        if (t.size() != 5) throw CommandError("unexpected: " + t[5]);
        if (!row) return session.failExpectation(label, check, "no such window");
        const bool actual = check == "minimized" ? row->state.minimized : row->state.fullScreen;
        if (!actual) session.failExpectation(label, check, "not " + check);
        return;
    }
    if (auto mistyped = NameSuggestions::mistyped(
            "window check", check, {"frame", "space", "minimized", "fullscreen", "exists", "missing"},
            "usage: expect window <bundle-id> \"<title>\" frame X Y W H [tolerance T] | space N | minimized | "
            "fullscreen | exists | missing"))
        throw *mistyped;
    throw CommandError("unknown window check: " + check);
}

void runExpectation(ConsoleSession& session, const CommandArgs& args) {
    const std::string& what = args.text(1);
    if (what == "window") return expectWindow(session, args);
    if (what == "frontmost") {
        if (args.size() != 3) throw CommandError("usage: expect frontmost <bundle-id>");
        auto front =
            platform::NSRunningApplication::runningApplication(platform::SimDesktop::shared().frontmost());
        const std::string actual = front ? front->bundleIdentifier().value_or("-") : "none";
        if (actual != args.text(2)) session.failExpectation("frontmost application", args.text(2), actual);
        return;
    }
    if (what == "pointer") {
        if (args.size() != 4) throw CommandError("usage: expect pointer X Y");
        const platform::CGPoint want{args.number(2), args.number(3)};
        const platform::CGPoint p = platform::NSEvent::mouseLocation();
        if (std::fabs(p.x - want.x) > Text::numberTolerance || std::fabs(p.y - want.y) > Text::numberTolerance)
            session.failExpectation("pointer", Text::number(want.x) + " " + Text::number(want.y),
                                    Text::number(p.x) + " " + Text::number(p.y));
        return;
    }
    if (what == "screens" || what == "windows") {
        if (args.size() != 3) throw CommandError("usage: expect " + what + " N");
        const long want = args.integer(2);
        const long actual = what == "screens" ? static_cast<long>(platform::NSScreen::screens().size())
                                              : static_cast<long>(DesktopQueries::windows().size());
        if (actual != want) session.failExpectation(what, std::to_string(want), std::to_string(actual));
        return;
    }
    if (const auto* check = ExpectationRegistration::find(what)) return (*check)(session, args);
    throw CommandError("unknown expectation: " + what);
}

/// Runs the check and counts it for the script's verdict; a check that cannot run is an error,
/// not counted.
void expectCommand(ConsoleSession& session, const CommandArgs& args) {
    runExpectation(session, args);
    session.countExpectation();
}

const CommandRegistration registration({
    {.name = "expect",
     .arguments = ArgumentCheck::atLeast(1, "usage: expect window|frontmost|pointer|screens|windows ..."),
     .handler = expectCommand,
     .help = {"expect window <bundle-id> \"<title>\" frame X Y W H [tolerance T]",
              "expect window <bundle-id> \"<title>\" space N | minimized | fullscreen | exists | missing",
              "expect frontmost <bundle-id> | expect pointer X Y | expect screens N | expect windows N"},
     // With the words the other command files add (`ExpectationRegistration`).
     .words = {"window", "frontmost", "pointer", "screens", "windows", "program", "menu", "log", "alert", "toast", "ui"},
     .helpOrder = 800},
});

} // namespace

} // namespace tilmora
