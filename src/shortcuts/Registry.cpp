#include "shortcuts/Registry.hpp"

#include "model/Log.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "platform/ui/Menu.hpp"
#include "shortcuts/CarbonHotKeys.hpp"

#include <algorithm>
#include <unordered_map>

namespace tilmora::GlobalShortcuts {

namespace {

platform::UserDefaults& defaults() {
    return platform::UserDefaults::standard();
}

std::string keyFor(const Name& name) {
    return std::string(userDefaultsPrefix) + name.rawValue;
}

} // namespace

std::optional<Shortcut> Registry::readChord(const std::string& key) const {
    // The change count is taken before the read: a change during the read shows as a new count.
    const auto count = platform::UserDefaults::changeCount();
    if (const auto found = readChords_.find(key); found != readChords_.end() && found->second.readAt == count)
        return found->second.chord;
    return readChordNow(std::string(key), count);
}

std::optional<Shortcut> Registry::readChordNow(const std::string& key, std::uint64_t count) const {
    const auto value = defaults().objectForKey(key);
    const std::string* text = value ? value->asString() : nullptr;
    std::optional<Shortcut> chord;
    if (text != nullptr) {
        // The same text decodes to the same chord, and a refusal of it was logged when first read.
        const auto found = readChords_.find(key);
        if (found != readChords_.end() && found->second.text == *text)
            chord = found->second.chord;
        else
            chord = decodeChord(key, *text);
    }
    auto& kept = readChords_[key];
    kept.readAt = count;
    if (text != nullptr)
        kept.text = *text;
    else
        kept.text.reset();
    kept.chord = chord;
    return chord;
}

std::optional<Shortcut> Registry::decodeChord(const std::string& key, const std::string& text) const {
    std::optional<Shortcut> chord;
    try {
        chord = platform::decodeJsonText<Shortcut>(text);
    } catch (const std::exception&) {
        return std::nullopt;
    }
    if (chord->isRecordable()) return chord;
    // A chord the recorder refuses (a bare letter, an arrow, Shift alone) would take that key from
    // every application as a hot key; it came from the settings file, not from the recorder.
    if (refusedLogged_.insert(key + '\n' + text).second) {
        print("[GlobalShortcuts] Ignored the stored chord " + chord->presentableDescription() + " of \"" +
              key.substr(userDefaultsPrefix.size()) +
              "\": a chord needs Control, Option or Command unless its key is F1 to F20");
    }
    return std::nullopt;
}

// ----- Registry

Registry::Registry() {
    initialize();
}

Registry::~Registry() {
    auto& center = platform::NotificationCenter::defaultCenter();
    center.removeObserver(openMenuObserver_);
    center.removeObserver(closeMenuObserver_);
}

void Registry::initialize() {
    if (isInitialized_) return;
    auto& center = platform::NotificationCenter::defaultCenter();
    openMenuObserver_ = center.addObserver(
        platform::ui::MenuDidBeginTrackingNotification, nullptr,
        [](const platform::Notification&) { Registry::shared().menuTrackingChanged(true); });
    closeMenuObserver_ = center.addObserver(
        platform::ui::MenuDidEndTrackingNotification, nullptr,
        [](const platform::Notification&) { Registry::shared().menuTrackingChanged(false); });
    isInitialized_ = true;
}

void Registry::menuTrackingChanged(bool open) {
    const bool was = isMenuOpen_;
    isMenuOpen_ = open;
    if (was != open) CarbonHotKeys::shared().updateEventHandler();
}

void Registry::setEnabled(bool enabled) {
    if (isEnabled_ == enabled) return;
    isEnabled_ = enabled;
    CarbonHotKeys::shared().updateEventHandler();
}

std::optional<Shortcut> Registry::getShortcut(const Name& name) const {
    // The key is built in a kept buffer (no allocation once it is large enough); `readChord`
    // copies it before anything that could call back in here.
    keyBuffer_.assign(userDefaultsPrefix);
    keyBuffer_ += name.rawValue;
    return readChord(keyBuffer_);
}

bool Registry::userDefaultsContains(const Name& name) const {
    return defaults().objectForKey(keyFor(name)).has_value();
}

void Registry::userDefaultsDidChange(const Name& name) {
    platform::NotificationCenter::defaultCenter().post(shortcutByNameDidChangeNotification, nullptr,
                                                       {{"name", platform::PropertyValue(name.rawValue)}});
}

void Registry::userDefaultsSet(const Name& name, const Shortcut& shortcut) {
    std::string text;
    try {
        text = platform::encodeJsonText(shortcut);
    } catch (const std::exception&) {
        return;
    }
    if (auto old = getShortcut(name)) {
        if (!usedByHandlers(*old, &name)) unregisterChord(*old);
    }
    registerIfNeeded(shortcut);
    defaults().set(platform::PropertyValue(text), keyFor(name));
    userDefaultsDidChange(name);
}

void Registry::setShortcut(const std::optional<Shortcut>& shortcut, const Name& name) {
    if (shortcut) {
        userDefaultsSet(name, *shortcut);
        return;
    }
    const auto old = getShortcut(name);
    if (!old) return;
    if (name.defaultShortcut)
        defaults().set(platform::PropertyValue(false), keyFor(name));
    else
        defaults().removeObjectForKey(keyFor(name));
    if (!usedByHandlers(*old, &name)) unregisterChord(*old);
    userDefaultsDidChange(name);
}

std::unordered_set<Name> Registry::allNames() {
    std::unordered_set<Name> names;
    for (const auto& [key, value] : defaults().dictionaryRepresentation()) {
        (void)value;
        if (key.starts_with(userDefaultsPrefix)) names.insert(Name(key.substr(userDefaultsPrefix.size())));
    }
    return names;
}

bool Registry::isEnabled(const Name& name) const {
    if (!isEnabled_) return false;
    const auto chord = getShortcut(name);
    return chord && registeredShortcuts_.contains(*chord);
}

void Registry::enable(const std::vector<Name>& names) {
    for (const auto& name : names)
        if (auto chord = getShortcut(name)) registerIfNeeded(*chord);
}

void Registry::disable(const std::vector<Name>& names) {
    for (const auto& name : names)
        if (auto chord = getShortcut(name)) unregisterChord(*chord);
}

void Registry::registerIfNeeded(const Shortcut& shortcut) {
    if (registeredShortcuts_.contains(shortcut) || !shortcut.isRecordable()) return;
    CarbonHotKeys::shared().registerShortcut(shortcut, &handleOnKeyDown, &handleOnKeyUp);
    registeredShortcuts_.insert(shortcut);
}

void Registry::unregisterChord(const Shortcut& shortcut) {
    CarbonHotKeys::shared().unregister(shortcut);
    registeredShortcuts_.erase(shortcut);
}

bool Registry::usedByHandlers(const Shortcut& shortcut, const Name* excluding) const {
    for (const auto& entry : handlers_->entries) {
        if (excluding != nullptr && entry.name == *excluding) continue;
        if (!entry.hasLegacy() && !entry.hasStreams()) continue;
        if (readChord(entry.defaultsKey) == shortcut) return true;
    }
    return false;
}

std::shared_ptr<Registry::Table> Registry::copyTable() const {
    auto table = std::make_shared<Table>();
    table->entries = handlers_->entries;
    return table;
}

void Registry::publish(std::shared_ptr<Table> table) {
    std::erase_if(table->entries, [](const Entry& e) { return !e.hasLegacy() && !e.hasStreams(); });
    table->chordsReadAt = ~std::uint64_t{0};
    handlers_ = std::move(table);
}

Registry::Entry& Registry::entryFor(Table& table, const Name& name) {
    for (auto& entry : table.entries)
        if (entry.name == name) return entry;
    table.entries.push_back(Entry{name, keyFor(name), {}, {}, {}, {}, std::nullopt});
    return table.entries.back();
}

void Registry::onKeyDown(const Name& name, Action action) {
    auto table = copyTable();
    entryFor(*table, name).legacyDown.push_back(std::move(action));
    publish(std::move(table));
    if (auto chord = getShortcut(name)) registerIfNeeded(*chord);
}

void Registry::onKeyDown(std::vector<std::pair<Name, Action>> handlers) {
    if (handlers.empty()) return;
    auto table = copyTable();
    std::unordered_map<std::string, std::size_t> positions;
    positions.reserve(table->entries.size() + handlers.size());
    for (std::size_t i = 0; i < table->entries.size(); ++i)
        positions.emplace(table->entries[i].name.rawValue, i);
    for (auto& [name, action] : handlers) {
        const auto [at, added] = positions.emplace(name.rawValue, table->entries.size());
        if (added) table->entries.push_back(Entry{name, keyFor(name), {}, {}, {}, {}, std::nullopt});
        table->entries[at->second].legacyDown.push_back(std::move(action));
    }
    publish(std::move(table));
    for (const auto& handler : handlers)
        if (auto chord = getShortcut(handler.first)) registerIfNeeded(*chord);
}

void Registry::onKeyUp(const Name& name, Action action) {
    auto table = copyTable();
    entryFor(*table, name).legacyUp.push_back(std::move(action));
    publish(std::move(table));
    if (auto chord = getShortcut(name)) registerIfNeeded(*chord);
}

void Registry::removeHandler(const Name& name) {
    auto table = copyTable();
    auto& entry = entryFor(*table, name);
    entry.legacyDown.clear();
    entry.legacyUp.clear();
    publish(std::move(table));
    if (auto chord = getShortcut(name)) {
        if (!usedByHandlers(*chord, nullptr)) unregisterChord(*chord);
    }
}

void Registry::removeAllHandlers() {
    const auto streamChords = shortcutsForStreamHandlers();
    for (const auto& chord : shortcutsForLegacyHandlers())
        if (!streamChords.contains(chord)) unregisterChord(chord);
    auto table = copyTable();
    for (auto& entry : table->entries) {
        entry.legacyDown.clear();
        entry.legacyUp.clear();
    }
    publish(std::move(table));
}

std::unordered_set<Shortcut> Registry::chordsOfEntries(bool (Entry::*has)() const) const {
    std::unordered_set<Shortcut> chords;
    for (const auto& entry : handlers_->entries)
        if ((entry.*has)())
            if (auto chord = readChord(entry.defaultsKey)) chords.insert(*chord);
    return chords;
}

std::unordered_set<Shortcut> Registry::shortcutsForLegacyHandlers() const {
    return chordsOfEntries(&Entry::hasLegacy);
}

std::unordered_set<Shortcut> Registry::shortcutsForStreamHandlers() const {
    return chordsOfEntries(&Entry::hasStreams);
}

void Registry::addStream(const Name& name, std::uint64_t id,
                         const std::shared_ptr<EventStream::State>& state) {
    std::weak_ptr<EventStream::State> weak = state;
    auto table = copyTable();
    auto& entry = entryFor(*table, name);
    entry.streamDown.emplace_back(id, [weak] {
        if (auto s = weak.lock()) s->deliver(EventType::keyDown);
    });
    entry.streamUp.emplace_back(id, [weak] {
        if (auto s = weak.lock()) s->deliver(EventType::keyUp);
    });
    publish(std::move(table));
    if (auto chord = getShortcut(name)) registerIfNeeded(*chord);
}

void Registry::removeStream(const Name& name, std::uint64_t id) {
    auto table = copyTable();
    auto& entry = entryFor(*table, name);
    const auto sameId = [id](const auto& pair) { return pair.first == id; };
    std::erase_if(entry.streamDown, sameId);
    std::erase_if(entry.streamUp, sameId);
    publish(std::move(table));
    if (auto chord = getShortcut(name)) {
        if (!usedByHandlers(*chord, nullptr)) unregisterChord(*chord);
    }
}

void Registry::refreshChords(const Table& table) const {
    const auto count = platform::UserDefaults::changeCount();
    if (table.chordsReadAt == count) return;
    for (const auto& entry : table.entries)
        entry.chord = readChord(entry.defaultsKey);
    table.chordsReadAt = count;
}

void Registry::handle(const Shortcut& fired, EventType type) {
    if (isPaused_) return;
    // The table as it is now: actions that change handlers replace `handlers_`, not this one.
    const std::shared_ptr<const Table> snapshot = handlers_;
    const bool down = type == EventType::keyDown;
    for (const auto& entry : snapshot->entries) {
        refreshChords(*snapshot); // an action may have changed the defaults
        if (entry.chord != fired) continue;
        for (const auto& action : down ? entry.legacyDown : entry.legacyUp)
            action();
    }
    for (const auto& entry : snapshot->entries) {
        refreshChords(*snapshot);
        if (entry.chord != fired) continue;
        for (const auto& [id, action] : down ? entry.streamDown : entry.streamUp)
            action();
    }
}

// ----- the public face

std::optional<Shortcut> getShortcut(const Name& name) {
    return Registry::shared().getShortcut(name);
}
void setShortcut(const std::optional<Shortcut>& shortcut, const Name& name) {
    Registry::shared().setShortcut(shortcut, name);
}
void reset(const std::vector<Name>& names) {
    for (const auto& name : names)
        Registry::shared().setShortcut(name.defaultShortcut, name);
}
void resetAll() {
    const auto names = Registry::shared().allNames();
    reset(std::vector<Name>(names.begin(), names.end()));
}
bool isEnabled() {
    return Registry::shared().isEnabled();
}
void setEnabled(bool enabled) {
    Registry::shared().setEnabled(enabled);
}
bool isPaused() {
    return Registry::shared().isPaused();
}
void setPaused(bool paused) {
    Registry::shared().setPaused(paused);
}
bool isMenuOpen() {
    return Registry::shared().isMenuOpen();
}
bool isEnabled(const Name& name) {
    return Registry::shared().isEnabled(name);
}
void enable(const std::vector<Name>& names) {
    Registry::shared().enable(names);
}
void disable(const std::vector<Name>& names) {
    Registry::shared().disable(names);
}
void onKeyDown(const Name& name, Action action) {
    Registry::shared().onKeyDown(name, std::move(action));
}
void onKeyDown(std::vector<std::pair<Name, Action>> handlers) {
    Registry::shared().onKeyDown(std::move(handlers));
}
void onKeyUp(const Name& name, Action action) {
    Registry::shared().onKeyUp(name, std::move(action));
}
EventStream events(const Name& name) {
    return makeEventStream(name, std::nullopt);
}
EventStream events(EventType type, const Name& name) {
    return makeEventStream(name, type);
}
void removeHandler(const Name& name) {
    Registry::shared().removeHandler(name);
}
void removeAllHandlers() {
    Registry::shared().removeAllHandlers();
}
void handleOnKeyDown(const Shortcut& shortcut) {
    Registry::shared().handle(shortcut, EventType::keyDown);
}
void handleOnKeyUp(const Shortcut& shortcut) {
    Registry::shared().handle(shortcut, EventType::keyUp);
}
void userDefaultsSet(const Name& name, const Shortcut& shortcut) {
    Registry::shared().userDefaultsSet(name, shortcut);
}
bool userDefaultsContains(const Name& name) {
    return Registry::shared().userDefaultsContains(name);
}
void userDefaultsDidChange(const Name& name) {
    Registry::shared().userDefaultsDidChange(name);
}
std::unordered_set<Name> allNames() {
    return Registry::shared().allNames();
}
std::unordered_set<Shortcut> shortcutsForLegacyHandlers() {
    return Registry::shared().shortcutsForLegacyHandlers();
}
std::unordered_set<Shortcut> shortcutsForStreamHandlers() {
    return Registry::shared().shortcutsForStreamHandlers();
}
void initialize() {
    Registry::shared().initialize();
}

} // namespace tilmora::GlobalShortcuts
