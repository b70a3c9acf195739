#include "platform/foundation/SQLiteDatabase.hpp"

#include "platform/foundation/SQLiteError.hpp"
#include "platform/internal/SQLiteFaults.hpp"
#include "platform/internal/SQLiteStatementCount.hpp"

#include <sqlite3.h>

#include <cstring>
#include <fstream>
#include <utility>

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
    const int rc = sqlite3_open_v2(path.c_str(), &handle, flags, nullptr);
    if (rc != SQLITE_OK) {
        const std::string message = handle != nullptr ? sqlite3_errmsg(handle) : sqlite3_errstr(rc);
        sqlite3_close(handle);
        throw SQLiteError(rc & 0xff, message);
    }
    sqlite3_extended_result_codes(handle, 1);
    return handle;
}

} // namespace

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
    std::ifstream file(path, std::ios::binary);
    if (!file) return true;
    char bytes[sizeof header] = {};
    file.read(bytes, sizeof bytes);
    const auto count = file.gcount();
    if (count == 0) return true;
    return count == static_cast<std::streamsize>(sizeof header) &&
           std::memcmp(bytes, header, sizeof header) == 0;
}

SQLiteDatabase::SQLiteDatabase(SQLiteDatabase&& other) noexcept
    : db_(std::exchange(other.db_, nullptr)) {}

SQLiteDatabase& SQLiteDatabase::operator=(SQLiteDatabase&& other) noexcept {
    if (this != &other) {
        sqlite3_close_v2(db_);
        db_ = std::exchange(other.db_, nullptr);
    }
    return *this;
}

SQLiteDatabase::~SQLiteDatabase() {
    sqlite3_close_v2(db_);
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
