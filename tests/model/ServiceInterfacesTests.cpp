#include "model/DisplayProvider.hpp"
#include "model/LayoutStore.hpp"
#include "model/ProfileStore.hpp"
#include "model/WindowMutator.hpp"
#include "model/WindowProvider.hpp"

#include <gtest/gtest.h>

#include <type_traits>

using namespace tilmora;

static_assert(std::is_abstract_v<DisplayProvider>);
static_assert(std::is_abstract_v<WindowMutator>);
static_assert(std::is_abstract_v<LayoutStore>);
static_assert(std::is_abstract_v<ProfileStore>);
static_assert(std::has_virtual_destructor_v<WindowProvider>);

namespace {

/// The least a store can be: the two `layout` lookups must stay distinct overloads for callers
/// that pass a display key as a text literal.
class OneLayoutStore : public LayoutStore {
public:
    explicit OneLayoutStore(Layout layout)
        : layout_(std::move(layout)) {}
    std::vector<Layout> allLayouts() override { return {layout_}; }
    std::optional<Layout> layout(const DisplayId& displayId) override {
        return displayId == layout_.displayId ? std::optional(layout_) : std::nullopt;
    }
    std::optional<Layout> layout(const LayoutId& id) override {
        return id == layout_.id ? std::optional(layout_) : std::nullopt;
    }
    void save(const Layout& layout) override { layout_ = layout; }
    void deleteLayout(const LayoutId&) override {}

private:
    Layout layout_;
};

} // namespace

TEST(ServiceInterfaces, LayoutLookupsResolveByArgumentType) {
    const Layout layout{LayoutId(platform::UUID()), "L", DisplayId("1"), {}};
    OneLayoutStore concrete(layout);
    LayoutStore& store = concrete;
    EXPECT_EQ(store.layout("1"), layout);
    EXPECT_EQ(store.layout(layout.id), layout);
    EXPECT_EQ(store.layout(LayoutId(platform::UUID())), std::nullopt);
}
