#include "platform/foundation/UserDefaults.hpp"

#include "platform/foundation/SharedInstance.hpp"

#include "platform/dispatch/DispatchQueue.hpp"
#include "platform/dispatch/DispatchTime.hpp"
#include "platform/dispatch/MediaTime.hpp"

#include "platform/foundation/Error.hpp"
#include "platform/foundation/FileSystem.hpp"
#include "platform/foundation/FolderLock.hpp"
#include "platform/foundation/Folders.hpp"
#include "platform/foundation/NotificationCenter.hpp"
#include "platform/foundation/StandardOutput.hpp"
#include "platform/foundation/Utf8Text.hpp"
#include "platform/internal/UserDefaultsFileFormat.hpp"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <atomic>
#include <cctype>
#include <charconv>
#include <cmath>
#include <ctime>
#include <limits>
#include <map>
#include <memory>
#include <mutex>

namespace platform {

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

// ---- Coercions --------------------------------------------------------------------------------

std::string_view trimLeading(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front())))
        s.remove_prefix(1);
    return s;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// The leading integer of a text: optional blanks, optional sign, digits; clamped; 0 without digits.
std::int64_t leadingInteger(std::string_view s) {
    s = trimLeading(s);
    bool negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    std::int64_t result = 0;
    for (char c : s) {
        if (c < '0' || c > '9') break;
        int digit = c - '0';
        if (!negative) {
            if (result > (INT64_MAX - digit) / 10) return INT64_MAX;
            result = result * 10 + digit;
        } else {
            if (result < (INT64_MIN + digit) / 10) return INT64_MIN;
            result = result * 10 - digit;
        }
    }
    return result;
}

// The leading decimal number of a text; 0 when there is none.
double leadingDouble(std::string_view s) {
    s = trimLeading(s);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    double result = 0.0;
    auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), result);
    if (ec == std::errc::result_out_of_range) {
        // from_chars leaves the value alone on overflow: fall back to the C parser for the sign.
        return std::strtod(std::string(s.substr(0, std::size_t(ptr - s.data()))).c_str(), nullptr);
    }
    if (ec != std::errc()) return 0.0;
    return result;
}

std::int64_t truncatedInteger(double d) {
    if (std::isnan(d)) return 0;
    if (d >= 9223372036854775807.0) return INT64_MAX;
    if (d <= -9223372036854775808.0) return INT64_MIN;
    return static_cast<std::int64_t>(d);
}

std::string shortestText(double d) {
    std::array<char, 64> buffer{};
    auto [ptr, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), d);
    if (ec != std::errc()) return "0";
    return std::string(buffer.data(), ptr);
}

// ---- Domains ----------------------------------------------------------------------------------

struct Domain {
    std::string name;
    fs::path file;

    std::mutex mutex; // guards the fields below
    PropertyDictionary persisted;
    PropertyDictionary registered;
    std::uint64_t generation = 0;
    bool persistenceDisabled = false;

    // When the file was last written for a change, on the media clock, and when the one pending
    // deferred save is due (none when no save is pending).
    std::optional<double> lastChangeSave;
    std::optional<double> pendingSaveAt;

    std::mutex fileMutex; // orders saves; guards writtenGeneration
    std::uint64_t writtenGeneration = 0;
};

// What the defaults have to say about their files goes where the program's log lines go, so that
// whoever reads the program's output (the console's `show log`) learns why a file was not used.
void report(const std::string& line) {
    StandardOutput::write("[UserDefaults] " + line + "\n");
}

std::string utcStamp() {
    const double now = Date::now().timeIntervalSince1970;
    std::time_t seconds = static_cast<std::time_t>(std::floor(now));
    std::tm tm{};
    gmtime_r(&seconds, &tm);
    char buffer[32];
    std::strftime(buffer, sizeof buffer, "%Y%m%dT%H%M%SZ", &tm);
    return buffer;
}

