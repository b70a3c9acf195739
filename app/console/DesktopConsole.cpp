#include "console/DesktopConsole.hpp"

#include "model/Log.hpp"
#include "platform/desktop/NSRunningApplication.hpp"
#include "platform/desktop/NSScreen.hpp"
#include "platform/desktop/NSWorkspace.hpp"
#include "platform/control/SimDesktop.hpp"
#include "platform/dispatch/RunLoop.hpp"
#include "platform/dispatch/Runtime.hpp"
#include "platform/control/SimScheduler.hpp"
#include "platform/foundation/Error.hpp"
#include "platform/foundation/FileSystem.hpp"
#include "platform/foundation/JsonCoding.hpp"
#include "platform/foundation/Text.hpp"
#include "platform/input/KeyChord.hpp"
#include "platform/input/NSEvent.hpp"
#include "platform/control/SimInput.hpp"

#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>

namespace tilmora {

using platform::CGPoint;
using platform::CGRect;
using platform::SimDesktop;
using platform::SimInput;

namespace {

/// A command that cannot run: its message is printed as "error: line N: " + message.
struct CommandError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

/// Default duration of a `drag` (seconds of the clock).
constexpr double kDragSeconds = 0.3;
constexpr int kDragSteps = 30;

std::string num(double v) {
    return platform::Text::doubleDescription(v);
}

std::string quote(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

std::string frameText(const CGRect& r) {
    return num(r.origin.x) + " " + num(r.origin.y) + " " + num(r.size.width) + " " + num(r.size.height);
}

double parseNumber(const std::string& text) {
    double v = 0;
    const char* begin = text.data();
    const char* end = begin + text.size();
    if (!text.empty() && *begin == '+') ++begin;
    auto [ptr, ec] = std::from_chars(begin, end, v);
    if (ec != std::errc() || ptr != end || !std::isfinite(v)) throw CommandError("not a number: " + text);
    return v;
}

long parseInteger(const std::string& text) {
    double v = parseNumber(text);
    if (v != std::floor(v) || std::fabs(v) > 1e9) throw CommandError("not a whole number: " + text);
    return static_cast<long>(v);
}

const char* kHelp = R"(commands:
  # comment
  desktop laptop | laptop-external | two-displays | default
  desktop load <file.json>
  screen add <number|none> frame X Y W H visible X Y W H [scale S] [name "N"]
  screen remove <number>
  app install <bundle-id> "<name>" [launch-delay S]
  app launch <bundle-id> | app quit <bundle-id> | app focus <bundle-id>
  window open <bundle-id> "<title>" X Y W H [space N] [min W H]
  key <chord>                       e.g. key ctrl+opt+left, key cmd+shift+f5
  mouse move X Y | mouse down | mouse up
  drag X1 Y1 to X2 Y2 [steps N] [with opt+shift]
  wait <seconds>
  show screens | windows | apps | spaces | journal | log
  expect window <bundle-id> "<title>" frame X Y W H [tolerance T]
  expect window <bundle-id> "<title>" space N | minimized | fullscreen | exists | missing
  expect frontmost <bundle-id> | expect pointer X Y | expect screens N | expect windows N
  help | quit)";

// The desktop of an interactive session.
const char* kDefaultDesktop = R"({
  "fixture": "laptop-external",
  "apps": [
    {"bundleIdentifier": "com.apple.TextEdit", "name": "TextEdit", "running": true,
     "windows": [{"title": "Untitled", "frame": [120, 180, 800, 600]}]},
    {"bundleIdentifier": "com.apple.Safari", "name": "Safari"},
    {"bundleIdentifier": "com.apple.Notes", "name": "Notes"}
  ],
  "frontmost": "com.apple.TextEdit"
})";

