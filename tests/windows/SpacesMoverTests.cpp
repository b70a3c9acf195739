#include "windows/SpacesMover.hpp"

#include "platform/dispatch/Thread.hpp"
#include "windows/SpacesService.hpp"
#include "windows/SpacesTest.hpp"

#include <gtest/gtest.h>

#include <cctype>

namespace tilmora::WindowManager {
namespace {

using platform::CFValue;
using platform::SpaceAnswerForm;

const std::string kMoveUnavailable =
    "[SPACE][WARN] Spaces move API unavailable. Windows may restore onto the current Space only.";
const std::string kLookupUnavailable =
    "[SPACE][WARN] SpaceID lookup API unavailable. Space-aware restore cannot be "
    "verified; falling back to geometry-only restore.";

class SpacesMoverTest : public SpacesTest {
protected:
    /// A window of "Notes" on Desktop `desktop` of the laptop; returns its number.
    std::uint32_t notesWindowOn(int desktop) {
        auto spec = window("Doc", {100, 100, 800, 600});
        spec.desktop = desktop;
        const pid_t pid = runNotes({spec});
        return numbersOf(pid).front();
    }

    static std::string nonEmptyLine(const std::string& label) {
        return "[SPACE][DIAG] CGSCopySpacesForWindows selector=" + label + " returned non-empty.";
    }
    static std::string emptyLine(std::uint32_t window) {
        return "[SPACE][DIAG] CGSCopySpacesForWindows returned empty for windowID=" + std::to_string(window) +
               " (selectors 0x01, 0x07).";
    }
};

/// Which of the Spaces functions a mover found, and what it then offers.
struct Bound {
    bool handle, move, voidMove, active, available, lookup;
};

struct BindingCase {
    const char* name;
    std::vector<const char*> removed;
    bool loadable;
    bool connected;
    Bound bound;
};

class SpacesMoverBindingTest : public SpacesMoverTest, public ::testing::WithParamInterface<BindingCase> {};

TEST_P(SpacesMoverBindingTest, BindsWhatTheDesktopOffers) {
    const auto& c = GetParam();
    for (const char* name : c.removed)
        desk().removeSymbol(name);
    desk().setSkyLightLoadable(c.loadable);
    if (!c.connected) desk().setConnectionID(0);
    auto mover = SpacesMover::make();
    EXPECT_EQ(mover->skylightHandle != 0, c.bound.handle);
    EXPECT_EQ(mover->moveFn != nullptr, c.bound.move);
    EXPECT_EQ(mover->cgsVoidMoveFn != nullptr, c.bound.voidMove);
    EXPECT_EQ(mover->getActiveSpaceFn != nullptr, c.bound.active);
    EXPECT_NE(mover->copySpacesFn, nullptr);
    EXPECT_NE(mover->copyManagedDisplaySpacesFn, nullptr);
    EXPECT_EQ(mover->ensureAvailable(), c.bound.available);
    EXPECT_EQ(mover->ensureLookupAvailable(), c.bound.lookup);
}

const Bound everything{true, true, true, true, true, true};

const BindingCase kBindingCases[] = {
    {"everything", {}, true, true, everything},
    {"no framework", {}, false, true, {false, false, true, true, false, true}},
    {"only the older move name", {"SLSMoveWindowsToManagedSpace"}, true, true, everything},
    {"no move names",
     {"SLSMoveWindowsToManagedSpace", "CGSMoveWindowsToManagedSpace"},
     true,
     true,
     {true, false, false, true, false, true}},
    {"active Space under its other name", {"CGSGetActiveSpace"}, true, true, everything},
    {"no active Space",
     {"CGSGetActiveSpace", "SLSGetActiveSpace"},
     true,
     true,
     {true, true, true, false, true, true}},
    {"no connection", {}, true, false, {true, true, true, true, false, false}},
};

INSTANTIATE_TEST_SUITE_P(Cases, SpacesMoverBindingTest, ::testing::ValuesIn(kBindingCases),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             for (auto& ch : name)
                                 if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
                             return name;
                         });

TEST_F(SpacesMoverTest, EachUnavailabilityWarningIsWrittenOncePerMover) {
    desk().setSkyLightLoadable(false);
    auto& mover = spacesMover();
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(mover.ensureAvailable());
    EXPECT_TRUE(mover.ensureLookupAvailable());
    EXPECT_EQ(countLines(kMoveUnavailable), 1);
    EXPECT_EQ(countLines(kLookupUnavailable), 0);

    desk().setConnectionID(0);
    const std::uint32_t w = notesWindowOn(1);
    auto unconnected = SpacesMover::make();
    EXPECT_FALSE(unconnected->ensureLookupAvailable());
    EXPECT_FALSE(unconnected->ensureLookupAvailable());
    EXPECT_EQ(unconnected->primarySpaceID(w), std::nullopt);
    EXPECT_EQ(unconnected->desktopNumber(laptopSpaces()[0]), std::nullopt);
    EXPECT_EQ(countLines(kLookupUnavailable), 1);
    EXPECT_EQ(countContaining("CGSCopySpacesForWindows"), 0) << "no lookup was made";
}

TEST_F(SpacesMoverTest, AWindowOnTheActiveSpaceAnswersThroughTheFirstSelector) {
    const std::uint32_t w = notesWindowOn(1);
    auto& mover = spacesMover();
    EXPECT_EQ(mover.primarySpaceID(w), laptopSpaces()[0]);
    EXPECT_EQ(mover.primarySpaceID(w), laptopSpaces()[0]);
    EXPECT_TRUE(mover.lookupEverReturnedNonEmpty);
    EXPECT_EQ(logLines(), std::vector<std::string>{nonEmptyLine("0x01/arr64")});
}

TEST_F(SpacesMoverTest, AWindowOnAnInactiveSpaceAnswersThroughTheWiderSelector) {
    const std::uint32_t w = notesWindowOn(3);
    auto mover = SpacesMover::make();
    EXPECT_EQ(mover->primarySpaceID(w), laptopSpaces()[2]);
    EXPECT_EQ(logLines(), std::vector<std::string>{nonEmptyLine("0x07/arr64")});
}

TEST_F(SpacesMoverTest, EveryAnswerFormButEmptyGivesTheSpace) {
    struct Case {
        SpaceAnswerForm form;
        bool logsNonEmpty; // dictionaries answer without the diagnostic line
    };
    const Case cases[] = {
        {SpaceAnswerForm::uint64Numbers, true},      {SpaceAnswerForm::int64Numbers, true},
        {SpaceAnswerForm::platformIntNumbers, true}, {SpaceAnswerForm::numberObjects, true},
        {SpaceAnswerForm::dictionariesId64, false},  {SpaceAnswerForm::dictionariesManagedSpaceID, false},
    };
    const std::uint32_t w = notesWindowOn(2);
    for (const auto& c : cases) {
        desk().setSpaceAnswerForm(c.form);
        const long before = countContaining("returned non-empty.");
        auto mover = SpacesMover::make();
        EXPECT_EQ(mover->primarySpaceID(w), laptopSpaces()[1]) << int(c.form);
        EXPECT_TRUE(mover->lookupEverReturnedNonEmpty) << int(c.form);
        EXPECT_EQ(countContaining("returned non-empty.") - before, c.logsNonEmpty ? 1 : 0) << int(c.form);
    }
    EXPECT_EQ(countContaining("returned empty"), 0);
}

TEST_F(SpacesMoverTest, AnEmptyAnswerGivesNoneAndOneMoverNeverWritesBothDiagnostics) {
    const std::uint32_t w = notesWindowOn(1);
    desk().setSpaceAnswerForm(SpaceAnswerForm::empty);
    auto mover = SpacesMover::make();
    EXPECT_EQ(mover->primarySpaceID(w), std::nullopt);
    EXPECT_EQ(mover->primarySpaceID(w), std::nullopt);
    EXPECT_FALSE(mover->lookupEverReturnedNonEmpty);

    desk().setSpaceAnswerForm(SpaceAnswerForm::uint64Numbers);
    EXPECT_EQ(mover->primarySpaceID(w), laptopSpaces()[0]);
    EXPECT_TRUE(mover->lookupEverReturnedNonEmpty);
    EXPECT_EQ(logLines(), std::vector<std::string>{emptyLine(w)});

    // And the other way round: after a non-empty answer an empty one writes nothing.
    auto other = SpacesMover::make();
    EXPECT_EQ(other->primarySpaceID(w), laptopSpaces()[0]);
    desk().setSpaceAnswerForm(SpaceAnswerForm::empty);
    EXPECT_EQ(other->primarySpaceID(w), std::nullopt);
    EXPECT_EQ(logLines(), (std::vector<std::string>{emptyLine(w), nonEmptyLine("0x01/arr64")}));
}

TEST_F(SpacesMoverTest, SpaceIdsAreReadFromEveryNumericFormWithinTheSignedRange) {
    struct Case {
        const char* name;
        CFValue value;
        std::optional<std::uint64_t> expected;
    };
    const Case cases[] = {
        {"unsigned", CFValue(std::uint64_t(5)), 5},
        {"unsigned above the signed range", CFValue(std::uint64_t(1) << 63), std::nullopt},
        {"largest signed", CFValue(std::uint64_t(9223372036854775807ull)), 9223372036854775807ull},
        {"signed 64", CFValue(std::int64_t(7)), 7},
        {"negative", CFValue(std::int64_t(-3)), std::nullopt},
        {"signed 32", CFValue(std::int32_t(9)), 9},
        {"platform integer", CFValue(CFValue::PlatformInt{11}), 11},
        {"number object", CFValue(CFValue::Number{13}), 13},
        {"negative number object", CFValue(CFValue::Number{-1}), std::nullopt},
        {"huge number object", CFValue(CFValue::Number{1e19}), std::nullopt},
        {"Boolean", CFValue(true), std::nullopt},
        {"text", CFValue("5"), std::nullopt},
        {"nothing", CFValue(), std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SpacesMover::extractSpaceID(c.value), c.expected) << c.name;
}

TEST_F(SpacesMoverTest, NumberListsKeepTheirWidth) {
    const auto list64 = SpacesMover::makeCFNumberArray64({1, 4294967295u});
    ASSERT_EQ(list64.size(), 2u);
    EXPECT_EQ(list64[1], CFValue(std::int64_t(4294967295))) << "widened, not wrapped";
    const auto list32 = SpacesMover::makeCFNumberArray32({1, 4294967295u, 2});
    EXPECT_EQ(list32, (platform::CFArray{CFValue(std::int32_t(1)), CFValue(std::int32_t(2))}))
        << "a number that does not fit is left out";
}

TEST_F(SpacesMoverTest, DesktopNumbersArePositionsOnTheSpaceDisplayUpToNine) {
    desk().useLaptopWithExternal();
    for (int i = 1; i < desktops; ++i)
        desk().addSpace(1);
    for (int i = 0; i < 9; ++i)
        desk().addSpace(2);
    const auto external = desk().spaces(2);
    ASSERT_EQ(external.size(), 10u);
    struct Case {
        const char* name;
        std::uint64_t space;
        std::optional<int> expected;
    };
    const Case cases[] = {
        {"first of the laptop", laptopSpaces()[0], 1},
        {"fourth of the laptop", laptopSpaces()[3], 4},
        {"first of display 2", external[0], 1},
        {"third of display 2", external[2], 3},
        {"ninth of display 2", external[8], 9},
        {"tenth of display 2", external[9], std::nullopt},
        {"unknown", 999999, std::nullopt},
    };
    auto& mover = spacesMover();
    for (const auto& c : cases)
        EXPECT_EQ(mover.desktopNumber(c.space), c.expected) << c.name;
}

TEST_F(SpacesMoverTest, AWorkerGetsTheAnswerFromTheMainThread) {
    const std::uint32_t w = notesWindowOn(2);
    auto [answer, seconds] =
        onWorker<std::optional<std::uint64_t>>([&] { return spacesMover().primarySpaceID(w); });
    EXPECT_EQ(answer, laptopSpaces()[1]);
    EXPECT_LT(seconds, 0.01);
}

TEST_F(SpacesMoverTest, AWorkerGivesUpAfterOneSecondWhenTheMainThreadIsBusy) {
    const std::uint32_t w = notesWindowOn(1);
    platform::DispatchQueue::main().async([] { platform::Thread::sleep(2.0); });
    auto [answer, seconds] =
        onWorker<std::optional<std::uint64_t>>([&] { return spacesMover().primarySpaceID(w); }, 5.0);
    EXPECT_EQ(answer, std::nullopt);
    EXPECT_NEAR(seconds, 1.0, 1e-6);
    // The lookup still runs once the main thread is free; its late answer goes nowhere.
    sim().runFor(2.0);
    EXPECT_EQ(logLines(), std::vector<std::string>{nonEmptyLine("0x01/arr64")});
    EXPECT_EQ(spacesMover().primarySpaceID(w), laptopSpaces()[0]);
}

} // namespace
} // namespace tilmora::WindowManager
