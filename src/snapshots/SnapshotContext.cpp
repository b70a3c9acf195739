#include "snapshots/SnapshotContext.hpp"

#include "platform/dispatch/MainThread.hpp"
#include "platform/foundation/NotificationCenter.hpp"
#include "platform/foundation/SQLiteTransaction.hpp"

#include <algorithm>
#include <atomic>
#include <limits>
#include <map>
#include <tuple>
#include <unordered_map>

namespace tilmora {

namespace {

std::uint64_t nextContextTag() {
    static std::atomic<std::uint64_t> counter{0};
    return ++counter;
}

constexpr const char* windowColumns = "appName, bundleIdentifier, windowTitle, processID, xPosition, "
                                      "yPosition, width, height, screenUUID, spaceID, "
                                      "originalScreenHeight, originalScreenWidth, windowID";

/// Binds the thirteen window attributes to parameters `first` ... `first + 12`.
void bindWindow(platform::SQLiteStatement& statement, int first, const WindowAttributes& w) {
    statement.bind(first, w.appName)
        .bind(first + 1, w.bundleIdentifier)
        .bind(first + 2, w.windowTitle)
        .bind(first + 3, w.processID)
        .bind(first + 4, w.xPosition)
        .bind(first + 5, w.yPosition)
        .bind(first + 6, w.width)
        .bind(first + 7, w.height)
        .bind(first + 8, w.screenUUID)
        .bind(first + 9, w.spaceID)
        .bind(first + 10, w.originalScreenHeight)
        .bind(first + 11, w.originalScreenWidth)
        .bind(first + 12, w.windowID);
}

/// A stored real: null stands for NaN, which SQLite cannot hold.
double readReal(const platform::SQLiteStatement& statement, int column) {
    return statement.columnIsNull(column) ? std::numeric_limits<double>::quiet_NaN()
                                          : statement.columnDouble(column);
}

void bindSnapshot(platform::SQLiteStatement& statement, const SnapshotAttributes& s) {
    statement.bind(1, s.name);
    if (s.timestamp)
        statement.bind(2, s.timestamp->timeIntervalSince1970);
    else
        statement.bindNull(2);
    statement.bind(3, static_cast<std::int64_t>(s.scope));
}

/// Equal as stored: NaN equals NaN (both are stored as null).
bool sameReal(double a, double b) {
    return a == b || (a != a && b != b);
}

bool sameAsStored(const WindowAttributes& a, const WindowAttributes& b) {
    return a.appName == b.appName && a.bundleIdentifier == b.bundleIdentifier &&
           a.windowTitle == b.windowTitle && a.processID == b.processID &&
           sameReal(a.xPosition, b.xPosition) && sameReal(a.yPosition, b.yPosition) &&
           sameReal(a.width, b.width) && sameReal(a.height, b.height) && a.screenUUID == b.screenUUID &&
           a.spaceID == b.spaceID && sameReal(a.originalScreenHeight, b.originalScreenHeight) &&
           sameReal(a.originalScreenWidth, b.originalScreenWidth) && a.windowID == b.windowID;
}

bool sameAsStored(const SnapshotAttributes& a, const SnapshotAttributes& b) {
    if (a.name != b.name || a.scope != b.scope || a.timestamp.has_value() != b.timestamp.has_value())
        return false;
    return !a.timestamp || sameReal(a.timestamp->timeIntervalSince1970, b.timestamp->timeIntervalSince1970);
}

} // namespace

SnapshotContext::SnapshotContext(platform::SQLiteDatabase database,
                                 std::optional<std::filesystem::path> readOnlyBecause)
    : db_(std::move(database))
    , readOnlyBecause_(std::move(readOnlyBecause))
    , tag_(nextContextTag()) {
    load();
}

SnapshotContext::~SnapshotContext() = default;

void SnapshotContext::load() {
    std::unordered_map<std::int64_t, std::shared_ptr<Snapshot>> byRow;
    auto snapshots = db_.prepare("SELECT id, name, timestamp, scope FROM snapshot ORDER BY id");
    while (snapshots.step()) {
        std::shared_ptr<Snapshot> s(new Snapshot(tag_, nextSequence_++));
        s->rowID_ = snapshots.columnInt64(0);
        s->name = snapshots.columnText(1);
        if (!snapshots.columnIsNull(2)) s->timestamp = platform::Date{snapshots.columnDouble(2)};
        s->scope = static_cast<std::int16_t>(snapshots.columnInt64(3));
        s->saved_ = *s;
        byRow.emplace(*s->rowID_, s);
        snapshots_.push_back(s);
    }
    auto windows =
        db_.prepare(std::string("SELECT id, snapshot_id, ") + windowColumns + " FROM \"window\" ORDER BY id");
    while (windows.step()) {
        auto owner = byRow.find(windows.columnInt64(1));
        if (owner == byRow.end()) continue; // the foreign key keeps this from happening
        std::shared_ptr<Window> w(new Window(tag_));
        w->rowID_ = windows.columnInt64(0);
        w->appName = windows.columnText(2);
        w->bundleIdentifier = windows.columnText(3);
        w->windowTitle = windows.columnText(4);
        w->processID = windows.columnInt64(5);
        w->xPosition = readReal(windows, 6);
        w->yPosition = readReal(windows, 7);
        w->width = readReal(windows, 8);
        w->height = readReal(windows, 9);
        w->screenUUID = windows.columnInt64(10);
        w->spaceID = windows.columnInt64(11);
        w->originalScreenHeight = readReal(windows, 12);
        w->originalScreenWidth = readReal(windows, 13);
        w->windowID = windows.columnInt64(14);
        w->snapshot_ = owner->second;
        w->saved_ = *w;
        w->savedSnapshot_ = owner->second;
        owner->second->windows_.push_back(w);
        owner->second->savedWindows_.push_back(w);
        windows_.push_back(w);
    }
}

std::shared_ptr<Snapshot> SnapshotContext::insertSnapshot() {
    platform::requireMainThread("SnapshotContext::insertSnapshot");
    std::shared_ptr<Snapshot> s(new Snapshot(tag_, nextSequence_++));
    s->timestamp = platform::Date::now();
    snapshots_.push_back(s);
    return s;
}

std::shared_ptr<Window> SnapshotContext::insertWindow() {
    platform::requireMainThread("SnapshotContext::insertWindow");
    std::shared_ptr<Window> w(new Window(tag_));
    windows_.push_back(w);
    return w;
}

std::shared_ptr<StoredObject> SnapshotContext::insertNewObject(std::string_view entityName) {
    platform::requireMainThread("SnapshotContext::insertNewObject");
    if (insertSeam_) return insertSeam_(*this, entityName);
    if (entityName == "Snapshot") return insertSnapshot();
    if (entityName == "Window") return insertWindow();
    return nullptr;
}

void SnapshotContext::forget(const std::shared_ptr<Window>& window) {
    if (auto owner = window->snapshot_.lock()) owner->removeWindow(window.get());
    window->snapshot_.reset();
    window->forgotten_ = true;
    std::erase(windows_, window);
}

void SnapshotContext::forget(const std::shared_ptr<Snapshot>& snapshot) {
    for (const auto& window : std::vector(snapshot->windows_)) {
        if (window->isInserted())
            forget(window);
        else
            revert(window);
    }
    snapshot->windows_.clear();
    snapshot->forgotten_ = true;
    std::erase(snapshots_, snapshot);
}

void SnapshotContext::revert(const std::shared_ptr<Window>& window) {
    static_cast<WindowAttributes&>(*window) = window->saved_;
    window->deleted_ = false;
    auto current = window->snapshot_.lock();
    auto saved = window->savedSnapshot_.lock();
    if (current != saved) {
        if (current) current->removeWindow(window.get());
        window->snapshot_ = saved;
        if (saved) saved->windows_.push_back(window);
    } else if (saved &&
               std::find(saved->windows_.begin(), saved->windows_.end(), window) == saved->windows_.end()) {
        saved->windows_.push_back(window);
    }
}

void SnapshotContext::revert(const std::shared_ptr<Snapshot>& snapshot) {
    static_cast<SnapshotAttributes&>(*snapshot) = snapshot->saved_;
    snapshot->deleted_ = false;
    for (const auto& window : std::vector(snapshot->windows_))
        if (window->isInserted()) {
            window->snapshot_.reset();
            snapshot->removeWindow(window.get());
        }
    for (const auto& window : snapshot->savedWindows_)
        revert(window);
}

void SnapshotContext::deleteObject(const std::shared_ptr<StoredObject>& object) {
    platform::requireMainThread("SnapshotContext::deleteObject");
    if (!object || object->context_ != tag_ || object->forgotten_) return;
    if (auto snapshot = std::dynamic_pointer_cast<Snapshot>(object)) {
        if (snapshot->isInserted()) {
            // Never stored: its new windows go with it, and saved windows moved into it are
            // deleted with it as they would be once stored.
            for (const auto& window : std::vector(snapshot->windows_)) {
                if (window->isInserted()) {
                    forget(window);
                } else {
                    window->deleted_ = true;
                    window->snapshot_.reset();
                }
            }
            snapshot->windows_.clear();
            snapshot->forgotten_ = true;
            std::erase(snapshots_, snapshot);
        } else {
            snapshot->deleted_ = true;
            for (const auto& window : std::vector(snapshot->windows_)) {
                if (window->isInserted())
                    forget(window);
                else
                    window->deleted_ = true;
            }
        }
    } else if (auto window = std::dynamic_pointer_cast<Window>(object)) {
        if (window->isInserted()) {
            forget(window);
        } else {
            window->deleted_ = true;
            if (auto owner = window->snapshot_.lock()) owner->removeWindow(window.get());
            window->snapshot_.reset();
        }
    }
    postDidChange();
}

bool SnapshotContext::changed(const Snapshot& snapshot) const {
    return !sameAsStored(snapshot, snapshot.saved_);
}

bool SnapshotContext::changed(const Window& window) const {
    return !sameAsStored(window, window.saved_) || window.snapshot_.lock() != window.savedSnapshot_.lock();
}

bool SnapshotContext::hasChanges() const {
    for (const auto& s : snapshots_)
        if (s->isInserted() || s->deleted_ || changed(*s)) return true;
    for (const auto& w : windows_)
        if (w->isInserted() || w->deleted_ || changed(*w)) return true;
    return false;
}

void SnapshotContext::save() {
    platform::requireMainThread("SnapshotContext::save");
    if (!hasChanges()) return;

    std::map<const Snapshot*, std::int64_t> newSnapshotRows;
    std::vector<std::pair<Window*, std::int64_t>> newWindowRows;
    {
        platform::SQLiteTransaction transaction(db_);
        auto deleteSnapshot = db_.prepare("DELETE FROM snapshot WHERE id = ?1");
        auto deleteWindow = db_.prepare("DELETE FROM \"window\" WHERE id = ?1");
        auto insertSnapshot =
            db_.prepare("INSERT INTO snapshot (name, timestamp, scope) VALUES (?1, ?2, ?3)");
        auto updateSnapshot =
            db_.prepare("UPDATE snapshot SET name = ?1, timestamp = ?2, scope = ?3 WHERE id = ?4");
        auto insertWindow =
            db_.prepare(std::string("INSERT INTO \"window\" (snapshot_id, ") + windowColumns +
                        ") VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14)");
        auto updateWindow = db_.prepare(
            "UPDATE \"window\" SET snapshot_id = ?1, appName = ?2, bundleIdentifier = ?3, windowTitle = ?4, "
            "processID = ?5, xPosition = ?6, yPosition = ?7, width = ?8, height = ?9, screenUUID = ?10, "
            "spaceID = ?11, originalScreenHeight = ?12, originalScreenWidth = ?13, windowID = ?14 WHERE id = "
            "?15");

        for (const auto& w : windows_)
            if (w->deleted_ && w->rowID_) {
                deleteWindow.reset();
                deleteWindow.bind(1, *w->rowID_).step();
            }
        for (const auto& s : snapshots_) {
            if (s->deleted_ && s->rowID_) {
                deleteSnapshot.reset();
                deleteSnapshot.bind(1, *s->rowID_).step();
            } else if (!s->rowID_) {
                insertSnapshot.reset();
                bindSnapshot(insertSnapshot, *s);
                insertSnapshot.step();
                newSnapshotRows[s.get()] = db_.lastInsertRowId();
            } else if (changed(*s)) {
                updateSnapshot.reset();
                bindSnapshot(updateSnapshot, *s);
                updateSnapshot.bind(4, *s->rowID_).step();
            }
        }
        auto ownerRow = [&](const Window& w, platform::SQLiteStatement& statement) {
            const auto owner = w.snapshot_.lock();
            if (!owner)
                statement.bindNull(1);
            else if (owner->rowID_)
                statement.bind(1, *owner->rowID_);
            else
                statement.bind(1, newSnapshotRows.at(owner.get()));
        };
        for (const auto& w : windows_) {
            if (w->deleted_) continue;
            if (!w->rowID_) {
                insertWindow.reset();
                ownerRow(*w, insertWindow);
                bindWindow(insertWindow, 2, *w);
                insertWindow.step();
                newWindowRows.emplace_back(w.get(), db_.lastInsertRowId());
            } else if (changed(*w)) {
                updateWindow.reset();
                ownerRow(*w, updateWindow);
                bindWindow(updateWindow, 2, *w);
                updateWindow.bind(15, *w->rowID_).step();
            }
        }
        transaction.commit();
    }

    // The transaction is in the file: the objects now match their rows.
    for (auto& [snapshot, row] : newSnapshotRows)
        const_cast<Snapshot*>(snapshot)->rowID_ = row;
    for (auto& [window, row] : newWindowRows)
        window->rowID_ = row;
    for (const auto& w : std::vector(windows_)) {
        if (w->deleted_) {
            w->forgotten_ = true;
            std::erase(windows_, w);
            continue;
        }
        w->saved_ = *w;
        w->savedSnapshot_ = w->snapshot_;
    }
    for (const auto& s : std::vector(snapshots_)) {
        if (s->deleted_) {
            s->forgotten_ = true;
            s->savedWindows_.clear();
            std::erase(snapshots_, s);
            continue;
        }
        s->saved_ = *s;
        s->savedWindows_ = s->windows_;
        std::erase_if(s->savedWindows_, [](const auto& w) { return w->forgotten_; });
    }
    postDidChange();
}

void SnapshotContext::rollback() {
    platform::requireMainThread("SnapshotContext::rollback");
    for (const auto& s : std::vector(snapshots_))
        if (s->isInserted()) forget(s);
    for (const auto& w : std::vector(windows_))
        if (w->isInserted()) forget(w);
    for (const auto& s : snapshots_) {
        static_cast<SnapshotAttributes&>(*s) = s->saved_;
        s->deleted_ = false;
        s->windows_ = s->savedWindows_;
    }
    for (const auto& w : windows_) {
        static_cast<WindowAttributes&>(*w) = w->saved_;
        w->deleted_ = false;
        w->snapshot_ = w->savedSnapshot_;
    }
    postDidChange();
}

void SnapshotContext::discard(const std::vector<std::shared_ptr<StoredObject>>& objects) {
    platform::requireMainThread("SnapshotContext::discard");
    for (const auto& object : objects) {
        if (!object || object->context_ != tag_ || object->forgotten_) continue;
        if (auto snapshot = std::dynamic_pointer_cast<Snapshot>(object)) {
            if (snapshot->isInserted())
                forget(snapshot);
            else
                revert(snapshot);
        } else if (auto window = std::dynamic_pointer_cast<Window>(object)) {
            if (window->isInserted())
                forget(window);
            else
                revert(window);
        }
    }
    postDidChange();
}

std::vector<std::shared_ptr<Snapshot>> SnapshotContext::fetchSnapshots() const {
    platform::requireMainThread("SnapshotContext::fetchSnapshots");
    std::vector<std::shared_ptr<Snapshot>> result;
    for (const auto& s : snapshots_)
        if (!s->deleted_) result.push_back(s);
    // Descending by (has a time stamp, time stamp, not saved yet, row id or insertion order).
    auto key = [](const Snapshot& s) {
        const bool hasTime = s.timestamp.has_value();
        const double time = hasTime ? s.timestamp->timeIntervalSince1970 : 0.0;
        const bool unsaved = !s.rowID().has_value();
        const auto order = unsaved ? static_cast<std::int64_t>(s.sequence_) : *s.rowID();
        return std::tuple(hasTime, time, unsaved, order);
    };
    std::stable_sort(result.begin(), result.end(),
                     [&](const auto& a, const auto& b) { return key(*a) > key(*b); });
    return result;
}

std::shared_ptr<Snapshot> SnapshotContext::snapshotWithID(std::string_view id) const {
    platform::requireMainThread("SnapshotContext::snapshotWithID");
    for (const auto& s : snapshots_)
        if (!s->deleted_ && s->idText() == id) return s;
    return nullptr;
}

void SnapshotContext::postDidChange() {
    platform::NotificationCenter::defaultCenter().post(didChangeNotification, this);
}

} // namespace tilmora
