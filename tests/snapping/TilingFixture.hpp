#pragma once

#include "model/Log.hpp"
#include "model/Settings.hpp"
#include "platform/desktop/NSGeometry.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "snapping/DefaultTilingEngine.hpp"
#include "snapping/TilingController.hpp"
#include "support/DesktopTest.hpp"

#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace tilmora::testing {

/// A display provider that lists what the test puts in `displays`.
class FakeDisplayProvider : public DisplayProvider {
public:
    std::vector<DisplayDescriptor> currentDisplays() override { return displays; }
    std::vector<DisplayDescriptor> displays;
};

/// A window mutator that records each call as "<window id> (x, y, w, h)".
class RecordingMutator : public WindowMutator {
public:
    void moveAndResize(const WindowId& windowId, const Rect& frame) override {
        calls.push_back(windowId.rawValue + " " + text(frame));
    }
    static std::string text(const Rect& r) {
        return platform::NSStringFromRect(platform::CGRect{r.x, r.y, r.width, r.height});
    }
    std::vector<std::string> calls;
};

/// A tiling controller over a fake display provider with display "1" ("Built-in", visible frame
/// (0, 0, 1440, 875), scale 2) and a recording mutator, verbose logging on, and its three overlay
/// callbacks recorded in one list, in call order: "show <display id> <layout name>",
/// "highlight <tile label or nil>", "hide".
class TilingTest : public ::DesktopTest {
protected:
    void restoreFixture() override {
        DesktopTest::restoreFixture();
        platform::UserDefaults::standard().set(true, settings::verboseLogging.key);
        displays = std::make_shared<FakeDisplayProvider>();
        displays->displays = {builtIn()};
        mutator = std::make_shared<RecordingMutator>();
        controller = std::make_unique<TilingController>(displays, std::make_shared<WindowProvider>(), mutator,
                                                        std::make_shared<DefaultTilingEngine>(), nullptr);
        L2 = TilingController::defaultHalvesLayout(builtIn());
        events.clear();
        controller->onShowOverlay = [this](const DisplayDescriptor& d, const Layout& l) {
            events.push_back("show " + d.id.rawValue + " " + l.name);
        };
        controller->onHighlightTile = [this](const std::optional<TileId>& id) {
            events.push_back("highlight " + labelOf(id));
        };
        controller->onHideOverlay = [this] { events.push_back("hide"); };
    }

    static DisplayDescriptor builtIn() {
        return DisplayDescriptor{"1", "Built-in", Rect{0, 0, 1440, 875}, 2};
    }

    /// The label of the tile of any layout the test made with that id; "nil" for none.
    std::string labelOf(const std::optional<TileId>& id) const {
        if (!id) return "nil";
        for (const auto* layout : {&L2, &extra})
            for (const auto& tile : layout->tiles)
                if (tile.id == *id) return tile.label.value_or("(unlabeled)");
        return "unknown";
    }

    /// The lines printed since the last call.
    std::vector<std::string> newLines() {
        std::vector<std::string> all;
        if (const auto path = logFilePath()) {
            std::ifstream file(*path);
            for (std::string line; std::getline(file, line);)
                all.push_back(line);
        }
        std::vector<std::string> fresh(all.begin() + static_cast<std::ptrdiff_t>(std::min(seen, all.size())),
                                       all.end());
        seen = all.size();
        return fresh;
    }

    std::shared_ptr<FakeDisplayProvider> displays;
    std::shared_ptr<RecordingMutator> mutator;
    std::unique_ptr<TilingController> controller;
    Layout L2{LayoutId(platform::UUID()), "", "1", {}};
    /// A second layout a test may fill; its labels are known to `labelOf`.
    Layout extra{LayoutId(platform::UUID()), "", "1", {}};
    std::vector<std::string> events;
    std::size_t seen = 0;
};

} // namespace tilmora::testing
