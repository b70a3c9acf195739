// key <chord> | type "<text>"
// mouse move X Y | mouse down | mouse up | mouse scroll DY
// drag X1 Y1 to X2 Y2 [steps N] [with opt+shift]

#include "console/ChordText.hpp"
#include "console/CommandArgs.hpp"
#include "console/CommandError.hpp"
#include "console/CommandInterrupted.hpp"
#include "console/CommandRegistration.hpp"
#include "console/ConsoleSession.hpp"
#include "console/MenuText.hpp"
#include "console/StatusMenuReading.hpp"
#include "platform/control/SimInput.hpp"
#include "platform/foundation/Text.hpp"
#include "platform/foundation/Utf8Text.hpp"
#include "platform/input/KeyChord.hpp"
#include "platform/input/NSEvent.hpp"
#include "snapping/DragSession.hpp"

#include <string>
#include <utility>
#include <vector>

namespace tilmora {

namespace {

/// How long a `drag` takes on the clock (seconds), and its default number of pointer steps.
constexpr double kDragSeconds = 0.3;
constexpr int kDragSteps = 30;

const char* const kMouseUsage = "usage: mouse move X Y | mouse down | mouse up | mouse scroll DY";

void keyCommand(ConsoleSession&, const CommandArgs& args) {
    platform::SimInput::shared().press(ChordText::parse(args.text(1)));
}

/// Types the text as a person does on the U.S. keyboard: each character a key types (Shift for
/// capitals and the shifted signs, Return for a line break) is that key's press; a run of
/// characters no key types is committed as an input method would (`SimInput::insertText`).
void typeCommand(ConsoleSession&, const CommandArgs& args) {
    const std::string& text = args.text(1);
    if (!platform::Text::isValidUtf8(text)) throw CommandError("the text to type is not UTF-8");
    auto& input = platform::SimInput::shared();
    std::string untyped;
    for (const std::string& character : platform::Text::characters(text)) {
        const auto chord = platform::SimInput::chordTyping(character);
        if (!chord) {
            untyped += character;
            continue;
        }
        input.insertText(std::exchange(untyped, {}));
        input.press(*chord);
    }
    input.insertText(untyped);
}

/// A pointer command with a button held (after it) lets one sample of the drag monitor pass on the
/// clock, as a person's hand takes at least that long between two moves: a drag made of `mouse
/// down`, `mouse move` ... `mouse up` is seen by the program as `drag` with the same points is.
void letTheDragMonitorSample(ConsoleSession& session) {
    if (platform::NSEvent::pressedMouseButtons() != 0) session.advance(DragSession::sampleInterval);
}

/// Presses or releases the left button; a click that opens the status menu prints it as `menu`
/// does, and the menu closes at the end of the command.
void pressLeftButton(ConsoleSession& session, bool down) {
    std::string shown;
    const StatusMenuReading reading([&shown](platform::ui::Menu& menu) {
        shown = MenuText::describe(menu);
        return std::vector<std::string>{};
    });
    auto& input = platform::SimInput::shared();
    down ? input.mouseDown(0) : input.mouseUp(0);
    session.settle();
    if (reading.opened()) session.out() << shown;
}

void mouseCommand(ConsoleSession& session, const CommandArgs& args) {
    auto& input = platform::SimInput::shared();
    if (args.size() == 4 && args.text(1) == "move") {
        input.moveMouse({args.number(2), args.number(3)});
        letTheDragMonitorSample(session);
    } else if (args.size() == 2 && args.text(1) == "down") {
        pressLeftButton(session, true);
        letTheDragMonitorSample(session);
    } else if (args.size() == 2 && args.text(1) == "up") {
        pressLeftButton(session, false);
    } else if (args.size() == 3 && args.text(1) == "scroll") {
        // DY points towards the end of what lies under the pointer (negative: back).
        input.scrollWheel(args.number(2));
    } else {
        throw CommandError(kMouseUsage);
    }
}

/// Presses at the first point, moves in `steps` even steps to the second over 0.3 s of the clock
/// (holding the modifiers), releases there, and lets the 0.3 s pass. Interrupted, it releases the
/// button where the pointer stands.
void dragCommand(ConsoleSession& session, const CommandArgs& args) {
    if (args.text(3) != "to") throw CommandError("usage: drag X1 Y1 to X2 Y2 [steps N] [with opt]");
    const platform::CGPoint from{args.number(1), args.number(2)};
    const platform::CGPoint to{args.number(4), args.number(5)};
    int steps = kDragSteps;
    platform::ModifierFlags held;
    for (std::size_t i = 6; i < args.size();) {
        if (args.text(i) == "steps" && i + 1 < args.size()) {
            const long n = args.integer(i + 1);
            if (n < 1 || n > 10000) throw CommandError("steps must be 1 to 10000");
            steps = static_cast<int>(n);
            i += 2;
        } else if (args.text(i) == "with" && i + 1 < args.size()) {
            held = CommandArgs::parseModifiers(args.text(i + 1));
            i += 2;
        } else {
            throw CommandError("unexpected: " + args.text(i));
        }
    }
    platform::SimInput::shared().drag(from, to, kDragSeconds, steps, held);
    try {
        session.advance(kDragSeconds);
    } catch (const CommandInterrupted&) {
        // A drag stopped half way lets go where the pointer stands.
        platform::SimInput::shared().stopDrags();
        session.settle();
        throw;
    }
}

const CommandRegistration registration({
    {.name = "key",
     .arguments = ArgumentCheck::exactly(1, "usage: key <chord>"),
     .handler = keyCommand,
     .help = {"key <chord>                       e.g. key ctrl+opt+left, key ⌃⌥←, help keys"},
     .helpOrder = 500},
    {.name = "type",
     .arguments = ArgumentCheck::exactly(1, "usage: type \"<text>\""),
     .handler = typeCommand,
     .help = {"type \"<text>\"                     types the text as key presses (Shift for capitals)"},
     .helpOrder = 505},
    {.name = "mouse",
     .arguments = ArgumentCheck::between(1, 3, kMouseUsage),
     .handler = mouseCommand,
     .help = {"mouse move X Y | mouse down | mouse up | mouse scroll DY   (DY points down, negative up)"},
     .words = {"move", "down", "up", "scroll"},
     .helpOrder = 510},
    {.name = "drag",
     .arguments = ArgumentCheck::atLeast(5, "usage: drag X1 Y1 to X2 Y2 [steps N] [with opt]"),
     .handler = dragCommand,
     .help = {"drag X1 Y1 to X2 Y2 [steps N] [with opt+shift]"},
     .helpOrder = 520},
});

} // namespace

} // namespace tilmora
