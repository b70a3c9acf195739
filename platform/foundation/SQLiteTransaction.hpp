#pragma once

namespace platform {

class SQLiteDatabase;

/// A transaction on one connection for the life of the guard: "BEGIN IMMEDIATE" when made,
/// "COMMIT" on `commit()`, "ROLLBACK" when the guard goes away without a successful commit
/// (an exception thrown inside the guarded block leaves the database as it was before).
///
/// The simulator can make the next commit fail as a full disk does (`SQLiteControl`): the commit
/// then rolls the transaction back, leaves the file unchanged and throws `SQLiteError` with
/// SQLITE_FULL and "database or disk is full". Any thread that owns the connection; no logs.
class SQLiteTransaction {
public:
    explicit SQLiteTransaction(SQLiteDatabase& database);
    SQLiteTransaction(const SQLiteTransaction&) = delete;
    SQLiteTransaction& operator=(const SQLiteTransaction&) = delete;
    ~SQLiteTransaction();

    /// Commits; throws `SQLiteError` when the commit fails, after rolling back.
    void commit();

private:
    SQLiteDatabase& database_;
    bool open_ = true;
};

} // namespace platform
