// Runs the whole program on the simulated desktop and drives it with a fuzzed console script, as a
// user at the desktop console would: chords, menu picks, drags, the controls of every program
// window, snapshot save, restore and delete, displays added and removed, applications launched and
// quit, settings written with any value. Each input is a fresh session on the default desktop; the
// program is launched before the first line unless the script launches it itself.
//
// Bounds: at most `maxSteps` lines run, a `wait` advances at most `maxWait` seconds and a session
// at most `maxSessionWait` seconds of the virtual clock (a `program launch` waits its own 5 s), and
// a drag takes at most `maxDragSteps` pointer steps.
// Left out: `desktop load` (reads files; the desktop file has its own target) and `show picture`
// (writes files). Ending the program (`program quit`, the Quit item, its chord, the quit and
// terminate selectors) is part of the game: the session goes on with the program ended.
//
// A command that fails cleanly (a `CommandError`, a refused value, a failed `expect`) is part of
// the game. A crash, a sanitizer report, a hang, a thread's uncaught exception, a broken
// main-thread contract, a deadlock or any exception other than the console's and the platform's
// own errors aborts with "program_session: fault: ...".
//
// Two pseudo commands reach what a script cannot name in advance: `fuzz menu N` picks the N-th
// enabled item of the status menu (submenus included), `fuzz ui W N V` works the N-th element of
// the W-th program window as its kind asks (click, type, pick, slide, step or drag) with the V-th
// test value. The custom mutator edits scripts line by line with generated commands.
#include "FuzzSandbox.hpp"

#include "console/CommandArgs.hpp"
#include "console/CommandError.hpp"
#include "console/CommandTable.hpp"
#include "console/ConsoleSession.hpp"
#include "console/ConsoleText.hpp"
#include "console/DesktopConsole.hpp"
#include "console/MenuText.hpp"
#include "console/ProgramHost.hpp"
#include "console/ProgramWindows.hpp"
#include "console/Tokenizer.hpp"
#include "console/WindowElements.hpp"
#include "model/Settings.hpp"
#include "platform/control/BundleControl.hpp"
#include "platform/control/LocaleControl.hpp"
#include "platform/control/SharedInstances.hpp"
#include "platform/dispatch/Runtime.hpp"
#include "platform/foundation/Error.hpp"
#include "platform/ui/Menu.hpp"
#include "platform/ui/MenuItem.hpp"
#include "shortcuts/DefaultShortcuts.hpp"
#include "shortcuts/NameRow.hpp"
#include "shortcuts/Registry.hpp"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <new>
#include <ostream>
#include <sstream>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

extern "C" std::size_t LLVMFuzzerMutate(std::uint8_t* data, std::size_t size, std::size_t maxSize);

