#include "console/DesktopQueries.hpp"

#include "console/CommandError.hpp"
#include "platform/desktop/NSRunningApplication.hpp"
#include "platform/desktop/NSWorkspace.hpp"

#include <algorithm>

namespace tilmora {

using platform::SimDesktop;

std::vector<DesktopQueries::WindowRow> DesktopQueries::windows() {
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

std::optional<DesktopQueries::WindowRow> DesktopQueries::findWindow(const std::string& bundle,
                                                                    const std::string& title) {
    for (auto& row : windows()) {
        if (row.bundle == bundle && row.state.title == title) return row;
    }
    return std::nullopt;
}

int DesktopQueries::desktopNumber(std::uint64_t space) {
    auto& desktop = SimDesktop::shared();
    for (auto display : desktop.displayIDs()) {
        auto spaces = desktop.spaces(display);
        for (std::size_t i = 0; i < spaces.size(); ++i) {
            if (spaces[i] == space) return static_cast<int>(i) + 1;
        }
    }
    return 0;
}

pid_t DesktopQueries::firstPid(const std::string& bundle) {
    auto pids = SimDesktop::shared().pids(bundle);
    if (pids.empty()) throw CommandError("application not running: " + bundle);
    return pids.front();
}

} // namespace tilmora