std::string journalKind(platform::JournalEntry::Kind kind) {
    using K = platform::JournalEntry::Kind;
    switch (kind) {
    case K::axWrite:
        return "ax-write";
    case K::axAction:
        return "ax-action";
    case K::activation:
        return "activation";
    case K::launch:
        return "launch";
    case K::termination:
        return "termination";
    case K::signal:
        return "signal";
    case K::script:
        return "script";
    case K::keyEvent:
        return "key-event";
    case K::spaceMove:
        return "space-move";
    case K::spaceSwitch:
        return "space-switch";
    case K::process:
        return "process";
    case K::prompt:
        return "prompt";
    case K::open:
        return "open";
    case K::loginItem:
        return "login-item";
    case K::update:
        return "update";
    }
    return "other";
}

struct WindowRow {
    std::string bundle;
    SimDesktop::WindowState state;
};

/// Every open window, by application (launch order), then by window number.
std::vector<WindowRow> allWindows() {
    auto& desktop = SimDesktop::shared();
    std::vector<WindowRow> rows;
    for (const auto& app : platform::NSWorkspace::shared().runningApplications()) {
        auto windows = desktop.windowsOf(app.processIdentifier());
        std::sort(windows.begin(), windows.end(),
                  [](const auto& a, const auto& b) { return a.number < b.number; });
        const std::string bundle = app.bundleIdentifier().value_or(std::to_string(app.processIdentifier()));
        for (auto& w : windows) {
            if (!w.closed) rows.push_back({bundle, w});
        }
    }
    return rows;
}

/// The Desktop number (1-based) of a Space on its display; 0 when no display has it.
int desktopNumber(std::uint64_t space) {
    auto& desktop = SimDesktop::shared();
    for (auto display : desktop.displayIDs()) {
        auto spaces = desktop.spaces(display);
        for (std::size_t i = 0; i < spaces.size(); ++i) {
            if (spaces[i] == space) return static_cast<int>(i) + 1;
        }
    }
    return 0;
}

pid_t firstPid(const std::string& bundle) {
    auto pids = SimDesktop::shared().pids(bundle);
    if (pids.empty()) throw CommandError("application not running: " + bundle);
    return pids.front();
}

std::optional<WindowRow> findWindow(const std::string& bundle, const std::string& title) {
    for (auto& row : allWindows()) {
        if (row.bundle == bundle && row.state.title == title) return row;
    }
    return std::nullopt;
}

CGRect rectArgs(const std::vector<std::string>& texts, std::size_t at) {
    if (at + 4 > texts.size()) throw CommandError("expected X Y W H");
    CGRect r{parseNumber(texts[at]), parseNumber(texts[at + 1]), parseNumber(texts[at + 2]),
             parseNumber(texts[at + 3])};
    if (r.size.width < 0 || r.size.height < 0) throw CommandError("a width or height is negative");
    return r;
}

platform::ModifierFlags modifiersFrom(const std::string& text) {
    // "opt", "opt+shift": parsed as a chord with a dummy key.
    auto chord = platform::KeyChord::parse(text + "+a");
    if (!chord) throw CommandError("unknown modifiers: " + text);
    return chord->modifiers;
}

} // namespace

DesktopConsole::DesktopConsole(std::ostream& out)
    : DesktopConsole(out, Options()) {}

DesktopConsole::DesktopConsole(std::ostream& out, Options options)
    : out_(out)
    , options_(std::move(options)) {
    installRouting();
    if (auto path = logFilePath()) {
        std::error_code ec;
        auto size = std::filesystem::file_size(*path, ec);
        logOffset_ = ec ? 0 : size;
    }
}

DesktopConsole::~DesktopConsole() {
    auto& input = SimInput::shared();
    input.setKeysGoToProgram(nullptr);
    input.setPointerGoesToProgram(nullptr);
    input.setOtherApplicationReceiver(nullptr);
}

void DesktopConsole::installRouting() {
    auto& input = SimInput::shared();
    // Keys go to the program while it is the frontmost application.
    input.setKeysGoToProgram([] {
        auto& desktop = SimDesktop::shared();
        return desktop.frontmost() == desktop.programPid();
    });
    // The pointer reaches the program when the window under it is one of the program's own.
    input.setPointerGoesToProgram([](CGPoint p) {
        auto& desktop = SimDesktop::shared();
        auto hit = desktop.windowAt(p);
        return hit && hit->pid == desktop.programPid();
    });
    // Clicks and title-bar drags on other applications' windows are the simulator's own
    // behaviour (`SimInput`); the console adds nothing to them.
}

