#include "console/DesktopFile.hpp"

#include "console/CommandError.hpp"
#include "console/DesktopQueries.hpp"
#include "platform/control/SimDesktop.hpp"
#include "platform/foundation/Error.hpp"
#include "platform/foundation/JsonCoding.hpp"

namespace tilmora {

using platform::CGRect;
using platform::SimDesktop;

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

    SimDesktop::clear();
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
        desktop.setFrontmost(DesktopQueries::firstPid(bundle));
    }
}

} // namespace tilmora
