#pragma once

#include "platform/foundation/NotificationCenter.hpp"
#include "platform/foundation/SharedInstance.hpp"
#include "shortcuts/EventStream.hpp"
#include "shortcuts/EventType.hpp"
#include "shortcuts/Name.hpp"
#include "shortcuts/Shortcut.hpp"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

namespace tilmora::GlobalShortcuts {

/// A shortcut's action: no argument, no result.
using Action = std::function<void()>;

/// Posted on the default center after a name's stored chord was stored or cleared through the
/// registry; user info "name": the name's raw value (text).
inline const std::string shortcutByNameDidChangeNotification = "GlobalShortcuts_shortcutByNameDidChange";
/// The prefix of every stored chord's user-defaults key.
inline constexpr std::string_view userDefaultsPrefix = "GlobalShortcuts_";

/// The process's shortcut registry: the chords stored per name in the standard user defaults, the
/// hot keys asked of `CarbonHotKeys`, the handlers attached to names, and the switches
/// (enabled, paused, menu open). A press of a watched chord runs the handlers of every name whose
/// stored chord equals it.
///
/// Stored chords: under "GlobalShortcuts_" + raw value, the compact JSON text of the chord;
/// Boolean false for a cleared name that has a default; absent for none. Anything else reads as
/// no chord, and so does a chord the recorder would refuse (none of Control, Option, Command and
/// not a function key; logged once): it never becomes a hot key. The registry keeps each handled
/// name's decoded chord and reads the defaults again only when `UserDefaults::changeCount()`
/// moved, so a press sees what the defaults hold at that moment and allocates nothing; every read
/// of a stored chord (`getShortcut`, once per item of a menu build) likewise answers from the last
/// read of its key while the count is unchanged and decodes a stored text only when it differs
/// from the one decoded last for that key.
///
/// Shared chords: a chord leaves the hot-key engine, when a name's chord is changed or cleared or
/// a name's handlers are removed, only when no other name with handlers still stores it.
///
/// Handlers live in an immutable table that every change replaces: a dispatch runs the table as it
/// was when the press arrived, so a handler added by an action runs from the next press on.
///
/// The free functions below are the public face; this object holds the state. Reset with the
/// other shared instances. Main thread only; no locks.
class Registry {
public:
    static Registry& shared() { return platform::SharedInstance<Registry>::get(); }
    ~Registry();

    // ----- switches
    bool isEnabled() const { return isEnabled_; }
    void setEnabled(bool enabled);
    bool isPaused() const { return isPaused_; }
    void setPaused(bool paused) { isPaused_ = paused; }
    bool isMenuOpen() const { return isMenuOpen_; }
    bool isInitialized() const { return isInitialized_; }
    /// Installs the menu-tracking observers once.
    void initialize();

    // ----- stored chords
    std::optional<Shortcut> getShortcut(const Name& name) const;
    void setShortcut(const std::optional<Shortcut>& shortcut, const Name& name);
    void userDefaultsSet(const Name& name, const Shortcut& shortcut);
    bool userDefaultsContains(const Name& name) const;
    void userDefaultsDidChange(const Name& name);
    std::unordered_set<Name> allNames();

    // ----- hot keys and handlers
    bool isEnabled(const Name& name) const;
    void enable(const std::vector<Name>& names);
    void disable(const std::vector<Name>& names);
    void onKeyDown(const Name& name, Action action);
    void onKeyDown(std::vector<std::pair<Name, Action>> handlers);
    void onKeyUp(const Name& name, Action action);
    void removeHandler(const Name& name);
    void removeAllHandlers();
    std::unordered_set<Shortcut> shortcutsForLegacyHandlers() const;
    std::unordered_set<Shortcut> shortcutsForStreamHandlers() const;
    const std::unordered_set<Shortcut>& registeredShortcuts() const { return registeredShortcuts_; }

    /// Runs the handlers of every name storing `fired` (nothing while paused). Allocates nothing
    /// while the defaults are unchanged since the last press.
    void handle(const Shortcut& fired, EventType type);

    // ----- stream subscriptions (main queue)
    void addStream(const Name& name, std::uint64_t id, const std::shared_ptr<EventStream::State>& state);
    void removeStream(const Name& name, std::uint64_t id);
    std::uint64_t nextStreamId() { return ++lastStreamId_; }

private:
    friend class platform::SharedInstance<Registry>;
    Registry();

    struct Entry {
        Name name;
        std::string defaultsKey;
        std::vector<Action> legacyDown;
        std::vector<Action> legacyUp;
        std::vector<std::pair<std::uint64_t, Action>> streamDown;
        std::vector<std::pair<std::uint64_t, Action>> streamUp;
        /// The stored chord as of `Table::chordsReadAt`.
        mutable std::optional<Shortcut> chord;

        bool hasLegacy() const { return !legacyDown.empty() || !legacyUp.empty(); }
        bool hasStreams() const { return !streamDown.empty() || !streamUp.empty(); }
    };
    struct Table {
        std::vector<Entry> entries;
        /// The defaults' change count the entries' chords were read at.
        mutable std::uint64_t chordsReadAt = ~std::uint64_t{0};
    };