void DesktopConsole::settle() {
    platform::SimScheduler::shared().drainMainQueue();
}

void DesktopConsole::advance(double seconds) {
    if (options_.clock == Clock::realTime) {
        platform::RunLoop::main().runFor(seconds);
    } else {
        platform::SimScheduler::shared().runFor(seconds);
    }
}

bool DesktopConsole::execute(const std::string& rawLine) {
    ++lineNumber_;
    std::string line = rawLine;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const auto first = line.find_first_not_of(" \t");
    if (first == std::string::npos || line[first] == '#') return true;
    line = line.substr(first, line.find_last_not_of(" \t") - first + 1);
    if (options_.echoCommands) out_ << "> " << line << "\n";

    const int statusBefore = status_;
    try {
        Args args;
        std::size_t i = 0;
        while (i < line.size()) {
            if (line[i] == ' ' || line[i] == '\t') {
                ++i;
                continue;
            }
            Token t;
            if (line[i] == '"') {
                t.quoted = true;
                ++i;
                bool closed = false;
                while (i < line.size()) {
                    char c = line[i++];
                    if (c == '\\' && i < line.size()) {
                        t.text += line[i++];
                    } else if (c == '"') {
                        closed = true;
                        break;
                    } else {
                        t.text += c;
                    }
                }
                if (!closed) throw CommandError("unterminated quotation");
            } else {
                while (i < line.size() && line[i] != ' ' && line[i] != '\t')
                    t.text += line[i++];
            }
            args.push_back(std::move(t));
        }
        if (!started_) {
            started_ = true;
            if (options_.startApplication) options_.startApplication(*this);
        }
        dispatch(args);
        settle();
    } catch (const CommandError& e) {
        out_ << "error: line " << lineNumber_ << ": " << e.what() << "\n";
        status_ = exitError;
    } catch (const platform::Error& e) {
        out_ << "error: line " << lineNumber_ << ": " << e.what() << "\n";
        status_ = exitError;
    }
    out_.flush();
    return status_ == statusBefore;
}

int DesktopConsole::run(std::istream& in) {
    std::string line;
    while (!quit_) {
        if (options_.prompt) out_ << "tilmora> " << std::flush;
        if (!std::getline(in, line)) break;
        execute(line);
    }
    return status_;
}

int DesktopConsole::runString(const std::string& script) {
    std::istringstream in(script);
    return run(in);
}

void DesktopConsole::dispatch(const Args& args) {
    const std::string& cmd = args[0].text;
    if (cmd == "desktop") return cmdDesktop(args);
    if (cmd == "screen") return cmdScreen(args);
    if (cmd == "app") return cmdApp(args);
    if (cmd == "window") return cmdWindow(args);
    if (cmd == "key") return cmdKey(args);
    if (cmd == "mouse") return cmdMouse(args);
    if (cmd == "drag") return cmdDrag(args);
    if (cmd == "wait") return cmdWait(args);
    if (cmd == "show") return cmdShow(args);
    if (cmd == "expect") return cmdExpect(args);
    if (cmd == "help") return cmdHelp();
    if (cmd == "quit" || cmd == "exit") {
        quit_ = true;
        return;
    }
    throw CommandError("unknown command: " + cmd);
}

void DesktopConsole::cmdHelp() {
    out_ << kHelp << "\n";
}

