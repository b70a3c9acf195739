#pragma once

#include "platform/foundation/SQLiteStatement.hpp"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

struct sqlite3;

namespace platform {

/// One connection to an SQLite database: a file, or a private database in memory. The system's one
/// way to a database file. Every failing call throws `SQLiteError` (a `platform::Error`) with
/// SQLite's message and result code.
///
/// A connection may be used from any thread, by one thread at a time. Move-only; closing happens
/// in the destructor (statements must be gone by then). Nothing is logged.
///
/// The simulator can make the next file open (read-write or read-only) fail with SQLITE_CANTOPEN
/// (`SQLiteControl`).
class SQLiteDatabase {
public:
    /// Opens the file at `path` for reading and writing, creating an empty file when none is there.
    /// Opening does not read the file: a file that is not a database fails at its first statement
    /// (SQLITE_NOTADB).
    static SQLiteDatabase open(const std::filesystem::path& path);
    /// Opens the existing file at `path` for reading only: every write fails (SQLITE_READONLY) and
    /// the file is never changed. Throws when no file is there.
    static SQLiteDatabase openReadOnly(const std::filesystem::path& path);
    /// A fresh, private database that lives only as long as the connection.
    static SQLiteDatabase openInMemory();
    /// Whether the file at `path` may be an SQLite database, told without opening it: false only
    /// when its first bytes can be read and are not SQLite's 16-byte header (an empty or unreadable
    /// file may be one; opening tells). Opening a file that is not a database may let SQLite treat
    /// a "-journal" next to it as its own and remove it; this check comes first where such files
    /// must stay untouched.
    static bool looksLikeDatabaseFile(const std::filesystem::path& path);

    SQLiteDatabase(SQLiteDatabase&& other) noexcept;
    SQLiteDatabase& operator=(SQLiteDatabase&& other) noexcept;
    SQLiteDatabase(const SQLiteDatabase&) = delete;
    SQLiteDatabase& operator=(const SQLiteDatabase&) = delete;
    ~SQLiteDatabase();

    /// Lets a call that meets a lock held by another connection (of this process or of another
    /// one) try again for up to `seconds` before it fails with SQLITE_BUSY ("database is
    /// locked"); zero or less fails at once, as a new connection does. The wait goes by the clock
    /// of the holder: while a connection of this process to the same file has a transaction open,
    /// the platform's clock (virtual in the simulated mode, where that connection's thread runs
    /// meanwhile); otherwise the holder is another process and the wait is in real time in either
    /// mode (the simulated mode's virtual clock stays where it is meanwhile, as for any wait on
    /// the host). The calling thread blocks meanwhile. A wait ends early, failing the same way, once
    /// the host says the process is ending (`SQLiteControl::abandonBusyWaitsWhen`).
    void setBusyTimeout(double seconds);

    /// Runs one or more statements separated by ";", ignoring any rows they return.
    void exec(std::string_view sql);
    /// Compiles one statement.
    SQLiteStatement prepare(std::string_view sql);
    /// The first column of the first row of `sql` as an integer; 0 when there is no row.
    std::int64_t queryInt64(std::string_view sql);
    /// The first column of the first row of `sql` as a text; empty when there is no row or it is
    /// null.
    std::string queryText(std::string_view sql);

    /// The row id of the latest successful insert on this connection.
    std::int64_t lastInsertRowId() const;
    /// Rows changed by the latest insert, update or delete.
    int changes() const;
    /// The result code and message of the latest call on this connection (SQLITE_OK, "not an
    /// error" after a success).
    int resultCode() const;
    std::string message() const;
    /// Whether a transaction is open.
    bool inTransaction() const;

private:
    struct BusyWait;
    explicit SQLiteDatabase(sqlite3* handle);
    void close() noexcept;

    sqlite3* db_ = nullptr;
    std::unique_ptr<BusyWait> busy_;
};

} // namespace platform
