// alert answer N|"Button title" [text "typed"] [pick "Item"] [choose "Button"]; expect alert "text"

#include "console/CommandArgs.hpp"
#include "console/CommandError.hpp"
#include "console/CommandRegistration.hpp"
#include "console/ConsoleSession.hpp"
#include "console/ConsoleText.hpp"
#include "console/ExpectationRegistration.hpp"
#include "console/ScriptedAnswers.hpp"
#include "platform/control/UISimulator.hpp"

namespace tilmora {

namespace {

using platform::ui::UISimulator;

constexpr const char* usage =
    "usage: alert answer N|\"Button title\" [text \"typed\"] [pick \"Item\"] [choose \"Button\"]";

/// The command as the script wrote it, to name the answer in later messages.
std::string commandText(const CommandArgs& args) {
    std::string text;
    for (std::size_t i = 0; i < args.size(); ++i)
        text += (i == 0 ? "" : " ") + (args.quoted(i) ? ConsoleText::quote(args.text(i)) : args.text(i));
    return text;
}

/// Queues the answer for the next alert or modal window, whichever the program shows first.
void alertCommand(ConsoleSession& session, const CommandArgs& args) {
    if (args.text(1) != "answer" || args.argumentCount() % 2 != 0) throw CommandError(usage);
    ScriptedAnswers::Answer answer;
    for (std::size_t i = 3; i + 1 <= args.argumentCount(); i += 2) {
        const std::string& option = args.text(i);
        std::optional<std::string>* slot = option == "text"     ? &answer.typed
                                           : option == "pick"   ? &answer.pick
                                           : option == "choose" ? &answer.choose
                                                                : nullptr;
        if (!slot || slot->has_value()) throw CommandError(usage);
        *slot = args.text(i + 1);
        if ((option == "pick" || option == "choose") && slot->value().empty())
            throw CommandError("alert answer: " + option + " names nothing (\"\")");
    }
    const std::string& which = args.text(2);
    const bool numeric = !which.empty() && which.find_first_of("0123456789") != std::string::npos &&
                         which.find_first_not_of("0123456789+-.eE") == std::string::npos;
    if (!args.quoted(2) && numeric) {
        const long number = args.integer(2);
        if (number < 1) throw CommandError("alert buttons count from 1");
        answer.buttonNumber = number;
    } else {
        if (which.empty()) throw CommandError("alert answer names no button (\"\"): give its title or number");
        answer.buttonTitle = which;
    }
    answer.command = commandText(args);
    answer.line = session.lineNumber();
    ScriptedAnswers::shared().enqueue(std::move(answer));
}

void expectAlert(ConsoleSession& session, const CommandArgs& args) {
    if (args.argumentCount() != 2) throw CommandError("usage: expect alert \"text\"");
    const std::string& text = args.text(2);
    for (const auto& alert : UISimulator::alertLog()) {
        if (alert.messageText.find(text) != std::string::npos || alert.informativeText.find(text) != std::string::npos)
            return;
    }
    session.failExpectation("alert " + ConsoleText::quote(text), "an alert showing it",
                            std::to_string(UISimulator::alertLog().size()) + " alerts without it");
}

const CommandRegistration registration({
    {.name = "alert",
     .arguments = ArgumentCheck::between(2, 8, usage),
     .handler = alertCommand,
     .help = {"alert answer N|\"Button title\" [text \"typed\"] [pick \"Item\"] [choose \"Button\"]"},
     .words = {"answer"},
     .helpOrder = 66},
});

const ExpectationRegistration expectations({{"alert", expectAlert}});

} // namespace

} // namespace tilmora
