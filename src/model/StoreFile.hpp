#pragma once

#include "platform/foundation/Error.hpp"
#include "platform/foundation/FileSystem.hpp"
#include "platform/foundation/JsonCoding.hpp"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tilmora {

/// The one store file of the JSON-array stores (layouts, profiles, snap areas): a file holding one
/// compact JSON array, read whole and written whole. A file that is there but cannot be used (it
/// does not decode, or a folder stands in its place) is never overwritten: the next write first
/// puts the new contents in place of it and keeps the old bytes as "<name>.corrupt-<UTC time>".
/// Any thread; the stores serialize their own calls.
namespace StoreFile {

/// The store file `fileName` in the folder "Tilmora" under Application Support; none when the
/// platform reports no Application Support folder.
std::optional<std::filesystem::path> defaultLocation(std::string_view fileName);

/// The largest store file read (the platform's bound for files read whole); a larger one counts as
/// unreadable (and is kept aside by a save).
inline constexpr std::size_t maxFileBytes = platform::FileSystem::maxWholeFileBytes;

/// The whole file, or none when it cannot be read (missing, no permission, a folder, a pipe or a
/// device in its place, larger than `maxFileBytes`).
std::optional<std::string> read(const std::filesystem::path& path);

/// The whole file; none when nothing is at `path`. Throws `platform::Error` ("could not read
/// \"<path>\": <reason>") when something is there that cannot be read as above; with a non-empty
/// `tag` that failure is also logged through `print` as "<tag> Cannot use <path>: <reason>", once
/// per path until the path reads again (or `SharedInstances::resetAll`), so that a store listed
/// again and again does not fill the log.
std::optional<std::string> readExisting(const std::filesystem::path& path, std::string_view tag);

/// Creates the folder holding `path` (with intermediates), then writes `contents` atomically.
/// Throws `platform::Error` on failure; the file then keeps its previous content.
void write(const std::filesystem::path& path, std::string_view contents);

/// Why a file is kept aside before it is replaced: the suffix of the kept copy's name and the words
/// that describe the file in the log line.
struct Aside {
    /// "corrupt": a file that cannot be used.
    std::string_view suffix = "corrupt";
    std::string_view what = "unusable file";
};

/// Moves whatever is at `path` aside as "<name>.<suffix>-<UTC time>" (for example
/// "layouts.json.corrupt-20250102T030405Z", with "-2", "-3", ... added when that name is taken)
/// and logs through `print`, with `tag` in front, "Moved <what> <path> aside to <new path>"
/// ("Moved unusable file ..."). Returns the new path. Throws `platform::Error` (and logs) when the
/// move fails, so the caller does not overwrite the file.
std::filesystem::path setAside(const std::filesystem::path& path, std::string_view tag, Aside aside = {});

/// Creates the folder holding `path`, then writes `contents` there. With `setAsideOld` (the file
/// there cannot be used, or would lose something that only it holds) the new contents are first
/// written whole to a temporary file in the same folder; only once that succeeded is the old file
/// set aside (as `setAside` does with `aside`, logged) and the new one renamed into its place.
/// Throws `platform::Error` on any failure, and every failure leaves the old bytes at `path`: a
/// failed write (a full disk) or a failed set-aside removes the temporary file, and a failed final
/// rename moves the old file back.
void replace(const std::filesystem::path& path, std::string_view contents, bool setAsideOld, std::string_view tag,
             Aside aside = {});

/// The elements of a store file read without throwing.
template <class T>
struct LenientRead {
    std::vector<T> elements;
    /// True when something is at the path that could not be read or decoded; a write must set it
    /// aside (see `replace`).
    bool unusable = false;
    /// The decoding error when the file was read but does not decode.
    std::optional<std::string> decodingError;
};

/// The array in the file at `path`: empty when the path is empty or nothing is there. Throws
/// `platform::Error` when something is there that cannot be read (logged once with `tag`, see
/// `readExisting`) or does not decode as an array of `T`.
template <class T>
std::vector<T> readArray(const std::filesystem::path& path, std::string_view tag = {}) {
    if (path.empty()) return {};
    auto data = readExisting(path, tag);
    if (!data) return {};
    return platform::decodeJsonText<std::vector<T>>(*data);
}

/// The array in the file at `path`, or no elements and `unusable` when a file is there that cannot
/// be read or decoded. A missing file (or an empty path) is no elements and not unusable. Never
/// throws. With a non-empty `tag` a file that cannot be read is logged once (see `readExisting`);
/// a decoding error is left to the caller to log in its own words.
template <class T>
LenientRead<T> readArrayLenient(const std::filesystem::path& path, std::string_view tag = {}) {
    LenientRead<T> result;
    if (path.empty()) return result;
    std::optional<std::string> data;
    try {
        data = readExisting(path, tag);
    } catch (const platform::Error&) {
        result.unusable = true;
        return result;
    }
    if (!data) return result;
    try {
        result.elements = platform::decodeJsonText<std::vector<T>>(*data);
    } catch (const platform::Error& error) {
        result.unusable = true;
        result.decodingError = error.what();
    }
    return result;
}

/// Encodes `elements` as one compact JSON array and writes it through `replace`. Throws
/// `platform::Error` (the file untouched) when an element cannot be encoded or the write fails.
template <class T>
void writeArray(const std::filesystem::path& path, const std::vector<T>& elements, bool setAsideOld,
                std::string_view tag, Aside aside = {}) {
    replace(path, platform::encodeJsonText(elements), setAsideOld, tag, aside);
}

} // namespace StoreFile

} // namespace tilmora