namespace {

constexpr std::size_t maxSteps = 48;
constexpr double maxWait = 5;
constexpr double maxSessionWait = 30;
constexpr double maxDragSteps = 200;

using tilmora::CommandArgs;
using tilmora::CommandError;
using tilmora::ConsoleSession;

/// A stream buffer that drops everything, so that a long transcript costs no memory.
class NullBuffer : public std::streambuf {
protected:
    int overflow(int c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

/// What one session has used of its bounds.
struct SessionBudget {
    double waited = 0;
};
SessionBudget budget;

[[noreturn]] void fault(const std::string& what) {
    std::fprintf(stderr, "program_session: fault: %s\n", what.c_str());
    std::fflush(stderr);
    std::abort();
}

/// PROGRAM_SESSION_VERBOSE=1 prints the platform errors that count as refused commands.
bool verbose() {
    static const bool on = std::getenv("PROGRAM_SESSION_VERBOSE") != nullptr;
    return on;
}

/// The platform's errors that report a fault of the program rather than a refused command.
bool isFaultReport(std::string_view message) {
    static constexpr std::string_view markers[] = {
        "must be called on the main thread", "uncaught exception on", "deadlock",
        "internal:", "a thread unknown to the simulated scheduler", "called more often than enter",
        "the main run loop runs only on the main thread",
    };
    return std::any_of(std::begin(markers), std::end(markers),
                       [message](std::string_view m) { return message.find(m) != std::string_view::npos; });
}

/// Runs `line` through the session's own table (the guarded one), as the console does.
void runLine(ConsoleSession& session, const std::string& line) {
    session.commands().run(session, CommandArgs(tilmora::Tokenizer::split(line)));
}

std::string quoteText(const std::string& text) { return tilmora::ConsoleText::quote(text); }

/// Test values for typed text, sliders and drags.
const std::vector<std::string>& texts() {
    static const std::vector<std::string> values = {
        "Desk", "", " ", "Two rows", std::string(300, 'x'), "\xC3\x28 broken", "Caf\xC3\xA9", "0", "-1", "1e308",
        "'; DROP TABLE Snapshot; --", "\xF0\x9F\x98\x80", "a\tb",
    };
    return values;
}
const std::vector<std::string>& numbers() {
    static const std::vector<std::string> values = {"0", "7.5", "24", "-1", "1e9", "-1e9", "1e308", "0.5", "100", "3"};
    return values;
}

/// `fuzz menu N`: the N-th enabled item of the status menu, submenus' items included.
void pickMenuItem(ConsoleSession& session, const CommandArgs& args) {
    session.requireProgramRunning();
    runLine(session, "menu");
    auto menu = tilmora::ProgramWindows::statusItem().menu;
    if (!menu) throw CommandError("no status menu");
    std::vector<std::vector<std::string>> paths;
    const auto collect = [&paths](const auto& self, platform::ui::Menu& m, std::vector<std::string> prefix) -> void {
        for (const auto& item : m.items()) {
            if (item->isSeparatorItem() || item->isHidden || !item->isEnabled) continue;
            auto path = prefix;
            path.push_back(tilmora::MenuText::name(*item));
            if (item->submenu())
                self(self, *item->submenu(), path);
            else
                paths.push_back(std::move(path));
        }
    };
    collect(collect, *menu, {});
    if (paths.empty()) throw CommandError("no enabled menu item");
    const auto& path = paths[static_cast<std::size_t>(args.number(2)) % paths.size()];
    std::string line = "menu pick";
    for (std::size_t i = 0; i < path.size(); ++i)
        line += (i == 0 ? " " : " > ") + quoteText(path[i]);
    runLine(session, line);
}

/// `fuzz ui W N V`: works the N-th element of the W-th program window by its kind.
void workElement(ConsoleSession& session, const CommandArgs& args) {
    session.requireProgramRunning();
    const auto windows = tilmora::ProgramWindows::windows();
    if (windows.empty()) throw CommandError("no program window");
    const auto index = [&args](std::size_t at, std::size_t count) {
        const double n = args.number(at);
        return n >= 0 && n < 1e15 ? static_cast<std::size_t>(n) % count : std::size_t{0};
    };
    auto& window = *windows[index(2, windows.size())];
    std::vector<std::string> lines;
    std::istringstream described(tilmora::WindowElements::describe(window));
    for (std::string line; std::getline(described, line);) {
        if (line.find("id=") != std::string::npos || line.find('"') != std::string::npos) lines.push_back(line);
    }
    if (lines.empty()) throw CommandError("no element");
    const std::string line = lines[index(3, lines.size())];
    // `KIND id=ID "TEXT" value=V ... frame X Y W H`, indented.
    std::istringstream words(line);
    std::string kind;
    words >> kind;
    std::string target;
    if (auto at = line.find(" id="); at != std::string::npos) {
        const auto end = line.find(' ', at + 4);
        target = line.substr(at + 4, end == std::string::npos ? std::string::npos : end - at - 4);
    } else if (auto open = line.find('"'); open != std::string::npos) {
        // The text is the first quoted part (a tooltip may follow it).
        auto close = open + 1;
        while (close < line.size() && line[close] != '"')
            close += line[close] == '\\' ? 2 : 1;
        target = line.substr(open + 1, std::min(close, line.size()) - open - 1);
    }
    if (target.empty()) throw CommandError("element without a name");
    const std::size_t v = index(4, 1000);
    const std::string ui = "ui ";
    const std::string where = quoteText("#" + std::to_string(window.windowNumber())) + " " + quoteText(target);
    std::string command;
    if (kind == "textField" || kind == "searchField") {
        command = ui + "type " + where + " " + quoteText(texts()[v % texts().size()]);
    } else if (kind == "slider") {
        command = ui + "slide " + where + " " + numbers()[v % numbers().size()];
    } else if (kind == "stepper") {
        command = ui + "step " + where + (v % 2 ? " up" : " down");
    } else if (kind == "picker" || kind == "popUp") {
        static const std::vector<std::string> items = {"Deutsch", "English", "overlap", "center", "2", "1"};
        command = ui + "pick " + where + " " + quoteText(items[v % items.size()]);
    } else if (kind == "canvas" || kind == "shape") {
        const auto& n = numbers();
        command = ui + "drag " + where + " " + n[v % n.size()] + " " + n[(v / 3) % n.size()] + " to " +
                  n[(v / 7) % n.size()] + " " + n[(v / 11) % n.size()];
    } else {
        command = ui + "click " + where;
    }
    runLine(session, command);
}

/// Whether a command line would reach outside the sandbox.
bool leftOut(const CommandArgs& args) {
    const std::string& name = args.text(0);
    const std::string what = args.size() > 1 ? args.text(1) : std::string();
    if (name == "desktop") return what == "load";
    if (name == "show") return what == "picture";
    return false;
}

/// Refuses, as a command error, the forms whose cost follows a number in the input.
void checkBounds(const CommandArgs& args) {
    if (args.text(0) != "drag") return;
    for (std::size_t i = 1; i + 1 < args.size(); ++i) {
        if (args.text(i) == "steps" && !(args.number(i + 1) <= maxDragSteps))
            throw CommandError("fuzz: a drag takes at most " + std::to_string(maxDragSteps) + " steps");
    }
}

/// A `wait` within the session's bounds.
void boundedWait(ConsoleSession& session, const CommandArgs& args) {
    if (args.size() != 2) throw CommandError("usage: wait <seconds>");
    const double seconds = args.number(1);
    if (!(seconds >= 0)) throw CommandError("a wait cannot be negative");
    const double allowed = std::min({seconds, maxWait, maxSessionWait - budget.waited});
    if (allowed <= 0) return;
    budget.waited += allowed;
    session.advance(allowed);
}

/// The built-in commands, each guarded: what it lets through of the program's faults aborts.
const tilmora::CommandTable& fuzzTable() {
    static const tilmora::CommandTable table = [] {
        tilmora::CommandTable t;
        for (const auto* command : tilmora::CommandTable::builtIn().inHelpOrder()) {
            tilmora::ConsoleCommand copy = *command;
            auto real = copy.handler;
            if (copy.name == "wait") real = boundedWait;
            copy.handler = [real](ConsoleSession& s, const CommandArgs& a) {
                if (leftOut(a)) return;
                checkBounds(a);
                try {
                    real(s, a);
                    s.settle();
                } catch (const CommandError&) {
                    throw;
                } catch (const platform::Error& e) {
                    if (isFaultReport(e.what())) fault(std::string("line ") + std::to_string(s.lineNumber()) + ": " +
                                                       a.text(0) + ": " + e.what());
                    if (verbose()) std::fprintf(stderr, "program_session: %s: %s\n", a.text(0).c_str(), e.what());
                    throw;
                } catch (const std::bad_alloc&) {
                    fault("out of memory in " + a.text(0));
                } catch (const std::exception& e) {
                    fault("line " + std::to_string(s.lineNumber()) + ": " + a.text(0) + ": unexpected exception: " +
                          e.what());
                }
            };
            t.add(std::move(copy));
        }
        tilmora::ConsoleCommand pseudo;
        pseudo.name = "fuzz";
        pseudo.arguments = tilmora::ArgumentCheck::atLeast(2, "usage: fuzz menu N | fuzz ui W N V");
        pseudo.handler = [](ConsoleSession& s, const CommandArgs& a) {
            if (a.text(1) == "menu" && a.size() == 3) {
                pickMenuItem(s, a);
            } else if (a.text(1) == "ui" && a.size() == 5) {
                workElement(s, a);
            } else {
                throw CommandError("usage: fuzz menu N | fuzz ui W N V");
            }
        };
        pseudo.help = {"fuzz menu N | fuzz ui W N V"};
        pseudo.helpOrder = 10000;
        t.add(std::move(pseudo));
        return t;
    }();
    return table;
}

/// The program's resources in the source tree.
std::filesystem::path programResources() {
    return std::filesystem::path(__FILE__).parent_path().parent_path() / "resources";
}

/// The lines of `text`, at most `maxSteps` of them that are commands, with `program launch`
/// before the first unless the script has its own.
std::vector<std::string> sessionLines(std::string_view text) {
    std::vector<std::string> lines;
    bool launches = false;
    std::size_t start = 0;
    while (start <= text.size() && lines.size() < maxSteps) {
        auto end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string line(text.substr(start, end - start));
        start = end + 1;
        const auto command = tilmora::Tokenizer::commandText(line);
        if (!command) continue;
        if (command->rfind("program launch", 0) == 0) launches = true;
        lines.push_back(std::move(line));
    }
    if (!launches) lines.insert(lines.begin(), "program launch");
    return lines;
}

// ----- the mutator's commands

struct Random {
    std::uint64_t state;
    std::size_t operator()(std::size_t n) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return n == 0 ? 0 : static_cast<std::size_t>((state >> 33) % n);
    }
    template <class T>
    const T& pick(const std::vector<T>& values) {
        return values[(*this)(values.size())];
    }
};

std::string randomChord(Random& r) {
    static const std::vector<std::string> keys = {
        "left", "right", "up", "down", "return", "a", "b", "c", "d", "e", "f", "g", "i", "j", "k", "m", "o", "q",
        "r", "s", "t", "u", "comma", "slash", "minus", "equal", "delete", "f5", "f12", "space", "escape", "tab", "1"};
    static const std::vector<std::string> modifiers = {"ctrl", "opt", "cmd", "shift"};
    std::string chord;
    for (const auto& m : modifiers)
        if (r(3) != 0) chord += m + "+";
    return chord + r.pick(keys);
}

/// The keys a generated `defaults write` picks from: every key of the settings catalog, the presets
/// of displays 1 and 2, the language, the display-layout memory, the first-run flag and the stored
/// chords of the names with a first-run chord.
std::vector<std::string> defaultsKeys() {
    std::vector<std::string> keys;
    for (const auto& setting : tilmora::settings::catalog)
        keys.emplace_back(setting.key);
    for (const char* display : {"1", "2"})
        keys.push_back(std::string(tilmora::settings::presetPrefix) + display);
    keys.insert(keys.end(), {"AppLanguage", "DisplayLayoutMemory.v1",
                             std::string(tilmora::hasRegisteredDefaultSnapShortcutsKey)});
    for (const auto& row : tilmora::GlobalShortcuts::NameRow::all()) {
        if (row.firstRunChord())
            keys.push_back(std::string(tilmora::GlobalShortcuts::userDefaultsPrefix) + std::string(row.rawValue));
    }
    return keys;
}

std::string randomDefaultsWrite(Random& r) {
    static const std::vector<std::string> keys = defaultsKeys();
    static const std::vector<std::string> values = {
        "bool true", "bool false", "int 0", "int 1", "int -1", "int 9223372036854775807", "double 0",
        "double 7.5", "double 24", "double -5", "double 1e308", "double -1e308", "string \"\"", "string \"A\"",
        "string \"overlap\"", "string \"de\"", "string \"3,3,8,4\"", "string \"0,0,nan,inf\"",
        "string \"{\\\"carbonKeyCode\\\":0,\\\"carbonModifiers\\\":0}\"",
        "string \"{\\\"carbonKeyCode\\\":123,\\\"carbonModifiers\\\":6144}\"",
        "string \"{\\\"carbonKeyCode\\\":96,\\\"carbonModifiers\\\":0}\"", "string \"[{]\""};
    if (r(5) == 0) return "defaults delete " + r.pick(keys);
    return "defaults write " + r.pick(keys) + " " + r.pick(values);
}

std::string randomLine(Random& r) {
    static const std::vector<std::string> selectors = {
        "showWindow", "openPreferences:", "openHelp:", "runDiagnostics", "toggleSnapBar:", "toggleSnapping:",
        "openLayoutEditor:", "openVeskLayoutEditor:", "snapLeftHalf", "snapRightHalf", "snapMaximize",
        "snapCenter", "snapLarger", "snapSmaller", "snapMaximizeHeight", "snapNextDisplay", "snapPreviousDisplay",
        "snapRestoreLast", "snapRestoreLastLayout", "moveToEdgeLeft", "moveToEdgeDown", "enterMacFullScreen",
        "toggleGridLines:", "toggleLayoutScope:", "toggleStageReserve:", "toggleIntegrateStageManager:",
        "toggleIntegrateMissionControl:", "toggleKeyboardShortcutsEnabled:", "resetAllSnappedWindows:",
        "resetSnapSelection:", "applyStoredLayoutForCurrentSetup:", "toggleLaunchAtStartup:", "clearLogFile",
        "disableSnapBarFromCloseButton", "requestSystemEventsPermission", "rebuildStatusMenuWithPreferredScreen:",
        "setLayoutScopeAll:", "setLayoutScopeSingle:", "snapFirstQuarter", "snapBottomRightSixth"};
    static const std::vector<std::string> windows = {"Tilmora Snapshots", "Preferences", "Layout Editor",
                                                     "Preset Editor", "Help"};
    static const std::vector<std::string> apps = {"com.apple.TextEdit", "com.apple.Safari", "com.apple.Notes",
                                                  "com.example.notes"};
    const auto coordinate = [&r] { return std::to_string(static_cast<int>(r(3600)) - 200); };
    const auto size = [&r] { return std::to_string(static_cast<int>(r(1600)) + 1); };
    switch (r(22)) {
    case 0:
    case 1:
    case 2:
        return "key " + randomChord(r);
    case 3:
    case 4:
        return "fuzz menu " + std::to_string(r(200));
    case 5:
    case 6:
    case 7:
        return "fuzz ui " + std::to_string(r(8)) + " " + std::to_string(r(400)) + " " + std::to_string(r(1000));
    case 8:
    case 9:
        return "ui action " + quoteText(r.pick(selectors));
    case 10:
    case 11:
        return randomDefaultsWrite(r);
    case 12:
        return "drag " + coordinate() + " " + coordinate() + " to " + coordinate() + " " + coordinate() +
               (r(2) ? " with opt" : "");
    case 13:
        return r(3) == 0 ? "mouse down" : r(2) ? "mouse up" : "mouse move " + coordinate() + " " + coordinate();
    case 14:
        if (r(2)) return "screen remove " + std::to_string(r(4) + 1);
        return "screen add " + std::to_string(r(5) + 2) + " frame " + coordinate() + " " + coordinate() + " " + size() +
               " " + size() + " visible " + coordinate() + " " + coordinate() + " " + size() + " " + size();
    case 15: {
        static const std::vector<std::string> verbs = {"launch", "quit", "focus"};
        if (r(4) == 0) return "app install " + r.pick(apps) + " \"App\" launch-delay " + std::to_string(r(3));
        return "app " + r.pick(verbs) + " " + r.pick(apps);
    }
    case 16:
        return "window open " + r.pick(apps) + " " + quoteText(r.pick(texts())) + " " + coordinate() + " " +
               coordinate() + " " + size() + " " + size();
    case 17:
        return "wait " + std::to_string(r(4)) + (r(2) ? ".5" : "");
    case 18:
        if (r(8) == 0) return "program quit";
        return r(2) ? "menu" : "ui show " + quoteText(r.pick(windows));
    case 19:
        return r(2) ? "permission accessibility " + std::string(r(2) ? "granted" : "denied")
                    : "permission automation " + std::string(r(2) ? "granted" : "ask");
    case 20:
        return "alert answer " + std::to_string(r(3) + 1);
    default:
        return r(2) ? "show log" : "show windows";
    }
}

std::vector<std::string> splitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        auto end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        lines.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto& sandbox = fuzzing::FuzzSandbox::instance();
    sandbox.reset();
    platform::BundleControl::setResourceDirectory(programResources());
    platform::LocaleControl::setPreferredLanguages(std::vector<std::string>{"en"});
    budget = {};
    static NullBuffer buffer;
    std::ostream out(&buffer);
    {
        tilmora::DesktopConsole::Options options;
        options.commands = &fuzzTable();
        tilmora::DesktopConsole console(out, options);
        console.useDefaultDesktop();
        for (const auto& line : sessionLines(std::string_view(reinterpret_cast<const char*>(data), size))) {
            console.execute(line);
            if (console.quitRequested()) break;
        }
    }
    // The program, its workers, timers and shared instances go before the next session.
    tilmora::ProgramHost::shared().reset();
    platform::Runtime::start(platform::Runtime::Mode::simulated);
    platform::SharedInstances::resetAll();
    return 0;
}

extern "C" std::size_t LLVMFuzzerCustomMutator(std::uint8_t* data, std::size_t size, std::size_t maxSize,
                                               unsigned int seed) {
    Random r{seed * 0x9E3779B97F4A7C15ULL + 1};
    if (r(4) == 0) return LLVMFuzzerMutate(data, size, maxSize);
    auto lines = splitLines(std::string_view(reinterpret_cast<const char*>(data), size));
    const std::size_t at = r(lines.size() + 1);
    switch (lines.empty() ? 0 : r(5)) {
    case 0:
    case 1:
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), randomLine(r));
        break;
    case 2:
        lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(std::min(at, lines.size() - 1)));
        break;
    case 3:
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), lines[r(lines.size())]);
        break;
    default:
        std::swap(lines[r(lines.size())], lines[r(lines.size())]);
        break;
    }
    std::string text;
    for (const auto& line : lines) {
        if (text.size() + line.size() + 1 > maxSize) break;
        text += line;
        text += '\n';
    }
    std::memcpy(data, text.data(), text.size());
    return text.size();
}
