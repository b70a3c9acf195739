// show screens | windows | apps | spaces | journal | log | alerts | toasts
// show picture FILE.png [display N] [scale S]

#include "console/CommandArgs.hpp"
#include "console/CommandError.hpp"
#include "console/CommandRegistration.hpp"
#include "console/ConsoleSession.hpp"
#include "console/ConsoleText.hpp"
#include "console/DesktopQueries.hpp"
#include "console/ProgramHost.hpp"
#include "console/ScriptedAnswers.hpp"
#include "console/ToastJournal.hpp"
#include "console/commands/ShowPicture.hpp"
#include "model/EnumName.hpp"
#include "platform/control/SimDesktop.hpp"
#include "platform/control/UISimulator.hpp"
#include "platform/desktop/NSRunningApplication.hpp"
#include "platform/desktop/NSScreen.hpp"
#include "platform/desktop/NSWorkspace.hpp"
#include "platform/ui/Application.hpp"

#include <cctype>
#include <filesystem>
#include <ostream>
#include <string_view>
#include <utility>

namespace tilmora {

namespace {

using Text = ConsoleText;

using K = platform::JournalEntry::Kind;

constexpr EnumName<K> journalKinds[] = {{K::axWrite, "ax-write"},
                                        {K::axAction, "ax-action"},
                                        {K::activation, "activation"},
                                        {K::launch, "launch"},
                                        {K::termination, "termination"},
                                        {K::signal, "signal"},
                                        {K::script, "script"},
                                        {K::keyEvent, "key-event"},
                                        {K::spaceMove, "space-move"},
                                        {K::spaceSwitch, "space-switch"},
                                        {K::process, "process"},
                                        {K::prompt, "prompt"},
                                        {K::open, "open"},
                                        {K::loginItem, "login-item"},
                                        {K::update, "update"}};

std::string journalKind(K kind) {
    return std::string(enumName(journalKinds, kind, "other"));
}

/// One line per open window: bundle, quoted title, frame, Desktop number and the flags; "no
/// windows" when there is none.
void showWindows(std::ostream& out) {
    const auto rows = DesktopQueries::windows();
    if (rows.empty()) out << "no windows\n";
    for (const auto& row : rows) {
        out << Text::controlsEscaped(row.bundle) << " " << Text::quote(row.state.title) << " frame " << Text::frame(row.state.frame)
            << " space " << DesktopQueries::desktopNumber(row.state.space);
        if (row.state.minimized) out << " minimized";
        if (row.state.fullScreen) out << " fullscreen";
        out << "\n";
    }
}

/// One line per screen in the screen list's order; the first is the main screen.
void showScreens(std::ostream& out) {
    bool first = true;
    for (const auto& screen : platform::NSScreen::screens()) {
        auto description = screen.deviceDescription();
        const auto* number = platform::lookup(description, "NSScreenNumber");
        std::string id = "none";
        if (number) {
            if (auto v = number->integerValue()) id = std::to_string(*v);
        }
        out << "screen " << id << " " << Text::quote(screen.localizedName()) << " frame "
            << Text::frame(screen.frame()) << " visible " << Text::frame(screen.visibleFrame()) << " scale "
            << Text::number(screen.backingScaleFactor());
        if (first) out << " main";
        out << "\n";
        first = false;
    }
}

void showApps(std::ostream& out) {
    const pid_t front = platform::SimDesktop::shared().frontmost();
    for (const auto& app : platform::NSWorkspace::shared().runningApplications()) {
        out << Text::controlsEscaped(app.bundleIdentifier().value_or("-")) << " " << Text::quote(app.localizedName().value_or(""))
            << " pid " << app.processIdentifier();
        if (app.processIdentifier() == front) out << " frontmost";
        if (!app.isFinishedLaunching()) out << " launching";
        out << "\n";
    }
}

/// "display N: 1* 2": each display's Desktops, the active one starred.
void showSpaces(std::ostream& out) {
    auto& desktop = platform::SimDesktop::shared();
    for (auto display : desktop.displayIDs()) {
        auto spaces = desktop.spaces(display);
        const auto active = desktop.activeSpace(display);
        out << "display " << display << ":";
        for (std::size_t i = 0; i < spaces.size(); ++i) {
            out << " " << (i + 1) << (spaces[i] == active ? "*" : "");
        }
        out << "\n";
    }
}

/// What the system did to the desktop since the last `show journal`, one entry a line (a script's
/// lines, a bundle or a title from a desktop file print escaped); clears the journal.
void showJournal(std::ostream& out) {
    auto& desktop = platform::SimDesktop::shared();
    for (const auto& e : desktop.journal()) {
        out << Text::number(e.time) << " " << journalKind(e.kind);
        if (e.pid != 0) out << " pid " << e.pid;
        if (e.window != 0) out << " window " << e.window;
        if (!e.what.empty()) out << " " << Text::controlsEscaped(e.what);
        if (!e.detail.empty()) out << " " << Text::controlsEscaped(e.detail);
        if (e.result != 0) out << " result " << e.result;
        for (const auto& a : e.argv)
            out << " " << Text::controlsEscaped(a);
        out << "\n";
    }
    desktop.clearJournal();
}

const char* const kUsage = "usage: show screens | windows | apps | spaces | journal | log | alerts | toasts | "
                          "picture FILE.png [display N] [scale S]";

// Every alert and modal window since the previous `show alerts`, with the answer it got.
void showAlerts(std::ostream& out) {
    const auto& alerts = platform::ui::UISimulator::alertLog();
    auto& host = ProgramHost::shared();
    if (host.alertsShown > alerts.size()) host.alertsShown = 0;
    for (std::size_t i = host.alertsShown; i < alerts.size(); ++i) {
        const auto& alert = alerts[i];
        out << "alert " << ConsoleText::quote(alert.messageText) << " info " << ConsoleText::quote(alert.informativeText)
            << " buttons";
        for (const auto& title : alert.buttonTitles) out << " " << ConsoleText::quote(title);
        const long index = alert.response ? *alert.response - platform::ui::ModalResponse::alertFirstButtonReturn : -1;
        if (index >= 0 && index < static_cast<long>(alert.buttonTitles.size())) {
            out << " answer " << ConsoleText::quote(alert.buttonTitles[static_cast<std::size_t>(index)]) << "\n";
        } else {
            out << " answer none\n";
        }
    }
    host.alertsShown = alerts.size();
    // Then the other modal windows (the replacement-display prompt, panels run modally).
    auto& answers = ScriptedAnswers::shared();
    const auto& windows = answers.modalWindows();
    if (answers.modalWindowsShown > windows.size()) answers.modalWindowsShown = 0;
    for (std::size_t i = answers.modalWindowsShown; i < windows.size(); ++i) {
        const auto& window = windows[i];
        out << "window " << ConsoleText::quote(window.title) << " buttons";
        for (const auto& title : window.buttons) out << " " << ConsoleText::quote(title);
        if (!window.items.empty()) {
            out << " items";
            for (const auto& item : window.items) out << " " << ConsoleText::quote(item);
        }
        out << " answer " << (window.answer ? ConsoleText::quote(*window.answer) : std::string("none"));
        if (!window.problem.empty()) out << " (" << window.problem << ")";
        out << "\n";
    }
    answers.modalWindowsShown = windows.size();
}

/// Each toast since the previous `show toasts`: title, message, and whether it is still on screen.
void showToasts(std::ostream& out) {
    out << ToastJournal::shared().takeListing();
}

/// The listings that take no argument, by the word that asks for them.
const std::pair<std::string_view, void (*)(std::ostream&)> listings[] = {
    {"windows", showWindows}, {"screens", showScreens}, {"apps", showApps},
    {"spaces", showSpaces},   {"journal", showJournal}, {"alerts", showAlerts}, {"toasts", showToasts}};

void showCommand(ConsoleSession& session, const CommandArgs& args) {
    const std::string& what = args.text(1);
    auto& out = session.out();
    if (what == "picture") {
        showPicture(session, args);
        return;
    }
    if (args.argumentCount() != 1) throw CommandError(kUsage);
    for (const auto& [word, list] : listings) {
        if (word == what) return list(out);
    }
    if (what == "log") {
        // The program's own lines, captured since it launched (they outlive the log file's
        // clearing at launch); the log file's new lines while it has not run.
        std::string text;
        try {
            text = !ProgramHost::shared().hasOutput() ? session.takeNewLog() : ProgramHost::shared().takeNewOutput();
        } catch (const std::filesystem::filesystem_error& error) {
            // The host's reason in plain words ("permission denied"), not the library's report.
            std::string reason = error.code().message();
            if (!reason.empty()) reason[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(reason[0])));
            throw CommandError("cannot read the log: " + reason);
        }
        // As the console shows it: the program's lines may hold names from files, whose control
        // characters print escaped; the line breaks and tabs stay. The log file keeps the bytes.
        out << ConsoleText::linesEscaped(text);
        if (!text.empty() && text.back() != '\n') out << "\n";
    } else {
        throw CommandError("unknown show: " + what + " (" + std::string(kUsage).substr(7) + ")");
    }
}

const CommandRegistration registration({
    {.name = "show",
     .arguments = ArgumentCheck::between(1, 6, kUsage),
     .handler = showCommand,
     .help = {"show screens | windows | apps | spaces | journal | log | alerts | toasts",
              "show picture FILE.png [display N] [scale S]"},
     .words = {"screens", "windows", "apps", "spaces", "journal", "log", "alerts", "toasts", "picture"},
     .helpOrder = 700},
});

} // namespace

} // namespace tilmora
