#pragma once

#include "model/LayoutProfile.hpp"
#include "model/LayoutStore.hpp"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace tilmora {

/// A layout store that answers "which layout should this display use" through the layout profile
/// in force, and passes every other call to the store it wraps. It keeps no state of its own.
/// Any thread, though `layout(for display)` calls its provider on the caller's thread, and the
/// shell's provider reads the screens, which belongs on the main thread.
class ProfileAwareLayoutStore : public LayoutStore {
public:
    /// Yields the profile in force when asked, or none.
    using ProfileProvider = std::function<std::optional<LayoutProfile>()>;

    ProfileAwareLayoutStore(std::shared_ptr<LayoutStore> store, ProfileProvider profileProvider);

    std::vector<Layout> allLayouts() override;
    /// The layout that the profile in force names for `displayId` when the wrapped store holds
    /// it; otherwise the wrapped store's own first layout for that display.
    std::optional<Layout> layout(const DisplayId& displayId) override;
    std::optional<Layout> layout(const LayoutId& layoutId) override;
    void save(const Layout& layout) override;
    void deleteLayout(const LayoutId& layoutId) override;

    const std::shared_ptr<LayoutStore>& store() const { return store_; }

private:
    std::shared_ptr<LayoutStore> store_;
    ProfileProvider profileProvider_;
};

} // namespace tilmora