// Moves a corrupt file aside; true when it is out of the way.
bool moveAside(const fs::path& file, const std::string& reason) {
    const std::string base = file.string() + ".corrupt-" + utcStamp();
    fs::path target = base;
    for (int n = 2; FileSystem::fileExists(target) && n < 1000; ++n)
        target = base + "-" + std::to_string(n);
    try {
        FileSystem::moveItem(file, target);
    } catch (const Error& e) {
        report("Corrupt defaults file " + file.string() + " (" + reason +
               ") could not be moved aside: " + e.what() + "; keeping it and working in memory only");
        return false;
    }
    report("Corrupt defaults file " + file.string() + " (" + reason + ") moved aside to " + target.string());
    return true;
}

// The JSON text `text` with every string literal that holds bytes that are not UTF-8 rewritten so
// that it decodes to `Text::escapingInvalidUtf8` of its value: those bytes become "\xNN" and the
// value's backslashes are doubled. Literals of well-formed UTF-8 stay as they are. `escaped` counts
// the bytes replaced.
std::string escapingInvalidUtf8InStrings(std::string_view text, std::size_t& escaped) {
    static const char* const hex = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size() + 16);
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] != '"') {
            out += text[i++];
            continue;
        }
        std::size_t end = i + 1;
        while (end < text.size() && text[end] != '"')
            end += text[end] == '\\' ? 2 : 1;
        end = std::min(end, text.size());
        const std::string_view literal = text.substr(i + 1, end - i - 1);
        out += '"';
        if (Text::isValidUtf8(literal)) {
            out.append(literal);
        } else {
            for (std::size_t k = 0; k < literal.size();) {
                const std::string_view rest = literal.substr(k);
                if (rest.starts_with("\\\\") || rest.starts_with("\\u005C") || rest.starts_with("\\u005c")) {
                    out += "\\\\\\\\"; // a backslash of the value, doubled
                    k += rest[1] == 'u' ? 6 : 2;
                } else if (rest.front() == '\\' && rest.size() > 1) {
                    out.append(rest.substr(0, 2));
                    k += 2;
                } else {
                    // One character: copied when it is well-formed, else escaped.
                    std::size_t length = 1;
                    const auto lead = static_cast<unsigned char>(rest.front());
                    if (lead >= 0xC0) length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
                    if (lead >= 0x80 && (length > rest.size() || !Text::isValidUtf8(rest.substr(0, length)))) {
                        out += "\\\\x";
                        out += hex[lead >> 4];
                        out += hex[lead & 0xF];
                        ++escaped;
                        ++k;
                    } else {
                        out.append(rest.substr(0, length));
                        k += length;
                    }
                }
            }
        }
        if (end < text.size()) out += '"';
        i = end + 1;
    }
    return out;
}

void load(Domain& domain) {
    // The file is looked at before it is opened: a pipe or a device there is never opened (it
    // could block the launch or never end), and a file too large to read whole is not read.
    const auto check = FileSystem::checkOwnedPath(domain.file, true, FileSystem::maxWholeFileBytes);
    using Kind = FileSystem::PathCheck::Kind;
    if (check.kind == Kind::nothing) return;
    if (check.kind == Kind::notRegular) {
        if (check.firstRefusal)
            report("Defaults file " + domain.file.string() + " is " + check.reason +
                   "; left as it is, working in memory only");
        domain.persistenceDisabled = true;
        return;
    }
    if (check.kind == Kind::tooLarge) {
        if (!moveAside(domain.file, check.reason)) domain.persistenceDisabled = true;
        return;
    }
    std::string text;
    try {
        text = FileSystem::readRegularFile(domain.file, FileSystem::maxWholeFileBytes);
    } catch (const Error& e) {
        report(std::string("Could not read defaults file: ") + e.what() + "; working in memory only");
        domain.persistenceDisabled = true;
        return;
    }
    if (!Text::isValidUtf8(text)) {
        std::size_t escaped = 0;
        std::string repaired = escapingInvalidUtf8InStrings(text, escaped);
        if (escaped > 0) {
            report("Defaults file " + domain.file.string() + " holds " + std::to_string(escaped) +
                   " byte(s) that are not UTF-8; the texts holding them read with those bytes as \\xNN "
                   "escapes and their backslashes doubled, and save so");
            text = std::move(repaired);
        }
    }
    try {
        json j = json::parse(text);
        domain.persisted = defaults_detail::decodeDomainFile(j);
    } catch (const std::exception& e) {
        domain.persisted.clear();
        if (!moveAside(domain.file, e.what())) domain.persistenceDisabled = true;
    }
}

