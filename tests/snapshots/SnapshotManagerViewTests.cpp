#include "SnapshotViewTest.hpp"

#include "snapshots/SnapshotManagerView.hpp"

#include "model/LocalizationManager.hpp"

#include "platform/control/SQLiteControl.hpp"
#include "support/TableRow.hpp"

#include <optional>
#include <vector>

namespace {

namespace decl = platform::ui::declarative;
using tilmora::GlobalShortcuts::Key;
using tilmora::GlobalShortcuts::Shortcut;

const platform::ModifierFlags ctrlOpt = platform::ModifierFlags::control | platform::ModifierFlags::option;

class ManagerViewTest : public SnapshotViewTest {
protected:
    void SetUp() override {
        SnapshotViewTest::SetUp();
        desk().run(app("com.example.notes", "Notes"), {axWindow("Todo", 100, 100, 600, 400)});
    }
    decl::ViewDriver& showManager() {
        return show([] { return decl::view<tilmora::SnapshotManagerView>(); });
    }
    std::string listIdentity() const {
        std::string identity;
        std::function<void(const decl::Element&)> walk = [&](const decl::Element& e) {
            if (e.node()->isList) identity = e.node()->identity;
            for (const auto& c : e.node()->children)
                walk(c);
        };
        walk(host->tree());
        return identity;
    }
    /// The names shown by the rows, top to bottom.
    std::vector<std::string> rowNames() {
        std::vector<std::string> names;
        for (const auto& s : context().fetchSnapshots())
            if (auto* n = driver->find("snapshot.name." + s->idText().value_or("new"))) names.push_back(n->text);
        return names;
    }
};

TEST_F(ManagerViewTest, TheSaveButtonWaitsForANameThatIsNotBlank) {
    auto& view = showManager();
    struct Case {
        const char* typed;
        bool enabled;
    };
    for (const Case& c : {Case{"", false}, Case{"   \t", false}, Case{"  a  ", true}, Case{"\n", true}}) {
        SCOPED_TRACE(c.typed);
        view.type("snapshot.nameField", c.typed);
        EXPECT_EQ(view.isEnabled("snapshot.save"), c.enabled);
    }
    EXPECT_EQ(view.find("snapshot.nameField")->placeholder, "Snapshot name");
    EXPECT_EQ(view.listRowCount(), 0u);
}

TEST_F(ManagerViewTest, SavesListNewestFirstAndRefreshTheListAfterwards) {
    auto& view = showManager();
    view.type("snapshot.nameField", "  a  ");
    const std::string before = listIdentity();
    ASSERT_TRUE(view.click("snapshot.save"));
    EXPECT_EQ(manager->savedNames, std::vector<std::string>{"  a  "});
    EXPECT_EQ(view.find("snapshot.nameField")->getText(), "");
    EXPECT_TRUE(hasLine("Snapshot '  a  ' saved successfully."));
    sim().runFor(0.2);
    host->rebuildIfNeeded();
    // The new row joins the list; the list itself (and the rows it has made) stays.
    EXPECT_EQ(listIdentity(), before);
    EXPECT_EQ(rowNames(), std::vector<std::string>{"a"});

    sim().runFor(1);
    view.type("snapshot.nameField", "b");
    ASSERT_TRUE(view.click("snapshot.save"));
    sim().runFor(0.2);
    host->rebuildIfNeeded();
    EXPECT_EQ(view.listRowCount(), 2u);
    EXPECT_EQ(rowNames(), (std::vector<std::string>{"b", "a"}));
    const auto snapshots = context().fetchSnapshots();
    const auto* separator = view.find("snapshot.separator." + *snapshots[0]->idText());
    ASSERT_NE(separator, nullptr);
    EXPECT_EQ(separator->frame->width, 900);
    EXPECT_EQ(separator->frame->height, 1);
    EXPECT_EQ(separator->fill, platform::ui::Color::separatorColor());
    EXPECT_FALSE(view.exists("snapshot.separator." + *snapshots[1]->idText()));
}

TEST_F(ManagerViewTest, AFailedSaveKeepsTheNameAndLogsTheSavesMessage) {
    auto& view = showManager();
    view.type("snapshot.nameField", "Work");
    const std::string before = listIdentity();
    platform::SQLiteControl::failNextCommit();
    ASSERT_TRUE(view.click("snapshot.save"));
    EXPECT_EQ(view.find("snapshot.nameField")->getText(), "Work");
    EXPECT_TRUE(hasLine("Failed to save snapshot: Failed to save snapshot: database or disk is full"));
    sim().runFor(0.2);
    host->rebuildIfNeeded();
    EXPECT_EQ(listIdentity(), before);
    EXPECT_EQ(view.listRowCount(), 0u);
}

TEST_F(ManagerViewTest, AStoreKeptInMemoryInsteadOfItsFileSaysWhyAndStillSaves) {
    using StandIn = tilmora::SnapshotContext::StandIn;
    const std::vector<testsupport::TableRow<std::optional<StandIn>, const char*>> rows = {
        {"the store file", std::nullopt, nullptr},
        {"in use", StandIn{"/u/SnapShot.sqlite", true},
         "The snapshot store /u/SnapShot.sqlite is in use by another program: new snapshots are kept only "
         "until Tilmora quits."},
        {"unusable", StandIn{"/u/SnapShot.sqlite", false},
         "The snapshot store /u/SnapShot.sqlite cannot be used: new snapshots are kept only until Tilmora "
         "quits."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        if (row.given) context().setStandsInFor(*row.given);
        auto& view = showManager();
        const auto* line = view.find("snapshot.storeNotice");
        EXPECT_EQ(line ? line->text : "", row.expected ? row.expected : "");
        EXPECT_FALSE(view.exists("snapshot.readOnlyNotice"));
        view.type("snapshot.nameField", "Work");
        EXPECT_TRUE(view.isEnabled("snapshot.save"));
    }
    tilmora::LocalizationManager::shared().setSelectedLanguageCode(std::string("de"));
    sim().drainMainQueue();
    host->rebuildIfNeeded();
    EXPECT_EQ(driver->find("snapshot.storeNotice")->text,
              "Der Snapshot-Speicher /u/SnapShot.sqlite kann nicht benutzt werden: Neue Snapshots bleiben nur "
              "erhalten, bis Tilmora beendet wird.");
}

TEST_F(ManagerViewTest, ListDeletionKeepsChordsAndUndoesExactlyItselfWhenTheSaveFails) {
    auto a = storeSnapshot("A", {});
    auto b = storeSnapshot("B", {});
    storeSnapshot("C", {});
    for (const auto& s : {a, b})
        for (const auto& name : {tilmora::SnapshotShortcuts::launchName(*s->idText()),
                                 tilmora::SnapshotShortcuts::quitName(*s->idText())})
            tilmora::GlobalShortcuts::setShortcut(Shortcut(Key::l, ctrlOpt), name);
    tilmora::GlobalShortcuts::setShortcut(Shortcut(Key::k, ctrlOpt), tilmora::SnapshotShortcuts::launchName(*a->idText()));
    auto& view = showManager();
    EXPECT_EQ(rowNames(), (std::vector<std::string>{"C", "B", "A"}));

    // A failing save brings both back, keeps a pending name of one of them, and says so.
    b->name = "B2"; // a rename whose save failed earlier
    platform::SQLiteControl::failNextCommit();
    ASSERT_TRUE(view.deleteRows({2, 1}));
    sim().runFor(0.2);
    host->rebuildIfNeeded();
    EXPECT_EQ(rowNames(), (std::vector<std::string>{"C", "B2", "A"}));
    EXPECT_EQ(lastToast(), (std::pair<std::string, std::string>{"Snapshot", "Could not delete the snapshot: database or disk is full"}));
    EXPECT_TRUE(context().hasChanges());

    // Deleting succeeds with one save; the four stored chords stay.
    const std::string aID = *a->idText(), bID = *b->idText();
    ASSERT_TRUE(view.deleteRows({1, 2}));
    EXPECT_FALSE(context().hasChanges());
    sim().runFor(0.2);
    host->rebuildIfNeeded();
    EXPECT_EQ(rowNames(), (std::vector<std::string>{"C"}));
    for (const auto& raw : {"launch-" + aID, "quit-" + aID, "launch-" + bID, "quit-" + bID})
        EXPECT_TRUE(stored(raw)) << raw;

    // The deleted snapshot's stored launch chord does nothing now.
    press(Shortcut(Key::k, ctrlOpt));
    EXPECT_TRUE(manager->restored.empty());
    EXPECT_FALSE(view.deleteRows({1}));
}

TEST_F(ManagerViewTest, ALaunchChordActsOnceAfterTheListWasRebuiltThreeTimes) {
    auto work = storeSnapshot("Work", {{"com.example.notes", "Notes"}});
    const Shortcut chord(Key::l, ctrlOpt);
    tilmora::GlobalShortcuts::setShortcut(chord, tilmora::SnapshotShortcuts::launchName(*work->idText()));
    auto& view = showManager();
    for (const char* name : {"x", "y", "z"}) {
        view.type("snapshot.nameField", name);
        ASSERT_TRUE(view.click("snapshot.save"));
        sim().runFor(0.2);
        host->rebuildIfNeeded();
    }
    EXPECT_EQ(view.listRowCount(), 4u);
    press(chord);
    EXPECT_EQ(manager->restored, std::vector<std::string>{"Work"});
}

TEST_F(ManagerViewTest, RowsAreMadeAsTheyComeIntoViewWhileEveryChordActsFromTheStart) {
    std::vector<std::shared_ptr<tilmora::Snapshot>> stored;
    for (int i = 0; i < 30; ++i)
        stored.push_back(storeSnapshot("S" + std::to_string(i), {}));
    const std::string oldest = *stored.front()->idText();
    const std::string newest = *stored.back()->idText();
    const Shortcut chord(Key::l, ctrlOpt);
    tilmora::GlobalShortcuts::setShortcut(chord, tilmora::SnapshotShortcuts::launchName(oldest));
    auto& view = showManager();
    EXPECT_EQ(view.listRowCount(), 30u);
    EXPECT_TRUE(view.exists("snapshot.name." + newest));
    EXPECT_FALSE(view.exists("snapshot.name." + oldest)) << "a row out of view is not made";
    press(chord);
    EXPECT_EQ(manager->restored, std::vector<std::string>{"S0"});

    ASSERT_TRUE(view.scrollList(29));
    EXPECT_TRUE(view.exists("snapshot.name." + oldest));
    EXPECT_FALSE(view.exists("snapshot.name." + newest));
    EXPECT_FALSE(view.exists("snapshot.separator." + oldest)) << "the last row has no line below it";
    ASSERT_TRUE(view.scrollList(0));
    EXPECT_TRUE(view.exists("snapshot.name." + newest));
}

/// The resolved tree as text: kinds, ids, texts and frames, without the host's own keys.
std::string treeText(const decl::Element& element) {
    std::string out;
    std::function<void(const decl::Element&, int)> walk = [&](const decl::Element& e, int depth) {
        const auto& n = *e.node();
        const auto& f = n.layoutFrame;
        out += std::string(std::size_t(depth), ' ') + std::to_string(int(n.kind)) + " " + n.identity + " \"" + n.text +
               "\" " + std::to_string(int(f.origin.x)) + "," + std::to_string(int(f.origin.y)) + " " +
               std::to_string(int(f.size.width)) + "x" + std::to_string(int(f.size.height)) +
               (n.resolvedEnabled ? "" : " disabled") + "\n";
        for (const auto& c : n.backgrounds)
            walk(c, depth + 1);
        for (const auto& c : n.children)
            walk(c, depth + 1);
        for (const auto& c : n.overlays)
            walk(c, depth + 1);
    };
    walk(element, 0);
    return out;
}

TEST_F(ManagerViewTest, AfterEveryChangeTheListLooksAsAFreshlyBuiltOne) {
    for (int i = 0; i < 12; ++i)
        storeSnapshot("S" + std::to_string(i), {{"com.example.notes", "Notes"}});
    showManager();
    auto live = host;
    auto& view = *driver;
    const auto settle = [&] {
        sim().runFor(0.2);
        live->rebuildIfNeeded();
    };
    const auto fresh = [&] {
        auto keep = std::move(driver);
        auto keepHost = host;
        showManager();
        const std::string text = treeText(host->tree());
        driver = std::move(keep);
        host = keepHost;
        return text;
    };
    const auto top = [&] { return *context().fetchSnapshots().front()->idText(); };
    const std::vector<std::pair<const char*, std::function<void()>>> changes = {
        {"saved", [&] {
             view.type("snapshot.nameField", "Fresh");
             view.click("snapshot.save");
         }},
        {"renamed", [&] {
             platform::ui::UISimulator::scriptAlertResponse(platform::ui::AlertResponse::press(0, "Renamed"));
             view.click("snapshot.rename." + top());
         }},
        {"deleted from the row", [&] { view.click("snapshot.delete." + top()); }},
        {"deleted from the list", [&] { view.deleteRows({0, 3}); }},
        {"stored elsewhere", [&] { storeSnapshot("Elsewhere", {}); }},
    };
    for (const auto& [what, change] : changes) {
        SCOPED_TRACE(what);
        change();
        settle();
        const std::string incremental = treeText(live->tree());
        ASSERT_EQ(incremental, fresh());
    }
}

TEST_F(ManagerViewTest, TextsFollowTheChosenLanguage) {
    auto& view = showManager();
    EXPECT_EQ(view.find("snapshot.nameField")->placeholder, "Snapshot name");
    tilmora::LocalizationManager::shared().setSelectedLanguageCode(std::string("de"));
    sim().drainMainQueue();
    host->rebuildIfNeeded();
    EXPECT_EQ(view.find("snapshot.nameField")->placeholder, "Name des Snapshots");
}

// The whole road: save the desktop, quit its applications from the row, delete the row.
TEST_F(ManagerViewTest, EndToEndSaveQuitAndDelete) {
    manager->quitAnswer.reset();
    auto& view = showManager();
    view.type("snapshot.nameField", "Everything");
    ASSERT_TRUE(view.click("snapshot.save"));
    sim().runFor(0.2);
    host->rebuildIfNeeded();
    ASSERT_EQ(view.listRowCount(), 1u);
    const std::string id = *context().fetchSnapshots()[0]->idText();

    ASSERT_TRUE(view.click("snapshot.quit." + id));
    sim().runFor(3);
    EXPECT_TRUE(desk().pids("com.example.notes").empty());
    EXPECT_EQ(lastToast(), (std::pair<std::string, std::string>{"Snapshot", "Quit the apps of \"Everything\"."}));
    bool todoOpen = false;
    for (const auto& w : desk().allWindows())
        if (w.title == "Todo") todoOpen = true;
    EXPECT_FALSE(todoOpen);

    ASSERT_TRUE(view.click("snapshot.delete." + id));
    sim().runFor(0.2);
    host->rebuildIfNeeded();
    EXPECT_EQ(view.listRowCount(), 0u);
}

} // namespace
