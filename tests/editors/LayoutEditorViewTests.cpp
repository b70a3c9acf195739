#include "LayoutEditorFixture.hpp"

#include "editors/LayoutPreviewView.hpp"

#include "platform/control/ViewDriver.hpp"
#include "platform/foundation/Date.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "platform/ui/Window.hpp"

#include <gtest/gtest.h>

using namespace layouteditortest;
namespace decl = platform::ui::declarative;
namespace ui = platform::ui;
using tilmora::LayoutEditorView;
using tilmora::ProfileId;

namespace {

/// An editor of display "1" hosted in a shown window, driven like a user.
struct OpenEditor {
    std::shared_ptr<ui::Window> window;
    std::shared_ptr<decl::HostingController> controller;
    std::shared_ptr<LayoutEditorView> view;
    std::unique_ptr<decl::ViewDriver> driver;

    const Layout& layout() const { return view->viewModel->layout.get(); }
    /// Closes the window and shows it again.
    void reopen() {
        window->close();
        window->makeKeyAndOrderFront();
        controller->hostingView().rebuildIfNeeded();
    }
};

std::vector<tilmora::Rect> viewFramesOf(const Layout& layout) {
    std::vector<tilmora::Rect> frames;
    for (auto& t : layout.tiles)
        frames.push_back(t.normalizedFrame);
    return frames;
}

std::vector<std::string> namesOf(const std::vector<LayoutProfile>& profiles) {
    std::vector<std::string> names;
    for (auto& p : profiles)
        names.push_back(p.name);
    return names;
}

} // namespace

class LayoutEditorViewTest : public LayoutEditorTest {
protected:
    void TearDown() override {
        platform::Date::setNowProvider({});
        LayoutEditorTest::TearDown();
    }

    OpenEditor open(std::shared_ptr<tilmora::ProfileController> profileController = nullptr) {
        OpenEditor editor;
        editor.controller = LayoutEditorView::makeController(display("1"), layoutStore, profileStore,
                                                             profileController ? profileController : controller,
                                                             displays);
        editor.view = std::static_pointer_cast<LayoutEditorView>(editor.controller->hostingView().rootView());
        editor.window = std::make_shared<ui::Window>(ui::Rect{0, 0, 720, 560},
                                                     ui::StyleMask::titled | ui::StyleMask::closable |
                                                         ui::StyleMask::miniaturizable | ui::StyleMask::resizable);
        editor.window->setContentViewController(editor.controller);
        editor.window->makeKeyAndOrderFront();
        editor.driver = std::make_unique<decl::ViewDriver>(editor.controller->hostingView());
        return editor;
    }

    /// The status line's text and colour; none while it is hidden.
    static std::optional<std::pair<std::string, ui::Color>> status(const OpenEditor& editor) {
        auto* line = editor.driver->find("layout.status");
        if (!line) return std::nullopt;
        return std::make_pair(line->text, line->style.color.value_or(ui::Color()));
    }
};

