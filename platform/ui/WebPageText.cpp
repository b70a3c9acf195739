#include "platform/ui/WebPageText.hpp"

#include "platform/foundation/Text.hpp"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <map>

namespace platform::ui {

namespace {

using Block = WebPageText::Block;
using Kind = WebPageText::Kind;

std::string lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

/// Decodes the character references of `text` ("&amp;", "&#8230;", "&#x2026;" and the common
/// named ones); an unknown or unterminated one stays as written.
std::string decoded(const std::string& text) {
    static const std::map<std::string, std::uint32_t> named = {
        {"amp", '&'},      {"lt", '<'},       {"gt", '>'},        {"quot", '"'},     {"apos", '\''},
        {"nbsp", 0xA0},    {"hellip", 0x2026}, {"mdash", 0x2014}, {"ndash", 0x2013}, {"copy", 0xA9},
        {"reg", 0xAE},     {"trade", 0x2122}, {"laquo", 0xAB},    {"raquo", 0xBB},   {"lsquo", 0x2018},
        {"rsquo", 0x2019}, {"ldquo", 0x201C}, {"rdquo", 0x201D},  {"bull", 0x2022},  {"middot", 0xB7},
        {"times", 0xD7},   {"rarr", 0x2192},  {"larr", 0x2190},   {"uarr", 0x2191},  {"darr", 0x2193}};
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] != '&') {
            out += text[i++];
            continue;
        }
        const std::size_t semi = text.find(';', i + 1);
        if (semi == std::string::npos || semi - i > 12) {
            out += text[i++];
            continue;
        }
        const std::string name = text.substr(i + 1, semi - i - 1);
        std::optional<std::uint32_t> code;
        if (name.size() > 1 && name[0] == '#') {
            const bool hex = name[1] == 'x' || name[1] == 'X';
            const std::string digits = name.substr(hex ? 2 : 1);
            char* end = nullptr;
            const unsigned long value = std::strtoul(digits.c_str(), &end, hex ? 16 : 10);
            if (!digits.empty() && end != nullptr && *end == '\0' && value <= 0x10FFFF)
                code = static_cast<std::uint32_t>(value);
        } else if (auto it = named.find(name); it != named.end()) {
            code = it->second;
        }
        if (!code) {
            out += text[i++];
            continue;
        }
        const std::uint32_t c = *code;
        Text::appendUtf8(out, c == 0 || (c >= 0xD800 && c <= 0xDFFF) ? U'\uFFFD' : static_cast<char32_t>(c));
        i = semi + 1;
    }
    return out;
}

/// One tag: its lower-case name, whether it closes, and its attributes (names lower-case).
struct Tag {
    std::string name;
    bool closing = false;
    std::map<std::string, std::string> attributes;
};

Tag parseTag(const std::string& inside) {
    Tag tag;
    std::size_t i = 0;
    if (i < inside.size() && inside[i] == '/') {
        tag.closing = true;
        ++i;
    }
    const std::size_t nameStart = i;
    while (i < inside.size() && !isSpace(inside[i]) && inside[i] != '/')
        ++i;
    tag.name = lower(inside.substr(nameStart, i - nameStart));
    while (i < inside.size()) {
        while (i < inside.size() && (isSpace(inside[i]) || inside[i] == '/'))
            ++i;
        const std::size_t keyStart = i;
        while (i < inside.size() && !isSpace(inside[i]) && inside[i] != '=' && inside[i] != '/')
            ++i;
        const std::string key = lower(inside.substr(keyStart, i - keyStart));
        if (key.empty()) break;
        std::string value;
        if (i < inside.size() && inside[i] == '=') {
            ++i;
            if (i < inside.size() && (inside[i] == '"' || inside[i] == '\'')) {
                const char quote = inside[i++];
                const std::size_t end = inside.find(quote, i);
                value = inside.substr(i, end == std::string::npos ? std::string::npos : end - i);
                i = end == std::string::npos ? inside.size() : end + 1;
            } else {
                const std::size_t valueStart = i;
                while (i < inside.size() && !isSpace(inside[i]))
                    ++i;
                value = inside.substr(valueStart, i - valueStart);
            }
        }
        tag.attributes[key] = decoded(value);
    }
    return tag;
}

bool isBlockTag(const std::string& name) {
    static const char* const names[] = {"p",       "div",    "li",     "ul",    "ol",     "h1",    "h2",
                                        "h3",      "h4",     "h5",     "h6",    "br",     "hr",    "table",
                                        "tr",      "td",     "th",     "dl",    "dt",     "dd",    "section",
                                        "article", "header", "footer", "nav",   "aside",  "main",  "blockquote",
                                        "pre",     "body",   "html",   "figure", "figcaption", "address"};
    for (const char* n : names)
        if (name == n) return true;
    return false;
}

bool isHidden(const std::string& name) {
    return name == "head" || name == "style" || name == "script" || name == "title" || name == "template";
}

/// Builds the blocks while the markup is read.
class Reader {
public:
    std::vector<Block> take() {
        flush();
        return std::move(blocks_);
    }

    void text(const std::string& raw) {
        if (hidden_ > 0) return;
        for (char c : decoded(raw)) {
            const bool space = isSpace(c) || c == '\0';
            if (space) {
                pendingSpace_ = !run_.empty();
                if (link_) linkSpace_ = !link_->text.empty();
                continue;
            }
            if (pendingSpace_) run_ += ' ';
            pendingSpace_ = false;
            run_ += c;
            if (link_) {
                if (linkSpace_) link_->text += ' ';
                linkSpace_ = false;
                link_->text += c;
            }
        }
    }

