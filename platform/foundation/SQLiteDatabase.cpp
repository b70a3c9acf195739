#include "platform/foundation/SQLiteDatabase.hpp"

#include "platform/dispatch/Runtime.hpp"
#include "platform/dispatch/Thread.hpp"
#include "platform/foundation/SQLiteError.hpp"
#include "platform/foundation/SQLiteFileLayer.hpp"
#include "platform/internal/SQLiteBusyWaitEnd.hpp"
#include "platform/internal/SQLiteFaults.hpp"
#include "platform/internal/SQLiteStatementCount.hpp"

#include <sqlite3.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <iterator>
#include <mutex>
#include <set>
#include <thread>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

[[noreturn]] void fail(sqlite3* db, int rc) {
    const std::string message = db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    throw SQLiteError(rc & 0xff, message);
}

sqlite3* openFile(const std::filesystem::path& path, int flags) {
    if (sqlite_detail::faults().failNextOpen.exchange(false))
        throw SQLiteError(SQLITE_CANTOPEN, sqlite3_errstr(SQLITE_CANTOPEN));
    sqlite3* handle = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &handle, flags, SQLiteFileLayer::name());
    if (rc != SQLITE_OK) {
        const std::string message = handle != nullptr ? sqlite3_errmsg(handle) : sqlite3_errstr(rc);
        sqlite3_close(handle);
        throw SQLiteError(rc & 0xff, message);
    }
    sqlite3_extended_result_codes(handle, 1);
    return handle;
}

/// Every open connection of the process, so that a busy wait can tell whether the lock it waits
/// for is held by one of them. Its lock is held only for a look at the set, never across a wait.
struct OpenConnections {
    std::mutex mutex;
    std::set<sqlite3*> handles;
};

OpenConnections& openConnections() {
    static OpenConnections connections;
    return connections;
}

/// Whether another connection of this process to the file of `db` has a transaction open.
bool heldWithinProcess(sqlite3* db) {
    const char* file = sqlite3_db_filename(db, "main");
    if (file == nullptr || *file == '\0') return false;
    auto& connections = openConnections();
    std::lock_guard guard(connections.mutex);
    for (sqlite3* other : connections.handles) {
        if (other == db || sqlite3_get_autocommit(other) != 0) continue;
        const char* otherFile = sqlite3_db_filename(other, "main");
        if (otherFile != nullptr && std::strcmp(file, otherFile) == 0) return true;
    }
    return false;
}

/// The pauses between the tries of a busy wait, in milliseconds; the last one repeats.
constexpr int busyPauses[] = {1, 2, 5, 10, 15, 20, 25, 25, 25, 50, 50, 100};

} // namespace

/// The state of one connection's busy wait: its limit and how long the current wait has lasted.
struct SQLiteDatabase::BusyWait {
    sqlite3* db = nullptr;
    double limit = 0;
    double waited = 0;

    /// SQLite's busy handler: nonzero to try again after a pause, zero to fail with SQLITE_BUSY.
    static int handle(void* context, int count) {
        auto& wait = *static_cast<BusyWait*>(context);
        if (count == 0) wait.waited = 0;
        // The process is ending: the call fails now rather than keep the thread from its way out.
        if (const auto ended = sqlite_detail::busyWaitEnd().load(); ended != nullptr && ended()) return 0;
        const int step = std::min<int>(count, static_cast<int>(std::size(busyPauses)) - 1);
        const double pause = std::min(busyPauses[step] / 1000.0, wait.limit - wait.waited);
        if (pause <= 0) return 0;
        if (Runtime::mode() == Runtime::Mode::real || heldWithinProcess(wait.db))
            Thread::sleep(pause);
        else
            std::this_thread::sleep_for(std::chrono::duration<double>(pause));
        wait.waited += pause;
        return 1;
    }
};

SQLiteDatabase::SQLiteDatabase(sqlite3* handle)
    : db_(handle) {
    auto& connections = openConnections();
    std::lock_guard guard(connections.mutex);
    connections.handles.insert(db_);
}

SQLiteDatabase SQLiteDatabase::open(const std::filesystem::path& path) {
    return SQLiteDatabase(openFile(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE));
}

SQLiteDatabase SQLiteDatabase::openReadOnly(const std::filesystem::path& path) {
    return SQLiteDatabase(openFile(path, SQLITE_OPEN_READONLY));
}

