#include "windows/AppleScriptRunner.hpp"

#include "platform/desktop/NSAppleScript.hpp"
#include "platform/dispatch/DispatchQueue.hpp"
#include "platform/dispatch/MainThread.hpp"
#include "platform/dispatch/Thread.hpp"
#include "windows/SpacesMover.hpp"
#include "windows/WindowManager.hpp"

#include <array>

namespace tilmora::WindowManager {

namespace {

/// Seconds the desktop is given to finish a Desktop switch.
constexpr double kSwitchSettlePause = 0.220;

/// Compiles and runs the script and classifies its error; main thread only.
bool runAppleScriptBody(const std::string& source, const std::string& label) {
    auto script = platform::NSAppleScript::create(source);
    if (!script) return false;
    std::optional<platform::CFDictionary> error;
    script->executeAndReturnError(error);
    if (!error) return true;
    std::optional<std::int64_t> number;
    if (const auto* value = platform::lookup(*error, platform::NSAppleScriptErrorNumber))
        number = value->integerValue();
    if (number && (*number == -1743 || *number == -1712 || *number == -10000))
        logLine("WARN", label + " AppleScript error (" + std::to_string(*number) +
                            "). Check Automation permissions / responsiveness for Terminal/System Events.");
    else
        logLine("WARN", label + " AppleScript error: " + platform::CFValue(*error).description());
    return false;
}

} // namespace

bool runAppleScript(const std::string& source, const std::string& label) {
    if (platform::isMainThread()) return runAppleScriptBody(source, label);
    return platform::DispatchQueue::main().sync([&] { return runAppleScriptBody(source, label); });
}

std::optional<int> desktopKeyCode(int desktop) {
    static constexpr std::array<int, 9> codes = {18, 19, 20, 21, 23, 22, 26, 28, 25};
    if (desktop < 1 || desktop > 9) return std::nullopt;
    return codes[std::size_t(desktop - 1)];
}

bool appleScriptSwitchToSpace(std::uint64_t spaceID, SpacesMover& mover, RestoreLogSession& session,
                              const std::string& context) {
    const std::string id = std::to_string(spaceID);
    const auto desktop = mover.desktopNumber(spaceID);
    const auto keyCode = desktop ? desktopKeyCode(*desktop) : std::nullopt;
    if (!keyCode) {
        session.logOnce("asNoDesktop_" + id,
                        "Spaces(AppleScript) no Desktop mapping for Space " + id + ". " + context, "WARN");
        return false;
    }
    const std::string n = std::to_string(*desktop);
    const std::string source = "tell application \"System Events\"\n    key code " +
                               std::to_string(*keyCode) + " using {control down}\nend tell";
    if (runAppleScript(source, "Spaces(AppleScript) switch to Desktop " + n)) {
        session.logOnce("asSwitchOK_" + id,
                        "Spaces(AppleScript) switched to Desktop " + n + " for Space " + id + ". " + context,
                        "SPACE");
        platform::Thread::sleep(kSwitchSettlePause);
        return true;
    }
    session.logOnce("asSwitchFail_" + id,
                    "Spaces(AppleScript) switch failed (Desktop " + n + ", Space " + id +
                        "). Check Mission Control shortcuts + Automation permission. " + context,
                    "WARN");
    return false;
}

} // namespace tilmora::WindowManager
