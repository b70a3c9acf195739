#include "snapshots/PersistenceController.hpp"

#include "model/Log.hpp"
#include "model/NotificationManager.hpp"

#include "platform/desktop/NSRunningApplication.hpp"
#include "platform/foundation/Date.hpp"
#include "platform/foundation/FileSystem.hpp"
#include "platform/foundation/Folders.hpp"
#include "platform/foundation/SQLiteError.hpp"
#include "platform/foundation/SQLiteTransaction.hpp"
#include "platform/foundation/UserDefaults.hpp"

#include <cmath>
#include <ctime>
#include <string>
#include <string_view>

namespace tilmora {

namespace fs = std::filesystem;

namespace {

/// Why a store file could not be opened: SQLite's message (or our own reason), its result code
/// when SQLite gave one, and whether the file itself is unusable (not a database, damaged, or
/// written by a newer program), in which case it is kept aside.
struct OpenFailure {
    std::string reason;
    int code = 0;
    bool damaged = false;
};

/// The migration steps; step i brings a store from version i to version i + 1.
const char* const migrationSteps[] = {
    // 0 -> 1: the two tables.
    "CREATE TABLE snapshot ("
    " id INTEGER PRIMARY KEY AUTOINCREMENT,"
    " name TEXT,"
    " timestamp REAL,"
    " scope INTEGER NOT NULL DEFAULT 0);"
    "CREATE TABLE \"window\" ("
    " id INTEGER PRIMARY KEY AUTOINCREMENT,"
    " snapshot_id INTEGER NOT NULL REFERENCES snapshot(id) ON DELETE CASCADE,"
    " appName TEXT,"
    " bundleIdentifier TEXT,"
    " windowTitle TEXT,"
    " processID INTEGER NOT NULL DEFAULT 0,"
    " xPosition REAL,"
    " yPosition REAL,"
    " width REAL,"
    " height REAL,"
    " screenUUID INTEGER NOT NULL DEFAULT 0,"
    " spaceID INTEGER NOT NULL DEFAULT 0,"
    " originalScreenHeight REAL,"
    " originalScreenWidth REAL,"
    " windowID INTEGER NOT NULL DEFAULT 0);"
    "CREATE INDEX window_snapshot ON \"window\"(snapshot_id);",
};
static_assert(std::size(migrationSteps) == PersistenceController::schemaVersion);

/// The highest N of the stored shortcuts "GlobalShortcuts_launch-pN" / "GlobalShortcuts_quit-pN"
/// (0 when there is none).
std::int64_t highestShortcutSnapshotNumber() {
    std::int64_t highest = 0;
    for (const auto& [key, value] : platform::UserDefaults::standard().dictionaryRepresentation()) {
        std::string_view rest;
        for (std::string_view prefix : {"GlobalShortcuts_launch-p", "GlobalShortcuts_quit-p"})
            if (key.size() > prefix.size() && std::string_view(key).substr(0, prefix.size()) == prefix)
                rest = std::string_view(key).substr(prefix.size());
        if (rest.empty() || rest.size() > 18) continue;
        bool digits = true;
        std::int64_t n = 0;
        for (char c : rest) {
            if (c < '0' || c > '9') {
                digits = false;
                break;
            }
            n = n * 10 + (c - '0');
        }
        if (digits && n > highest) highest = n;
    }
    return highest;
}

/// Raises the snapshot id counter to at least `floor`, inside the caller's transaction.
void raiseSnapshotSequence(platform::SQLiteDatabase& db, std::int64_t floor) {
    auto read = db.prepare("SELECT seq FROM sqlite_sequence WHERE name = 'snapshot'");
    if (!read.step()) {
        db.prepare("INSERT INTO sqlite_sequence (name, seq) VALUES ('snapshot', ?1)").bind(1, floor).step();
    } else if (read.columnInt64(0) < floor) {
        db.prepare("UPDATE sqlite_sequence SET seq = ?1 WHERE name = 'snapshot'").bind(1, floor).step();
    }
}

/// Brings the store's schema to the current version and its id counter above the stored
/// shortcuts' numbers, in one transaction when anything needs doing.
void migrate(platform::SQLiteDatabase& db, std::int64_t version) {
    const std::int64_t floor = highestShortcutSnapshotNumber();
    const bool needsFloor =
        floor > 0 &&
        (version < PersistenceController::schemaVersion ||
         db.queryInt64("SELECT COALESCE((SELECT seq FROM sqlite_sequence WHERE name = 'snapshot'), 0)") <
             floor);
    if (version >= PersistenceController::schemaVersion && !needsFloor) return;
    platform::SQLiteTransaction transaction(db);
    for (std::int64_t step = version; step < PersistenceController::schemaVersion; ++step)
        db.exec(migrationSteps[step]);
    if (version < PersistenceController::schemaVersion)
        db.exec("PRAGMA user_version = " + std::to_string(PersistenceController::schemaVersion));
    if (floor > 0) raiseSnapshotSequence(db, floor);
    transaction.commit();
}

void configure(platform::SQLiteDatabase& db) {
    db.exec("PRAGMA foreign_keys = ON");
}

/// Whether the database holds schema objects but none of the store's tables: another program's
/// file, which the store must not take over.
bool isForeignDatabase(platform::SQLiteDatabase& db) {
    if (db.queryInt64("SELECT count(*) FROM sqlite_master") == 0) return false;
    return db.queryInt64("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name IN ('snapshot', "
                         "'window')") == 0;
}

/// Opens, checks and migrates the store file at `path`; throws `OpenFailure`. With `readOnly` the
/// file is opened for reading only and must already hold the current schema. Nothing is written
/// before the file is known to be a store (or an empty database).
platform::SQLiteDatabase openStoreFile(const fs::path& path, bool readOnly = false) {
    if (platform::FileSystem::fileExists(path) && !platform::SQLiteDatabase::looksLikeDatabaseFile(path))
        throw OpenFailure{"file is not a database", platform::SQLiteError::notADatabase, true};
    try {
        platform::SQLiteDatabase db =
            readOnly ? platform::SQLiteDatabase::openReadOnly(path) : platform::SQLiteDatabase::open(path);
        db.setBusyTimeout(PersistenceController::busyTimeoutSeconds);
        configure(db);
        const std::string check = db.queryText("PRAGMA quick_check");
        if (check != "ok") throw OpenFailure{"quick_check: " + check, platform::SQLiteError::corrupt, true};
        const std::int64_t version = db.queryInt64("PRAGMA user_version");
        if (version > PersistenceController::schemaVersion || version < 0)
            throw OpenFailure{"schema version " + std::to_string(version) + " is newer than " +
                                  std::to_string(PersistenceController::schemaVersion),
                              0, true};
        if (isForeignDatabase(db))
            throw OpenFailure{"the file is another program's database (it has none of the snapshot tables)",
                              0, false};
        if (readOnly) {
            if (version < PersistenceController::schemaVersion)
                throw OpenFailure{"the store is read-only and cannot be brought to schema version " +
                                      std::to_string(PersistenceController::schemaVersion),
                                  platform::SQLiteError::readOnly, false};
            return db;
        }
        db.queryText("PRAGMA journal_mode = DELETE");
        db.exec("PRAGMA synchronous = FULL");
        migrate(db, version);
        return db;
    } catch (const platform::SQLiteError& e) {
        const bool damaged =
            e.code() == platform::SQLiteError::notADatabase || e.code() == platform::SQLiteError::corrupt;
        throw OpenFailure{e.what(), e.code(), damaged};
    }
}

/// The file or folder of an existing store file that the user may not write (SQLite writes its
/// journal next to the file), or none.
std::optional<fs::path> unwritablePart(const fs::path& path) {
    if (!platform::FileSystem::isWritable(path)) return path;
    if (!platform::FileSystem::isWritable(path.parent_path())) return path.parent_path();
    return std::nullopt;
}

/// Whether the store file failed only because another program held its lock past the wait.
bool isInUse(const OpenFailure& failure) {
    return failure.code == platform::SQLiteError::busy;
}

/// A failure that is not SQLite's own at opening (the rows could not be read, ...) as an
/// `OpenFailure`, keeping SQLite's result code when there is one.
OpenFailure failureOf(const platform::Error& error) {
    const auto* sqlite = dynamic_cast<const platform::SQLiteError*>(&error);
    return OpenFailure{error.what(), sqlite ? sqlite->code() : 0, false};
}

/// The log line of a store that failed to load, with the failure's details as a dictionary.
void printUnresolved(const OpenFailure& failure, const fs::path& path) {
    std::string details = "[\"NSFilePath\": \"" + path.string() + "\"";
    if (failure.code != 0) details += ", \"NSSQLiteErrorDomain\": " + std::to_string(failure.code);
    details += "]";
    print("Unresolved error " + failure.reason + ", " + details);
}

/// The current wall-clock time in UTC as yyyyMMdd'T'HHmmss'Z'.
std::string utcStamp() {
    const double now = platform::Date::now().timeIntervalSince1970;
    std::time_t seconds = std::isfinite(now) ? static_cast<std::time_t>(std::floor(now)) : 0;
    std::tm parts{};
    if (gmtime_r(&seconds, &parts) == nullptr) {
        seconds = 0;
        gmtime_r(&seconds, &parts);
    }
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%dT%H%M%SZ", &parts);
    return text;
}

fs::path journalOf(const fs::path& path) {
    return fs::path(path.string() + "-journal");
}

/// Renames the store file (and its journal) to a free "<name>.corrupt-<stamp>[-n]" next to it;
/// returns the new file name. Throws `platform::Error` when the rename fails.
std::string keepAside(const fs::path& path) {
    const std::string base = path.filename().string() + ".corrupt-" + utcStamp();
    std::string name = base;
    for (int n = 2; platform::FileSystem::fileExists(path.parent_path() / name) ||
                    platform::FileSystem::fileExists(journalOf(path.parent_path() / name));
         ++n)
        name = base + "-" + std::to_string(n);
    const fs::path target = path.parent_path() / name;
    platform::FileSystem::moveItem(path, target);
    if (platform::FileSystem::fileExists(journalOf(path)))
        platform::FileSystem::moveItem(journalOf(path), journalOf(target));
    return name;
}

/// Removes a store file (and journal) that a failed first open left behind, so no half-made store
/// stays. Failures are ignored: the file is then an empty database that the next start migrates.
void removeCreatedStore(const fs::path& path) {
    for (const fs::path& file : {path, journalOf(path)}) {
        try {
            if (platform::FileSystem::fileExists(file)) platform::FileSystem::removeItem(file);
        } catch (const platform::Error&) {
        }
    }
}

} // namespace

PersistenceController::PersistenceController(bool inMemory) {
    if (inMemory) {
        auto db = platform::SQLiteDatabase::openInMemory();
        configure(db);
        migrate(db, 0);
        context_ = std::make_unique<SnapshotContext>(std::move(db));
        return;
    }
    openOnDisk();
}

PersistenceController::~PersistenceController() = default;

std::optional<fs::path> PersistenceController::defaultStoreURL() {
    const auto support = platform::Folders::applicationSupport();
    if (!support) return std::nullopt;
    const std::string bundle =
        platform::NSRunningApplication::current().bundleIdentifier().value_or(fallbackBundleIdentifier);
    return *support / bundle / storeFileName;
}

void PersistenceController::openOnDisk() {
    const auto url = defaultStoreURL();
    if (!url) {
        print("Failed to create Application Support directory: no Application Support folder");
        openInMemoryFallback({storeFileName, false});
        return;
    }
    try {
        platform::FileSystem::createDirectories(url->parent_path());
    } catch (const platform::Error& e) {
        print(std::string("Failed to create Application Support directory: ") + e.what());
        openInMemoryFallback({*url, false});
        return;
    }

    // The store and the files SQLite keeps beside it are looked at before anything opens them: a
    // pipe or a device at one of them would block the open or a write for ever.
    for (const char* suffix : {"", "-journal", "-wal", "-shm"}) {
        const fs::path file = url->string() + suffix;
        const auto check = platform::FileSystem::checkOwnedPath(file);
        if (check.kind != platform::FileSystem::PathCheck::Kind::notRegular) continue;
        print("Snapshot store " + url->string() + " cannot be used: " + file.string() + " is " + check.reason +
              "; left as it is");
        openInMemoryFallback({*url, false});
        return;
    }

    const bool existed = platform::FileSystem::fileExists(*url);
    if (existed) {
        if (auto unwritable = unwritablePart(*url)) {
            openReadOnly(*url, *unwritable);
            return;
        }
    }
    try {
        context_ = std::make_unique<SnapshotContext>(openStoreFile(*url));
        storeURL_ = *url;
        return;
    } catch (const OpenFailure& failure) {
        printUnresolved(failure, *url);
        if (!failure.damaged) {
            // A file another program holds is its, even when it appeared only now.
            if (!existed && !isInUse(failure)) removeCreatedStore(*url);
            openInMemoryFallback({*url, isInUse(failure)});
            return;
        }
        std::string keptAs;
        try {
            keptAs = keepAside(*url);
        } catch (const platform::Error& e) {
            print(std::string("Snapshot store could not be kept aside: ") + e.what());
            openInMemoryFallback({*url, false});
            return;
        }
        print("Snapshot store could not be opened (" + failure.reason + "); kept it as " + keptAs +
              " and started an empty store");
    } catch (const platform::Error& e) {
        const OpenFailure failure = failureOf(e);
        printUnresolved(failure, *url);
        if (!existed && !isInUse(failure)) removeCreatedStore(*url);
        openInMemoryFallback({*url, isInUse(failure)});
        return;
    }

    // A fresh store in place of the one kept aside.
    try {
        context_ = std::make_unique<SnapshotContext>(openStoreFile(*url));
        storeURL_ = *url;
    } catch (const OpenFailure& failure) {
        printUnresolved(failure, *url);
        if (!isInUse(failure)) removeCreatedStore(*url);
        openInMemoryFallback({*url, isInUse(failure)});
    } catch (const platform::Error& e) {
        const OpenFailure failure = failureOf(e);
        printUnresolved(failure, *url);
        if (!isInUse(failure)) removeCreatedStore(*url);
        openInMemoryFallback({*url, isInUse(failure)});
    }
}

void PersistenceController::openReadOnly(const fs::path& url, const fs::path& unwritable) {
    try {
        context_ = std::make_unique<SnapshotContext>(openStoreFile(url, true), unwritable);
        storeURL_ = url;
        print("Snapshot store " + url.string() + " is read-only (no permission to write " +
              unwritable.string() + "); its snapshots are listed, new snapshots cannot be stored");
    } catch (const OpenFailure& failure) {
        printUnresolved(failure, url);
        openInMemoryFallback({url, isInUse(failure)});
    } catch (const platform::Error& e) {
        const OpenFailure failure = failureOf(e);
        printUnresolved(failure, url);
        openInMemoryFallback({url, isInUse(failure)});
    }
}

void PersistenceController::openInMemoryFallback(SnapshotContext::StandIn standIn) {
    auto db = platform::SQLiteDatabase::openInMemory();
    configure(db);
    migrate(db, 0);
    context_ = std::make_unique<SnapshotContext>(std::move(db));
    context_->setStandsInFor(std::move(standIn));
    storeURL_.reset();
    NotificationManager::shared().show("Snapshot", "Snapshots are kept only until Tilmora quits.", 3.0);
}

} // namespace tilmora
