// wait <seconds>

#include "console/CommandArgs.hpp"
#include "console/CommandError.hpp"
#include "console/CommandRegistration.hpp"
#include "console/ConsoleSession.hpp"

namespace tilmora {

namespace {

void waitCommand(ConsoleSession& session, const CommandArgs& args) {
    const double seconds = args.number(1);
    if (seconds < 0 || seconds > 86400) throw CommandError("wait takes 0 to 86400 seconds");
    session.advance(seconds);
}

const CommandRegistration registration({
    {.name = "wait",
     .arguments = ArgumentCheck::exactly(1, "usage: wait <seconds>"),
     .handler = waitCommand,
     .help = {"wait <seconds>"},
     .helpOrder = 600},
});

} // namespace

} // namespace tilmora