void DesktopConsole::cmdDesktop(const Args& args) {
    if (args.size() == 3 && args[1].text == "load") {
        std::string text;
        try {
            text = platform::FileSystem::readFile(args[2].text);
        } catch (const platform::Error& e) {
            throw CommandError("cannot read " + args[2].text + ": " + e.what());
        }
        loadDesktopJson(text);
        return;
    }
    if (args.size() != 2) throw CommandError("usage: desktop <fixture-name> | desktop load <file.json>");
    const std::string& name = args[1].text;
    if (name == "default") {
        useDefaultDesktop();
        return;
    }
    if (name != "laptop" && name != "laptop-external" && name != "two-displays")
        throw CommandError("unknown desktop: " + name + " (laptop, laptop-external, two-displays, default)");
    SimDesktop::resetShared();
    auto& desktop = SimDesktop::shared();
    if (name == "laptop") desktop.useLaptop();
    if (name == "laptop-external") desktop.useLaptopWithExternal();
    if (name == "two-displays") desktop.useTwoIdenticalDisplays();
}

void DesktopConsole::useDefaultDesktop() {
    loadDesktopJson(kDefaultDesktop);
    settle();
}

void DesktopConsole::loadDesktopJson(const std::string& text) {
    platform::Json json;
    try {
        json = platform::parseJson(text);
    } catch (const platform::Error& e) {
        throw CommandError(std::string("bad desktop file: ") + e.what());
    }
    auto fail = [](const std::string& what) { throw CommandError("bad desktop file: " + what); };
    if (!json.is_object()) fail("not an object");
    auto rect = [&](const platform::Json& j, const std::string& what) {
        if (!j.is_array() || j.size() != 4) fail(what + " must be [x, y, w, h]");
        for (const auto& v : j) {
            if (!v.is_number()) fail(what + " must hold numbers");
        }
        return CGRect{j[0].get<double>(), j[1].get<double>(), j[2].get<double>(), j[3].get<double>()};
    };
    auto text_ = [&](const platform::Json& j, const char* key, const std::string& fallback) {
        if (!j.contains(key)) return fallback;
        if (!j[key].is_string()) fail(std::string(key) + " must be a text");
        return j[key].get<std::string>();
    };
    auto number = [&](const platform::Json& j, const char* key, double fallback) {
        if (!j.contains(key)) return fallback;
        if (!j[key].is_number()) fail(std::string(key) + " must be a number");
        return j[key].get<double>();
    };

    SimDesktop::resetShared();
    auto& desktop = SimDesktop::shared();
    const std::string fixture = text_(json, "fixture", "");
    if (fixture == "laptop") {
        desktop.useLaptop();
    } else if (fixture == "laptop-external") {
        desktop.useLaptopWithExternal();
    } else if (fixture == "two-displays") {
        desktop.useTwoIdenticalDisplays();
    } else if (!fixture.empty()) {
        fail("unknown fixture " + fixture);
    }
    if (json.contains("displays")) {
        if (!json["displays"].is_array()) fail("displays must be a list");
        std::uint32_t next = 1;
        for (const auto& d : json["displays"]) {
            if (!d.is_object()) fail("a display must be an object");
            platform::DisplaySpec spec;
            spec.displayID = static_cast<std::uint32_t>(number(d, "id", next));
            next = spec.displayID + 1;
            spec.name = text_(d, "name", "Display " + std::to_string(spec.displayID));
            if (!d.contains("frame")) fail("a display needs a frame");
            spec.frame = rect(d["frame"], "frame");
            if (d.contains("visible")) spec.visibleFrame = rect(d["visible"], "visible");
            spec.backingScaleFactor = number(d, "scale", 2.0);
            spec.spaces = static_cast<int>(number(d, "spaces", 1));
            if (d.contains("builtin") && d["builtin"].is_boolean()) spec.builtin = d["builtin"].get<bool>();
            desktop.addDisplay(spec);
        }
    }
    if (json.contains("apps")) {
        if (!json["apps"].is_array()) fail("apps must be a list");
        for (const auto& a : json["apps"]) {
            if (!a.is_object()) fail("an application must be an object");
            platform::AppSpec spec;
            spec.bundleIdentifier = text_(a, "bundleIdentifier", "");
            if (spec.bundleIdentifier.empty()) fail("an application needs a bundleIdentifier");
            spec.localizedName = text_(a, "name", spec.bundleIdentifier);
            spec.launchDelay = number(a, "launchDelay", 0.5);
            desktop.install(spec);
            const bool running =
                a.contains("running") && a["running"].is_boolean() && a["running"].get<bool>();
            std::vector<platform::WindowSpec> windows;
            if (a.contains("windows")) {
                if (!a["windows"].is_array()) fail("windows must be a list");
                for (const auto& w : a["windows"]) {
                    if (!w.is_object()) fail("a window must be an object");
                    platform::WindowSpec ws;
                    ws.title = text_(w, "title", "");
                    if (w.contains("frame")) ws.frame = rect(w["frame"], "frame");
                    ws.desktop = static_cast<int>(number(w, "space", 0));
                    if (w.contains("min")) {
                        const auto& m = w["min"];
                        if (!m.is_array() || m.size() != 2 || !m[0].is_number() || !m[1].is_number())
                            fail("min must be [w, h]");
                        ws.minSize = platform::CGSize{m[0].get<double>(), m[1].get<double>()};
                    }
                    if (w.contains("minimized") && w["minimized"].is_boolean())
                        ws.minimized = w["minimized"].get<bool>();
                    if (w.contains("fullScreen") && w["fullScreen"].is_boolean())
                        ws.fullScreen = w["fullScreen"].get<bool>();
                    windows.push_back(ws);
                }
            }
            if (running || !windows.empty()) desktop.run(spec.bundleIdentifier, windows);
        }
    }
    if (json.contains("frontmost")) {
        const std::string bundle = text_(json, "frontmost", "");
        desktop.setFrontmost(firstPid(bundle));
    }
}