    /// A copy of the table to change; `publish` makes it the current one.
    std::shared_ptr<Table> copyTable() const;
    void publish(std::shared_ptr<Table> table);
    static Entry& entryFor(Table& table, const Name& name);
    void refreshChords(const Table& table) const;
    /// The chord stored under `key`: text that decodes to a chord the recorder would take;
    /// anything else is none. A refused chord is logged once per key and stored text. Reads the
    /// defaults only when `UserDefaults::changeCount()` moved since this key's last read, and
    /// decodes only when the stored text differs from the one decoded last for the key.
    std::optional<Shortcut> readChord(const std::string& key) const;
    /// `readChord` past its kept answer: reads the defaults now, at change count `count`.
    std::optional<Shortcut> readChordNow(const std::string& key, std::uint64_t count) const;
    /// The chord of the stored `text` under `key` (decoded, checked, a refusal logged once).
    std::optional<Shortcut> decodeChord(const std::string& key, const std::string& text) const;
    /// The stored chords of the handler entries for which `has` is true.
    std::unordered_set<Shortcut> chordsOfEntries(bool (Entry::*has)() const) const;

    void registerIfNeeded(const Shortcut& shortcut);
    void unregisterChord(const Shortcut& shortcut);
    /// Whether a name with handlers, other than `excluding`, stores `shortcut` now.
    bool usedByHandlers(const Shortcut& shortcut, const Name* excluding) const;
    void menuTrackingChanged(bool open);

    bool isEnabled_ = true;
    bool isPaused_ = false;
    bool isMenuOpen_ = false;
    bool isInitialized_ = false;
    platform::ObserverToken openMenuObserver_;
    platform::ObserverToken closeMenuObserver_;
    std::unordered_set<Shortcut> registeredShortcuts_;
    std::shared_ptr<const Table> handlers_ = std::make_shared<Table>();
    std::uint64_t lastStreamId_ = 0;
    mutable std::unordered_set<std::string> refusedLogged_;
    /// What `readChord` read last under a key: at which change count, the stored text (none: not
    /// text) and its chord.
    struct ReadChord {
        std::uint64_t readAt = ~std::uint64_t{0};
        std::optional<std::string> text;
        std::optional<Shortcut> chord;
    };
    mutable std::unordered_map<std::string, ReadChord> readChords_;
    /// Where `getShortcut` builds a name's key.
    mutable std::string keyBuffer_;
};

// ----- the public face (all on the main thread)

/// The chord stored for `name`; none for nothing, Boolean false or anything that does not decode.
std::optional<Shortcut> getShortcut(const Name& name);
/// Stores `shortcut` for `name` (registering its hot key) or, given none, clears it: Boolean false
/// for a name with a default, the key removed otherwise; clearing a name without a chord does
/// nothing. Each change posts `shortcutByNameDidChangeNotification`.
void setShortcut(const std::optional<Shortcut>& shortcut, const Name& name);
/// `setShortcut` of each name's own default (none: cleared).
void reset(const std::vector<Name>& names);
/// Removes every stored chord of every name in `allNames` (defaults are not restored).
void resetAll();
/// The master switch of all hot keys (initially on).
bool isEnabled();
void setEnabled(bool enabled);
/// While set, presses and releases run no handler (the recorder sets it while it records).
bool isPaused();
void setPaused(bool paused);
/// Between a menu's begin- and end-tracking notifications.
bool isMenuOpen();
/// False when the master switch is off or the name has no chord; else whether its chord's hot key
/// was asked for.
bool isEnabled(const Name& name);
/// Asks for the hot keys of the names' stored chords (names without one are skipped).
void enable(const std::vector<Name>& names);
/// Releases the hot keys of the names' stored chords; chords and handlers stay.
void disable(const std::vector<Name>& names);
/// Adds an action run on every press (release) of the name's chord; several actions all run, in
/// the order given.
void onKeyDown(const Name& name, Action action);
/// `onKeyDown` of each pair, in order, at the cost of one change of the handler table (for
/// thousands of names at once).
void onKeyDown(std::vector<std::pair<Name, Action>> handlers);
void onKeyUp(const Name& name, Action action);
/// A subscription to the name's presses and releases (`filter`: one of them only).
EventStream events(const Name& name);
EventStream events(EventType type, const Name& name);
/// Drops the name's actions; its chord's hot key goes when nothing else uses it.
void removeHandler(const Name& name);
/// Drops every action; stream subscriptions stay.
void removeAllHandlers();
/// The dispatch of a press and a release of `shortcut` (the hot-key engine's actions).
void handleOnKeyDown(const Shortcut& shortcut);
void handleOnKeyUp(const Shortcut& shortcut);
/// Stores a chord without checks (the recorder): registers it and posts the change.
void userDefaultsSet(const Name& name, const Shortcut& shortcut);
/// Whether the defaults hold anything (Boolean false included) under the name's key.
bool userDefaultsContains(const Name& name);
/// Posts `shortcutByNameDidChangeNotification` for the name.
void userDefaultsDidChange(const Name& name);
/// Every name that has a key in the standard defaults (rebuilt without defaults).
std::unordered_set<Name> allNames();
/// The stored chords of the names with actions (with subscriptions).
std::unordered_set<Shortcut> shortcutsForLegacyHandlers();
std::unordered_set<Shortcut> shortcutsForStreamHandlers();
/// Installs the menu-tracking observers once (every name construction calls it).
void initialize();

} // namespace tilmora::GlobalShortcuts