// Grows with every change of any domain (`UserDefaults::changeCount`).
std::atomic<std::uint64_t> changes{0};

void noteChange() {
    changes.fetch_add(1, std::memory_order_release);
}

} // namespace

/// The domains held in memory, loaded on first use. A shared instance: `SharedInstances::resetAll`
/// forgets every domain, persisted values and registrations alike, so that the next access reloads
/// from the files under the then current `Folders::preferences()` (files are left alone; objects
/// already opened stay usable).
class DomainRegistry {
public:
    ~DomainRegistry();
    std::mutex mutex;
    std::map<std::string, std::shared_ptr<Domain>> domains;
};

namespace {

bool save(Domain& domain);

// Every domain opened so far (none when the registry does not exist).
std::vector<std::shared_ptr<Domain>> openDomains() {
    std::vector<std::shared_ptr<Domain>> result;
    if (!SharedInstance<DomainRegistry>::exists()) return result;
    auto& registry = SharedInstance<DomainRegistry>::get();
    std::lock_guard lock(registry.mutex);
    for (const auto& [name, domain] : registry.domains)
        result.push_back(domain);
    return result;
}

// Writes what is still dirty when the process exits normally.
struct ExitFlush {
    ~ExitFlush() {
        for (const auto& domain : openDomains())
            save(*domain);
    }
};

std::shared_ptr<Domain> domainNamed(const std::string& name) {
    auto& registry = SharedInstance<DomainRegistry>::get();
    std::lock_guard lock(registry.mutex);
    if (auto found = registry.domains.find(name); found != registry.domains.end()) return found->second;
    static ExitFlush exitFlush;
    auto domain = std::make_shared<Domain>();
    domain->name = name;
    domain->file = Folders::preferences() / UserDefaults::fileNameForDomain(name);
    // Entered only once loaded: a load that throws (out of memory) leaves no entry behind.
    load(*domain);
    registry.domains.emplace(name, domain);
    return domain;
}

// Saves the domain when its file is behind; true when the file holds the current values.
bool save(Domain& domain) {
    std::lock_guard fileLock(domain.fileMutex);
    std::string text;
    std::uint64_t generation = 0;
    {
        std::lock_guard lock(domain.mutex);
        if (domain.persistenceDisabled) return false;
        generation = domain.generation;
        if (generation <= domain.writtenGeneration) return true;
        text = defaults_detail::domainFileText(domain.persisted);
    }
    // A pipe or a device put in the file's place while the program runs is left as it is too.
    if (const auto check = FileSystem::checkOwnedPath(domain.file);
        check.kind == FileSystem::PathCheck::Kind::notRegular) {
        if (check.firstRefusal)
            report("Defaults file " + domain.file.string() + " is " + check.reason +
                   "; left as it is, working in memory only");
        std::lock_guard lock(domain.mutex);
        domain.persistenceDisabled = true;
        return false;
    }
    try {
        FileSystem::createDirectories(domain.file.parent_path());
        FileSystem::writeAtomically(domain.file, text);
        domain.writtenGeneration = generation;
        return true;
    } catch (const std::exception& e) {
        // In a folder the session no longer holds the lock said so once already.
        if (FolderLock::allowsWriting(domain.file))
            report("Could not save defaults domain \"" + domain.name + "\": " + e.what());
        return false;
    }
}

// After a change: writes the file now when the last write for a change is a second or more ago,
// else makes sure one save is pending on the main queue for a second after that write.
void saveAfterChange(const std::shared_ptr<Domain>& domain) {
    const double now = mediaTime();
    std::optional<double> scheduleAt;
    bool saveNow = false;
    {
        std::lock_guard lock(domain->mutex);
        if (domain->persistenceDisabled) return;
        if (domain->lastChangeSave && now - *domain->lastChangeSave < 1.0) {
            // A pending save whose time has passed was dropped (a restarted scheduler): plan anew.
            if (!domain->pendingSaveAt || *domain->pendingSaveAt < now) {
                domain->pendingSaveAt = *domain->lastChangeSave + 1.0;
                scheduleAt = domain->pendingSaveAt;
            }
        } else {
            domain->lastChangeSave = now;
            saveNow = true;
        }
    }
    if (saveNow) save(*domain);
    if (!scheduleAt) return;
    std::weak_ptr<Domain> weak = domain;
    DispatchQueue::main().asyncAfter(DispatchTime::now() + (*scheduleAt - now), [weak] {
        auto pending = weak.lock();
        if (!pending) return;
        const double at = mediaTime();
        {
            std::lock_guard lock(pending->mutex);
            pending->pendingSaveAt.reset();
            pending->lastChangeSave = at;
        }
        save(*pending);
    });
}

// Where in `value` a text or dictionary key is not UTF-8 ("" for the value itself, "[2]", "[\"a\"]"),
// or none when every text is well-formed.
std::optional<std::string> invalidUtf8Path(const PropertyValue& value) {
    if (const std::string* text = value.asString()) {
        if (!Text::isValidUtf8(*text)) return std::string();
        return std::nullopt;
    }
    if (const PropertyArray* items = value.asArray()) {
        for (std::size_t i = 0; i < items->size(); ++i)
            if (auto inner = invalidUtf8Path((*items)[i])) return "[" + std::to_string(i) + "]" + *inner;
        return std::nullopt;
    }
    if (const PropertyDictionary* members = value.asDictionary()) {
        for (const auto& [key, item] : *members) {
            const std::string here = "[\"" + Text::escapingInvalidUtf8(key) + "\"]";
            if (!Text::isValidUtf8(key)) return here;
            if (auto inner = invalidUtf8Path(item)) return here + *inner;
        }
    }
    return std::nullopt;
}

std::optional<PropertyValue> lookup(const std::string& domainName, const std::string& key) {
    auto domain = domainNamed(domainName);
    std::lock_guard lock(domain->mutex);
    if (auto it = domain->persisted.find(key); it != domain->persisted.end()) return it->second;
    if (auto it = domain->registered.find(key); it != domain->registered.end()) return it->second;
    return std::nullopt;
}

} // namespace

