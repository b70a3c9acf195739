#pragma once

#include "editors/LayoutEditorView.hpp"
#include "editors/LayoutEditorViewModel.hpp"
#include "model/DisplayProvider.hpp"
#include "model/LayoutStore.hpp"
#include "model/ProfileController.hpp"
#include "model/ProfileStore.hpp"

#include "platform/control/SimDesktop.hpp"
#include "platform/foundation/Error.hpp"
#include "platform/foundation/Uuid.hpp"

#include "support/PlatformTest.hpp"

#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace layouteditortest {

using tilmora::DisplayId;
using tilmora::Layout;
using tilmora::LayoutId;
using tilmora::LayoutProfile;
using tilmora::Tile;
using tilmora::TileId;

/// A layout store in memory that counts its display lookups and can refuse to save.
struct FakeLayoutStore : tilmora::LayoutStore {
    std::vector<Layout> layouts;
    int lookups = 0;
    std::optional<std::string> saveError;
    std::vector<Layout> saved;

    std::vector<Layout> allLayouts() override { return layouts; }
    std::optional<Layout> layout(const DisplayId& displayId) override {
        ++lookups;
        for (auto& l : layouts)
            if (l.displayId == displayId) return l;
        return std::nullopt;
    }
    std::optional<Layout> layout(const LayoutId& id) override {
        for (auto& l : layouts)
            if (l.id == id) return l;
        return std::nullopt;
    }
    void save(const Layout& layout) override {
        if (saveError) throw platform::Error(*saveError);
        saved.push_back(layout);
        layouts.push_back(layout);
    }
    void deleteLayout(const LayoutId&) override {}
};

/// A profile store in memory whose listing and saving can fail.
struct FakeProfileStore : tilmora::ProfileStore {
    std::vector<LayoutProfile> profiles;
    int listings = 0;
    bool listingFails = false;
    std::optional<std::string> saveError;

    std::vector<LayoutProfile> allProfiles() override {
        ++listings;
        if (listingFails) throw platform::Error("cannot decode profiles");
        return profiles;
    }
    void save(const LayoutProfile& profile) override {
        if (saveError) throw platform::Error(*saveError);
        profiles.push_back(profile);
    }
};

struct FakeDisplayProvider : tilmora::DisplayProvider {
    std::vector<tilmora::DisplayDescriptor> displays;
    std::vector<tilmora::DisplayDescriptor> currentDisplays() override { return displays; }
};

inline tilmora::DisplayDescriptor display(const std::string& id, tilmora::Rect bounds = {0, 0, 1440, 875}) {
    return tilmora::DisplayDescriptor{DisplayId(id), "Display " + id, bounds, 2};
}

inline Tile tile(tilmora::Rect frame, std::optional<std::string> label, const std::string& displayId = "1") {
    return Tile{TileId(platform::UUID()), DisplayId(displayId), frame, std::move(label)};
}

inline Layout layoutOf(const std::string& displayId, std::vector<Tile> tiles, const std::string& name = "Mine") {
    return Layout{LayoutId(platform::UUID()), name, DisplayId(displayId), std::move(tiles)};
}

inline LayoutProfile profile(const std::string& name, std::vector<std::string> displayIds) {
    std::vector<DisplayId> ids;
    for (auto& id : displayIds)
        ids.emplace_back(id);
    return LayoutProfile{tilmora::ProfileId(platform::UUID()), name, tilmora::MonitorConfigurationSignature(ids), {}};
}

/// The platform fixture with the laptop desktop, fake stores and display "1" connected.
class LayoutEditorTest : public PlatformTest {
protected:
    void restoreFixture() override {
        PlatformTest::restoreFixture();
        platform::SimDesktop::shared().useLaptop();
        layoutStore = std::make_shared<FakeLayoutStore>();
        profileStore = std::make_shared<FakeProfileStore>();
        displays = std::make_shared<FakeDisplayProvider>();
        displays->displays = {display("1")};
        controller = std::make_shared<tilmora::ProfileController>(displays, profileStore);
    }

    std::shared_ptr<tilmora::LayoutEditorViewModel> model(const std::string& displayId = "1") {
        return std::make_shared<tilmora::LayoutEditorViewModel>(display(displayId), layoutStore);
    }

    std::shared_ptr<FakeLayoutStore> layoutStore;
    std::shared_ptr<FakeProfileStore> profileStore;
    std::shared_ptr<FakeDisplayProvider> displays;
    std::shared_ptr<tilmora::ProfileController> controller;
};

} // namespace layouteditortest
