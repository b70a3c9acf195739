#include "console/LineEditor.hpp"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cwctype>
#include <stdexcept>
#include <string_view>

#include <histedit.h>
#include <poll.h>
#include <sys/mman.h>
#include <unistd.h>

namespace tilmora {

namespace {

constexpr wchar_t kEndOfInput = 4; // Ctrl-D, as the editor leaves it on an empty line

/// `count` wide characters in the locale's encoding (UTF-8 under a UTF-8 locale); a character the
/// encoding cannot hold is left out.
std::string narrow(const wchar_t* text, std::size_t count) {
    std::string out;
    out.reserve(count);
    std::mbstate_t state{};
    char bytes[MB_LEN_MAX];
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t n = std::wcrtomb(bytes, text[i], &state);
        if (n == static_cast<std::size_t>(-1)) {
            state = {};
            continue;
        }
        out.append(bytes, n);
    }
    return out;
}

std::wstring widen(std::string_view text) {
    std::wstring out;
    std::mbstate_t state{};
    for (std::size_t at = 0; at < text.size();) {
        wchar_t c = 0;
        const std::size_t n = std::mbrtowc(&c, text.data() + at, text.size() - at, &state);
        if (n == static_cast<std::size_t>(-1) || n == static_cast<std::size_t>(-2)) {
            state = {};
            ++at;
            continue;
        }
        out += c;
        at += std::max<std::size_t>(n, 1);
    }
    return out;
}

bool blank(std::string_view line) {
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

} // namespace

LineEditor::LineEditor(Options options)
    : options_(std::move(options))
    , prompt_(widen(options_.prompt)) {
    el_ = el_init("tilmora", stdin, stdout, stderr);
    if (el_ == nullptr) throw std::runtime_error("the line editor cannot start");
    history_ = history_winit();
    HistEventW event;
    history_w(history_, &event, H_SETSIZE, options_.historyLines);
    el_wset(el_, EL_CLIENTDATA, this);
    el_wset(el_, EL_EDITOR, L"emacs");
    el_wset(el_, EL_PROMPT, &LineEditor::promptText);
    el_wset(el_, EL_GETCFN, &LineEditor::readKey);
    el_wset(el_, EL_HIST, history_w, history_);
    el_wset(el_, EL_ADDFN, L"tilmora-complete", L"Complete the command's name", &LineEditor::complete);
    el_wset(el_, EL_BIND, L"^I", L"tilmora-complete", nullptr);
}

LineEditor::~LineEditor() {
    stop();
    el_end(el_);
    history_wend(history_);
}

LineEditor& LineEditor::of(editline* el) {
    void* self = nullptr;
    el_wget(el, EL_CLIENTDATA, &self);
    return *static_cast<LineEditor*>(self);
}

wchar_t* LineEditor::promptText(editline* el) {
    return of(el).prompt_.data();
}

bool LineEditor::keyReady() const {
    pollfd fds[2] = {{STDIN_FILENO, POLLIN, 0}, {options_.wakeDescriptor, POLLIN, 0}};
    if (::poll(fds, options_.wakeDescriptor >= 0 ? 2 : 1, 0) <= 0) return false;
    if (fds[1].revents != 0) return false;
    return fds[0].revents != 0;
}

bool LineEditor::waitForKey() const {
    for (;;) {
        pollfd fds[2] = {{STDIN_FILENO, POLLIN, 0}, {options_.wakeDescriptor, POLLIN, 0}};
        const int ready = ::poll(fds, options_.wakeDescriptor >= 0 ? 2 : 1, -1);
        if (ready < 0 && errno == EINTR) continue;
        if (ready < 0) return true; // the read that follows reports the failure
        if (fds[1].revents != 0) return false;
        if (fds[0].revents != 0) return true;
    }
}

// The editor's source of keys: one character of the locale's encoding, read a byte at a time
// from standard input (never further than the key needs, so the rest stays in the terminal's
// queue). 1 with a character, 0 at the end of the input, -1 when a signal stopped the wait or the
// terminal failed.
int LineEditor::readKey(editline* el, wchar_t* key) {
    auto& self = of(el);
    *key = 0;
    for (;;) {
        if (!self.waitForKey()) return -1;
        unsigned char byte = 0;
        const ssize_t n = ::read(STDIN_FILENO, &byte, 1);
        if (n == 0) {
            self.atEnd_ = true;
            return 0;
        }
        if (n < 0) {
            if (errno == EINTR || errno == EAGAIN) continue;
            self.atEnd_ = true;
            return -1;
        }
        const char c = static_cast<char>(byte);
        wchar_t decoded = 0;
        std::size_t used = std::mbrtowc(&decoded, &c, 1, &self.decoding_);
        if (used == static_cast<std::size_t>(-1)) {
            // The byte broke the character begun before it (a cut sequence): that character is
            // dropped and the byte starts the next one, so a Return after a stray lead byte
            // still ends the line. A byte that cannot start a character is dropped too.
            self.decoding_ = {};
            used = std::mbrtowc(&decoded, &c, 1, &self.decoding_);
            if (used == static_cast<std::size_t>(-1)) {
                self.decoding_ = {};
                continue;
            }
        }
        if (used == static_cast<std::size_t>(-2)) continue;
        *key = decoded;
        return 1;
    }
}

namespace {

/// `text` without a character cut short at its end (a common beginning may end inside one).
std::string wholeCharacters(std::string text) {
    std::size_t at = text.size();
    std::size_t continuation = 0;
    while (at > 0 && (static_cast<unsigned char>(text[at - 1]) & 0xC0) == 0x80 && continuation < 3) {
        --at;
        ++continuation;
    }
    if (at == 0) return text;
    const auto lead = static_cast<unsigned char>(text[at - 1]);
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    if (length > continuation + 1) text.erase(at - 1);
    return text;
}

} // namespace

// Tab: completes the word before the cursor: the first word from the list, a later one from the
// completer. A word opened with a quote completes to the quoted candidate (an id or a selector
// given bare is quoted then); a word typed without one completes to a quoted title. Words match
// in the spelling the options give (a title's ASCII spelling). Several candidates complete their
// common beginning, and a second Tab lists them.
unsigned char LineEditor::complete(editline* el, wint_t) {
    auto& self = of(el);
    const LineInfoW* line = el_wline(el);
    // The words before the cursor; a quote opens a word that runs to the closing quote.
    std::vector<std::string> words;
    const wchar_t* word = nullptr;
    bool inQuotes = false;
    for (const wchar_t* c = line->buffer; c < line->cursor; ++c) {
        if (word == nullptr) {
            if (std::iswspace(static_cast<wint_t>(*c))) continue;
            word = c;
            inQuotes = *c == L'"';
            continue;
        }
        if (inQuotes) {
            if (*c == L'\\' && c + 1 < line->cursor) ++c;
            else if (*c == L'"') inQuotes = false;
            continue;
        }
        if (std::iswspace(static_cast<wint_t>(*c))) {
            std::string text = narrow(word, static_cast<std::size_t>(c - word));
            if (text.size() >= 2 && text.front() == '"' && text.back() == '"') text = text.substr(1, text.size() - 2);
            words.push_back(std::move(text));
            word = nullptr;
        }
    }
    const std::size_t typedLength = word ? static_cast<std::size_t>(line->cursor - word) : 0;
    const std::string typed = word ? narrow(word, typedLength) : std::string();
    std::vector<std::string> candidates;
    if (words.empty())
        candidates = self.options_.completions;
    else if (self.options_.completer)
        candidates = self.options_.completer(words);
    const auto spelled = [&self](const std::string& text) {
        return self.options_.spelling ? self.options_.spelling(text) : text;
    };
    const bool opened = typed.starts_with('"');
    const std::string wanted = spelled(typed);
    std::vector<std::string> matches;
    for (auto candidate : candidates) {
        // Opened with a quote: the candidate in quotes; else a quoted title matches by its text.
        if (opened && !candidate.starts_with('"')) candidate = '"' + candidate + '"';
        const std::string spelling = spelled(candidate);
        const bool matched =
            spelling.starts_with(wanted) ||
            (!opened && candidate.starts_with('"') && spelling.compare(1, wanted.size(), wanted) == 0);
        if (matched && std::find(matches.begin(), matches.end(), candidate) == matches.end())
            matches.push_back(std::move(candidate));
    }
    if (matches.empty()) return CC_ERROR;
    std::string common = matches.front();
    for (const auto& match : matches) {
        const auto differs = std::mismatch(common.begin(), common.end(), match.begin(), match.end());
        common.erase(differs.first, common.end());
    }
    common = wholeCharacters(std::move(common));
    if (matches.size() == 1) common += ' ';
    // The common beginning replaces the word when it adds to it (a quote before a bare word too).
    const std::string reached = spelled(common);
    const bool longer = reached.starts_with(wanted) ? reached.size() > wanted.size()
                                                    : common.starts_with('"') && !opened &&
                                                          reached.compare(1, wanted.size(), wanted) == 0;
    if (common != typed && longer) {
        el_wdeletestr(el, static_cast<int>(typedLength));
        el_winsertstr(el, widen(common).c_str());
        return CC_REFRESH;
    }
    std::string listed = "\n";
    for (const auto& match : matches) listed += match + "  ";
    listed += "\n";
    std::fputs(listed.c_str(), stdout);
    return CC_REDISPLAY;
}

void LineEditor::start() {
    if (editing_) return;
    editing_ = true;
    discarding_ = false;
    restartDue_ = false;
    decoding_ = {};
    // Unbuffered mode: the terminal in the editor's mode, an empty line, the prompt.
    el_wset(el_, EL_UNBUFFERED, 1);
}

void LineEditor::stop() {
    if (!editing_) return;
    editing_ = false;
    el_wset(el_, EL_UNBUFFERED, 0);
    std::fflush(stdout);
}

void LineEditor::restart() {
    stop();
    start();
}

void LineEditor::interrupt() {
    stop();
    std::fputs("^C\n", stdout);
    start();
}

LineEditor::Step LineEditor::feed() {
    if (atEnd_) return Step::end;
    if (restartDue_ && !discarding_) restart();
    while (keyReady()) {
        if (discarding_) {
            unsigned char byte = 0;
            const ssize_t n = ::read(STDIN_FILENO, &byte, 1);
            if (n == 0 || (n < 0 && errno != EINTR && errno != EAGAIN)) {
                atEnd_ = true;
                return Step::end;
            }
            if (n == 1 && (byte == '\r' || byte == '\n')) {
                discarding_ = false;
                restart();
            }
            continue;
        }
        int count = 0;
        const wchar_t* text = el_wgets(el_, &count);
        if (atEnd_) return Step::end;
        if (text == nullptr || count <= 0) continue;
        const auto length = static_cast<std::size_t>(count);
        if (length == 1 && text[0] == kEndOfInput) {
            atEnd_ = true;
            return Step::end;
        }
        if (text[length - 1] == L'\n') {
            line_ = narrow(text, length - 1);
            if (line_.size() <= options_.maxLineBytes) return Step::line;
            line_.clear();
            restartDue_ = true;
            return Step::tooLong;
        }
        // Every character takes at least one byte: past the bound in characters is past it in bytes.
        if (length > options_.maxLineBytes) {
            // The refusal goes below the line as far as it was shown.
            std::fputs("\n", stdout);
            discarding_ = true;
            restartDue_ = true;
            return Step::tooLong;
        }
    }
    return Step::waiting;
}

std::string LineEditor::takeLine() {
    std::string line = std::move(line_);
    line_.clear();
    if (!blank(line)) {
        HistEventW event;
        history_w(history_, &event, H_ENTER, widen(line).c_str());
    }
    return line;
}

bool LineEditor::loadHistory(const std::string& text) {
    // libedit reads a history only from a named file: the text goes to an anonymous file in memory.
    const int fd = ::memfd_create("tilmora-history", MFD_CLOEXEC);
    if (fd < 0) return false;
    bool written = true;
    for (std::size_t at = 0; at < text.size() && written;) {
        const ssize_t n = ::write(fd, text.data() + at, text.size() - at);
        if (n < 0 && errno == EINTR) continue;
        written = n > 0;
        if (written) at += static_cast<std::size_t>(n);
    }
    HistEventW event;
    const std::string name = "/proc/self/fd/" + std::to_string(fd);
    const bool loaded = written && history_w(history_, &event, H_LOAD, name.c_str()) >= 0;
    ::close(fd);
    return loaded;
}

std::string LineEditor::historyText(std::size_t maxBytes) const {
    HistEventW event;
    std::size_t keep = history_w(history_, &event, H_GETSIZE) >= 0 ? static_cast<std::size_t>(event.num) : 0;
    for (;;) {
        // libedit writes a history only to a file it can give the user's permissions: a file in
        // memory, read back whole.
        const int fd = ::memfd_create("tilmora-history", MFD_CLOEXEC);
        if (fd < 0) return {};
        FILE* out = ::fdopen(fd, "w+");
        if (out == nullptr) {
            ::close(fd);
            return {};
        }
        std::string text;
        if (history_w(history_, &event, H_NSAVE_FP, keep, out) >= 0 && std::fflush(out) == 0) {
            std::rewind(out);
            char chunk[65536];
            for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, out)) > 0;) text.append(chunk, n);
        }
        std::fclose(out);
        if (text.size() <= maxBytes || keep == 0) return text;
        keep /= 2;
    }
}

} // namespace tilmora