TEST_F(LayoutEditorViewTest, TheFirstShowingSelectsLeftAndThePickerFollowsTheActiveProfile) {
    auto matching = profile("Desk", {"1"});
    auto otherCount = profile("Dual", {"1", "2"});
    auto secondDual = profile("Dual 2", {"3", "4"});
    struct Case {
        std::string name;
        std::vector<LayoutProfile> listed;
        std::vector<LayoutProfile> controllerSees; // what the profile controller's own store holds
        std::optional<ProfileId> picked;
    };
    const std::vector<Case> cases = {
        {"the active profile, though the list lacks it", {}, {matching}, matching.id},
        {"the active profile", {otherCount, matching}, {otherCount, matching}, matching.id},
        {"no active profile: the first listed", {otherCount, secondDual}, {otherCount, secondDual}, otherCount.id},
        {"no profiles: nothing", {}, {}, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        profileStore->profiles = c.listed;
        auto seen = std::make_shared<FakeProfileStore>();
        seen->profiles = c.controllerSees;
        auto editor = open(std::make_shared<tilmora::ProfileController>(displays, seen));
        EXPECT_EQ(editor.view->selectedTileId.get(), editor.layout().tiles[0].id);
        EXPECT_EQ(editor.layout().tiles[0].label, "Left");
        EXPECT_EQ(editor.view->profiles.get(), c.listed);
        EXPECT_EQ(editor.view->selectedProfileId.get(), c.picked);
        EXPECT_EQ(status(editor), std::nullopt);
    }
}

TEST_F(LayoutEditorViewTest, ClosingAndShowingTheWindowAgainRereadsTheProfilesAndKeepsTheSelection) {
    profileStore->profiles = {profile("Desk", {"1"})};
    auto editor = open();
    EXPECT_EQ(profileStore->listings > 0, true);
    ASSERT_TRUE(editor.driver->click("Right"));
    const TileId right = editor.layout().tiles[1].id;
    EXPECT_EQ(editor.view->selectedTileId.get(), right);

    profileStore->profiles.push_back(profile("Sofa", {"1"}));
    editor.driver->click("Reset"); // a rebuild while shown reads nothing
    EXPECT_EQ(namesOf(editor.view->profiles.get()), (std::vector<std::string>{"Desk"}));
    editor.reopen();
    EXPECT_EQ(namesOf(editor.view->profiles.get()), (std::vector<std::string>{"Desk", "Sofa"}));
    EXPECT_EQ(editor.view->selectedTileId.get(), right); // a selection is kept, even of a removed tile

    profileStore->listingFails = true;
    editor.reopen();
    EXPECT_TRUE(editor.view->profiles.get().empty());
    EXPECT_EQ(editor.view->selectedProfileId.get(), std::nullopt);
    EXPECT_EQ(status(editor), std::nullopt);
}

TEST_F(LayoutEditorViewTest, SplitButtonsSplitTheSelectionOrTheFirstTileAndSelectTheFirstHalf) {
    auto editor = open();
    ASSERT_TRUE(editor.driver->click("Split Vertical"));
    EXPECT_EQ(viewFramesOf(editor.layout()),
              (std::vector<tilmora::Rect>{{0, 0, 0.25, 1}, {0.25, 0, 0.25, 1}, {0.5, 0, 0.5, 1}}));
    EXPECT_EQ(editor.view->selectedTileId.get(), editor.layout().tiles[0].id);
    ASSERT_TRUE(editor.driver->click("Split Vertical"));
    EXPECT_EQ(viewFramesOf(editor.layout()), (std::vector<tilmora::Rect>{
                                             {0, 0, 0.125, 1}, {0.125, 0, 0.125, 1}, {0.25, 0, 0.25, 1}, {0.5, 0, 0.5, 1}}));
    // A click on "Right" in the window's preview, whose box fills at least 500 x 320 points.
    const auto area = editor.driver->find("layout.preview")->layoutFrame.size;
    EXPECT_GE(area.height, 320);
    const auto box = tilmora::LayoutPreviewView::boxRect(area, 1440.0 / 875.0);
    EXPECT_NEAR(box.size.height, area.height, 1e-9);
    ASSERT_TRUE(editor.driver->tap("layout.preview", {box.origin.x + box.size.width * 0.75, box.size.height * 0.5}));
    ASSERT_TRUE(editor.driver->click("Split Horizontal"));
    EXPECT_EQ(viewFramesOf(editor.layout()).back(), (tilmora::Rect{0.5, 0.5, 0.5, 0.5}));
    EXPECT_EQ(editor.view->selectedTileId.get(), editor.layout().tiles[3].id);
    EXPECT_TRUE(layoutStore->saved.empty());

    // After "Reset" the selection names a removed tile: the buttons change nothing.
    ASSERT_TRUE(editor.driver->click("Reset"));
    const Layout reset = editor.layout();
    ASSERT_TRUE(editor.driver->click("Split Vertical"));
    ASSERT_TRUE(editor.driver->click("Split Horizontal"));
    EXPECT_EQ(editor.layout(), reset);
}

TEST_F(LayoutEditorViewTest, WithNothingSelectedTheButtonsSplitTheFirstTileAndAnEmptyLayoutNothing) {
    layoutStore->layouts = {layoutOf("1", {})};
    auto editor = open();
    EXPECT_EQ(editor.view->selectedTileId.get(), std::nullopt);
    ASSERT_TRUE(editor.driver->click("Split Vertical"));
    ASSERT_TRUE(editor.driver->click("Split Horizontal"));
    EXPECT_TRUE(editor.layout().tiles.empty());
    EXPECT_EQ(editor.view->selectedTileId.get(), std::nullopt);

    ASSERT_TRUE(editor.driver->click("Reset"));
    ASSERT_TRUE(editor.driver->click("Split Vertical"));
    EXPECT_EQ(viewFramesOf(editor.layout()),
              (std::vector<tilmora::Rect>{{0, 0, 0.25, 1}, {0.25, 0, 0.25, 1}, {0.5, 0, 0.5, 1}}));
    EXPECT_EQ(editor.driver->texts()[1], "Left"); // the preview's captions follow the layout
}

TEST_F(LayoutEditorViewTest, SaveClosesTheHostingWindowEvenWhenAnotherIsKeyAndAFailureKeepsItOpen) {
    struct Case {
        std::string name;
        std::optional<std::string> error;
        std::string text;
        ui::Color color;
        bool staysOpen;
    };
    const std::vector<Case> cases = {
        {"saved", std::nullopt, "Saved", ui::Color::systemGreen(), false},
        {"refused", "write failed", "write failed", ui::Color::systemRed(), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        layoutStore->saveError = c.error;
        layoutStore->saved.clear();
        layoutStore->layouts.clear();
        auto editor = open();
        ASSERT_TRUE(editor.driver->click("Split Vertical"));
        auto other = std::make_shared<ui::Window>(ui::Rect{50, 50, 200, 100}, ui::StyleMask::titled);
        other->makeKeyAndOrderFront();
        ASSERT_TRUE(other->isKeyWindow());

        ASSERT_TRUE(editor.driver->click("Save"));
        EXPECT_EQ(editor.view->errorMessage.get(), c.text);
        EXPECT_EQ(status(editor), std::make_pair(c.text, c.color));
        EXPECT_EQ(editor.window->isVisible(), c.staysOpen);
        EXPECT_TRUE(other->isVisible());
        if (c.error) {
            EXPECT_TRUE(layoutStore->saved.empty());
        } else {
            ASSERT_EQ(layoutStore->saved.size(), 1u);
            EXPECT_EQ(layoutStore->saved[0], editor.layout());
        }
        EXPECT_EQ(editor.layout().tiles.size(), 3u);
    }

    // Without a hosting window the layout is saved and nothing closes.
    layoutStore->saveError.reset();
    auto other = std::make_shared<ui::Window>(ui::Rect{50, 50, 200, 100}, ui::StyleMask::titled);
    other->makeKeyAndOrderFront();
    auto loose = LayoutEditorView::makeController(display("1"), layoutStore, profileStore, controller, displays);
    decl::ViewDriver driver(loose->hostingView());
    ASSERT_TRUE(driver.click("Save"));
    EXPECT_TRUE(other->isVisible());
    EXPECT_TRUE(driver.hasText("Saved"));
}

TEST_F(LayoutEditorViewTest, SavingTheCurrentLayoutsAsAProfile) {
    platform::Date::setNowProvider([] { return 1733712345.5; });
    displays->displays = {display("2"), display("1")};
    Layout forOne = layoutOf("1", {tile({0, 0, 1, 1}, "All")});
    layoutStore->layouts = {forOne};
    auto editor = open();
    const Layout edited = editor.layout();

    struct Case {
        std::string typed;
        std::string name;
    };
    for (const auto& c : std::vector<Case>{{"  \n", "Profile 1733712346.0"},
                                           {"", "Profile 1733712346.0"},
                                           {"  Desk  ", "Desk"}}) {
        SCOPED_TRACE(c.typed);
        ASSERT_TRUE(editor.driver->type("profiles.name", c.typed));
        ASSERT_TRUE(editor.driver->click("Save Current Layouts as Profile"));
        const LayoutProfile& saved = profileStore->profiles.back();
        EXPECT_EQ(saved.name, c.name);
        EXPECT_EQ(saved.configuration.displayIds, (std::vector<DisplayId>{DisplayId("1"), DisplayId("2")}));
        EXPECT_EQ(saved.layouts, (std::map<DisplayId, LayoutId>{{DisplayId("1"), forOne.id}}));
        EXPECT_EQ(controller->overrideProfileId, saved.id);
        EXPECT_EQ(editor.view->selectedProfileId.get(), saved.id);
        EXPECT_EQ(editor.driver->find("profiles.picker")->getSelection(), saved.id.rawValue.uuidString());
        EXPECT_EQ(status(editor), std::make_pair(std::string("Profile saved"), ui::Color::systemGreen()));
        EXPECT_EQ(editor.view->newProfileName.get(), c.typed); // the field is not cleared
    }
    ASSERT_EQ(profileStore->profiles.size(), 3u);
    EXPECT_NE(profileStore->profiles[0].id, profileStore->profiles[1].id);
    EXPECT_EQ(editor.layout(), edited);
    EXPECT_TRUE(layoutStore->saved.empty());
}

TEST_F(LayoutEditorViewTest, ProfileSavesWithoutDisplaysOrWithAFailingStoreLeaveTheOverride) {
    auto editor = open();
    displays->displays.clear();
    ASSERT_TRUE(editor.driver->click("Save Current Layouts as Profile"));
    EXPECT_TRUE(profileStore->profiles.empty());
    EXPECT_EQ(status(editor), std::nullopt);

    displays->displays = {display("1")};
    profileStore->saveError = "disk full";
    ASSERT_TRUE(editor.driver->click("Save Current Layouts as Profile"));
    EXPECT_EQ(status(editor), std::make_pair(std::string("disk full"), ui::Color::systemRed()));
    EXPECT_EQ(controller->overrideProfileId, std::nullopt);
}

TEST_F(LayoutEditorViewTest, ApplyProfileSetsTheOverrideAndThePickerFollowsTheController) {
    auto matching = profile("Desk", {"1"});
    auto dual = profile("Dual", {"1", "2"});
    auto sameCount = profile("Elsewhere", {"9"});
    auto otherDual = profile("Other dual", {"5", "6"});
    struct Case {
        std::string name;
        std::vector<LayoutProfile> listed;
        std::string pick;
        std::optional<ProfileId> override;
        std::optional<ProfileId> pickerAfter;
    };
    const std::vector<Case> cases = {
        {"the matching profile", {dual, matching}, "Desk", matching.id, matching.id},
        {"another display set: the matching one stays", {matching, dual}, "Dual", dual.id, matching.id},
        {"another display set: the count fallback", {dual, sameCount}, "Dual", dual.id, sameCount.id},
        {"another display set: the first listed", {otherDual, dual}, "Dual", dual.id, otherDual.id},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        profileStore->profiles = c.listed;
        controller->overrideProfileId.reset();
        auto editor = open();
        ASSERT_TRUE(editor.driver->pick("profiles.picker", c.pick));
        const int listings = profileStore->listings;
        ASSERT_TRUE(editor.driver->click("Apply Profile"));
        EXPECT_EQ(controller->overrideProfileId, c.override);
        EXPECT_EQ(editor.view->selectedProfileId.get(), c.pickerAfter);
        EXPECT_GT(profileStore->listings, listings);
        EXPECT_EQ(status(editor), std::nullopt);
    }

    // A selection that no listed profile carries does nothing.
    profileStore->profiles = {matching};
    controller->overrideProfileId.reset();
    auto editor = open();
    editor.view->selectedProfileId.set(dual.id);
    editor.controller->hostingView().rebuildIfNeeded();
    const int listings = profileStore->listings;
    ASSERT_TRUE(editor.driver->click("Apply Profile"));
    EXPECT_EQ(controller->overrideProfileId, std::nullopt);
    EXPECT_EQ(profileStore->listings, listings);
    EXPECT_EQ(editor.view->selectedProfileId.get(), dual.id);
}

TEST_F(LayoutEditorViewTest, TheTextsAreFixedEnglishWhateverTheLanguage) {
    for (const std::string language : {"en", "de"}) {
        SCOPED_TRACE(language);
        platform::UserDefaults::standard().set(language, "AppLanguage");
        profileStore->profiles = {profile("Desk", {"1"})};
        auto editor = open();
        EXPECT_EQ(editor.driver->texts(),
                  (std::vector<std::string>{"Layout Preview", "Left", "Right", "Split Horizontal", "Split Vertical",
                                            "Reset", "Save", "Profiles", "Apply Profile",
                                            "Save Current Layouts as Profile", "Profile name:"}));
        auto* field = editor.driver->find("profiles.name");
        ASSERT_NE(field, nullptr);
        EXPECT_EQ(field->placeholder, "My Layout Profile");
        EXPECT_EQ(field->textFieldStyle, "roundedBorder");
        auto* picker = editor.driver->find("profiles.picker");
        ASSERT_NE(picker, nullptr);
        EXPECT_EQ(picker->text, "Active Profile");
        EXPECT_TRUE(picker->labelHidden);
        EXPECT_EQ(picker->options.size(), 1u);
        EXPECT_EQ(picker->options[0].title, "Desk");
    }
}

TEST_F(LayoutEditorViewTest, TheShellHookBorrowsTheShellsProfileControllerAndCopesWithoutOne) {
    auto desk = profile("Desk", {"1"});
    profileStore->profiles = {profile("Dual", {"1", "2"}), desk};
    struct Case {
        std::string name;
        bool givesController;
        bool givesDisplays;
    };
    for (const auto& c : std::vector<Case>{{"everything given", true, true}, {"no controller, no provider", false, false}}) {
        SCOPED_TRACE(c.name);
        controller->overrideProfileId.reset();
        tilmora::EditorWindowHooks::LayoutEditorRequest request{display("1"), layoutStore, profileStore,
                                                                c.givesController ? controller.get() : nullptr,
                                                                c.givesDisplays ? displays : nullptr, "Layout Editor"};
        auto content = LayoutEditorView::controllerForRequest(request);
        auto& host = static_cast<decl::HostingView&>(*content->view());
        decl::ViewDriver driver(host);
        auto view = std::static_pointer_cast<LayoutEditorView>(host.rootView());
        EXPECT_EQ(view->selectedProfileId.get(), desk.id); // the laptop's display "1" matches "Desk"
        ASSERT_TRUE(driver.pick("profiles.picker", "Desk"));
        ASSERT_TRUE(driver.click("Apply Profile"));
        EXPECT_EQ(controller->overrideProfileId.has_value(), c.givesController);
        EXPECT_EQ(view->profileController->overrideProfileId, desk.id);
    }
}
