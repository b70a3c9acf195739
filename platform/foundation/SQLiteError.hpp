#pragma once

#include "platform/foundation/Error.hpp"

#include <string>

namespace platform {

/// A failed SQLite call: `what()` is SQLite's own message ("database or disk is full", "file is
/// not a database", "NOT NULL constraint failed: window.snapshot_id") and `code()` its primary
/// result code (SQLITE_FULL, SQLITE_NOTADB, ...; the extended code is reduced to its low byte).
class SQLiteError : public Error {
public:
    SQLiteError(int code, const std::string& message)
        : Error(message)
        , code_(code) {}

    int code() const { return code_; }

    // The primary result codes callers tell apart (SQLite's own numbers).
    static constexpr int busy = 5;          ///< SQLITE_BUSY: another connection holds the file's lock.
    static constexpr int readOnly = 8;      ///< SQLITE_READONLY: the database cannot be written.
    static constexpr int corrupt = 11;      ///< SQLITE_CORRUPT: the database file is damaged.
    static constexpr int full = 13;         ///< SQLITE_FULL: the disk is full.
    static constexpr int cannotOpen = 14;   ///< SQLITE_CANTOPEN: the file cannot be opened.
    static constexpr int notADatabase = 26; ///< SQLITE_NOTADB: the file is not a database.

private:
    int code_;
};

} // namespace platform
