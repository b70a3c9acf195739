#pragma once

#include "editors/VeskLayoutEditorController.hpp"
#include "model/Settings.hpp"

#include "platform/control/BundleControl.hpp"
#include "platform/control/LocaleControl.hpp"
#include "platform/foundation/FileSystem.hpp"
#include "platform/foundation/Folders.hpp"
#include "platform/foundation/UserDefaults.hpp"

#include "support/PlatformTest.hpp"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace editorstest {

/// A tile with a fresh id.
inline tilmora::VeskTile tile(const std::string& name, tilmora::Rect rect) {
    return tilmora::VeskTile{platform::UUID(), name, rect};
}

/// A preset of display "1" with a fresh id.
inline tilmora::VeskPreset preset(const std::string& name, std::int64_t sortOrder = 0,
                                  tilmora::VeskPresetKind kind = tilmora::VeskPresetKind::grid,
                                  std::vector<tilmora::VeskTile> tiles = {tile("Tile 1", {0, 0, 1, 1})}) {
    return tilmora::VeskPreset{platform::UUID(), name, kind, "1", std::move(tiles), sortOrder};
}

/// The platform fixture with the program's own string tables in English, and records of what the
/// editor's save and delete closures were handed.
class PresetEditorTest : public PlatformTest {
protected:
    void restoreFixture() override {
        PlatformTest::restoreFixture();
        useProgramTextsInEnglish();
    }

    static void setVerbose(bool on) {
        platform::UserDefaults::standard().set(on, tilmora::settings::verboseLogging.key);
    }

    /// The lines the program's log file holds (none when nothing was printed).
    static std::vector<std::string> logLines() {
        auto path = *platform::Folders::documents() / "Tilmora_log.txt";
        std::vector<std::string> lines;
        if (!platform::FileSystem::fileExists(path)) return lines;
        std::string text = platform::FileSystem::readFile(path);
        size_t start = 0;
        for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
            lines.push_back(text.substr(start, end - start));
        return lines;
    }

    /// A controller of display "1" over `presets` whose closures record into `saved` / `deleted`.
    std::shared_ptr<tilmora::VeskLayoutEditorController> make(std::vector<tilmora::VeskPreset> presets) {
        return std::make_shared<tilmora::VeskLayoutEditorController>(
            std::move(presets), "1", std::nullopt,
            [this](const tilmora::VeskPreset& p) { saved.push_back(p); },
            [this](const platform::UUID& id) { deleted.push_back(id); });
    }

    std::vector<tilmora::VeskPreset> saved;
    std::vector<platform::UUID> deleted;
};

} // namespace editorstest
