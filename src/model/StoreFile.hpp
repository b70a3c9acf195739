#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tilmora {

/// File handling shared by the JSON stores (layouts, profiles): whole reads, whole atomic writes
/// after creating the folder, and the setting aside of a file that cannot be used so that a
/// rewrite never destroys what the user stored. Any thread; the stores serialize their own calls.
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
/// and logs, with `tag` in front, "Moved unusable file <path> aside to <new path>". Returns the new
/// path. Throws `platform::Error` (and logs) when the move fails, so the caller does not overwrite
/// the file.
std::filesystem::path setAside(const std::filesystem::path& path, std::string_view tag);

} // namespace StoreFile

} // namespace tilmora
