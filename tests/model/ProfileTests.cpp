#include "model/DefaultProfileStore.hpp"
#include "model/ProfileController.hpp"

#include "ModelFixture.hpp"

#include "platform/foundation/FileSystem.hpp"
#include "platform/foundation/Folders.hpp"

#include <gtest/gtest.h>

using namespace tilmora;

namespace {

LayoutProfile profile(const std::string& name, std::vector<DisplayId> ids,
                      std::optional<ProfileId> id = std::nullopt, bool storedOrder = false) {
    return LayoutProfile{id.value_or(ProfileId(platform::UUID())),
                         name,
                         storedOrder ? MonitorConfigurationSignature(
                                           std::move(ids), MonitorConfigurationSignature::StoredOrder{})
                                     : MonitorConfigurationSignature(std::move(ids)),
                         {}};
}

std::vector<std::string> profileNames(const std::vector<LayoutProfile>& profiles) {
    std::vector<std::string> result;
    for (const auto& p : profiles)
        result.push_back(p.name);
    return result;
}

class FakeDisplays : public DisplayProvider {
public:
    std::vector<DisplayId> ids;
    std::vector<DisplayDescriptor> currentDisplays() override {
        std::vector<DisplayDescriptor> displays;
        for (const auto& id : ids)
            displays.push_back(DisplayDescriptor{id, "Screen " + id.rawValue, {}, 1});
        return displays;
    }
};

class FixedProfiles : public ProfileStore {
public:
    std::vector<LayoutProfile> profiles;
    bool fails = false;
    std::vector<LayoutProfile> allProfiles() override {
        if (fails) throw platform::Error("unreadable");
        return profiles;
    }
    void save(const LayoutProfile& p) override { profiles.push_back(p); }
};

class ProfileStoreTest : public modeltest::ModelFixture {
protected:
    std::filesystem::path file() const { return storeFolder() / "profiles.json"; }
    void writeFile(const std::string& text) { ModelFixture::writeFile(file(), text); }
};

} // namespace

TEST_F(ProfileStoreTest, SavesInPlaceOrAppends) {
    DefaultProfileStore store;
    EXPECT_TRUE(store.allProfiles().empty());
    const LayoutProfile p1 = profile("P1", {"1"}), p2 = profile("P2", {"1", "2"}), p3 = profile("P3", {"3"});
    store.save(p1);
    EXPECT_EQ(platform::parseJson(platform::FileSystem::readFile(file())).size(), 1u);
    store.save(p2);
    store.save(p3);
    LayoutProfile p2b = p2;
    p2b.name = "P2'";
    store.save(p2b);
    EXPECT_EQ(profileNames(store.allProfiles()), (std::vector<std::string>{"P1", "P2'", "P3"}));
}

TEST_F(ProfileStoreTest, DuplicatesAreKeptAndOnlyTheFirstIsReplaced) {
    const ProfileId same{platform::UUID()};
    writeFile(platform::encodeJsonText(
        std::vector<LayoutProfile>{profile("A", {"1"}, same), profile("B", {"2"}, same)}));
    DefaultProfileStore store;
    EXPECT_EQ(profileNames(store.allProfiles()), (std::vector<std::string>{"A", "B"}));
    store.save(profile("C", {"3"}, same));
    EXPECT_EQ(profileNames(store.allProfiles()), (std::vector<std::string>{"C", "B"}));

    writeFile("[]");
    EXPECT_TRUE(store.allProfiles().empty());
}

