#pragma once

namespace platform {

/// The simulator's control of the SQLite wrapper (`SQLiteDatabase`, `SQLiteTransaction`). Each
/// fault fails exactly one later call and is then used up; `SharedInstances::resetAll` disarms
/// them. Tests and the desktop console only. Any thread.
class SQLiteControl {
public:
    /// The next `SQLiteDatabase::open` or `openReadOnly` of a file fails with SQLITE_CANTOPEN
    /// ("unable to open database file") before touching the file. In-memory opens are not affected.
    static void failNextOpen();
    /// The next `SQLiteTransaction::commit` fails as a full disk does: SQLITE_FULL, "database or
    /// disk is full", the transaction rolled back and the file unchanged.
    static void failNextCommit();
};

} // namespace platform
