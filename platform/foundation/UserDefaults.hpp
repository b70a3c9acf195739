#pragma once

#include "platform/foundation/PropertyValue.hpp"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace platform {

/// The user defaults: flat settings by text key, kept per domain.
///
/// `standard()` is the program's own domain ("Tilmora"); `UserDefaults(suiteName)` opens another
/// domain by name (for example "com.apple.WindowManager"). Every object opened on the same name
/// shares one store. Each domain keeps:
/// - its persisted values, stored in one file `<Folders::preferences()>/<name>.json` that is
///   rewritten whole and atomically, and loaded on first use;
/// - its registration domain (`registerDefaults`): fallbacks that answer every reader of a key that
///   holds no persisted value, and that are never written to the file.
///
/// Reading coercions (the typed readers; `objectForKey` gives the raw value):
/// - `boolForKey`: absent false; Boolean itself; numbers true when non-zero; texts true when
///   "YES" or "true" in any case or when their leading integer is non-zero ("1", " 7abc"), else
///   false; other kinds false.
/// - `integerForKey`: absent 0; Boolean 1/0; double truncated toward zero (clamped, NaN 0); text by
///   its leading integer ("42", " -7x" -7, "3.9" 3, else 0); other kinds 0.
/// - `doubleForKey`: absent 0; Boolean 1/0; numbers; text by its leading decimal number, else 0;
///   other kinds 0.
/// - `stringForKey`: text itself; integers in decimal; doubles in shortest round-trip form ("2",
///   "0.5", "1e+20"); Boolean "1"/"0"; other kinds and absent none.
/// - `dataForKey`, `arrayForKey`, `dictionaryForKey`: the value when it has that kind, else none.
///
/// A defaults file that cannot be decoded is moved aside to "<file>.corrupt-<UTC yyyyMMdd'T'HHmmss'Z'>"
/// and reported on standard error; the domain then starts empty. When it cannot be moved aside (or
/// not read), the domain keeps working in memory only and never overwrites that file.
/// A file whose texts hold bytes that are not UTF-8 still loads: those texts read with each such
/// byte as "\xNN" and their backslashes doubled (see `Text::escapingInvalidUtf8`), reported on
/// standard error, and the domain saves them in that form.
/// A failed save is reported on standard error; the values stay in memory. Every report is one
/// line "[UserDefaults] ..." written through `StandardError` (which a desktop console captures).
///
/// Saving: a change marks the domain dirty. The file is written at once when the domain was last
/// written a second or more ago on the media clock (`mediaTime()`); otherwise one save is scheduled
/// on the main queue for one second after the last, so a burst of changes costs at most one write
/// per second. `synchronize()` (one domain) and `synchronizeAll()` (every domain) write what is
/// dirty at once: the program calls them when it terminates and when the console ends. Dirty
/// domains are also written when the shared domains are reset and when the process exits.
///
/// Every `set` and `removeObjectForKey` posts `didChangeNotification` through the default
/// notification center, with this object's address as the notification's object, after the
/// change is stored and with no lock held. Thread-safe.
class UserDefaults {
public:
    static constexpr const char* didChangeNotification = "NSUserDefaultsDidChangeNotification";
    static constexpr const char* standardDomainName = "Tilmora";

    /// The program's own defaults.
    static UserDefaults& standard();

    /// Opens the domain `suiteName`; objects of the same name share one store.
    explicit UserDefaults(std::string suiteName);
    UserDefaults(const UserDefaults&) = delete;
    UserDefaults& operator=(const UserDefaults&) = delete;

    const std::string& domainName() const { return domain_; }

    /// Adds (or replaces) registered fallbacks for the given keys. Never persisted; posts nothing.
    void registerDefaults(const PropertyDictionary& defaults);

    /// The persisted value of `key`, else its registered value, else none.
    std::optional<PropertyValue> objectForKey(const std::string& key) const;
    /// The persisted value of `key` only (registered values do not count); none when unset.
    std::optional<PropertyValue> persistedObjectForKey(const std::string& key) const;
    bool boolForKey(const std::string& key) const;
    std::int64_t integerForKey(const std::string& key) const;
    double doubleForKey(const std::string& key) const;
    std::optional<std::string> stringForKey(const std::string& key) const;
    std::optional<Bytes> dataForKey(const std::string& key) const;
    std::optional<PropertyArray> arrayForKey(const std::string& key) const;
    std::optional<PropertyDictionary> dictionaryForKey(const std::string& key) const;

    /// Stores `value` under `key`, saves the domain (see Saving) and posts the change notification. Throws
    /// `platform::Error` (nothing stored, nothing posted) when the key, a text in the value or a
    /// dictionary key in it is not well-formed UTF-8, so that one bad text cannot stop the domain
    /// from saving.
    void set(const PropertyValue& value, const std::string& key);
    /// Removes the persisted value of `key` (its registered value answers again), saves the domain
    /// (see Saving) and posts the change notification.
    void removeObjectForKey(const std::string& key);

    /// Every key with its value: the registered values overlaid by the persisted ones.
    PropertyDictionary dictionaryRepresentation() const;

    /// A number that grows with every set, removal, registration and reset of any domain; equal
    /// readings mean no value of any domain changed in between. Any thread; no lock, no allocation.
    static std::uint64_t changeCount();

    /// Writes the domain's file now when it is behind the values in memory. True when the file
    /// holds the current values. Any thread.
    bool synchronize();

    /// `synchronize()` of every domain opened in this process. True when every file holds its
    /// domain's current values. Any thread.
    static bool synchronizeAll();

    /// The file that persists this domain.
    std::filesystem::path storagePath() const;

    /// The file name (without folder) that stores a domain: the name with every byte other than
    /// letters, digits, '.', '-' and '_' written as "%XX" (upper-case hex), plus ".json"; "", "."
    /// and ".." get a '%' in front. Distinct names always give distinct file names.
    static std::string fileNameForDomain(const std::string& name);

private:
    std::string domain_;
};

} // namespace platform
