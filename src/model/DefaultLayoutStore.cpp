#include "model/DefaultLayoutStore.hpp"

#include <algorithm>
#include <unordered_set>

namespace tilmora {

DefaultLayoutStore::DefaultLayoutStore(std::optional<std::filesystem::path> storageURL)
    : file_(std::move(storageURL), "layouts.json", "[LayoutStore]", "layouts")
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
    return dedupedByIdKeepingLast(file_.read());
}

DefaultLayoutStore::LenientRead DefaultLayoutStore::readLenient() const {
    auto read = file_.readToRewrite();
    const std::size_t stored = read.elements.size();
    auto layouts = dedupedByIdKeepingLast(std::move(read.elements));
    const bool duplicates = layouts.size() < stored;
    return {std::move(layouts), read.unusable, duplicates};
}

void DefaultLayoutStore::persist(const LenientRead& read) const {
    if (read.duplicates) {
        // The file is rewritten without the earlier layouts of a repeated id: the original stays
        // next to it, so none of them is lost.
        file_.write(read.layouts, true,
                    {.suffix = "duplicates", .what = "file with several layouts of one id"});
        return;
    }
    file_.write(read.layouts, read.unusable);
}

std::vector<Layout> DefaultLayoutStore::allLayouts() {
    return queue_.sync([&] { return readStrict(); });
}

std::optional<Layout> DefaultLayoutStore::firstLayout(const std::function<bool(const Layout&)>& matches) {
    return queue_.sync([&]() -> std::optional<Layout> {
        try {
            for (Layout& layout : readStrict()) {
                if (matches(layout)) return std::move(layout);
            }
        } catch (const std::exception&) {
        }
        return std::nullopt;
    });
}

std::optional<Layout> DefaultLayoutStore::layout(const DisplayId& displayId) {
    return firstLayout([&](const Layout& layout) { return layout.displayId == displayId; });
}

std::optional<Layout> DefaultLayoutStore::layout(const LayoutId& layoutId) {
    return firstLayout([&](const Layout& layout) { return layout.id == layoutId; });
}

void DefaultLayoutStore::save(const Layout& layout) {
    queue_.sync(platform::DispatchQueue::Block([&] {
        auto read = readLenient();
        std::erase_if(read.layouts, [&](const Layout& stored) { return stored.id == layout.id; });
        read.layouts.push_back(layout);
        persist(read);
    }));
}

void DefaultLayoutStore::deleteLayout(const LayoutId& layoutId) {
    queue_.sync(platform::DispatchQueue::Block([&] {
        auto read = readLenient();
        std::erase_if(read.layouts, [&](const Layout& stored) { return stored.id == layoutId; });
        persist(read);
    }));
}

} // namespace tilmora
