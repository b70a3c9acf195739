#include "support/DesktopTest.hpp"

#include "platform/desktop/SkyLight.hpp"
#include "platform/desktop/WindowList.hpp"
#include "platform/ui/Panel.hpp"

using namespace platform;

namespace {

std::vector<std::uint32_t> numbers(const std::optional<CFArray>& list) {
    std::vector<std::uint32_t> out;
    for (const auto& v : *list)
        out.push_back(std::uint32_t(*lookup(*v.asDictionary(), kCGWindowNumber)->integerValue()));
    return out;
}

const CFDictionary& entry(const std::optional<CFArray>& list, std::uint32_t number) {
    for (const auto& v : *list)
        if (lookup(*v.asDictionary(), kCGWindowNumber)->integerValue() == std::int64_t(number))
            return *v.asDictionary();
    throw std::runtime_error("no entry");
}

} // namespace

class WindowListFixture : public DesktopTest {
protected:
    void SetUp() override {
        DesktopTest::SetUp();
        desk().addDisplay(testsupport::displaySpec(1, "Display", {0, 0, 1440, 900}, 2));
        WindowSpec minimized = window("Min", {0, 0, 300, 300});
        minimized.minimized = true;
        WindowSpec away = window("Away", {0, 0, 300, 300});
        away.desktop = 2;
        WindowSpec wallpaper = window("Desktop Picture", {0, 0, 1440, 900});
        wallpaper.layer = -2147483623;
        pid = desk().run(notesApp(), {wallpaper, away, minimized, window("Back", {0, 0, 300, 300}),
                                      window("Front", {0, 0, 300, 300})});
        for (const auto& w : desk().windowsOf(pid))
            byTitle[w.title] = w.number;
        // The program's own nearly invisible panel, made as the UI toolkit makes it.
        anchor = std::make_shared<ui::Panel>(CGRect{10, 10, 1, 1}, ui::StyleMask::nonactivatingPanel);
        anchor->title = "Anchor";
        anchor->setLevel(3);
        anchor->setAlphaValue(0.01);
        anchor->orderFrontRegardless();
        own = std::uint32_t(anchor->windowNumber());
    }
    pid_t pid = 0;
    std::map<std::string, std::uint32_t> byTitle;
    std::shared_ptr<ui::Panel> anchor;
    std::uint32_t own = 0;
};