SQLiteDatabase SQLiteDatabase::openInMemory() {
    sqlite3* handle = nullptr;
    const int rc = sqlite3_open_v2(":memory:", &handle, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK) {
        const std::string message = handle != nullptr ? sqlite3_errmsg(handle) : sqlite3_errstr(rc);
        sqlite3_close(handle);
        throw SQLiteError(rc & 0xff, message);
    }
    return SQLiteDatabase(handle);
}

bool SQLiteDatabase::looksLikeDatabaseFile(const std::filesystem::path& path) {
    static constexpr char header[] = "SQLite format 3"; // and its terminating zero: 16 bytes
    // Never waits on a pipe or a device put there: only a regular file is read.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return true;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return true;
    }
    char bytes[sizeof header] = {};
    std::size_t count = 0;
    while (count < sizeof bytes) {
        const ssize_t n = ::read(fd, bytes + count, sizeof bytes - count);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        count += static_cast<std::size_t>(n);
    }
    ::close(fd);
    if (count == 0) return true;
    return count == sizeof header && std::memcmp(bytes, header, sizeof header) == 0;
}

SQLiteDatabase::SQLiteDatabase(SQLiteDatabase&& other) noexcept
    : db_(std::exchange(other.db_, nullptr))
    , busy_(std::move(other.busy_)) {}

SQLiteDatabase& SQLiteDatabase::operator=(SQLiteDatabase&& other) noexcept {
    if (this != &other) {
        close();
        db_ = std::exchange(other.db_, nullptr);
        busy_ = std::move(other.busy_);
    }
    return *this;
}

SQLiteDatabase::~SQLiteDatabase() {
    close();
}

void SQLiteDatabase::close() noexcept {
    if (db_ == nullptr) return;
    {
        auto& connections = openConnections();
        std::lock_guard guard(connections.mutex);
        connections.handles.erase(db_);
    }
    // A connection closed with statements still open lives on until they go: it must not call
    // back into the wait freed here.
    sqlite3_busy_handler(db_, nullptr, nullptr);
    sqlite3_close_v2(std::exchange(db_, nullptr));
    busy_.reset();
}

void SQLiteDatabase::setBusyTimeout(double seconds) {
    if (!(seconds > 0)) {
        sqlite3_busy_handler(db_, nullptr, nullptr);
        busy_.reset();
        return;
    }
    if (!busy_) busy_ = std::make_unique<BusyWait>();
    busy_->db = db_;
    busy_->limit = seconds;
    sqlite3_busy_handler(db_, &BusyWait::handle, busy_.get());
}

void SQLiteDatabase::exec(std::string_view sql) {
    const std::string text(sql);
    char* error = nullptr;
    const int rc = sqlite3_exec(db_, text.c_str(), nullptr, nullptr, &error);
    sqlite3_free(error);
    if (rc != SQLITE_OK) fail(db_, rc);
}

SQLiteStatement SQLiteDatabase::prepare(std::string_view sql) {
    sqlite3_stmt* statement = nullptr;
    const int rc = sqlite3_prepare_v2(db_, sql.data(), static_cast<int>(sql.size()), &statement, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(statement);
        fail(db_, rc);
    }
    if (statement) ++sqlite_detail::openStatementCount();
    return SQLiteStatement(db_, statement);
}

std::int64_t SQLiteDatabase::queryInt64(std::string_view sql) {
    SQLiteStatement statement = prepare(sql);
    return statement.step() ? statement.columnInt64(0) : 0;
}

std::string SQLiteDatabase::queryText(std::string_view sql) {
    SQLiteStatement statement = prepare(sql);
    if (!statement.step()) return {};
    return statement.columnText(0).value_or(std::string());
}

std::int64_t SQLiteDatabase::lastInsertRowId() const {
    return sqlite3_last_insert_rowid(db_);
}

int SQLiteDatabase::changes() const {
    return sqlite3_changes(db_);
}

int SQLiteDatabase::resultCode() const {
    return sqlite3_errcode(db_) & 0xff;
}

std::string SQLiteDatabase::message() const {
    return sqlite3_errmsg(db_);
}

bool SQLiteDatabase::inTransaction() const {
    return sqlite3_get_autocommit(db_) == 0;
}

} // namespace platform
