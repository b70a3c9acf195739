#include "SnapshotViewTest.hpp"

#include "snapshots/SnapshotRow.hpp"

#include "model/LocalizationManager.hpp"
#include "model/Settings.hpp"

#include "platform/control/SQLiteControl.hpp"
#include "platform/ui/Cursor.hpp"
#include "platform/ui/TextField.hpp"

namespace {

using platform::ui::AlertResponse;
using platform::ui::UISimulator;
using tilmora::GlobalShortcuts::Key;
using tilmora::GlobalShortcuts::Shortcut;
namespace decl = platform::ui::declarative;

const platform::ModifierFlags rowCtrlOpt = platform::ModifierFlags::control | platform::ModifierFlags::option;
const Shortcut launchChord(Key::l, rowCtrlOpt);
const Shortcut quitChord(Key::q, rowCtrlOpt);

class RowTest : public SnapshotViewTest {
protected:
    decl::ViewDriver& showRow(const std::shared_ptr<tilmora::Snapshot>& snapshot) {
        return show([snapshot] { return decl::view<tilmora::SnapshotRow>(snapshot); });
    }
    std::shared_ptr<tilmora::Snapshot> work() {
        return storeSnapshot("Work", {{"com.example.notes", "Notes"}});
    }
};

TEST_F(RowTest, QuitShowsItsStartAndResultNoEarlierThanOneSecondAndResetsWhenAsked) {
    struct Case {
        const char* label;
        double completesAfterStart;
        bool success;
        std::optional<bool> autoReset; // none: the setting is absent
        double resultAfterStart;
        const char* result;
        int resets;
    };
    const Case cases[] = {
        {"quick", 0.3, true, false, 1.0, "Quit the apps of \"Work\".", 0},
        {"slow", 2.0, true, true, 2.0, "Quit the apps of \"Work\".", 1},
        {"failed", 0.3, false, true, 1.0, "Not all apps could be quit: broken\n", 1},
        {"setting absent", 0.3, true, std::nullopt, 1.0, "Quit the apps of \"Work\".", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        toasts->panel->contents.clear();
        resets = 0;
        if (c.autoReset)
            platform::UserDefaults::standard().set(*c.autoReset,
                                                   tilmora::settings::autoResetSnapshotQuit.key);
        else
            platform::UserDefaults::standard().removeObjectForKey(
                tilmora::settings::autoResetSnapshotQuit.key);
        // The quit is asked for 0.1 s after the start.
        manager->quitAnswer =
            FakeSnapshotManager::QuitAnswer{c.completesAfterStart - 0.1, c.success, "broken\n"};
        auto& view = showRow(work());
        const double caseStart = sim().now();
        ASSERT_TRUE(view.click("Quit"));
        const double start = sim().now() - caseStart;
        EXPECT_EQ(toastTexts(), (std::vector<std::pair<std::string, std::string>>{
                                    {"Snapshot", "Quitting the apps of \"Work\"…"}}));
        EXPECT_NEAR(start, 0.01, 1e-9);
        sim().runFor(c.resultAfterStart - 0.005);
        EXPECT_EQ(toastTexts().size(), 1u);
        sim().runFor(0.01);
        EXPECT_EQ(lastToast(), (std::pair<std::string, std::string>{"Snapshot", c.result}));
        EXPECT_EQ(resets, c.resets);
        EXPECT_EQ(manager->quitNames.back(), "Work");
    }
}

TEST_F(RowTest, RenameTrimsAndReportsEveryOutcome) {
    struct Case {
        const char* label;
        std::optional<std::string> name;
        AlertResponse answer;
        bool failSave;
        std::optional<std::string> storedAfter; // the name in the context
        std::optional<std::pair<std::string, std::string>> toast;
        std::string proposed;
    };
    const Case cases[] = {
        {"trimmed", "Old", AlertResponse::press(0, "  New  "), false, "New",
         std::pair<std::string, std::string>{"Notification", "Snapshot renamed to 'New'."}, "Old"},
        {"blank", "Old", AlertResponse::press(0, "   "), false, "Old",
         std::pair<std::string, std::string>{"Notification", "Snapshot name cannot be empty."}, "Old"},
        {"cancelled", "Old", AlertResponse::pressTitled("Cancel", "Other"), false, "Old", std::nullopt,
         "Old"},
        {"closed", "Old", AlertResponse::close(), false, "Old", std::nullopt, "Old"},
        {"nameless", std::nullopt, AlertResponse::press(1), false, std::nullopt, std::nullopt, "Unnamed"},
        {"save fails", "Old", AlertResponse::press(0, "New"), true, "New",
         std::pair<std::string, std::string>{"Notification",
                                             "Failed to rename snapshot: database or disk is full"},
         "Old"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        toasts->panel->contents.clear();
        auto snapshot = storeSnapshot(c.name, {});
        auto& view = showRow(snapshot);
        const std::string id = *snapshot->idText();
        std::string proposed;
        UISimulator::setAlertResponder([&](const platform::ui::Alert& alert) {
            if (auto* field = dynamic_cast<platform::ui::TextField*>(alert.accessoryView.get())) {
                proposed = field->stringValue();
                EXPECT_EQ(field->frame().size, (platform::ui::Size{300, 24}));
            }
            return c.answer;
        });
        if (c.failSave) platform::SQLiteControl::failNextCommit();
        ASSERT_TRUE(view.click("snapshot.rename." + id));
        const auto& alert = UISimulator::alertLog().back();
        EXPECT_EQ(alert.messageText, "Rename Snapshot");
        EXPECT_EQ(alert.informativeText, "Enter a new name for the snapshot '" + c.proposed + "':");
        EXPECT_EQ(alert.style, platform::ui::AlertStyle::informational);
        EXPECT_EQ(alert.buttonTitles, (std::vector<std::string>{"Rename", "Cancel"}));
        EXPECT_EQ(proposed, c.proposed);
        EXPECT_EQ(snapshot->name, c.storedAfter);
        if (c.toast) {
            EXPECT_EQ(toastTexts(), (std::vector<std::pair<std::string, std::string>>{*c.toast}));
        } else {
            EXPECT_TRUE(toastTexts().empty());
        }
        if (!c.failSave && c.storedAfter) {
            // The card shows the stored name.
            EXPECT_EQ(view.find("snapshot.name." + id)->text, *c.storedAfter);
        }
        if (c.failSave) {
            // The new name stays pending and goes out with the next save.
            EXPECT_TRUE(context().hasChanges());
            context().save();
            EXPECT_FALSE(context().hasChanges());
        }
    }
}

TEST_F(RowTest, DeleteClearsBothChordsOnlyWhenSaved) {
    struct Case {
        const char* label;
        bool failSave;
    };
    for (const auto& c : {Case{"saved", false}, Case{"save fails", true}}) {
        SCOPED_TRACE(c.label);
        toasts->panel->contents.clear();
        auto snapshot = work();
        const std::string id = *snapshot->idText();
        tilmora::GlobalShortcuts::setShortcut(launchChord, tilmora::SnapshotShortcuts::launchName(id));
        tilmora::GlobalShortcuts::setShortcut(quitChord, tilmora::SnapshotShortcuts::quitName(id));
        std::vector<std::string> changed;
        auto token = platform::NotificationCenter::defaultCenter().addObserver(
            tilmora::GlobalShortcuts::shortcutByNameDidChangeNotification, nullptr,
            [&](const platform::Notification& n) { changed.push_back(*n.userInfo.at("name").asString()); });
        auto& view = showRow(snapshot);
        if (c.failSave) platform::SQLiteControl::failNextCommit();
        ASSERT_TRUE(view.click("snapshot.delete." + id));
        platform::NotificationCenter::defaultCenter().removeObserver(token);
        if (c.failSave) {
            EXPECT_TRUE(changed.empty());
            EXPECT_TRUE(stored("launch-" + id));
            EXPECT_TRUE(stored("quit-" + id));
            EXPECT_EQ(lastToast(),
                      (std::pair<std::string, std::string>{
                          "Snapshot", "Could not delete the snapshot: database or disk is full"}));
        } else {
            EXPECT_EQ(changed, (std::vector<std::string>{"launch-" + id, "quit-" + id}));
            EXPECT_FALSE(stored("launch-" + id));
            EXPECT_FALSE(stored("quit-" + id));
            EXPECT_EQ(lastToast(),
                      (std::pair<std::string, std::string>{"Snapshot", "Deleted the snapshot \"Work\"."}));
            EXPECT_EQ(context().snapshotWithID(id), nullptr);
        }
    }
}

TEST_F(RowTest, ChordsActOncePerPressHoweverOftenTheRowIsShown) {
    auto snapshot = work();
    const std::string id = *snapshot->idText();
    tilmora::GlobalShortcuts::setShortcut(launchChord, tilmora::SnapshotShortcuts::launchName(id));
    tilmora::GlobalShortcuts::setShortcut(quitChord, tilmora::SnapshotShortcuts::quitName(id));
    manager->quitAnswer = FakeSnapshotManager::QuitAnswer{0.1, true, ""};
    for (int shown = 0; shown < 4; ++shown)
        showRow(snapshot);
    press(launchChord);
    EXPECT_EQ(manager->restored, std::vector<std::string>{"Work"});
    int launching = 0;
    for (const auto& [title, message] : toastTexts())
        if (title == "Launching Snapshot") ++launching;
    EXPECT_EQ(launching, 1);
    press(quitChord);
    sim().runFor(2);
    EXPECT_EQ(manager->quitNames, std::vector<std::string>{"Work"});
}

TEST_F(RowTest, WithoutAServiceTheLaunchChordRestoresThroughTheStoresContext) {
    withService = false;
    desk().install(notesApp());
    auto snapshot = work();
    tilmora::GlobalShortcuts::setShortcut(launchChord,
                                          tilmora::SnapshotShortcuts::launchName(*snapshot->idText()));
    for (int shown = 0; shown < 3; ++shown)
        showRow(snapshot);
    press(launchChord);
    int launching = 0;
    for (const auto& [title, message] : toastTexts())
        if (title == "Launching Snapshot") ++launching;
    EXPECT_EQ(launching, 1);
    sim().runFor(10);
    EXPECT_EQ(desk().pids("com.example.notes").size(), 1u);
    EXPECT_TRUE(manager->restored.empty());
}

TEST_F(RowTest, TooltipNameAndColoursFollowTheSnapshotAndTheAppearance) {
    struct Case {
        const char* label;
        std::optional<std::string> name;
        std::vector<std::pair<std::string, std::optional<std::string>>> apps;
        std::string shown;
        std::string tooltip;
    };
    const Case cases[] = {
        {"sorted with repeats",
         "  Work  ",
         {{"com.apple.Safari", "Safari"},
          {"com.example.notes", "Notes"},
          {"com.example.notes", "Notes"},
          {"com.apple.mail", "Mail"}},
         "Work",
         "Mail, Notes, Notes, Safari"},
        {"no app names", std::nullopt, {{"com.example.notes", std::nullopt}}, "Unnamed", "No apps saved"},
        {"blank name", "   ", {}, "Unnamed", "No apps saved"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        auto snapshot = storeSnapshot(c.name, c.apps);
        auto& view = showRow(snapshot);
        const auto* name = view.find("snapshot.name." + *snapshot->idText());
        ASSERT_NE(name, nullptr);
        EXPECT_EQ(name->text, c.shown);
        EXPECT_EQ(name->helpText, c.tooltip);
    }

    auto snapshot = work();
    const std::string id = *snapshot->idText();
    for (bool isDark : {false, true}) {
        SCOPED_TRACE(isDark);
        dark = isDark;
        auto& view = showRow(snapshot);
        const auto card = view.find("snapshot.card." + id)->children[0].node();
        ASSERT_EQ(card->backgrounds.size(), 1u);
        EXPECT_EQ(card->backgrounds[0].node()->fill,
                  isDark ? platform::ui::Color::white(0.15) : platform::ui::Color::controlBackgroundColor());
        EXPECT_EQ(card->overlays[0].node()->stroke->color,
                  isDark ? platform::ui::Color::white(0.25) : platform::ui::Color::separatorColor());
    }
    auto& view = showRow(snapshot);
    EXPECT_EQ(view.find("snapshot.quit." + id)->style.color, platform::ui::Color::systemOrange());

    // The pointing hand while the pointer is over the name.
    ASSERT_TRUE(view.hover("snapshot.name." + id, true));
    EXPECT_EQ(platform::ui::Cursor::current(), "pointingHand");
    EXPECT_EQ(UISimulator::cursorStackDepth(), 1u);
    ASSERT_TRUE(view.hover("snapshot.name." + id, false));
    EXPECT_EQ(UISimulator::cursorStackDepth(), 0u);
    EXPECT_EQ(platform::ui::Cursor::current(), "arrow");
}

TEST_F(RowTest, TextsFollowTheChosenLanguage) {
    auto snapshot = storeSnapshot(std::nullopt, {});
    auto& view = showRow(snapshot);
    EXPECT_TRUE(view.hasText("Unnamed"));
    EXPECT_TRUE(view.exists("Launch"));
    tilmora::LocalizationManager::shared().setSelectedLanguageCode(std::string("de"));
    sim().drainMainQueue();
    host->rebuildIfNeeded();
    EXPECT_FALSE(view.exists("Launch"));
}

} // namespace
