#include "model/ProfileAwareLayoutStore.hpp"

#include <utility>

namespace tilmora {

ProfileAwareLayoutStore::ProfileAwareLayoutStore(std::shared_ptr<LayoutStore> store,
                                                 ProfileProvider profileProvider)
    : store_(std::move(store))
    , profileProvider_(std::move(profileProvider)) {}

std::vector<Layout> ProfileAwareLayoutStore::allLayouts() {
    return store_->allLayouts();
}

std::optional<Layout> ProfileAwareLayoutStore::layout(const DisplayId& displayId) {
    std::optional<LayoutProfile> profile = profileProvider_ ? profileProvider_() : std::nullopt;
    if (profile) {
        auto entry = profile->layouts.find(displayId);
        if (entry != profile->layouts.end()) {
            if (auto layout = store_->layout(entry->second)) return layout;
        }
    }
    return store_->layout(displayId);
}

std::optional<Layout> ProfileAwareLayoutStore::layout(const LayoutId& layoutId) {
    return store_->layout(layoutId);
}

void ProfileAwareLayoutStore::save(const Layout& layout) {
    store_->save(layout);
}

void ProfileAwareLayoutStore::deleteLayout(const LayoutId& layoutId) {
    store_->deleteLayout(layoutId);
}

} // namespace tilmora
