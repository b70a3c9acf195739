#pragma once

#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string_view>

namespace tilmora {

/// The log file's name inside the user's Documents folder.
inline constexpr std::string_view logFileName = "Tilmora_log.txt";

/// The log file: "Tilmora_log.txt" in the user's Documents folder, or none when the platform names
/// no Documents folder. Looked up anew on every call.
std::optional<std::filesystem::path> logFilePath();

/// The program's one logging function. Joins `items` with `separator`, adds `terminator`, writes
/// that text to standard output and appends the same bytes to the log file; it adds nothing of its
/// own (no time stamp, tag or level). Callers format their lines themselves and usually pass one
/// text with the default separator and terminator.
///
/// - No Documents folder: nothing is written anywhere, not even to standard output.
/// - No log file yet (for example after something removed it): the text starts a new file; when
///   that fails, standard output also gets "Error creating log file: " + the reason + newline.
/// - The file exists but cannot be opened or written: standard output also gets
///   "Error writing to log file: " + the reason + newline.
/// - A symbolic link at the log's path (to a file, to a folder or to nothing) is never followed:
///   the link is replaced by a new log file of the log's own, which starts with the call's text
///   (what the link led to is left as it was), and standard output gets "Log file \"<path>\" was a
///   symbolic link: replaced it with a new log file".
/// - A pipe, a device or a socket there, or a link that cannot be replaced (a folder the user may
///   not write), is never opened: the log reaches standard output only, said once with "Error
///   writing to log file: \"<path>\" is not a regular file; the log goes to standard output only"
///   (or "... is a symbolic link that cannot be replaced (<reason>); ..."), until a line reaches a
///   file at the path again (the pipe removed, say).
/// - A folder there, or a file that cannot be opened, gives one "Error writing to log file: " line
///   for every line.
/// - Inside a folder the session no longer holds (`platform::FolderLock::allowsWriting`: the
///   session's folder was renamed), nothing is opened and nothing more is said: the lock said so.
/// - A text that is not valid UTF-8 reaches standard output only.
/// The error lines never reach the log file. Nothing is thrown; the next call tries again.
///
/// The file stays open between calls, and its path is kept until the folders move
/// (`platform::Folders::generation`): each call checks with one look at the path that it still
/// names the file opened (`platform::AppendHandle`), and a file removed, replaced, turned into a
/// link or into something else, or whose permissions changed is taken as at the first call (a
/// removed file starts anew with the call's text, a link is replaced, a pipe is refused as above).
/// The file is closed when the program's shared instances are reset (a new launch).
///
/// Any thread. Calls are serialized, so the lines of concurrent callers never interleave, and each
/// call's text is in the file when the call returns.
void print(std::initializer_list<std::string_view> items, std::string_view separator = " ",
           std::string_view terminator = "\n");

/// One item: `text` followed by `terminator`.
void print(std::string_view text, std::string_view separator = " ", std::string_view terminator = "\n");

} // namespace tilmora