UserDefaults& UserDefaults::standard() {
    static UserDefaults defaults(standardDomainName);
    return defaults;
}

UserDefaults::UserDefaults(std::string suiteName)
    : domain_(std::move(suiteName)) {}

std::string UserDefaults::fileNameForDomain(const std::string& name) {
    // Every other byte becomes "%XX" (and '%' itself "%25"), so that two domain names never share
    // a file; names of plain characters keep the file name they always had.
    static const char* const hex = "0123456789ABCDEF";
    std::string file;
    for (char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        const bool plain = std::isalnum(byte) || c == '.' || c == '-' || c == '_';
        if (plain) {
            file += c;
        } else {
            file += '%';
            file += hex[byte >> 4];
            file += hex[byte & 0xF];
        }
    }
    // A lone '%' is never an escape: the empty name and the folder names get one in front.
    if (file.empty() || file == "." || file == "..") file = "%" + file;
    return file + ".json";
}

fs::path UserDefaults::storagePath() const {
    return domainNamed(domain_)->file;
}

void UserDefaults::registerDefaults(const PropertyDictionary& defaults) {
    auto domain = domainNamed(domain_);
    std::lock_guard lock(domain->mutex);
    for (const auto& [key, value] : defaults)
        domain->registered.insert_or_assign(key, value);
    noteChange();
}

std::optional<PropertyValue> UserDefaults::objectForKey(const std::string& key) const {
    return lookup(domain_, key);
}

std::optional<PropertyValue> UserDefaults::persistedObjectForKey(const std::string& key) const {
    auto domain = domainNamed(domain_);
    std::lock_guard lock(domain->mutex);
    if (auto it = domain->persisted.find(key); it != domain->persisted.end()) return it->second;
    return std::nullopt;
}

bool UserDefaults::boolForKey(const std::string& key) const {
    auto value = lookup(domain_, key);
    if (!value) return false;
    if (const bool* b = value->asBool()) return *b;
    if (const std::int64_t* i = value->asInteger()) return *i != 0;
    if (const double* d = value->asDouble()) return *d != 0.0;
    if (const std::string* s = value->asString()) {
        std::string_view text = trimLeading(*s);
        if (equalsIgnoringCase(text, "yes") || equalsIgnoringCase(text, "true")) return true;
        return leadingInteger(text) != 0;
    }
    return false;
}

