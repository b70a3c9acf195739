#include "model/DisplayLayoutMemory.hpp"

#include "model/DisplayConfigurationSignature.hpp"
#include "model/HookRegistry.hpp"
#include "model/ScreenSource.hpp"
#include "model/Settings.hpp"

#include "platform/foundation/Error.hpp"
#include "platform/foundation/JsonCoding.hpp"
#include "platform/foundation/SharedInstance.hpp"
#include "platform/foundation/SystemLog.hpp"
#include "platform/foundation/UserDefaults.hpp"

#include <utility>

namespace tilmora {

namespace {

struct SharedState {
    std::unique_ptr<DisplayLayoutMemory> memory;
    std::shared_ptr<DisplayPresetGrid> grid;
};

SharedState& sharedState() {
    return platform::SharedInstance<SharedState>::get();
}

constexpr const char* gridHookName = "DisplayLayoutMemory.grid";

// A grid that knows no presets and applies nothing, until the shell installs the snap grid; says
// so once when it is used.
class NoGrid final : public DisplayPresetGrid {
public:
    ScreenLayoutEntry::PresetModel loadPreset(const ScreenInfo&) override {
        HookRegistry::notePlaceholderUse(gridHookName, "stored presets are neither read nor applied");
        return {};
    }
    void applyPreset(const ScreenLayoutEntry::PresetModel&, const ScreenInfo&, bool, bool) override {
        HookRegistry::notePlaceholderUse(gridHookName, "stored presets are neither read nor applied");
    }
};

// Real once a grid is installed (the shell installs the snap grid's when it builds its environment).
const HookRegistry::Registration gridHook(gridHookName, [] { return sharedState().grid != nullptr; });

platform::Json encodeCache(const DisplayLayoutMemory::Cache& cache) {
    platform::Json object = platform::Json::object();
    for (const auto& [key, entries] : cache)
        object[key] = platform::encodeJsonArray(entries);
    return object;
}

DisplayLayoutMemory::Cache decodeCache(const platform::Json& json) {
    if (!json.is_object()) throw platform::Error("cannot decode the display layouts: not an object");
    DisplayLayoutMemory::Cache cache;
    for (auto it = json.begin(); it != json.end(); ++it)
        cache[it.key()] = platform::decodeJsonArray<ScreenLayoutEntry>(it.value());
    return cache;
}

} // namespace

DisplayLayoutMemory::DisplayLayoutMemory(std::shared_ptr<DisplayPresetGrid> roriDeru, std::string defaultsKey)
    : defaultsKey_(std::move(defaultsKey))
    , roriDeru_(roriDeru ? std::move(roriDeru) : std::make_shared<NoGrid>()) {
    load();
}

DisplayLayoutMemory& DisplayLayoutMemory::shared() {
    SharedState& state = sharedState();
    if (!state.memory)
        state.memory = std::make_unique<DisplayLayoutMemory>(state.grid, "DisplayLayoutMemory.v1");
    return *state.memory;
}

void DisplayLayoutMemory::installGrid(std::shared_ptr<DisplayPresetGrid> grid) {
    SharedState& state = sharedState();
    state.grid = grid;
    if (state.memory) state.memory->roriDeru_ = grid ? std::move(grid) : std::make_shared<NoGrid>();
}

void DisplayLayoutMemory::load() {
    auto& defaults = platform::UserDefaults::standard();
    undecodable_.reset();
    cache_.clear();
    auto value = defaults.objectForKey(defaultsKey_);
    if (!value) return;
    const platform::Bytes* data = value->asData();
    if (!data) {
        // A value of another kind (a text, a number, ...) is kept as it is, like undecodable data.
        undecodable_ = std::move(*value);
        platform::systemLog("[DisplayLayoutMemory] Stored layouts under " + defaultsKey_ +
                            " are not data; starting empty");
        return;
    }
    try {
        std::string text(data->begin(), data->end());
        cache_ = decodeCache(platform::parseJson(text));
    } catch (const platform::Error& error) {
        cache_.clear();
        undecodable_ = std::move(*value);
        platform::systemLog("[DisplayLayoutMemory] Stored layouts under " + defaultsKey_ +
                            " do not decode; starting empty: " + error.what());
    }
}

void DisplayLayoutMemory::persist() {
    std::string text;
    try {
        text = platform::jsonText(encodeCache(cache_));
    } catch (const platform::Error& error) {
        platform::systemLog(std::string("[DisplayLayoutMemory] Failed to persist layouts: ") + error.what());
        return;
    }
    auto& defaults = platform::UserDefaults::standard();
    if (undecodable_) {
        // An earlier kept value is never replaced: the next free of ".corrupt", ".corrupt-2", ...
        std::string aside = defaultsKey_ + ".corrupt";
        for (int n = 2; defaults.objectForKey(aside); ++n)
            aside = defaultsKey_ + ".corrupt-" + std::to_string(n);
        defaults.set(*undecodable_, aside);
        platform::systemLog("[DisplayLayoutMemory] Kept the undecodable stored layouts under " + aside);
        undecodable_.reset();
    }
    defaults.set(platform::Bytes(text.begin(), text.end()), defaultsKey_);
}

void DisplayLayoutMemory::captureCurrentPresetConfiguration() {
    std::vector<ScreenInfo> screens = ScreenSource::current()->screens();
    auto key = DisplayConfigurationSignature::key(screens);
    if (!key) return;
    std::vector<ScreenLayoutEntry> entries;
    for (const ScreenInfo& screen : screens) {
        auto signature = DisplaySignature::fromScreen(screen);
        if (!signature) continue;
        entries.push_back(ScreenLayoutEntry{*signature, roriDeru_->loadPreset(screen)});
    }
    if (entries.empty()) return;
    // Another instance may have stored other configurations since this one last read.
    load();
    const std::size_t count = entries.size();
    cache_[*key] = std::move(entries);
    persist();
    log("Captured " + std::to_string(count) + " preset(s) for configuration " + *key);
}

void DisplayLayoutMemory::applyStoredConfiguration(bool force) {
    if (!force && !platform::UserDefaults::standard().boolForKey(settings::autoApplyDisplayLayouts.key)) {
        log("Auto-apply disabled; skipping stored layout");
        return;
    }
    load();
    std::vector<ScreenInfo> screens = ScreenSource::current()->screens();
    auto key = DisplayConfigurationSignature::key(screens);
    auto stored = key ? cache_.find(*key) : cache_.end();
    if (!key || stored == cache_.end() || stored->second.empty()) {
        log("No stored layout for configuration " + key.value_or("<none>"));
        return;
    }
    const std::vector<ScreenLayoutEntry> entries = stored->second;
    std::set<std::uint32_t> used;
    for (const ScreenLayoutEntry& entry : entries) {
        auto screen = resolveScreen(entry.signature, screens, used);
        if (!screen) continue;
        log("Applying preset " + std::to_string(entry.preset.rows) + "x" + std::to_string(entry.preset.cols) +
            " to " + screen->localizedName + " (activate=" + (force ? "true" : "false") + ")");
        roriDeru_->applyPreset(entry.preset.normalized(), *screen, false, force);
    }
}

std::optional<ScreenInfo> DisplayLayoutMemory::resolveScreen(const DisplaySignature& signature,
                                                             const std::vector<ScreenInfo>& screens,
                                                             std::set<std::uint32_t>& used) const {
    if (signature.displayID) {
        for (const ScreenInfo& screen : screens) {
            if (screen.displayNumber == signature.displayID) {
                if (!used.contains(*signature.displayID)) {
                    used.insert(*signature.displayID);
                    return screen;
                }
                break;
            }
        }
    }
    for (const ScreenInfo& screen : screens) {
        auto candidate = DisplaySignature::fromScreen(screen);
        if (!candidate) continue;
        bool fits = (signature.displayID && candidate->displayID)
                        ? *signature.displayID == *candidate->displayID
                        : signature.width == candidate->width && signature.height == candidate->height;
        if (!fits) continue;
        if (!candidate->displayID) return screen;
        if (used.contains(*candidate->displayID)) continue;
        used.insert(*candidate->displayID);
        return screen;
    }
    return std::nullopt;
}

void DisplayLayoutMemory::log(const std::string& message) const {
    if (platform::UserDefaults::standard().boolForKey(settings::verboseLogging.key))
        platform::systemLog("[DisplayLayoutMemory] " + message);
}

} // namespace tilmora
