#include "platform/foundation/SQLiteTransaction.hpp"

#include "platform/foundation/FolderLock.hpp"
#include "platform/foundation/SQLiteDatabase.hpp"
#include "platform/foundation/SQLiteError.hpp"
#include "platform/internal/SQLiteFaults.hpp"

#include <sqlite3.h>

#include <string>

namespace platform {

SQLiteTransaction::SQLiteTransaction(SQLiteDatabase& database)
    : database_(database) {
    // A store in a folder this process no longer holds (renamed while held) takes nothing more;
    // the file layer would refuse its journal anyway, but this says why.
    const std::string file = database_.queryText("SELECT file FROM pragma_database_list WHERE name = 'main'");
    if (!file.empty() && !FolderLock::allowsWriting(file))
        throw SQLiteError(SQLITE_CANTOPEN, "the folder the store lies in is no longer this session's (renamed or "
                                           "replaced)");
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
