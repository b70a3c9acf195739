// alert answer N|"Button title" [text "typed"]; expect alert "text"

#include "console/CommandArgs.hpp"
#include "console/CommandError.hpp"
#include "console/CommandRegistration.hpp"
#include "console/ConsoleSession.hpp"
#include "console/ConsoleText.hpp"
#include "console/ExpectationRegistration.hpp"
#include "platform/control/UISimulator.hpp"

namespace tilmora {

namespace {

using platform::ui::AlertResponse;
using platform::ui::UISimulator;

constexpr const char* usage = "usage: alert answer N|\"Button title\" [text \"typed\"]";

void alertCommand(ConsoleSession&, const CommandArgs& args) {
    if (args.text(1) != "answer" || args.argumentCount() == 3 ||
        (args.argumentCount() == 4 && args.text(3) != "text")) {
        throw CommandError(usage);
    }
    std::optional<std::string> typed;
    if (args.argumentCount() == 4) typed = args.text(4);
    const std::string& which = args.text(2);
    if (!args.quoted(2) && !which.empty() && which.find_first_not_of("0123456789") == std::string::npos) {
        const long number = args.integer(2);
        if (number < 1) throw CommandError("alert buttons count from 1");
        UISimulator::scriptAlertResponse(AlertResponse::press(number - 1, typed));
    } else {
        UISimulator::scriptAlertResponse(AlertResponse::pressTitled(which, typed));
    }
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
     .arguments = ArgumentCheck::between(2, 4, usage),
     .handler = alertCommand,
     .help = {"alert answer N|\"Button title\" [text \"typed\"]"},
     .helpOrder = 66},
});

const ExpectationRegistration expectations({{"alert", expectAlert}});

} // namespace

} // namespace tilmora
