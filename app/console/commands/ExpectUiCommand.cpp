// expect ui "<window>" shown | hidden
// expect ui "<window>" "<id>" value "V" | text "T" | [not] enabled | disabled | shown | hidden | selected |
//   recording

#include "console/CommandArgs.hpp"
#include "console/CommandError.hpp"
#include "console/ConsoleSession.hpp"
#include "console/ConsoleText.hpp"
#include "console/ExpectationRegistration.hpp"
#include "console/NameSuggestions.hpp"
#include "console/ProgramWindows.hpp"
#include "console/WindowElements.hpp"

#include <algorithm>
#include <optional>
#include <vector>

namespace tilmora {

namespace {

using Text = ConsoleText;

const char* const kUsage =
    "usage: expect ui \"<window>\" shown|hidden, or expect ui \"<window>\" \"<id>\" "
    "value \"V\" | text \"T\" | [not] enabled|disabled|shown|hidden|selected|recording";

/// Whether some program window goes by `name` (its title, its panel name or "#N"); a window that
/// is not there counts as hidden, with all it would hold.
bool windowExists(const std::string& name) {
    const auto all = ProgramWindows::windows();
    return std::any_of(all.begin(), all.end(), [&name](const auto& window) {
        return window->title == name || ProgramWindows::panelName(*window) == name ||
               "#" + std::to_string(window->windowNumber()) == name;
    });
}

/// What the script states of a window: shown or hidden.
void expectWindow(ConsoleSession& session, const std::string& name, const std::string& check) {
    const std::string label = "ui " + Text::quote(name);
    if (!windowExists(name)) {
        if (check == "shown") session.failExpectation(label, check, "no program window " + Text::quote(name));
        return;
    }
    const bool shown = ProgramWindows::window(name).isVisible();
    if (shown != (check == "shown")) session.failExpectation(label, check, shown ? "shown" : "hidden");
}

/// Whether the element's state holds the check (`value` and `text` compare with `want`).
bool holds(const WindowElements::State& state, const std::string& check, const std::string& want) {
    if (check == "value") return state.valueIs(want);
    if (check == "text") return state.text.value_or(std::string()) == want;
    if (check == "enabled") return !state.disabled;
    if (check == "disabled") return state.disabled;
    if (check == "shown") return state.shown;
    if (check == "hidden") return !state.shown;
    if (check == "selected") return state.selected;
    return state.recording; // "recording"
}

void expectElement(ConsoleSession& session, const CommandArgs& args) {
    const std::string& name = args.text(2);
    const std::string& id = args.text(3);
    // "not" before a state word negates it.
    const bool negated = args.text(4) == "not" && !args.quoted(4);
    const std::size_t at = negated ? 5 : 4;
    if (args.size() <= at) throw CommandError(kUsage);
    const std::string& check = args.text(at);
    const bool compares = check == "value" || check == "text";
    static const char* const kChecks[] = {"enabled", "disabled", "shown", "hidden", "selected", "recording"};
    const bool known =
        compares ? !negated : std::find(std::begin(kChecks), std::end(kChecks), check) != std::end(kChecks);
    if (!compares && !known && !args.quoted(at)) {
        std::vector<std::string> words(std::begin(kChecks), std::end(kChecks));
        if (!negated) words.insert(words.begin(), {"value", "text"});
        if (auto mistyped = NameSuggestions::mistyped("ui check", check, words, kUsage)) throw *mistyped;
    }
    if (!known || args.size() != at + (compares ? 2u : 1u)) throw CommandError(kUsage);
    const std::string want = compares ? args.text(at + 1) : std::string();
    const std::string label = "ui " + Text::quote(name) + " " + Text::quote(id);
    const std::string expected = compares ? check + " " + Text::quote(want) : (negated ? "not " : "") + check;
    // A window or an element that is not there is hidden; every other check on it fails.
    std::optional<WindowElements::State> state;
    std::string missing;
    if (!windowExists(name)) {
        missing = "no program window " + Text::quote(name);
    } else {
        try {
            state = WindowElements::state(ProgramWindows::window(name), id);
        } catch (const CommandError& e) {
            // What is missing, without the suggestions and the long list of what there is.
            missing = e.what();
            if (!e.listed.empty()) missing = missing.substr(0, missing.find(';'));
        }
    }
    if (!state) {
        // What is not there is hidden (not shown); every other check on it fails, so that a
        // misspelt id never passes.
        const bool holdsMissing = check == (negated ? "shown" : "hidden");
        if (!holdsMissing) session.failExpectation(label, expected, missing);
        return;
    }
    if (holds(*state, check, want) != negated) return;
    session.failExpectation(label, expected, (state->shown ? "" : "hidden: ") + state->line);
}

void expectUi(ConsoleSession& session, const CommandArgs& args) {
    session.requireProgramRunning();
    ProgramWindows::requireDisplay();
    if (args.size() == 4 && (args.text(3) == "shown" || args.text(3) == "hidden"))
        return expectWindow(session, args.text(2), args.text(3));
    if (args.size() == 4 && !args.quoted(3))
        if (auto mistyped = NameSuggestions::mistyped("ui check", args.text(3), {"shown", "hidden"}, kUsage))
            throw *mistyped;
    if (args.size() < 5) throw CommandError(kUsage);
    expectElement(session, args);
}

const ExpectationRegistration expectations({{"ui", expectUi}});

} // namespace

} // namespace tilmora
