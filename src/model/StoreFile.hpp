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

/// The whole file, or none when it cannot be read (missing, no permission, a folder in its place).
std::optional<std::string> read(const std::filesystem::path& path);

/// Creates the folder holding `path` (with intermediates), then writes `contents` atomically.
/// Throws `platform::Error` on failure; the file then keeps its previous content.
void write(const std::filesystem::path& path, std::string_view contents);

/// Moves whatever is at `path` aside as "<name>.corrupt-<UTC time>" (for example
/// "layouts.json.corrupt-20250102T030405Z", with "-2", "-3", ... added when that name is taken)
/// and logs through `print`, with `tag` in front, "Moved unusable file <path> aside to <new path>".
/// Returns the new path. Throws `platform::Error` (and logs) when the move fails, so the caller
/// does not overwrite the file.
std::filesystem::path setAside(const std::filesystem::path& path, std::string_view tag);

/// Creates the folder holding `path`, then writes `contents` there. With `setAsideOld` (the file
/// there cannot be used) the new contents are first written whole to a temporary file in the same
/// folder; only once that succeeded is the old file set aside (as `setAside` does, logged) and the
/// new one renamed into its place. Throws `platform::Error` on any failure, and every failure leaves
/// the old bytes at `path`: a failed write (a full disk) or a failed set-aside removes the
/// temporary file, and a failed final rename moves the old file back.
void replace(const std::filesystem::path& path, std::string_view contents, bool setAsideOld, std::string_view tag);

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

/// The array in the file at `path`: empty when the path is empty or nothing can be read there.
/// Throws `platform::Error` when the file does not decode as an array of `T`.
template <class T>
std::vector<T> readArray(const std::filesystem::path& path) {
    if (path.empty()) return {};
    auto data = read(path);
    if (!data) return {};
    return platform::decodeJsonText<std::vector<T>>(*data);
}

/// The array in the file at `path`, or no elements and `unusable` when a file is there that cannot
/// be read or decoded. A missing file (or an empty path) is no elements and not
/// unusable. Never throws; logs nothing (the caller logs in its own words).
template <class T>
LenientRead<T> readArrayLenient(const std::filesystem::path& path) {
    LenientRead<T> result;
    if (path.empty()) return result;
    if (auto data = read(path)) {
        try {
            result.elements = platform::decodeJsonText<std::vector<T>>(*data);
        } catch (const platform::Error& error) {
            result.unusable = true;
            result.decodingError = error.what();
        }
        return result;
    }
    result.unusable = platform::FileSystem::fileExists(path);
    return result;
}

/// Encodes `elements` as one compact JSON array and writes it through `replace`. Throws
/// `platform::Error` (the file untouched) when an element cannot be encoded or the write fails.
template <class T>
void writeArray(const std::filesystem::path& path, const std::vector<T>& elements, bool setAsideOld,
                std::string_view tag) {
    replace(path, platform::encodeJsonText(elements), setAsideOld, tag);
}

} // namespace StoreFile

} // namespace tilmora
