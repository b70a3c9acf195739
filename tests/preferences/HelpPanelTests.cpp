#include "model/LocalizationManager.hpp"
#include "platform/control/BundleControl.hpp"
#include "platform/control/DesktopJournal.hpp"
#include "platform/control/WebViewControl.hpp"
#include "platform/control/WorkspaceControl.hpp"
#include "platform/foundation/FileSystem.hpp"
#include "platform/foundation/Folders.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "preferences/HelpPanelController.hpp"
#include "support/DesktopTest.hpp"

#include <regex>

using namespace tilmora;
using platform::ui::WKNavigationActionPolicy;
using platform::ui::WKWebView;

namespace {

class HelpPanelTest : public DesktopTest {
protected:
    void restoreFixture() override {
        DesktopTest::restoreFixture();
        desk().useLaptop();
        resources = *platform::Folders::home() / "res";
        platform::FileSystem::createDirectories(resources / "Locales.bundle" / "en.lproj");
        platform::FileSystem::createDirectories(resources / "Locales.bundle" / "de.lproj");
        platform::FileSystem::writeFile(resources / "Locales.bundle" / "de.lproj" / "Localizable.strings",
                                        "\"help.title\" = \"Tilmora-Hilfe\";\n"
                                        "\"help.troubleshoot.1\" = \"a &gt; b <b>bold</b>\";\n");
        platform::BundleControl::setResourceDirectory(resources);
    }
    void TearDown() override {
        if (controller && controller->window()) controller->window()->close();
        controller.reset();
        DesktopTest::TearDown();
    }
    std::filesystem::path lproj(const std::string& language) {
        return resources / "Locales.bundle" / (language + ".lproj");
    }
    size_t count(const std::string& text, const std::string& pattern) {
        std::regex re(pattern);
        return std::distance(std::sregex_iterator(text.begin(), text.end(), re), std::sregex_iterator());
    }
    std::size_t opens() {
        std::size_t n = 0;
        for (const auto& e : desk().journal())
            if (e.kind == platform::JournalEntry::Kind::open) ++n;
        return n;
    }
    std::filesystem::path resources;
    std::shared_ptr<HelpPanelController> controller;
};

TEST_F(HelpPanelTest, WithoutAHelpFileThePanelShowsTheBuiltInPage) {
    platform::UserDefaults::standard().set(platform::PropertyValue(std::string("de")), "AppLanguage");
    controller = HelpPanelController::make();
    auto& panel = *controller->window();
    EXPECT_EQ(panel.frame().size.width, 720);
    EXPECT_EQ(panel.contentRectForFrameRect(panel.frame()).size.height, 600);
    EXPECT_EQ(panel.styleMask(), 11u);
    EXPECT_EQ(panel.level(), 3);
    EXPECT_EQ(panel.title, "Tilmora-Hilfe");
    auto& web = *controller->webView;
    EXPECT_EQ(web.baseURL(), "file:///");
    EXPECT_FALSE(web.drawsBackground());
    EXPECT_EQ(web.fittingSize().height, 420);
    const auto& page = web.pageContent();
    EXPECT_EQ(count(page, "<a href=\"#"), 7u);
    EXPECT_EQ(count(page, "<h2 id=\""), 7u);
    EXPECT_EQ(count(page, "<hr"), 0u);
    EXPECT_NE(page.find("<li>a &gt; b <b>bold</b></li>"), std::string::npos); // inserted as it is
    EXPECT_NE(page.find("<h1>help.h1</h1>"), std::string::npos);              // a missing text shows its key
    EXPECT_NE(page.find("@media (prefers-color-scheme: dark)"), std::string::npos);
}

TEST_F(HelpPanelTest, AHelpFileOfTheChosenLanguageLoadsWithReadAccessToItsFolderOnly) {
    platform::FileSystem::writeFile(lproj("de") / "help.html", "<h1>Hilfe</h1>");
    platform::FileSystem::writeFile(lproj("de") / "style.css", "h1 {}");
    platform::FileSystem::writeFile(lproj("en") / "help.html", "<h1>Help</h1>");
    platform::UserDefaults::standard().set(platform::PropertyValue(std::string("de")), "AppLanguage");
    controller = HelpPanelController::make();
    auto& web = *controller->webView;
    EXPECT_EQ(web.pageContent(), "<h1>Hilfe</h1>");
    EXPECT_FALSE(web.baseURL());
    struct Case {
        std::filesystem::path file;
        bool loads;
    } cases[] = {
        {lproj("de") / "style.css", true},
        {lproj("de") / "help.html", true},
        {lproj("de") / "missing.png", false},
        {lproj("en") / "help.html", false},
        {lproj("de") / ".." / "en.lproj" / "help.html", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(platform::WebViewControl::canLoadFile(web, c.file), c.loads) << c.file;
}

TEST_F(HelpPanelTest, WebAndMailLinksOpenOutsideAndOtherLinksStayInThePanel) {
    controller = HelpPanelController::make();
    auto& web = *controller->webView;
    const std::string page = web.pageContent();
    struct Case {
        std::optional<std::string> url;
        bool openFails;
        WKNavigationActionPolicy policy;
        std::size_t opened;
    } cases[] = {
        {"HTTPS://example.com", false, WKNavigationActionPolicy::cancel, 1},
        {"http://example.com/a", false, WKNavigationActionPolicy::cancel, 1},
        {"mailto:a@b.c", false, WKNavigationActionPolicy::cancel, 1},
        {"https://example.com", true, WKNavigationActionPolicy::cancel, 1},
        {"#snapping", false, WKNavigationActionPolicy::allow, 0},
        {std::nullopt, false, WKNavigationActionPolicy::allow, 0},
        {"ftp://x", false, WKNavigationActionPolicy::allow, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.url.value_or("<none>"));
        platform::WorkspaceControl::setOpenURLFails(c.openFails);
        auto before = opens();
        EXPECT_EQ(platform::WebViewControl::followLink(web, c.url), c.policy);
        EXPECT_EQ(opens() - before, c.opened);
        if (c.policy == WKNavigationActionPolicy::cancel) {
            EXPECT_EQ(web.pageContent(), page);
        }
    }
    platform::WorkspaceControl::setOpenURLFails(false);
    EXPECT_EQ(web.url(), "ftp://x");
}

TEST_F(HelpPanelTest, AnAnchorKeepsThePageAndShowingAgainDoesNotReload) {
    controller = HelpPanelController::make();
    auto& web = *controller->webView;
    const std::string page = web.pageContent();
    EXPECT_EQ(platform::WebViewControl::followLink(web, std::string("#snapping")),
              WKNavigationActionPolicy::allow);
    EXPECT_EQ(web.pageContent(), page);
    EXPECT_EQ(web.url(), "file:///#snapping");
    controller->showWindow(nullptr);
    controller->window()->close();
    platform::UserDefaults::standard().set(platform::PropertyValue(std::string("de")), "AppLanguage");
    controller->showWindow(nullptr);
    EXPECT_TRUE(controller->window()->isVisible());
    EXPECT_TRUE(controller->window()->isKeyWindow());
    EXPECT_EQ(web.loadCount(), 1);
    EXPECT_EQ(web.pageContent(), page); // the language it was built in
}

TEST_F(HelpPanelTest, APanelMadeByItsConstructorHandlesLinksOnceShown) {
    controller = std::make_shared<HelpPanelController>();
    ASSERT_TRUE(controller->webView);
    EXPECT_EQ(controller->webView->loadCount(), 1);
    controller->showWindow(nullptr);
    auto before = opens();
    EXPECT_EQ(platform::WebViewControl::followLink(*controller->webView, std::string("https://example.com")),
              WKNavigationActionPolicy::cancel);
    EXPECT_EQ(opens() - before, 1u);
}

} // namespace