TEST_F(ProfileStoreTest, UndecodableFileThrowsAndIsKeptAsideBySave) {
    // An odd-length "layouts" array fails the whole file.
    const std::string odd = R"([{"id":{"rawValue":"6F9619FF-8B86-D011-B42D-00C04FC964FF"},"name":"X",)"
                            R"("configuration":{"displayIds":[]},"layouts":[{"rawValue":"1"}]}])";
    for (const std::string& content : {std::string("{{{"), odd}) {
        writeFile(content);
        DefaultProfileStore store;
        EXPECT_THROW(store.allProfiles(), platform::Error);
        store.save(profile("Saved", {"1"}));
        EXPECT_EQ(profileNames(store.allProfiles()), std::vector<std::string>{"Saved"});
        int aside = 0;
        for (const auto& entry : std::filesystem::directory_iterator(file().parent_path())) {
            if (entry.path().filename().string().starts_with("profiles.json.corrupt-")) {
                EXPECT_EQ(platform::FileSystem::readFile(entry.path()), content);
                std::filesystem::remove(entry.path());
                ++aside;
            }
        }
        EXPECT_EQ(aside, 1);
    }
}

TEST(ProfileController, ChoosesByOverrideThenExactMatchThenCount) {
    const LayoutProfile p = profile("P", {"1", "2"}), q = profile("Q", {"3", "4"});
    const LayoutProfile single = profile("Single", {"1"}), triple = profile("Triple", {"1", "2", "3"});
    const LayoutProfile tenTwo = profile("TenTwo", {"10", "2"}, std::nullopt, true);
    const LayoutProfile twoTen = profile("TwoTen", {"2", "10"}, std::nullopt, true);
    const LayoutProfile none = profile("None", {});
    const LayoutProfile q2 = profile("Q2", {"4", "3"});
    struct Case {
        const char* what;
        std::vector<DisplayId> displays;
        std::vector<LayoutProfile> stored;
        std::optional<ProfileId> override;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        {"exact, any display order", {"2", "1"}, {p, q}, std::nullopt, "P"},
        {"count fallback", {"1", "5"}, {p, q}, std::nullopt, "P"},
        {"no profile of that size", {"1", "5"}, {single, triple}, std::nullopt, std::nullopt},
        {"first exact match", {"3", "4"}, {q2, q}, std::nullopt, "Q2"},
        {"override wins when it matches", {"3", "4"}, {q2, q}, q.id, "Q"},
        {"foreign override ignored", {"1", "2"}, {p, q}, q.id, "P"},
        {"unknown override ignored", {"1", "2"}, {q, p}, ProfileId(platform::UUID()), "P"},
        {"text order matches", {"2", "10"}, {twoTen, tenTwo}, std::nullopt, "TenTwo"},
        {"unsorted stored only by count", {"2", "10"}, {twoTen}, std::nullopt, "TwoTen"},
        {"no displays, no empty profile", {}, {p}, std::nullopt, std::nullopt},
        {"no displays, an empty profile", {}, {p, none}, std::nullopt, "None"},
    };
    for (const auto& c : cases) {
        auto displays = std::make_shared<FakeDisplays>();
        displays->ids = c.displays;
        auto store = std::make_shared<FixedProfiles>();
        store->profiles = c.stored;
        ProfileController controller(displays, store);
        controller.overrideProfileId = c.override;
        auto active = controller.activeProfile();
        EXPECT_EQ(active ? std::optional<std::string>(active->name) : std::nullopt, c.expected) << c.what;
    }
}

TEST(ProfileController, OverrideChoosesAmongProfilesOfTheSameDisplays) {
    auto displays = std::make_shared<FakeDisplays>();
    displays->ids = {"1", "2"};
    auto store = std::make_shared<FixedProfiles>();
    const LayoutProfile first = profile("First", {"1", "2"}), second = profile("Second", {"2", "1"});
    store->profiles = {first, second};
    ProfileController controller(displays, store);
    EXPECT_EQ(controller.activeProfile()->name, "First");
    controller.overrideProfileId = second.id;
    EXPECT_EQ(controller.activeProfile()->name, "Second");
    // A failing store reads as no profiles.
    store->fails = true;
    EXPECT_FALSE(controller.activeProfile());
    // The answer follows the displays at once.
    store->fails = false;
    displays->ids = {"7"};
    EXPECT_FALSE(controller.activeProfile());
}