TEST_F(WindowListFixture, OptionsSelectAndOrderTheWindows) {
    struct Case {
        const char* name;
        CGWindowListOption option;
        std::vector<std::string> expected; // "Anchor" is the program's own window
    };
    const std::vector<Case> cases = {
        {"all", kCGWindowListOptionAll, {"Anchor", "Front", "Back", "Min", "Away", "Desktop Picture"}},
        {"on screen", kCGWindowListOptionOnScreenOnly, {"Anchor", "Front", "Back", "Desktop Picture"}},
        {"on screen without desktop",
         kCGWindowListOptionOnScreenOnly | kCGWindowListExcludeDesktopElements,
         {"Anchor", "Front", "Back"}},
        {"one window", kCGWindowListOptionIncludingWindow, {"Away"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto list = CGWindowListCopyWindowInfo(c.option, byTitle["Away"]);
        ASSERT_TRUE(list);
        std::vector<std::uint32_t> expected;
        for (const auto& t : c.expected)
            expected.push_back(t == "Anchor" ? own : byTitle[t]);
        EXPECT_EQ(numbers(list), expected);
    }
}

TEST_F(WindowListFixture, EntriesCarryOwnerNameOnScreenLayerAndWorkspace) {
    auto list = CGWindowListCopyWindowInfo(kCGWindowListOptionAll, 0);
    const CFDictionary& front = entry(list, byTitle["Front"]);
    EXPECT_EQ(*lookup(front, kCGWindowOwnerName)->asString(), "Notes");
    EXPECT_EQ(lookup(front, kCGWindowOwnerPID)->integerValue(), pid);
    EXPECT_EQ(*lookup(front, kCGWindowName)->asString(), "Front");
    EXPECT_TRUE(*lookup(front, kCGWindowIsOnscreen)->asBool());
    EXPECT_EQ(lookup(front, kCGWindowLayer)->integerValue(), 0);
    const CFDictionary& away = entry(list, byTitle["Away"]);
    EXPECT_EQ(lookup(away, kCGWindowIsOnscreen), nullptr);
    EXPECT_EQ(lookup(away, kCGWindowWorkspace)->integerValue(), std::int64_t(desk().spaces(1)[1]));
    const CFDictionary& anchor = entry(list, own);
    EXPECT_EQ(lookup(anchor, kCGWindowOwnerPID)->integerValue(), desk().programPid());
    EXPECT_EQ(lookup(anchor, kCGWindowLayer)->integerValue(), 3);
}

TEST_F(WindowListFixture, EntryValuesKeepTheWindowServersNumericTypes) {
    auto list = CGWindowListCopyWindowInfo(kCGWindowListOptionAll, 0);
    const CFDictionary& front = entry(list, byTitle["Front"]);
    const std::vector<std::pair<const char*, std::size_t>> expected = {
        {kCGWindowNumber, CFValue(std::int32_t(0)).storage().index()},
        {kCGWindowOwnerPID, CFValue(std::int32_t(0)).storage().index()},
        {kCGWindowLayer, CFValue(std::int32_t(0)).storage().index()},
        {kCGWindowAlpha, CFValue(0.0).storage().index()},
        {kCGWindowIsOnscreen, CFValue(true).storage().index()},
        {kCGWindowWorkspace, CFValue(std::int32_t(0)).storage().index()},
        {kCGWindowName, CFValue("").storage().index()},
        {kCGWindowOwnerName, CFValue("").storage().index()},
    };
    for (const auto& [key, type] : expected) {
        SCOPED_TRACE(key);
        ASSERT_NE(lookup(front, key), nullptr);
        EXPECT_EQ(lookup(front, key)->storage().index(), type);
    }
    const CFDictionary& bounds = *lookup(front, kCGWindowBounds)->asDictionary();
    for (const char* key : {"X", "Y", "Width", "Height"}) {
        ASSERT_NE(lookup(bounds, key), nullptr) << key;
        EXPECT_EQ(lookup(bounds, key)->storage().index(), CFValue(0.0).storage().index()) << key;
    }
}

TEST_F(WindowListFixture, WorkspaceNumberComesInEveryConfiguredType) {
    const std::vector<std::pair<WorkspaceNumberForm, const char*>> forms = {
        {WorkspaceNumberForm::int32, "int32"},
        {WorkspaceNumberForm::int64, "int64"},
        {WorkspaceNumberForm::platformInt, "platform"},
        {WorkspaceNumberForm::number, "number"},
        {WorkspaceNumberForm::absent, "absent"}};
    std::set<std::size_t> kinds;
    for (auto [form, name] : forms) {
        SCOPED_TRACE(name);
        desk().setWorkspaceNumberForm(form);
        auto list = CGWindowListCopyWindowInfo(kCGWindowListOptionAll, 0);
        const CFDictionary& e = entry(list, byTitle["Front"]);
        const CFValue* w = lookup(e, kCGWindowWorkspace);
        if (form == WorkspaceNumberForm::absent) {
            EXPECT_EQ(w, nullptr);
        } else {
            ASSERT_NE(w, nullptr);
            EXPECT_EQ(w->integerValue(), std::int64_t(desk().spaces(1)[0]));
            kinds.insert(w->storage().index());
        }
    }
    EXPECT_EQ(kinds.size(), 4u);
}

TEST_F(WindowListFixture, ListCanBeUnavailableAndNamesHidden) {
    desk().setWindowNamesHidden(true);
    EXPECT_EQ(lookup(entry(CGWindowListCopyWindowInfo(0, 0), byTitle["Front"]), kCGWindowName), nullptr);
    desk().setWindowListUnavailable(true);
    EXPECT_FALSE(CGWindowListCopyWindowInfo(0, 0));
}

TEST_F(WindowListFixture, OwnWindowMadeKeyAndOrderedFrontTakesTheDisplayToItsSpace) {
    desk().switchToDesktop(1, 2);
    EXPECT_EQ(desk().activeSpace(1), desk().spaces(1)[1]);
    anchor->makeKeyAndOrderFront();
    EXPECT_EQ(desk().activeSpace(1), desk().spaces(1)[0]);
    anchor->orderOut();
    auto onScreen = numbers(CGWindowListCopyWindowInfo(kCGWindowListOptionOnScreenOnly, 0));
    EXPECT_EQ(std::count(onScreen.begin(), onScreen.end(), own), 0);
}

// ------------------------------------------------------------------------------------------ Spaces

TEST_F(WindowListFixture, SpaceLookupAnswersInEveryFormAndByMask) {
    CGSConnectionID cid = CGSMainConnectionID();
    ASSERT_NE(cid, 0u);
    std::uint64_t space1 = desk().spaces(1)[0], space2 = desk().spaces(1)[1];
    struct Case {
        SpaceAnswerForm form;
        const char* key; // dictionary key, or null for plain numbers
    };
    for (Case c :
         {Case{SpaceAnswerForm::uint64Numbers, nullptr}, Case{SpaceAnswerForm::int64Numbers, nullptr},
          Case{SpaceAnswerForm::platformIntNumbers, nullptr}, Case{SpaceAnswerForm::numberObjects, nullptr},
          Case{SpaceAnswerForm::dictionariesId64, "id64"},
          Case{SpaceAnswerForm::dictionariesManagedSpaceID, "ManagedSpaceID"}}) {
        desk().setSpaceAnswerForm(c.form);
        auto read = [&](int mask, std::uint32_t window) -> std::optional<std::int64_t> {
            auto answer = CGSCopySpacesForWindows(cid, mask, CFArray{CFValue(std::int64_t(window))});
            if (!answer || answer->empty()) return std::nullopt;
            const CFValue& first = answer->front();
            return c.key ? lookup(*first.asDictionary(), c.key)->integerValue() : first.integerValue();
        };
        EXPECT_EQ(read(0x01, byTitle["Front"]), std::int64_t(space1));
        EXPECT_EQ(read(0x01, byTitle["Away"]), std::nullopt) << "an inactive Space is not current";
        EXPECT_EQ(read(0x07, byTitle["Away"]), std::int64_t(space2));
    }
    desk().setSpaceAnswerForm(SpaceAnswerForm::empty);
    EXPECT_TRUE(
        CGSCopySpacesForWindows(cid, 0x07, CFArray{CFValue(std::int64_t(byTitle["Front"]))})->empty());
    EXPECT_FALSE(CGSCopySpacesForWindows(cid + 1, 0x07, {}));
}

TEST_F(WindowListFixture, ManagedDisplaySpacesListEveryDisplayInDesktopOrder) {
    desk().addDisplay(testsupport::displaySpec(7, "Display", {1440, 0, 1920, 1080}, 3));
    auto answer = CGSCopyManagedDisplaySpaces(CGSMainConnectionID());
    ASSERT_TRUE(answer);
    ASSERT_EQ(answer->size(), 2u);
    const CFArray& spaces = *lookup(*(*answer)[1].asDictionary(), "Spaces")->asArray();
    ASSERT_EQ(spaces.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_EQ(lookup(*spaces[i].asDictionary(), "id64")->integerValue(),
                  std::int64_t(desk().spaces(7)[i]));
    EXPECT_EQ(CGSGetActiveSpace(CGSMainConnectionID()), desk().activeSpace(1));
}

TEST_F(WindowListFixture, SpaceIdsAreNeitherDesktopNumbersNorShared) {
    desk().addDisplay(testsupport::displaySpec(2, "Display", {1440, 0, 1920, 1080}, 3));
    std::uint64_t added = desk().addSpace(1);
    std::set<std::uint64_t> seen;
    for (std::uint32_t display : {1u, 2u}) {
        auto ids = desk().spaces(display);
        for (std::size_t i = 1; i < ids.size(); ++i)
            EXPECT_NE(ids[i], i + 1) << "display " << display << " Desktop " << i + 1;
        seen.insert(ids.begin(), ids.end());
    }
    EXPECT_EQ(seen.size(), 6u);
    EXPECT_EQ(desk().spaces(1).back(), added);
}

TEST_F(WindowListFixture, MovesFollowTheQueuedResultCodes) {
    CGSConnectionID cid = CGSMainConnectionID();
    std::uint32_t front = byTitle["Front"];
    std::uint64_t target = desk().spaces(1)[1];
    CFArray windows{CFValue(std::int64_t(front))};
    auto move = reinterpret_cast<CGSMoveWindowsToManagedSpaceFn>(
        platform::dlsym(platform::dlopen(kSkyLightFrameworkPath, kRTLDLazy), "SLSMoveWindowsToManagedSpace"));
    auto legacy = reinterpret_cast<CGSMoveWindowsToManagedSpaceFn>(
        platform::dlsym(kRTLDDefault, "CGSMoveWindowsToManagedSpace"));
    ASSERT_TRUE(move && legacy);

    desk().queueSkyLightMoveResults({kSkyLightMoveTryOtherVariant, 7});
    EXPECT_EQ(move(cid, windows, target), kSkyLightMoveTryOtherVariant);
    EXPECT_NE(desk().windowState(front)->space, target);
    EXPECT_EQ(move(cid, windows, target), 7);
    desk().setLegacyMoveWorks(false);
    legacy(cid, windows, target);
    EXPECT_NE(desk().windowState(front)->space, target);
    desk().setLegacyMoveWorks(true);
    legacy(cid, windows, target);
    EXPECT_EQ(desk().windowState(front)->space, target);
    EXPECT_FALSE(desk().windowState(front)->onScreen);
    EXPECT_EQ(move(cid, windows, desk().spaces(1)[0]), 0);
    EXPECT_TRUE(desk().windowState(front)->onScreen);
    EXPECT_EQ(desk().journal(JournalEntry::Kind::spaceMove).size(), 5u);
}

TEST_F(WindowListFixture, MoveThatAnswersSuccessMayLeaveTheWindow) {
    CGSConnectionID cid = CGSMainConnectionID();
    std::uint32_t front = byTitle["Front"];
    std::uint64_t here = desk().spaces(1)[0], target = desk().spaces(1)[1];
    CFArray windows{CFValue(std::int64_t(front))};
    desk().setSkyLightMoveTakesEffect(false);
    EXPECT_EQ(SLSMoveWindowsToManagedSpace(cid, windows, target), 0);
    EXPECT_EQ(desk().windowState(front)->space, here);
    auto answer = CGSCopySpacesForWindows(cid, 0x07, windows);
    ASSERT_EQ(answer->size(), 1u);
    EXPECT_EQ(answer->front().integerValue(), std::int64_t(here)) << "the lookup tells the truth";
    desk().setSkyLightMoveTakesEffect(true);
    EXPECT_EQ(SLSMoveWindowsToManagedSpace(cid, windows, target), 0);
    EXPECT_EQ(desk().windowState(front)->space, target);
}

TEST_F(DesktopTest, LookupsFailWithoutFrameworkOrConnection) {
    desk().setSkyLightLoadable(false);
    EXPECT_EQ(platform::dlopen(kSkyLightFrameworkPath, kRTLDLazy), 0);
    EXPECT_EQ(platform::dlopen("/usr/lib/other.dylib", kRTLDLazy), 0);
    EXPECT_NE(platform::dlsym(kRTLDDefault, "CGSGetActiveSpace"), nullptr);
    for (const char* name : {"CGSGetActiveSpace", "SLSGetActiveSpace", "CGSMoveWindowsToManagedSpace"}) {
        desk().removeSymbol(name);
        EXPECT_EQ(platform::dlsym(kRTLDDefault, name), nullptr) << name;
    }
    desk().setConnectionID(0);
    EXPECT_EQ(CGSMainConnectionID(), 0u);
    EXPECT_FALSE(CGSCopyManagedDisplaySpaces(0));
    EXPECT_EQ(CGSGetActiveSpace(0), 0u);
}
