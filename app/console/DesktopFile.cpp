#include "console/DesktopFile.hpp"

#include "console/CommandError.hpp"
#include "console/ConsoleText.hpp"
#include "console/DesktopConsole.hpp"
#include "console/DesktopQueries.hpp"
#include "console/JsonSyntax.hpp"
#include "platform/control/DisplayRange.hpp"
#include "platform/control/SimDesktop.hpp"
#include "platform/desktop/LargestOverlap.hpp"
#include "platform/foundation/Error.hpp"
#include "platform/foundation/FileSystem.hpp"
#include "platform/foundation/JsonCoding.hpp"

#include <cmath>
#include <cstdint>
#include <limits>
#include <set>
#include <unordered_set>

namespace tilmora {

using platform::CGRect;
using platform::SimDesktop;

namespace {

/// The most Spaces a display may have.
constexpr double kMaxSpaces = 16;
/// The longest launch delay: one day, in seconds.
constexpr double kMaxLaunchDelay = 86400;

[[noreturn]] void fail(const std::string& path, const std::string& what) {
    throw CommandError("bad desktop file: " + path + (path.empty() ? "" : ": ") + what);
}

std::string at(const std::string& path, const char* key) {
    return path.empty() ? std::string(key) : path + "." + key;
}

std::string index(const std::string& path, std::size_t i) {
    return path + "[" + std::to_string(i) + "]";
}

/// A finite number; `path` names it in the message.
double finiteNumber(const platform::Json& j, const std::string& path) {
    if (!j.is_number()) fail(path, "must be a number");
    const double v = j.get<double>();
    if (!std::isfinite(v)) fail(path, "must be finite");
    return v;
}

/// A whole number from `min` to `max`.
double wholeNumber(const platform::Json& j, const std::string& path, double min, double max) {
    const double v = finiteNumber(j, path);
    if (v != std::floor(v)) fail(path, "must be a whole number");
    if (v < min || v > max) {
        fail(path, "must be from " + std::to_string(static_cast<long long>(min)) + " to " +
                       std::to_string(static_cast<long long>(max)));
    }
    return v;
}

/// [x, y, w, h] with finite values and edges; the width and height are positive, or at least 0
/// when `allowEmpty`.
CGRect rect(const platform::Json& j, const std::string& path, bool allowEmpty) {
    if (!j.is_array() || j.size() != 4) fail(path, "must be [x, y, w, h]");
    double v[4];
    for (std::size_t i = 0; i < 4; ++i) {
        if (!j[i].is_number()) fail(path, "must hold numbers");
        v[i] = finiteNumber(j[i], index(path, i));
    }
    if (!std::isfinite(v[0] + v[2]) || !std::isfinite(v[1] + v[3])) fail(path, "an edge is not finite");
    if (allowEmpty ? (v[2] < 0 || v[3] < 0) : (v[2] <= 0 || v[3] <= 0))
        fail(path, allowEmpty ? "a width or height is negative" : "a width or height is not positive");
    return CGRect{v[0], v[1], v[2], v[3]};
}

std::string text(const platform::Json& j, const char* key, const std::string& path, const std::string& fallback) {
    if (!j.contains(key)) return fallback;
    if (!j[key].is_string()) fail(at(path, key), "must be a text");
    return j[key].get<std::string>();
}

bool flag(const platform::Json& j, const char* key, const std::string& path) {
    if (!j.contains(key)) return false;
    if (!j[key].is_boolean()) fail(at(path, key), "must be true or false");
    return j[key].get<bool>();
}

struct PlannedApp {
    platform::AppSpec spec;
    bool running = false;
    std::vector<platform::WindowSpec> windows;
};

/// Everything the file describes, checked before the shared desktop is touched.
struct Plan {
    std::string fixture;
    std::vector<platform::DisplaySpec> displays; ///< the fixture's, then the file's
    std::size_t fixtureDisplays = 0;
    std::vector<int> spaces;                     ///< per display
    std::vector<PlannedApp> apps;
    std::optional<std::string> frontmost;
};

/// The fixture's displays, as SimDesktop builds them (one Space each).
std::vector<platform::DisplaySpec> fixtureDisplays(const std::string& fixture) {
    std::vector<platform::DisplaySpec> out;
    auto add = [&](std::uint32_t id, CGRect frame) {
        platform::DisplaySpec d;
        d.displayID = id;
        d.frame = frame;
        out.push_back(d);
    };
    if (fixture == "laptop" || fixture == "laptop-external") add(1, {0, 0, 1440, 900});
    if (fixture == "laptop-external") add(2, {1440, 0, 1920, 1080});
    if (fixture == "two-displays") {
        add(1, {0, 0, 1920, 1080});
        add(2, {1920, 0, 1920, 1080});
    }
    return out;
}

/// The number of Spaces of the display a window with `frame` opens on (the one it overlaps most,
/// else the one whose centre is nearest), as the simulated desktop chooses it.
int spacesFor(const Plan& plan, const CGRect& frame, const std::vector<CGRect>& frames) {
    if (frames.empty()) return 0;
    if (auto i = platform::indexOfLargestOverlap(frame, frames)) return plan.spaces[*i];
    std::size_t best = 0;
    double bestDistance = std::numeric_limits<double>::infinity();
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const double d = std::hypot(frames[i].midX() - frame.midX(), frames[i].midY() - frame.midY());
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return plan.spaces[best];
}

Plan plan(const platform::Json& json) {
    Plan p;
    if (!json.is_object()) fail("", "not an object");
    p.fixture = text(json, "fixture", "", "");
    if (!p.fixture.empty() && p.fixture != "laptop" && p.fixture != "laptop-external" &&
        p.fixture != "two-displays")
        fail("fixture", "unknown fixture " + p.fixture);
    p.displays = fixtureDisplays(p.fixture);
    p.fixtureDisplays = p.displays.size();
    p.spaces.assign(p.displays.size(), 1);
    std::set<std::uint32_t> ids;
    for (const auto& d : p.displays)
        ids.insert(d.displayID);

    if (json.contains("displays")) {
        if (!json["displays"].is_array()) fail("displays", "must be a list");
        std::uint32_t next = 1;
        for (std::size_t i = 0; i < json["displays"].size(); ++i) {
            const auto& d = json["displays"][i];
            const std::string path = index("displays", i);
            if (!d.is_object()) fail(path, "must be an object");
            platform::DisplaySpec spec;
            // A display without an id takes the next one that no display has yet.
            while (!d.contains("id") && ids.contains(next) && next < std::numeric_limits<std::uint32_t>::max())
                ++next;
            spec.displayID = d.contains("id") ? static_cast<std::uint32_t>(wholeNumber(
                                                    d["id"], at(path, "id"), 1, std::numeric_limits<std::uint32_t>::max()))
                                              : next;
            if (!ids.insert(spec.displayID).second)
                fail(at(path, "id"), "display " + std::to_string(spec.displayID) + " exists already");
            next = spec.displayID == std::numeric_limits<std::uint32_t>::max() ? spec.displayID : spec.displayID + 1;
            spec.name = text(d, "name", path, "Display " + std::to_string(spec.displayID));
            if (!d.contains("frame")) fail(path, "a display needs a frame");
            spec.frame = rect(d["frame"], at(path, "frame"), false);
            if (d.contains("visible")) {
                spec.visibleFrame = rect(d["visible"], at(path, "visible"), false);
                if (!spec.frame.contains(*spec.visibleFrame)) fail(at(path, "visible"), "not inside the frame");
            }
            if (d.contains("scale")) {
                spec.backingScaleFactor = finiteNumber(d["scale"], at(path, "scale"));
                if (spec.backingScaleFactor <= 0) fail(at(path, "scale"), "must be positive");
            } else {
                spec.backingScaleFactor = 2.0;
            }
            // The desktop holds displays within its range only (docs/console.md gives it).
            if (auto problem = platform::DisplayRange::rectProblem(spec.frame))
                fail(at(path, "frame"), *problem);
            if (spec.visibleFrame)
                if (auto problem = platform::DisplayRange::rectProblem(*spec.visibleFrame, true))
                    fail(at(path, "visible"), *problem);
            if (auto problem = platform::DisplayRange::scaleProblem(spec.backingScaleFactor))
                fail(path, *problem);
            const int spaces =
                d.contains("spaces") ? static_cast<int>(wholeNumber(d["spaces"], at(path, "spaces"), 1, kMaxSpaces)) : 1;
            spec.spaces = spaces;
            spec.builtin = flag(d, "builtin", path);
            p.displays.push_back(spec);
            p.spaces.push_back(spaces);
        }
    }

    std::vector<CGRect> frames;
    frames.reserve(p.displays.size());
    for (const auto& d : p.displays)
        frames.push_back(d.frame);

    if (json.contains("apps")) {
        if (!json["apps"].is_array()) fail("apps", "must be a list");
        for (std::size_t i = 0; i < json["apps"].size(); ++i) {
            const auto& a = json["apps"][i];
            const std::string path = index("apps", i);
            if (!a.is_object()) fail(path, "must be an object");
            PlannedApp app;
            app.spec.bundleIdentifier = text(a, "bundleIdentifier", path, "");
            if (app.spec.bundleIdentifier.empty()) fail(path, "an application needs a bundleIdentifier");
            app.spec.localizedName = text(a, "name", path, app.spec.bundleIdentifier);
            if (a.contains("launchDelay")) {
                app.spec.launchDelay = finiteNumber(a["launchDelay"], at(path, "launchDelay"));
                if (app.spec.launchDelay < 0 || app.spec.launchDelay > kMaxLaunchDelay)
                    fail(at(path, "launchDelay"), "must be from 0 to 86400 seconds");
            } else {
                app.spec.launchDelay = 0.5;
            }
            app.running = flag(a, "running", path);
            if (a.contains("windows")) {
                const std::string wpath = at(path, "windows");
                if (!a["windows"].is_array()) fail(wpath, "must be a list");
                app.windows.reserve(a["windows"].size());
                for (std::size_t k = 0; k < a["windows"].size(); ++k) {
                    const auto& w = a["windows"][k];
                    const std::string path_ = index(wpath, k);
                    if (!w.is_object()) fail(path_, "must be an object");
                    platform::WindowSpec ws;
                    ws.title = text(w, "title", path_, "");
                    if (w.contains("frame")) ws.frame = rect(w["frame"], at(path_, "frame"), true);
                    if (w.contains("space")) {
                        const int count = spacesFor(p, ws.frame, frames);
                        ws.desktop = static_cast<int>(wholeNumber(w["space"], at(path_, "space"), 0, count));
                    }
                    if (w.contains("min")) {
                        const auto& m = w["min"];
                        if (!m.is_array() || m.size() != 2 || !m[0].is_number() || !m[1].is_number())
                            fail(at(path_, "min"), "min must be [w, h]");
                        const double mw = finiteNumber(m[0], at(path_, "min[0]"));
                        const double mh = finiteNumber(m[1], at(path_, "min[1]"));
                        if (mw < 0 || mh < 0) fail(at(path_, "min"), "a minimum size cannot be negative");
                        ws.minSize = platform::CGSize{mw, mh};
                    }
                    ws.minimized = flag(w, "minimized", path_);
                    ws.fullScreen = flag(w, "fullScreen", path_);
                    app.windows.push_back(std::move(ws));
                }
            }
            p.apps.push_back(std::move(app));
        }
    }
    if (json.contains("frontmost")) {
        const std::string bundle = text(json, "frontmost", "", "");
        bool runs = false;
        for (const auto& a : p.apps)
            runs = runs || (a.spec.bundleIdentifier == bundle && (a.running || !a.windows.empty()));
        if (!runs) fail("frontmost", "application not running: " + bundle);
        p.frontmost = bundle;
    }
    return p;
}

} // namespace

const std::string& DesktopFile::defaultDesktop() {
    static const std::string text = R"({
  "fixture": "laptop-external",
  "apps": [
    {"bundleIdentifier": "com.apple.TextEdit", "name": "TextEdit", "running": true,
     "windows": [{"title": "Untitled", "frame": [120, 180, 800, 600]}]},
    {"bundleIdentifier": "com.apple.Safari", "name": "Safari"},
    {"bundleIdentifier": "com.apple.Notes", "name": "Notes"}
  ],
  "frontmost": "com.apple.TextEdit"
})";
    return text;
}