std::int64_t UserDefaults::integerForKey(const std::string& key) const {
    auto value = lookup(domain_, key);
    if (!value) return 0;
    if (const bool* b = value->asBool()) return *b ? 1 : 0;
    if (const std::int64_t* i = value->asInteger()) return *i;
    if (const double* d = value->asDouble()) return truncatedInteger(*d);
    if (const std::string* s = value->asString()) return leadingInteger(*s);
    return 0;
}

double UserDefaults::doubleForKey(const std::string& key) const {
    auto value = lookup(domain_, key);
    if (!value) return 0.0;
    if (auto number = value->numberValue()) return *number;
    if (const std::string* s = value->asString()) return leadingDouble(*s);
    return 0.0;
}

std::optional<std::string> UserDefaults::stringForKey(const std::string& key) const {
    auto value = lookup(domain_, key);
    if (!value) return std::nullopt;
    if (const std::string* s = value->asString()) return *s;
    if (const bool* b = value->asBool()) return std::string(*b ? "1" : "0");
    if (const std::int64_t* i = value->asInteger()) return std::to_string(*i);
    if (const double* d = value->asDouble()) return shortestText(*d);
    return std::nullopt;
}

std::optional<Bytes> UserDefaults::dataForKey(const std::string& key) const {
    auto value = lookup(domain_, key);
    if (value && value->asData()) return *value->asData();
    return std::nullopt;
}

std::optional<PropertyArray> UserDefaults::arrayForKey(const std::string& key) const {
    auto value = lookup(domain_, key);
    if (value && value->asArray()) return *value->asArray();
    return std::nullopt;
}

std::optional<PropertyDictionary> UserDefaults::dictionaryForKey(const std::string& key) const {
    auto value = lookup(domain_, key);
    if (value && value->asDictionary()) return *value->asDictionary();
    return std::nullopt;
}

void UserDefaults::set(const PropertyValue& value, const std::string& key) {
    if (!Text::isValidUtf8(key))
        throw Error("the defaults key \"" + Text::escapingInvalidUtf8(key) + "\" is not UTF-8 text");
    if (auto path = invalidUtf8Path(value))
        throw Error("the value for defaults key \"" + key + "\" holds text that is not UTF-8" +
                    (path->empty() ? std::string() : " at " + *path) + "; nothing was stored");
    auto domain = domainNamed(domain_);
    {
        std::lock_guard lock(domain->mutex);
        domain->persisted.insert_or_assign(key, value);
        ++domain->generation;
        noteChange();
    }
    saveAfterChange(domain);
    NotificationCenter::defaultCenter().post(didChangeNotification, this);
}

void UserDefaults::removeObjectForKey(const std::string& key) {
    auto domain = domainNamed(domain_);
    {
        std::lock_guard lock(domain->mutex);
        domain->persisted.erase(key);
        ++domain->generation;
        noteChange();
    }
    saveAfterChange(domain);
    NotificationCenter::defaultCenter().post(didChangeNotification, this);
}

PropertyDictionary UserDefaults::dictionaryRepresentation() const {
    auto domain = domainNamed(domain_);
    std::lock_guard lock(domain->mutex);
    PropertyDictionary result = domain->registered;
    for (const auto& [key, value] : domain->persisted)
        result.insert_or_assign(key, value);
    return result;
}

bool UserDefaults::synchronize() {
    return save(*domainNamed(domain_));
}

bool UserDefaults::synchronizeAll() {
    bool allSaved = true;
    for (const auto& domain : openDomains())
        allSaved = save(*domain) && allSaved;
    return allSaved;
}

DomainRegistry::~DomainRegistry() {
    // Nothing changed stays unwritten when the domains are forgotten.
    for (const auto& [name, domain] : domains)
        save(*domain);
    noteChange();
}

std::uint64_t UserDefaults::changeCount() {
    return changes.load(std::memory_order_acquire);
}

} // namespace platform
