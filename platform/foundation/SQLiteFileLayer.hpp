#pragma once

namespace platform {

/// The file layer every database file of the platform is opened through (an SQLite VFS over the
/// host's own, registered once under `name`): the database and its side files (the rollback
/// journal, the write-ahead log and its shared memory, a super-journal) are opened without ever
/// waiting (`O_NONBLOCK`) and, where they are written or are side files, never through a symbolic
/// link (`O_NOFOLLOW`); whatever is opened must be a regular file, checked on the descriptor
/// opened, so nothing comes between the check and the open. A pipe, a device, a socket, a folder
/// or a link at one of those paths fails the open at once (SQLITE_CANTOPEN), which fails the
/// statement or transaction that needed it. A side file the layer is asked about with "does it
/// exist" is looked at with `lstat`, so a link there, even a dangling one, counts as present (and
/// is then refused) rather than being created through.
///
/// A file that would be written inside a folder this process locked whose path no longer names it
/// (`FolderLock::allowsWriting`) is not opened for writing either.
///
/// Any thread; logs nothing.
namespace SQLiteFileLayer {

/// Registers the layer the first time (it is never SQLite's default) and returns its name, which
/// `sqlite3_open_v2` takes as its VFS.
const char* name();

} // namespace SQLiteFileLayer

} // namespace platform
