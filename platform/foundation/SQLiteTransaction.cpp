#include "platform/foundation/SQLiteTransaction.hpp"

#include "platform/foundation/SQLiteDatabase.hpp"
#include "platform/foundation/SQLiteError.hpp"
#include "platform/internal/SQLiteFaults.hpp"

#include <sqlite3.h>

namespace platform {

SQLiteTransaction::SQLiteTransaction(SQLiteDatabase& database)
    : database_(database) {
    database_.exec("BEGIN IMMEDIATE");
}

SQLiteTransaction::~SQLiteTransaction() {
    if (!open_) return;
    try {
        if (database_.inTransaction()) database_.exec("ROLLBACK");
    } catch (const Error&) {
        // SQLite already rolled back (for example after an I/O error); nothing is left to undo.
    }
}

void SQLiteTransaction::commit() {
    if (!open_) return;
    if (sqlite_detail::faults().failNextCommit.exchange(false)) {
        open_ = false;
        if (database_.inTransaction()) database_.exec("ROLLBACK");
        throw SQLiteError(SQLITE_FULL, sqlite3_errstr(SQLITE_FULL));
    }
    try {
        database_.exec("COMMIT");
    } catch (const Error&) {
        open_ = false;
        try {
            if (database_.inTransaction()) database_.exec("ROLLBACK");
        } catch (const Error&) {
        }
        throw;
    }
    open_ = false;
}

} // namespace platform
