// permission accessibility granted|denied | permission automation granted|denied|ask

#include "console/CommandArgs.hpp"
#include "console/CommandError.hpp"
#include "console/CommandRegistration.hpp"
#include "console/ConsoleSession.hpp"
#include "platform/control/SimDesktop.hpp"

namespace tilmora {

namespace {

constexpr const char* usage = "usage: permission accessibility granted|denied | permission automation granted|denied|ask";

void permissionCommand(ConsoleSession&, const CommandArgs& args) {
    const std::string& what = args.text(1);
    const std::string& answer = args.text(2);
    auto& desktop = platform::SimDesktop::shared();
    if (what == "accessibility" && (answer == "granted" || answer == "denied")) {
        desktop.setAccessibilityTrusted(answer == "granted");
    } else if (what == "automation" && answer == "granted") {
        desktop.setAutomationStatus(0);
    } else if (what == "automation" && answer == "denied") {
        desktop.setAutomationStatus(-1743);
    } else if (what == "automation" && answer == "ask") {
        desktop.setAutomationStatus(-1744);
    } else {
        throw CommandError(usage);
    }
}

const CommandRegistration registration({
    {.name = "permission",
     .arguments = ArgumentCheck::exactly(2, usage),
     .handler = permissionCommand,
     .help = {"permission accessibility granted|denied", "permission automation granted|denied|ask"},
     .words = {"accessibility", "automation"},
     .helpOrder = 65},
});

} // namespace

} // namespace tilmora