    void tag(const Tag& tag) {
        if (isHidden(tag.name)) {
            hidden_ = tag.closing ? std::max(0, hidden_ - 1) : hidden_ + 1;
            return;
        }
        if (hidden_ > 0) return;
        std::optional<std::string> anchor;
        if (!tag.closing) {
            if (auto id = tag.attributes.find("id"); id != tag.attributes.end() && !id->second.empty())
                anchor = id->second;
            else if (auto name = tag.attributes.find("name"); tag.name == "a" && name != tag.attributes.end())
                anchor = name->second;
        }
        // An element's id goes to the block its text starts (a block element's after the text
        // before it has ended its own block).
        if (anchor && !isBlockTag(tag.name)) anchors_.push_back(*anchor);
        if (tag.name == "a") {
            if (tag.closing) {
                endLink();
            } else if (auto href = tag.attributes.find("href"); href != tag.attributes.end()) {
                endLink();
                link_ = WebPageText::Link{{}, href->second};
                linkSpace_ = false;
            }
            return;
        }
        if (!isBlockTag(tag.name)) {
            // An inline element between two words keeps them apart only where the page has space.
            return;
        }
        flush();
        if (anchor) anchors_.push_back(*anchor);
        const std::string& n = tag.name;
        if (n == "br" || n == "hr") return;
        const bool isList = n == "ul" || n == "ol";
        if (tag.closing) {
            // Close up to the matching element (an unclosed inner one closes with it).
            for (std::size_t i = open_.size(); i-- > 0;) {
                if (open_[i] != n) continue;
                for (std::size_t j = i; j < open_.size(); ++j)
                    if ((open_[j] == "ul" || open_[j] == "ol") && !lists_.empty()) lists_.pop_back();
                open_.resize(i);
                break;
            }
            return;
        }
        if (isList) lists_.push_back({n == "ol", 0, false});
        if (n == "li") {
            // An unclosed item of the same list before this one ends here.
            while (!open_.empty() && open_.back() == "li")
                open_.pop_back();
            if (!lists_.empty()) {
                ++lists_.back().count;
                lists_.back().markerShown = false;
            }
        }
        if (n == "p") {
            while (!open_.empty() && open_.back() == "p")
                open_.pop_back();
        }
        open_.push_back(n);
    }

private:
    struct List {
        bool numbered = false;
        int count = 0;
        bool markerShown = false;
    };

    void endLink() {
        if (!link_) return;
        if (!link_->text.empty()) links_.push_back(std::move(*link_));
        link_.reset();
    }

    /// Ends the run of text so far as a block of the innermost open element's kind.
    void flush() {
        if (link_ && !link_->text.empty()) {
            // A link that spans blocks is cut where its block ends and goes on in the next.
            links_.push_back(*link_);
            link_->text.clear();
        }
        if (!run_.empty()) {
            Block block;
            for (std::size_t i = open_.size(); i-- > 0;) {
                const std::string& n = open_[i];
                if (n.size() == 2 && n[0] == 'h' && n[1] >= '1' && n[1] <= '6') {
                    block.kind = Kind::heading;
                    block.level = n[1] - '0';
                    break;
                }
                if (n == "li") {
                    block.kind = Kind::item;
                    block.level = static_cast<int>(std::max<std::size_t>(lists_.size(), 1));
                    // An item's text after a list inside it goes on without a marker.
                    if (lists_.empty()) {
                        block.marker = "\u2022";
                    } else if (!lists_.back().markerShown) {
                        block.marker = lists_.back().numbered ? std::to_string(lists_.back().count) + "." : "\u2022";
                        lists_.back().markerShown = true;
                    }
                    break;
                }
                if (n == "p") {
                    block.kind = Kind::paragraph;
                    break;
                }
            }
            block.text = std::move(run_);
            block.links = std::move(links_);
            block.anchors = std::move(anchors_);
            anchors_.clear();
            blocks_.push_back(std::move(block));
        }
        run_.clear();
        links_.clear();
        pendingSpace_ = false;
    }

    std::vector<Block> blocks_;
    std::vector<std::string> open_;
    std::vector<List> lists_;
    std::string run_;
    std::vector<WebPageText::Link> links_;
    std::optional<WebPageText::Link> link_;
    std::vector<std::string> anchors_; // ids waiting for the next block
    bool pendingSpace_ = false;
    bool linkSpace_ = false;
    int hidden_ = 0;
};

} // namespace

std::vector<WebPageText::Block> WebPageText::blocks(const std::string& html) {
    Reader reader;
    std::size_t i = 0;
    while (i < html.size()) {
        const std::size_t open = html.find('<', i);
        if (open == std::string::npos) {
            reader.text(html.substr(i));
            break;
        }
        if (open > i) reader.text(html.substr(i, open - i));
        if (html.compare(open, 4, "<!--") == 0) {
            const std::size_t end = html.find("-->", open + 4);
            if (end == std::string::npos) break;
            i = end + 3;
            continue;
        }
        const std::size_t close = html.find('>', open + 1);
        if (close == std::string::npos) break;
        const std::string inside = html.substr(open + 1, close - open - 1);
        i = close + 1;
        if (inside.empty() || inside[0] == '!' || inside[0] == '?') continue;
        const Tag tag = parseTag(inside);
        reader.tag(tag);
        // The text of a style sheet or script may hold "<": skip to its end tag.
        if (!tag.closing && (tag.name == "style" || tag.name == "script")) {
            const std::string lowerRest = lower(html.substr(i));
            const std::size_t end = lowerRest.find("</" + tag.name);
            if (end == std::string::npos) break;
            i += end;
        }
    }
    return reader.take();
}

} // namespace platform::ui
