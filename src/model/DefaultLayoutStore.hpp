#pragma once

#include "model/ArrayStoreFile.hpp"
#include "model/LayoutStore.hpp"

#include "platform/dispatch/DispatchQueue.hpp"

#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

namespace tilmora {

/// The layout store that owns the file "layouts.json" in the folder "Tilmora" under Application
/// Support: one compact JSON array of layouts, in list order. It keeps nothing in memory: every
/// call reads the whole file again and every change rewrites it whole and atomically, so two
/// stores on one file see each other's writes at their next call.
///
/// The list order matters: lookups take the first match and a saved layout moves to the end.
/// Reading keeps only the last occurrence of each id, at its own position.
///
/// A file that cannot be read (a folder or a pipe in its place, no permission) or does not decode
/// makes `allLayouts()` throw and the lookups answer none; one that cannot be read is logged
/// through `print` once ("[LayoutStore] Cannot use <path>: <reason>"), not at every call. `save`
/// and `delete` treat either as empty and keep what is there as
/// "layouts.json.corrupt-<UTC time>" (logged through `print`), set aside only once the new list is
/// on disk, so nothing stored is lost, not even when the write fails (see `StoreFile::replace`).
/// Likewise the first `save` or `delete` of a file holding several layouts of one id (which reads
/// as the last of each) keeps the original as "layouts.json.duplicates-<UTC time>" and logs
/// "[LayoutStore] Moved file with several layouts of one id <path> aside to <new path>".
///
/// Every call runs synchronously on the store's serial queue "com.tilmora.layouts"; any thread.
class DefaultLayoutStore : public LayoutStore {
public:
    /// Uses `storageURL`, or "Tilmora/layouts.json" under Application Support when none is given.
    /// Reads and creates nothing. Without an Application Support folder the store reads as empty
    /// and its writes throw.
    explicit DefaultLayoutStore(std::optional<std::filesystem::path> storageURL = std::nullopt);

    std::vector<Layout> allLayouts() override;
    std::optional<Layout> layout(const DisplayId& displayId) override;
    std::optional<Layout> layout(const LayoutId& layoutId) override;
    void save(const Layout& layout) override;
    void deleteLayout(const LayoutId& layoutId) override;

    /// The file this store reads and writes (empty without Application Support).
    const std::filesystem::path& url() const { return file_.url(); }

    /// Keeps the last occurrence of each id, the survivors in their relative order.
    static std::vector<Layout> dedupedByIdKeepingLast(std::vector<Layout> layouts);

private:
    std::vector<Layout> readStrict() const;
    /// The first stored layout that `matches`, on the store's queue; none when there is none or
    /// the file cannot be read or decoded.
    std::optional<Layout> firstLayout(const std::function<bool(const Layout&)>& matches);
    struct LenientRead {
        std::vector<Layout> layouts;
        /// True when a file is there that could not be read or decoded.
        bool unusable = false;
        /// True when the file holds several layouts of one id (only the last of each was kept).
        bool duplicates = false;
    };
    LenientRead readLenient() const;
    /// Encodes and writes `read.layouts`; an unusable file, or one with duplicates, is kept aside.
    void persist(const LenientRead& read) const;

    ArrayStoreFile<Layout> file_;
    platform::DispatchQueue queue_;
};

} // namespace tilmora
