#pragma once

namespace platform {

/// The simulator's control of the SQLite wrapper (`SQLiteDatabase`, `SQLiteTransaction`). Each
/// fault fails exactly one later call and is then used up; `SharedInstances::resetAll` disarms
/// them. Tests and the desktop console only. Any thread.
///
/// The host also says through it when the process is ending, so that no call stays blocked on a
/// lock another program holds (`abandonBusyWaitsWhen`).
class SQLiteControl {
public:
    /// The next `SQLiteDatabase::open` or `openReadOnly` of a file fails with SQLITE_CANTOPEN
    /// ("unable to open database file") before touching the file. In-memory opens are not affected.
    static void failNextOpen();
    /// The next `SQLiteTransaction::commit` fails as a full disk does: SQLITE_FULL, "database or
    /// disk is full", the transaction rolled back and the file unchanged.
    static void failNextCommit();
    /// Makes every busy wait of the process (`SQLiteDatabase::setBusyTimeout`) give up once
    /// `ended()` answers true: the waiting call fails with SQLITE_BUSY ("database is locked") as one
    /// whose wait ran out does, so a transaction it would have begun writes nothing, and a wait that
    /// starts then fails at once. `ended` is asked before each pause of a wait (at most 0.1 s
    /// apart) on the waiting thread, so it must be safe to call on any thread (it may run while a
    /// signal handler does); null, the default, lets every wait run its time. Installed once for the
    /// process (the desktop console's check of an ending signal), not reset with the shared instances.
    static void abandonBusyWaitsWhen(bool (*ended)());
};

} // namespace platform
