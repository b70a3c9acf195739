#pragma once

#include "model/ArrayStoreFile.hpp"
#include "model/ProfileStore.hpp"

#include "platform/dispatch/DispatchQueue.hpp"

#include <filesystem>
#include <optional>
#include <vector>

namespace tilmora {

/// The profile store that owns the file "profiles.json" in the folder "Tilmora" under Application
/// Support: one compact JSON array of layout profiles, in list order. It keeps nothing in memory;
/// every call reads the whole file again and every save rewrites it whole and atomically.
///
/// Unlike the layout store it keeps duplicate ids on reading and replaces a saved profile in
/// place (the first one with its id), appending it only when its id is new.
///
/// A file that cannot be read (logged once, "[ProfileStore] Cannot use <path>: <reason>") or does
/// not decode makes `allProfiles()` throw; `save` treats it as empty and keeps its bytes as "profiles.json.corrupt-<UTC time>"
/// (logged through `print`), set aside only once the new list is on disk, so nothing stored is
/// lost, not even when the write fails (see `StoreFile::replace`).
///
/// Every call runs synchronously on the store's serial queue "com.tilmora.profiles"; any thread.
class DefaultProfileStore : public ProfileStore {
public:
    /// Uses `storageURL`, or "Tilmora/profiles.json" under Application Support when none is
    /// given. Reads and creates nothing. Without an Application Support folder the store reads as
    /// empty and its writes throw.
    explicit DefaultProfileStore(std::optional<std::filesystem::path> storageURL = std::nullopt);

    std::vector<LayoutProfile> allProfiles() override;
    void save(const LayoutProfile& profile) override;

    /// The file this store reads and writes (empty without Application Support).
    const std::filesystem::path& url() const { return file_.url(); }

private:
    ArrayStoreFile<LayoutProfile> file_;
    platform::DispatchQueue queue_;
};

} // namespace tilmora