void DesktopFile::load(const std::string& text) {
    platform::Json json;
    try {
        json = platform::parseJson(text);
    } catch (const platform::Error&) {
        // Where the text stops being JSON and what should stand there, in the console's words.
        const auto problem = JsonSyntax::firstProblem(text);
        throw CommandError("bad desktop file: " + (problem ? problem->text() : std::string("not JSON text")));
    }
    // Every field is checked before the shared desktop changes: a file that fails leaves the
    // previous desktop as it was.
    const Plan p = plan(json);

    SimDesktop::clear();
    auto& desktop = SimDesktop::shared();
    if (p.fixture == "laptop") desktop.useLaptop();
    if (p.fixture == "laptop-external") desktop.useLaptopWithExternal();
    if (p.fixture == "two-displays") desktop.useTwoIdenticalDisplays();
    for (std::size_t i = p.fixtureDisplays; i < p.displays.size(); ++i)
        desktop.addDisplay(p.displays[i]);
    for (const auto& app : p.apps) {
        desktop.install(app.spec);
        if (app.running || !app.windows.empty()) desktop.run(app.spec.bundleIdentifier, app.windows);
    }
    if (p.frontmost) desktop.setFrontmost(DesktopQueries::firstPid(*p.frontmost));
}

void DesktopFile::loadFile(const std::string& path) {
    std::string text;
    try {
        text = platform::FileSystem::readRegularFile(path, DesktopConsole::maxFileBytes);
    } catch (const platform::Error& e) {
        throw CommandError("cannot read " + path + ": " + ConsoleText::fileProblem(e.what()));
    }
    load(text);
}

bool DesktopFile::useNamed(const std::string& name) {
    if (name == "default") {
        load(defaultDesktop());
        return true;
    }
    if (name != "laptop" && name != "laptop-external" && name != "two-displays") return false;
    SimDesktop::clear();
    auto& desktop = SimDesktop::shared();
    if (name == "laptop") desktop.useLaptop();
    if (name == "laptop-external") desktop.useLaptopWithExternal();
    if (name == "two-displays") desktop.useTwoIdenticalDisplays();
    return true;
}

const char* DesktopFile::names() {
    return "default, laptop, laptop-external, two-displays";
}

} // namespace tilmora
