#include "UiTestFixture.hpp"

#include "platform/control/ViewDriver.hpp"

namespace dv = platform::ui::declarative;
using namespace platform::ui;

namespace {

/// A list of named rows; the first row hides its separator when asked. Deletions remove rows.
struct Rows : dv::Component<Rows> {
    std::vector<std::string>* names = nullptr;
    std::vector<std::vector<std::size_t>>* deletions = nullptr;
    bool firstHidesSeparator = false;
    Rows(std::vector<std::string>* names, std::vector<std::vector<std::size_t>>* deletions, bool firstHidesSeparator)
        : names(names)
        , deletions(deletions)
        , firstHidesSeparator(firstHidesSeparator) {}
    dv::Element body() override {
        std::vector<dv::Element> rows;
        for (std::size_t i = 0; i < names->size(); ++i) {
            dv::Element row = dv::Text((*names)[i]).id("row." + (*names)[i]);
            if (i == 1) row.listRowInsets(EdgeInsets{1, 2, 3, 4}).listRowBackground(Color::systemOrange());
            if (i == 0 && firstHidesSeparator) row.listRowSeparatorHidden();
            rows.push_back(row);
        }
        auto* log = deletions;
        auto* list = names;
        dv::Element l = dv::List(std::move(rows));
        l.listStyle("plain").id("list");
        l.onDelete([log, list](const std::vector<std::size_t>& offsets) {
            log->push_back(offsets);
            for (auto it = offsets.rbegin(); it != offsets.rend(); ++it)
                list->erase(list->begin() + static_cast<long>(*it));
        });
        return l;
    }
};

/// Counts the dividers under the list's cells.
std::size_t dividers(const dv::Node& list) {
    std::size_t n = 0;
    for (const auto& cell : list.children[0].node()->children)
        for (const auto& part : cell.node()->children)
            if (part.node()->kind == dv::NodeKind::divider) ++n;
    return n;
}

} // namespace

class DeclarativeListTest : public UiTest {};

TEST_F(DeclarativeListTest, RowsCarryInsetsBackgroundsAndSeparatorsBetweenThem) {
    struct Case {
        const char* label;
        std::vector<std::string> names;
        bool firstHidesSeparator;
        std::size_t separators;
    };
    const Case cases[] = {
        {"three rows", {"a", "b", "c"}, false, 2},
        {"first hides its separator", {"a", "b", "c"}, true, 1},
        {"one row", {"a"}, false, 0},
        {"no rows", {}, false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        auto names = c.names;
        std::vector<std::vector<std::size_t>> deletions;
        dv::HostingView host(std::make_shared<Rows>(&names, &deletions, c.firstHidesSeparator), {0, 0, 400, 300});
        dv::ViewDriver d(host);
        EXPECT_EQ(d.listRowCount(), c.names.size());
        EXPECT_EQ(d.listRowCount("list"), c.names.size());
        EXPECT_EQ(d.listRowCount("other"), 0u);
        const auto* list = d.find("list");
        ASSERT_NE(list, nullptr);
        EXPECT_TRUE(list->isList);
        EXPECT_EQ(list->listStyle, "plain");
        EXPECT_EQ(dividers(*list), c.separators);
        if (c.names.size() > 1) {
            // The second row sits in its insets over its background.
            const auto& cell = *list->children[0].node()->children[1].node();
            const auto& padded = cell.children.empty() || cell.children[0].node()->kind != dv::NodeKind::vstack
                                     ? cell
                                     : *cell.children[0].node();
            EXPECT_EQ(padded.padding, (EdgeInsets{1, 2, 3, 4}));
            ASSERT_EQ(padded.backgrounds.size(), 1u);
            EXPECT_EQ(padded.backgrounds[0].node()->color, Color::systemOrange());
        }
    }
}

TEST_F(DeclarativeListTest, DeletingRowsHandsTheOffsetsSortedOnce) {
    struct Case {
        const char* label;
        std::vector<std::size_t> offsets;
        bool accepted;
        std::vector<std::string> left;
    };
    const Case cases[] = {
        {"two rows out of order", {2, 0, 2}, true, {"b"}},
        {"one row", {1}, true, {"a", "c"}},
        {"out of range", {3}, false, {"a", "b", "c"}},
        {"nothing", {}, false, {"a", "b", "c"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        std::vector<std::string> names{"a", "b", "c"};
        std::vector<std::vector<std::size_t>> deletions;
        dv::HostingView host(std::make_shared<Rows>(&names, &deletions, false), {0, 0, 400, 300});
        dv::ViewDriver d(host);
        EXPECT_EQ(d.deleteRows(c.offsets), c.accepted);
        EXPECT_EQ(names, c.left);
        if (c.accepted) {
            ASSERT_EQ(deletions.size(), 1u);
            EXPECT_TRUE(std::is_sorted(deletions[0].begin(), deletions[0].end()));
            EXPECT_EQ(std::adjacent_find(deletions[0].begin(), deletions[0].end()), deletions[0].end());
            host.setNeedsRebuild();
            host.rebuildIfNeeded();
            EXPECT_EQ(d.listRowCount(), c.left.size());
        } else {
            EXPECT_TRUE(deletions.empty());
        }
    }
}

TEST_F(DeclarativeListTest, HoverTellsTheElementThePointerEnteredAndLeft) {
    struct Hover : dv::Component<Hover> {
        std::vector<bool>* seen;
        explicit Hover(std::vector<bool>* seen)
            : seen(seen) {}
        dv::Element body() override {
            auto* log = seen;
            return dv::VStack(dv::Alignment::center, 0,
                              {dv::Text("hot").onHover([log](bool inside) { log->push_back(inside); }), dv::Text("cold")});
        }
    };
    std::vector<bool> seen;
    dv::HostingView host(std::make_shared<Hover>(&seen), {0, 0, 200, 100});
    dv::ViewDriver d(host);
    EXPECT_TRUE(d.hover("hot", true));
    EXPECT_TRUE(d.hover("hot", false));
    EXPECT_FALSE(d.hover("cold", true));
    EXPECT_FALSE(d.hover("missing", true));
    EXPECT_EQ(seen, (std::vector<bool>{true, false}));
}
