#include "support/DesktopTest.hpp"

#include "platform/control/FileSystemControl.hpp"
#include "platform/control/HostControl.hpp"
#include "platform/control/SimDesktop.hpp"
#include "platform/control/StandardOutputControl.hpp"
#include "platform/desktop/Process.hpp"
#include "platform/desktop/UserIdentity.hpp"
#include "platform/foundation/DirectoryListing.hpp"
#include "platform/foundation/Error.hpp"
#include "platform/foundation/FileSystem.hpp"
#include "platform/foundation/Folders.hpp"
#include "platform/foundation/ISO8601DateFormatter.hpp"
#include "platform/foundation/PropertyListSerialization.hpp"
#include "platform/foundation/StandardOutput.hpp"

#include <gtest/gtest.h>

using namespace platform;

namespace {

TEST(PropertyListTest, RoundTripsEveryKind) {
    const PropertyValue value = PropertyDictionary{
        {"Label", "a & <b>"},
        {"RunAtLoad", true},
        {"Off", false},
        {"Count", -42},
        {"Ratio", 0.5},
        {"When", Date{1735787045}},
        {"Bytes", Bytes{0, 1, 2, 250, 255}},
        {"ProgramArguments", PropertyArray{"/usr/bin/open", "-a", "/Applications/Tilmora.app"}},
        {"Empty", PropertyDictionary{}},
    };
    const std::string xml = PropertyListSerialization::dataFromPropertyList(value);
    EXPECT_NE(xml.find("<string>a &amp; &lt;b&gt;</string>"), std::string::npos) << xml;
    EXPECT_NE(xml.find("<date>2025-01-02T03:04:05Z</date>"), std::string::npos) << xml;
    EXPECT_EQ(PropertyListSerialization::propertyListFromData(xml), value);
}

TEST(PropertyListTest, RefusesTextThatIsNoPropertyList) {
    const std::vector<std::string> bad = {
        "",
        "hello",
        "<plist><dict><key>a</key></dict></plist>",
        "<plist><integer>12x</integer></plist>",
        "<plist><string>open",
        "<plist><dict><string>no key</string></dict></plist>",
        "<plist><blob/></plist>",
        "<plist><string>&bogus;</string></plist>",
        "<plist><true/></plist>trailing",
    };
    for (const auto& text : bad) {
        SCOPED_TRACE(text);
        EXPECT_THROW(PropertyListSerialization::propertyListFromData(text), Error);
    }
    EXPECT_EQ(PropertyListSerialization::propertyListFromData(
                  "<?xml version=\"1.0\"?>\n<!-- c --><plist version=\"1.0\"><string>&#x41;&#66;</string></plist>"),
              PropertyValue("AB"));
}

TEST(ISO8601Test, FormatsUtcWholeSecondsAndReadsBack) {
    struct Case {
        double seconds;
        std::string text;
    };
    const std::vector<Case> cases = {
        {0, "1970-01-01T00:00:00Z"},
        {1735787045.9, "2025-01-02T03:04:05Z"},
        {-1, "1969-12-31T23:59:59Z"},
        {std::numeric_limits<double>::quiet_NaN(), "1970-01-01T00:00:00Z"},
        {1e300, "1970-01-01T00:00:00Z"},
    };
    for (const auto& c : cases) EXPECT_EQ(ISO8601DateFormatter::string(Date{c.seconds}), c.text);
    EXPECT_EQ(ISO8601DateFormatter::date("2025-01-02T03:04:05Z"), Date{1735787045});
    EXPECT_EQ(ISO8601DateFormatter::date("2025-13-02T03:04:05Z"), std::nullopt);
    EXPECT_EQ(ISO8601DateFormatter::date("2025-01-02 03:04:05Z"), std::nullopt);
}

class HostServicesTest : public DesktopTest {};

TEST_F(HostServicesTest, ListingReportsSetDatesSkipsHiddenAndObeysKnobs) {
    const auto folder = root() / "logs";
    FileSystem::createDirectories(folder);
    for (const char* name : {"b.txt", "a.txt", ".hidden"}) FileSystem::writeFile(folder / name, "x");
    FileSystemControl::setDates(folder / "a.txt", Date{100}, Date{50});
    FileSystemControl::setDates(folder / "b.txt", std::nullopt, std::nullopt);

    auto entries = DirectoryListing::contents(folder);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].name, "a.txt");
    EXPECT_EQ(entries[0].contentModificationDate, Date{100});
    EXPECT_EQ(entries[0].creationDate, Date{50});
    EXPECT_EQ(entries[1].contentModificationDate, std::nullopt);
    EXPECT_EQ(DirectoryListing::contents(folder, false).size(), 3u);

    FileSystemControl::setListingError(folder, "listing refused");
    EXPECT_THROW(DirectoryListing::contents(folder), Error);
    FileSystemControl::setListingError(folder, std::nullopt);
    EXPECT_THROW(DirectoryListing::contents(root() / "missing"), Error);

    FileSystemControl::setRemovalError(folder / "a.txt", "removal refused");
    EXPECT_THROW(FileSystem::removeItem(folder / "a.txt"), Error);
    EXPECT_TRUE(FileSystem::fileExists(folder / "a.txt"));
}

TEST_F(HostServicesTest, BootstrapReadsTheAgentFileAndChecksTheDomain) {
    const auto agents = *Folders::home() / "Library/LaunchAgents";
    FileSystem::createDirectories(agents);
    const auto good = agents / "com.example.agent.plist";
    FileSystem::writeFile(good, PropertyListSerialization::dataFromPropertyList(
                                    PropertyDictionary{{"Label", "com.example.agent"}}));
    const auto wrongLabel = agents / "com.example.other.plist";
    FileSystem::writeFile(wrongLabel, PropertyListSerialization::dataFromPropertyList(
                                          PropertyDictionary{{"Label", "com.example.agent"}}));
    const auto notPlist = agents / "com.example.text.plist";
    FileSystem::writeFile(notPlist, "plain text");
    struct Case {
        std::string domain;
        std::filesystem::path plist;
        int status;
        std::string err;
    };
    const std::vector<Case> cases = {
        {"gui/501", agents / "com.example.missing.plist", 2, "Bootstrap failed: 2"},
        {"gui/501", notPlist, 5, "Bootstrap failed: 5: Input/output error"},
        {"gui/501", wrongLabel, 5, "Bootstrap failed: 5: Input/output error"},
        {"gui/502", good, 125, "Bootstrap failed: 125"},
        {"system", good, 125, "Bootstrap failed: 125"},
        {"gui/501", good, 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.plist.string() + " in " + c.domain);
        Process p;
        p.executablePath = "/bin/launchctl";
        p.arguments = {"bootstrap", c.domain, c.plist.string()};
        p.run();
        EXPECT_EQ(p.terminationStatus(), c.status);
        EXPECT_EQ(p.standardError().rfind(c.err, 0), 0u) << p.standardError();
    }
    EXPECT_TRUE(desk().launchctlServiceLoaded("gui/501/com.example.agent"));

    HostControl::setUid(502);
    EXPECT_EQ(UserIdentity::getuid(), 502u);
}

TEST_F(HostServicesTest, StandardOutputCanBeCaptured) {
    std::string captured;
    StandardOutputControl::setCapture([&](std::string_view text) { captured += text; });
    StandardOutput::write("one\n");
    StandardOutput::write("two");
    StandardOutputControl::setCapture(nullptr);
    EXPECT_EQ(captured, "one\ntwo");
}

} // namespace