void DesktopConsole::cmdScreen(const Args& args) {
    std::vector<std::string> t;
    for (const auto& a : args)
        t.push_back(a.text);
    auto& desktop = SimDesktop::shared();
    if (t.size() == 3 && t[1] == "remove") {
        const long number = parseInteger(t[2]);
        auto ids = desktop.displayIDs();
        if (std::find(ids.begin(), ids.end(), static_cast<std::uint32_t>(number)) == ids.end())
            throw CommandError("no display " + t[2]);
        desktop.removeDisplay(static_cast<std::uint32_t>(number));
        return;
    }
    if (t.size() < 3 || t[1] != "add")
        throw CommandError("usage: screen add <number|none> frame X Y W H visible X Y W H ...");
    platform::DisplaySpec spec;
    if (t[2] == "none") {
        std::uint32_t next = 1;
        for (auto id : desktop.displayIDs())
            next = std::max(next, id + 1);
        spec.displayID = next;
        spec.hasScreenNumber = false;
    } else {
        const long number = parseInteger(t[2]);
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
            spec.frame = rectArgs(t, i + 1);
            haveFrame = true;
            i += 5;
        } else if (t[i] == "visible") {
            spec.visibleFrame = rectArgs(t, i + 1);
            i += 5;
        } else if (t[i] == "scale" && i + 1 < t.size()) {
            spec.backingScaleFactor = parseNumber(t[i + 1]);
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
    desktop.addDisplay(spec);
}

void DesktopConsole::cmdApp(const Args& args) {
    if (args.size() < 3) throw CommandError("usage: app install|launch|quit|focus <bundle-id> ...");
    const std::string& verb = args[1].text;
    const std::string& bundle = args[2].text;
    auto& desktop = SimDesktop::shared();
    if (verb == "install") {
        if (args.size() < 4 || !args[3].quoted)
            throw CommandError("usage: app install <bundle-id> \"<name>\" [launch-delay S]");
        platform::AppSpec spec;
        spec.bundleIdentifier = bundle;
        spec.localizedName = args[3].text;
        if (args.size() == 6 && args[4].text == "launch-delay") {
            spec.launchDelay = parseNumber(args[5].text);
            if (spec.launchDelay < 0) throw CommandError("a delay cannot be negative");
        } else if (args.size() != 4) {
            throw CommandError("unexpected: " + args[4].text);
        }
        desktop.install(spec);
        return;
    }
    if (args.size() != 3) throw CommandError("unexpected: " + args[3].text);
    if (verb == "launch") {
        if (desktop.launch(bundle) == 0) throw CommandError("application not installed: " + bundle);
    } else if (verb == "quit") {
        auto pids = desktop.pids(bundle);
        if (pids.empty()) throw CommandError("application not running: " + bundle);
        for (pid_t pid : pids)
            desktop.quit(pid);
    } else if (verb == "focus") {
        desktop.setFrontmost(firstPid(bundle));
    } else {
        throw CommandError("unknown app command: " + verb);
    }
}

void DesktopConsole::cmdWindow(const Args& args) {
    if (args.size() < 8 || args[1].text != "open" || !args[3].quoted)
        throw CommandError("usage: window open <bundle-id> \"<title>\" X Y W H [space N] [min W H]");
    std::vector<std::string> t;
    for (const auto& a : args)
        t.push_back(a.text);
    platform::WindowSpec spec;
    spec.title = t[3];
    spec.frame = rectArgs(t, 4);
    for (std::size_t i = 8; i < t.size();) {
        if (t[i] == "space" && i + 1 < t.size()) {
            spec.desktop = static_cast<int>(parseInteger(t[i + 1]));
            if (spec.desktop < 1) throw CommandError("a space number starts at 1");
            i += 2;
        } else if (t[i] == "min" && i + 2 < t.size()) {
            spec.minSize = platform::CGSize{parseNumber(t[i + 1]), parseNumber(t[i + 2])};
            i += 3;
        } else {
            throw CommandError("unexpected: " + t[i]);
        }
    }
    auto& desktop = SimDesktop::shared();
    pid_t pid = 0;
    auto pids = desktop.pids(t[2]);
    if (pids.empty()) {
        pid = desktop.run(t[2]);
        if (pid == 0) throw CommandError("application not installed: " + t[2]);
    } else {
        pid = pids.front();
    }
    if (desktop.openWindow(pid, spec) == 0) throw CommandError("cannot open a window for " + t[2]);
}

void DesktopConsole::cmdKey(const Args& args) {
    if (args.size() != 2) throw CommandError("usage: key <chord>");
    auto chord = platform::KeyChord::parse(args[1].text);
    if (!chord) throw CommandError("unknown chord: " + args[1].text);
    SimInput::shared().press(*chord);
}

void DesktopConsole::cmdMouse(const Args& args) {
    auto& input = SimInput::shared();
    if (args.size() == 4 && args[1].text == "move") {
        input.moveMouse({parseNumber(args[2].text), parseNumber(args[3].text)});
    } else if (args.size() == 2 && args[1].text == "down") {
        input.mouseDown(0);
    } else if (args.size() == 2 && args[1].text == "up") {
        input.mouseUp(0);
    } else {
        throw CommandError("usage: mouse move X Y | mouse down | mouse up");
    }
}

void DesktopConsole::cmdDrag(const Args& args) {
    if (args.size() < 6 || args[3].text != "to")
        throw CommandError("usage: drag X1 Y1 to X2 Y2 [steps N] [with opt]");
    const CGPoint from{parseNumber(args[1].text), parseNumber(args[2].text)};
    const CGPoint to{parseNumber(args[4].text), parseNumber(args[5].text)};
    int steps = kDragSteps;
    platform::ModifierFlags held;
    for (std::size_t i = 6; i < args.size();) {
        if (args[i].text == "steps" && i + 1 < args.size()) {
            long n = parseInteger(args[i + 1].text);
            if (n < 1 || n > 10000) throw CommandError("steps must be 1 to 10000");
            steps = static_cast<int>(n);
            i += 2;
        } else if (args[i].text == "with" && i + 1 < args.size()) {
            held = modifiersFrom(args[i + 1].text);
            i += 2;
        } else {
            throw CommandError("unexpected: " + args[i].text);
        }
    }
    SimInput::shared().drag(from, to, kDragSeconds, steps, held);
    advance(kDragSeconds);
}

void DesktopConsole::cmdWait(const Args& args) {
    if (args.size() != 2) throw CommandError("usage: wait <seconds>");
    const double seconds = parseNumber(args[1].text);
    if (seconds < 0 || seconds > 86400) throw CommandError("wait takes 0 to 86400 seconds");
    advance(seconds);
}

void DesktopConsole::cmdShow(const Args& args) {
    if (args.size() != 2) throw CommandError("usage: show screens | windows | apps | spaces | journal | log");
    const std::string& what = args[1].text;
    auto& desktop = SimDesktop::shared();
    if (what == "windows") {
        for (const auto& row : allWindows()) {
            out_ << row.bundle << " " << quote(row.state.title) << " frame " << frameText(row.state.frame)
                 << " space " << desktopNumber(row.state.space);
            if (row.state.minimized) out_ << " minimized";
            if (row.state.fullScreen) out_ << " fullscreen";
            out_ << "\n";
        }
    } else if (what == "screens") {
        bool first = true;
        for (const auto& screen : platform::NSScreen::screens()) {
            auto description = screen.deviceDescription();
            const auto* number = platform::lookup(description, "NSScreenNumber");
            std::string id = "none";
            if (number) {
                if (auto v = number->integerValue()) id = std::to_string(*v);
            }
            out_ << "screen " << id << " " << quote(screen.localizedName()) << " frame "
                 << frameText(screen.frame()) << " visible " << frameText(screen.visibleFrame()) << " scale "
                 << num(screen.backingScaleFactor());
            if (first) out_ << " main";
            out_ << "\n";
            first = false;
        }
    } else if (what == "apps") {
        const pid_t front = desktop.frontmost();
        for (const auto& app : platform::NSWorkspace::shared().runningApplications()) {
            out_ << app.bundleIdentifier().value_or("-") << " " << quote(app.localizedName().value_or(""))
                 << " pid " << app.processIdentifier();
            if (app.processIdentifier() == front) out_ << " frontmost";
            if (!app.isFinishedLaunching()) out_ << " launching";
            out_ << "\n";
        }
    } else if (what == "spaces") {
        for (auto display : desktop.displayIDs()) {
            auto spaces = desktop.spaces(display);
            const auto active = desktop.activeSpace(display);
            out_ << "display " << display << ":";
            for (std::size_t i = 0; i < spaces.size(); ++i) {
                out_ << " " << (i + 1) << (spaces[i] == active ? "*" : "");
            }
            out_ << "\n";
        }
    } else if (what == "journal") {
        for (const auto& e : desktop.journal()) {
            out_ << num(e.time) << " " << journalKind(e.kind);
            if (e.pid != 0) out_ << " pid " << e.pid;
            if (e.window != 0) out_ << " window " << e.window;
            if (!e.what.empty()) out_ << " " << e.what;
            if (!e.detail.empty()) out_ << " " << e.detail;
            if (e.result != 0) out_ << " result " << e.result;
            for (const auto& a : e.argv)
                out_ << " " << a;
            out_ << "\n";
        }
        desktop.clearJournal();
    } else if (what == "log") {
        auto path = logFilePath();
        if (!path || !std::filesystem::exists(*path)) return;
        std::ifstream in(*path, std::ios::binary);
        in.seekg(static_cast<std::streamoff>(logOffset_));
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        logOffset_ += text.size();
        out_ << text;
        if (!text.empty() && text.back() != '\n') out_ << "\n";
    } else {
        throw CommandError("unknown show: " + what);
    }
}

void DesktopConsole::failExpectation(const std::string& what, const std::string& expected,
                                     const std::string& actual) {
    out_ << "expect failed: line " << lineNumber_ << ": " << what << "\n";
    out_ << "  expected: " << expected << "\n";
    out_ << "  actual:   " << actual << "\n";
    if (status_ == exitOk) status_ = exitExpectFailed;
}

void DesktopConsole::cmdExpect(const Args& args) {
    if (args.size() < 2) throw CommandError("usage: expect window|frontmost|pointer|screens|windows ...");
    std::vector<std::string> t;
    for (const auto& a : args)
        t.push_back(a.text);
    const std::string& what = t[1];
    auto& desktop = SimDesktop::shared();
    if (what == "window") {
        if (t.size() < 5 || !args[3].quoted)
            throw CommandError("usage: expect window <bundle-id> \"<title>\" ...");
        const std::string label = "window " + t[2] + " " + quote(t[3]);
        auto row = findWindow(t[2], t[3]);
        const std::string& check = t[4];
        if (check == "missing" || check == "exists") {
            if (t.size() != 5) throw CommandError("unexpected: " + t[5]);
            const bool wantExists = check == "exists";
            if (row.has_value() != wantExists)
                failExpectation(label, wantExists ? "exists" : "missing", row ? "exists" : "missing");
            return;
        }
        if (check == "frame") {
            const CGRect want = rectArgs(t, 5);
            double tolerance = 0;
            if (t.size() == 11 && t[9] == "tolerance") {
                tolerance = parseNumber(t[10]);
                if (tolerance < 0) throw CommandError("a tolerance cannot be negative");
            } else if (t.size() != 9) {
                throw CommandError(
                    "usage: expect window <bundle-id> \"<title>\" frame X Y W H [tolerance T]");
            }
            if (!row) return failExpectation(label, "frame " + frameText(want), "no such window");
            const CGRect& f = row->state.frame;
            const bool ok = std::fabs(f.origin.x - want.origin.x) <= tolerance &&
                            std::fabs(f.origin.y - want.origin.y) <= tolerance &&
                            std::fabs(f.size.width - want.size.width) <= tolerance &&
                            std::fabs(f.size.height - want.size.height) <= tolerance;
            if (!ok) failExpectation(label, "frame " + frameText(want), "frame " + frameText(f));
            return;
        }
        if (check == "space") {
            if (t.size() != 6) throw CommandError("usage: expect window <bundle-id> \"<title>\" space N");
            const long want = parseInteger(t[5]);
            if (!row) return failExpectation(label, "space " + t[5], "no such window");
            const int actual = desktopNumber(row->state.space);
            if (actual != want)
                failExpectation(label, "space " + std::to_string(want), "space " + std::to_string(actual));
            return;
        }
        if (check == "minimized" || check == "fullscreen") {
            if (t.size() != 5) throw CommandError("unexpected: " + t[5]);
            if (!row) return failExpectation(label, check, "no such window");
            const bool actual = check == "minimized" ? row->state.minimized : row->state.fullScreen;
            if (!actual) failExpectation(label, check, "not " + check);
            return;
        }
        throw CommandError("unknown window check: " + check);
    }
    if (what == "frontmost") {
        if (t.size() != 3) throw CommandError("usage: expect frontmost <bundle-id>");
        auto front = platform::NSRunningApplication::runningApplication(desktop.frontmost());
        const std::string actual = front ? front->bundleIdentifier().value_or("-") : "none";
        if (actual != t[2]) failExpectation("frontmost application", t[2], actual);
        return;
    }
    if (what == "pointer") {
        if (t.size() != 4) throw CommandError("usage: expect pointer X Y");
        const CGPoint want{parseNumber(t[2]), parseNumber(t[3])};
        const CGPoint p = platform::NSEvent::mouseLocation();
        if (!(p == want))
            failExpectation("pointer", num(want.x) + " " + num(want.y), num(p.x) + " " + num(p.y));
        return;
    }
    if (what == "screens" || what == "windows") {
        if (t.size() != 3) throw CommandError("usage: expect " + what + " N");
        const long want = parseInteger(t[2]);
        const long actual = what == "screens" ? static_cast<long>(platform::NSScreen::screens().size())
                                              : static_cast<long>(allWindows().size());
        if (actual != want) failExpectation(what, std::to_string(want), std::to_string(actual));
        return;
    }
    throw CommandError("unknown expectation: " + what);
}

} // namespace tilmora
