#include "model/DefaultLayoutStore.hpp"

#include "model/Log.hpp"
#include "model/StoreFile.hpp"

#include "platform/foundation/Error.hpp"

#include <algorithm>
#include <unordered_set>

namespace tilmora {

namespace {

constexpr const char* kTag = "[LayoutStore]";

} // namespace

DefaultLayoutStore::DefaultLayoutStore(std::optional<std::filesystem::path> storageURL)
    : url_(storageURL ? std::move(*storageURL) : StoreFile::defaultLocation("layouts.json").value_or(""))
    , queue_("com.tilmora.layouts") {}

std::vector<Layout> DefaultLayoutStore::dedupedByIdKeepingLast(std::vector<Layout> layouts) {
    if (layouts.size() < 2) return layouts;
    std::unordered_set<LayoutId> seen;
    std::vector<Layout> kept;
    kept.reserve(layouts.size());
    for (auto it = layouts.rbegin(); it != layouts.rend(); ++it) {
        if (seen.insert(it->id).second) kept.push_back(std::move(*it));
    }
    std::reverse(kept.begin(), kept.end());
    return kept;
}

std::vector<Layout> DefaultLayoutStore::readStrict() const {
    return dedupedByIdKeepingLast(StoreFile::readArray<Layout>(url_, kTag));
}

DefaultLayoutStore::LenientRead DefaultLayoutStore::readLenient() const {
    auto read = StoreFile::readArrayLenient<Layout>(url_, kTag);
    if (read.decodingError)
        print(std::string(kTag) + " " + url_.string() + " does not decode: " + *read.decodingError);
    return {dedupedByIdKeepingLast(std::move(read.elements)), read.unusable};
}

void DefaultLayoutStore::persist(const std::vector<Layout>& layouts, bool setAsideFirst) const {
    if (url_.empty()) throw platform::Error("no Application Support folder to store the layouts in");
    StoreFile::writeArray(url_, layouts, setAsideFirst, kTag);
}

std::vector<Layout> DefaultLayoutStore::allLayouts() {
    return queue_.sync([&] { return readStrict(); });
}

std::optional<Layout> DefaultLayoutStore::layout(const DisplayId& displayId) {
    return queue_.sync([&]() -> std::optional<Layout> {
        try {
            for (Layout& layout : readStrict()) {
                if (layout.displayId == displayId) return std::move(layout);
            }
        } catch (const std::exception&) {
        }
        return std::nullopt;
    });
}

std::optional<Layout> DefaultLayoutStore::layout(const LayoutId& layoutId) {
    return queue_.sync([&]() -> std::optional<Layout> {
        try {
            for (Layout& layout : readStrict()) {
                if (layout.id == layoutId) return std::move(layout);
            }
        } catch (const std::exception&) {
        }
        return std::nullopt;
    });
}

void DefaultLayoutStore::save(const Layout& layout) {
    queue_.sync(platform::DispatchQueue::Block([&] {
        auto [layouts, unusable] = readLenient();
        std::erase_if(layouts, [&](const Layout& stored) { return stored.id == layout.id; });
        layouts.push_back(layout);
        persist(layouts, unusable);
    }));
}

void DefaultLayoutStore::deleteLayout(const LayoutId& layoutId) {
    queue_.sync(platform::DispatchQueue::Block([&] {
        auto [layouts, unusable] = readLenient();
        std::erase_if(layouts, [&](const Layout& stored) { return stored.id == layoutId; });
        persist(layouts, unusable);
    }));
}

} // namespace tilmora
