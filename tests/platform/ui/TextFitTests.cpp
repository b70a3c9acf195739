#include <gtest/gtest.h>

#include "platform/control/StandardErrorControl.hpp"
#include "platform/foundation/Utf8Text.hpp"
#include "platform/internal/TextFaces.hpp"
#include "platform/ui/TextMetrics.hpp"
#include "platform/ui/WebPageText.hpp"
#include "platform/ui/declarative/Elements.hpp"
#include "platform/ui/declarative/Layout.hpp"
#include "support/TableRow.hpp"

#include <cmath>
#include <mutex>
#include <utility>
#include <vector>

using namespace platform;
using namespace platform::ui;
namespace dv = platform::ui::declarative;

namespace {

constexpr double inf = dv::FrameSpec::infinity;

TEST(TextFit, ALabelIsLaidOutAsWideAsItsTextIsSetInItsFont) {
    struct Case {
        dv::Element element;
        Font font;
    } cases[] = {
        {dv::Text("Save Snapshot"), Font{13, "regular", false}},
        {dv::Text("Snapshot Restore").font("headline"), Font{13, "bold", false}},
        {dv::Text("Launch").font("caption"), Font{10, "regular", false}},
        {dv::Text("⌃⌥⇧J").systemFont(11, "semibold", true), Font{11, "bold", true}},
    };
    for (auto& c : cases) {
        const auto& node = *c.element.node();
        const double measured = TextMetrics::width(node.text, c.font);
        EXPECT_GT(measured, 0) << node.text;
        EXPECT_EQ(dv::Layout::measure(*c.element.node(), {inf, inf}).width, measured) << node.text;
    }
    // Wider letters take more room: the measure is not a count of bytes.
    EXPECT_GT(TextMetrics::width("WWW", Font{}), TextMetrics::width("iii", Font{}));
    EXPECT_GT(TextMetrics::width("Launch", Font{13, "bold", false}), TextMetrics::width("Launch", Font{}));
}

TEST(TextFit, CharactersTheDejaVuFacesLackAreSetInTheFallbackFace) {
    using Runs = std::vector<std::pair<std::string, bool>>; // text, set in the fallback face
    const testsupport::TableRow<std::string, Runs> rows[] = {
        {"Latin and CJK", "Café 東京", {{"Café ", false}, {"東京", true}}},
        {"kana between glyphs", "⌃かな1", {{"⌃", false}, {"かな", true}, {"1", false}}},
        {"a chord", "⌃⌥⇧1", {{"⌃⌥⇧1", false}}},
        {"a character no face has", "\U0010FFFD", {{"\U0010FFFD", false}}},
        {"a byte that is not UTF-8", "a\xFF", {{"a\xFF", false}}},
        {"nothing", "", {}},
    };
    for (const auto& row : rows) {
        Runs runs;
        for (const auto& run : TextMetrics::runs(row.given, false, false))
            runs.emplace_back(run.text, run.fallback);
        EXPECT_EQ(runs, row.expected) << row.name;
    }
    // The fallback's ideographs are a square em each, in every style; the measure adds them up.
    for (const Font& font : {Font{13, "regular", false}, Font{13, "bold", true}})
        EXPECT_EQ(TextMetrics::width("東京", font), 26);
    EXPECT_EQ(TextMetrics::width("Café 東京", Font{}),
              std::ceil(TextMetrics::width("Café ", 13, false, false) + 26));
}

TEST(TextFit, WithoutTheFallbackFileACharacterKeepsItsStylesFaceAndThatIsSaidOnce) {
    std::string said;
    StandardErrorControl::setCapture([&](std::string_view text) { said += text; });
    {
        TextFaces faces({TextMetrics::fontFile(false, false), TextMetrics::fontFile(true, false),
                         TextMetrics::fontFile(false, true), TextMetrics::fontFile(true, true)},
                        "/nonexistent/fallback.ttc");
        const std::lock_guard<std::mutex> hold(faces.mutex());
        const auto ideograph = faces.glyph(0, U'東');
        EXPECT_FALSE(ideograph.fallback);
        EXPECT_EQ(ideograph.ems, faces.glyph(0, U'\U0010FFFD').ems); // the .notdef box
        EXPECT_FALSE(faces.glyph(1, U'京').fallback);
    }
    StandardErrorControl::setCapture(nullptr);
    EXPECT_EQ(said, "[Fonts] No fallback font at /nonexistent/fallback.ttc: characters the DejaVu faces "
                    "lack are drawn as boxes\n");
}

TEST(TextFit, ALineWiderThanItsRoomEndsInAnEllipsisAfterWholeCharacters) {
    const Font font;
    const double launch = TextMetrics::width("Launch", font);
    struct Case {
        std::string line;
        double width;
        std::string shown;
    } cases[] = {
        {"Launch", launch, "Launch"},
        {"Launch", launch - 0.4, "Launch"}, // rounding is no reason to shorten
        {"Record Shortcut", TextMetrics::width("Record…", font), "Record…"},
        {"Record Shortcut", TextMetrics::width("Record S…", font) - 1, "Record…"}, // no blank before "…"
        {"Größenänderung", TextMetrics::width("Grö…", font), "Grö…"},
        {"Launch", 1, "…"},
        {"", 0, ""},
    };
    for (const auto& c : cases) {
        const std::string shown = TextMetrics::fitted(c.line, c.width, font);
        EXPECT_EQ(shown, c.shown) << c.line << " in " << c.width;
        EXPECT_TRUE(Text::isValidUtf8(shown));
        if (shown != "…") {
            EXPECT_LE(TextMetrics::width(shown, font), c.width + TextMetrics::kFitSlack);
        }
    }
}

TEST(TextFit, ATextBreaksIntoLinesAtTheBlanksBeforeTheWordThatPassesItsWidth) {
    const Font font;
    const double two = TextMetrics::width("Snapped to", font);
    struct Case {
        std::string text;
        double width;
        std::size_t maxLines;
        std::vector<std::string> lines;
    } cases[] = {
        {"Snapped to the left half", inf, 0, {"Snapped to the left half"}},
        {"Snapped to the left half", two, 0, {"Snapped to", "the left", "half"}},
        {"Snapped to   the left", two + 1, 0, {"Snapped to", "the left"}}, // blanks at a break go
        {"Snapped\nto", inf, 0, {"Snapped", "to"}},
        {"Snapped to the left half", two, 2, {"Snapped to", TextMetrics::fitted("the left half", two, font)}},
        {"Snapped\nto", inf, 1, {"Snapped to"}},
        {"ööööö", TextMetrics::width("öö", font), 0, {"öö", "öö", "ö"}}, // a word wider than the width
        {"", 10, 0, {""}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TextMetrics::lines(c.text, c.width, font, c.maxLines), c.lines) << c.text << " in " << c.width;
    }
}

TEST(TextFit, FittingALongLineMeasuresOnlyWhatFits) {
    // Shortening a 100,000-character line one character at a time and measuring it again would
    // measure billions of characters; one pass measures what fits.
    const std::string line(100000, 'x');
    const auto before = TextMetrics::measuredCharacters();
    const std::string shown = TextMetrics::fitted(line, 200, Font{});
    EXPECT_LT(TextMetrics::measuredCharacters() - before, 100u);
    EXPECT_EQ(shown.substr(shown.size() - 3), "…");
    const auto lines = TextMetrics::lines(line, 200, Font{}, 3);
    EXPECT_LT(TextMetrics::measuredCharacters() - before, 200u);
    EXPECT_EQ(lines.size(), 3u);
}

TEST(TextFit, APageShowsItsHeadingsParagraphsItemsAndLinksInOrder) {
    using Kind = WebPageText::Kind;
    using Block = WebPageText::Block;
    using Link = WebPageText::Link;
    const std::string html = R"(<!DOCTYPE html><html><head><meta charset="utf-8"><title>T</title>
<style>h1 { color: red; } p > a { x: "<b>" }</style></head>
<body><div class="wrap"><h1>Tilmora   Help</h1>
<p>Drag a <b>window</b>&nbsp;into a grid &amp; press&#x2026; &lt;ok&gt; &bogus; &#9731;</p>
<div class="toc"><b>Contents</b><ul><li><a href="#quickstart">Quick Start</a></li></ul></div>
<!-- a comment <p>not shown</p> -->
<h2 id="quickstart">Quick Start</h2>
<ol><li>Allow access (Settings &gt; Privacy).<li>Click <b>Left Half</b>.
<ul><li>nested</li></ul>and more</li></ol>
<p>Mail <a HREF='mailto:a@b.c'>us</a> or <a href=https://x.y/?a=1&amp;b=2>the site</a>.</p>
<script>if (a < b) document.write("<p>no</p>");</script></div></body></html>)";
    const std::vector<Block> expected = {
        {Kind::heading, 1, "", "Tilmora Help", {}, {}},
        {Kind::paragraph, 0, "", "Drag a window\u00A0into a grid & press\u2026 <ok> &bogus; \u2603", {}, {}},
        {Kind::text, 0, "", "Contents", {}, {}},
        {Kind::item, 1, "\u2022", "Quick Start", {Link{"Quick Start", "#quickstart"}}, {}},
        {Kind::heading, 2, "", "Quick Start", {}, {"quickstart"}},
        {Kind::item, 1, "1.", "Allow access (Settings > Privacy).", {}, {}},
        {Kind::item, 1, "2.", "Click Left Half.", {}, {}},
        {Kind::item, 2, "\u2022", "nested", {}, {}},
        {Kind::item, 1, "", "and more", {}, {}},
        {Kind::paragraph, 0, "", "Mail us or the site.",
         {Link{"us", "mailto:a@b.c"}, Link{"the site", "https://x.y/?a=1&b=2"}}, {}},
    };
    const auto blocks = WebPageText::blocks(html);
    ASSERT_EQ(blocks.size(), expected.size());
    for (std::size_t i = 0; i < blocks.size(); ++i)
        EXPECT_EQ(blocks[i], expected[i]) << i << ": " << blocks[i].text;
    EXPECT_TRUE(blocks[3].isLink());
    EXPECT_FALSE(blocks[9].isLink());
    // Markup cut short shows what came before it.
    EXPECT_EQ(WebPageText::blocks("<p>kept</p><p>lost <b").size(), 2U);
    EXPECT_TRUE(WebPageText::blocks("<style>p {}").empty());
}

} // namespace
