#pragma once

#include "model/Log.hpp"
#include "model/StoreFile.hpp"

#include "platform/foundation/Error.hpp"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tilmora {

/// The file of one JSON-array store of `T` (the layouts, the profiles): where it lies, the tag its
/// log lines start with ("[LayoutStore]") and the word for its elements in the error of a write
/// without a place to go ("layouts"). Reads and writes go through `StoreFile`. Any thread; the
/// store serializes its own calls.
template <class T>
class ArrayStoreFile {
public:
    /// At `storageURL`, else "Tilmora/<fileName>" under Application Support, else nowhere (the
    /// store reads as empty and its writes throw). `tag` and `what` must outlive the file (literals).
    ArrayStoreFile(std::optional<std::filesystem::path> storageURL, std::string_view fileName,
                   std::string_view tag, std::string_view what)
        : url_(storageURL ? std::move(*storageURL) : StoreFile::defaultLocation(fileName).value_or(""))
        , tag_(tag)
        , what_(what) {}

    /// The path (empty when there is no Application Support folder).
    const std::filesystem::path& url() const { return url_; }

    /// The stored elements (`StoreFile::readArray`): throws when the file cannot be read or
    /// decoded.
    std::vector<T> read() const { return StoreFile::readArray<T>(url_, tag_); }

    /// The stored elements for a rewrite (`StoreFile::readArrayLenient`): never throws; a file that
    /// does not decode is logged through `print` as "<tag> <path> does not decode: <reason>".
    StoreFile::LenientRead<T> readToRewrite() const {
        auto read = StoreFile::readArrayLenient<T>(url_, tag_);
        if (read.decodingError)
            print(std::string(tag_) + " " + url_.string() + " does not decode: " + *read.decodingError);
        return read;
    }

    /// Writes `elements` through `StoreFile::writeArray`, keeping the old file aside first when
    /// `setAsideOld`. Throws `platform::Error` when there is no place for the file or the write
    /// fails.
    void write(const std::vector<T>& elements, bool setAsideOld, StoreFile::Aside aside = {}) const {
        if (url_.empty())
            throw platform::Error("no Application Support folder to store the " + std::string(what_) + " in");
        StoreFile::writeArray(url_, elements, setAsideOld, tag_, aside);
    }

private:
    std::filesystem::path url_;
    std::string_view tag_;
    std::string_view what_;
};

} // namespace tilmora
