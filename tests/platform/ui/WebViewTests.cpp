#include "UiTestFixture.hpp"

#include "platform/control/WebViewControl.hpp"
#include "platform/control/WorkspaceControl.hpp"
#include "platform/desktop/NSWorkspace.hpp"
#include "platform/foundation/FileSystem.hpp"
#include "platform/foundation/Folders.hpp"
#include "platform/ui/StackView.hpp"
#include "platform/ui/WKWebView.hpp"

using namespace platform;
using namespace platform::ui;

namespace {

class WebViewTest : public UiTest {};

/// Answers every navigation with a fixed policy and remembers the URLs asked about.
struct FixedDelegate : WKNavigationDelegate {
    explicit FixedDelegate(std::optional<WKNavigationActionPolicy> answer)
        : answer(answer) {}
    void webViewDecidePolicyFor(WKWebView&, const WKNavigationAction& action,
                                std::function<void(WKNavigationActionPolicy)> decide) override {
        asked.push_back(action.url.value_or("<none>"));
        if (answer) decide(*answer);
    }
    std::optional<WKNavigationActionPolicy> answer;
    std::vector<std::string> asked;
};

TEST_F(WebViewTest, AFileLoadReadsTheFileAndOnlyFilesUnderItsFolder) {
    auto root = *Folders::home() / "web";
    FileSystem::createDirectories(root / "a" / "img");
    FileSystem::createDirectories(root / "b");
    FileSystem::writeFile(root / "a" / "page.html", "<p>page</p>");
    FileSystem::writeFile(root / "a" / "img" / "x.png", "png");
    FileSystem::writeFile(root / "b" / "other.html", "other");
    WKWebView web(Rect{}, WKWebViewConfiguration{});
    web.loadFileURL(WKWebView::fileURL(root / "a" / "page.html"), WKWebView::fileURL(root / "a"));
    EXPECT_EQ(web.pageContent(), "<p>page</p>");
    EXPECT_EQ(web.loadCount(), 1);
    struct Case {
        std::filesystem::path file;
        bool loads;
    } cases[] = {
        {root / "a" / "img" / "x.png", true},
        {root / "a" / "missing.png", false},
        {root / "b" / "other.html", false},
        {root / "a" / ".." / "b" / "other.html", false},
        {root / "a", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WebViewControl::canLoadFile(web, c.file), c.loads) << c.file;
    // A file outside the readable folder shows nothing.
    web.loadFileURL(WKWebView::fileURL(root / "b" / "other.html"), WKWebView::fileURL(root / "a"));
    EXPECT_EQ(web.pageContent(), "");
    // A text load has no readable folder.
    web.loadHTMLString("<p>x</p>", std::string("file:///"));
    EXPECT_EQ(web.baseURL(), "file:///");
    EXPECT_FALSE(WebViewControl::canLoadFile(web, root / "a" / "page.html"));
}

TEST_F(WebViewTest, FollowingALinkAsksTheDelegateAndKeepsThePageForAnchors) {
    struct Case {
        const char* what;
        std::optional<WKNavigationActionPolicy> answer;
        std::optional<std::string> url;
        WKNavigationActionPolicy policy;
        std::string pageAfter;
        std::optional<std::string> urlAfter;
    } cases[] = {
        {"anchor allowed", WKNavigationActionPolicy::allow, "#part", WKNavigationActionPolicy::allow,
         "<p>x</p>", "file:///#part"},
        {"link cancelled", WKNavigationActionPolicy::cancel, "ftp://x", WKNavigationActionPolicy::cancel,
         "<p>x</p>", "file:///"},
        {"link allowed", WKNavigationActionPolicy::allow, "ftp://x", WKNavigationActionPolicy::allow, "",
         "ftp://x"},
        {"no answer", std::nullopt, "ftp://x", WKNavigationActionPolicy::cancel, "<p>x</p>", "file:///"},
        {"no URL", WKNavigationActionPolicy::allow, std::nullopt, WKNavigationActionPolicy::allow, "<p>x</p>",
         "file:///"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        WKWebView web(Rect{}, WKWebViewConfiguration{});
        auto delegate = std::make_shared<FixedDelegate>(c.answer);
        web.navigationDelegate = delegate;
        web.loadHTMLString("<p>x</p>", std::string("file:///"));
        EXPECT_EQ(WebViewControl::followLink(web, c.url), c.policy);
        EXPECT_EQ(delegate->asked, std::vector<std::string>{c.url.value_or("<none>")});
        EXPECT_EQ(web.pageContent(), c.pageAfter);
        EXPECT_EQ(web.url(), c.urlAfter);
    }
    WKWebView alone(Rect{}, WKWebViewConfiguration{});
    EXPECT_EQ(WebViewControl::followLink(alone, std::string("ftp://x")), WKNavigationActionPolicy::allow);
}

TEST_F(WebViewTest, TheWebViewAnswersTheBackgroundSelector) {
    WKWebView web(Rect{}, WKWebViewConfiguration{});
    EXPECT_TRUE(web.respondsTo("setDrawsBackground:"));
    EXPECT_TRUE(web.drawsBackground());
    web.setDrawsBackground(false);
    EXPECT_FALSE(web.drawsBackground());
}

TEST_F(WebViewTest, AMinimumHeightHoldsInFittingSizeAndStackLayout) {
    struct Case {
        std::optional<double> fixed;
        double frameHeight;
        double fitting;
    } cases[] = {{std::nullopt, 0, 420}, {std::nullopt, 500, 500}, {100, 0, 420}, {600, 0, 600}};
    for (const auto& c : cases) {
        auto view = std::make_shared<View>(Rect{0, 0, 50, c.frameHeight});
        view->heightConstraint = c.fixed;
        view->minHeightConstraint = 420;
        EXPECT_EQ(view->fittingSize().height, c.fitting);
    }
    auto stack = std::make_shared<StackView>();
    stack->orientation = UserInterfaceOrientation::vertical;
    stack->spacing = 12;
    auto web = std::make_shared<WKWebView>(Rect{}, WKWebViewConfiguration{});
    web->minHeightConstraint = 420;
    stack->addArrangedSubview(web);
    stack->alignment = LayoutAttribute::leading;
    stack->setFrame(Rect{0, 0, 700, 576});
    stack->layout();
    // No height or width of its own: the stack's only view fills the stack.
    EXPECT_EQ(web->frame().height(), 576);
    EXPECT_EQ(web->frame().width(), 700);
    // Beside another view it keeps its least height.
    auto label = std::make_shared<View>(Rect{0, 0, 100, 20});
    label->heightConstraint = 20;
    stack->addArrangedSubview(label);
    web->setFrame(Rect{});
    stack->layout();
    EXPECT_EQ(web->frame().height(), 420);
    stack->minHeightConstraint = 700;
    EXPECT_EQ(stack->fittingSize().height, 700);
}

TEST_F(WebViewTest, OpeningAURLFailsWhileTheControlSaysSo) {
    EXPECT_TRUE(NSWorkspace::shared().openURL("https://example.com"));
    WorkspaceControl::setOpenURLFails(true);
    EXPECT_FALSE(NSWorkspace::shared().openURL("https://example.com"));
    auto journal = SimDesktop::shared().journal();
    ASSERT_FALSE(journal.empty());
    EXPECT_EQ(journal.back().result, -1);
    EXPECT_EQ(journal.back().detail, "opening failed");
    WorkspaceControl::setOpenURLFails(false);
    EXPECT_TRUE(NSWorkspace::shared().openURL("mailto:a@b.c"));
}

} // namespace
