// menu [display N]
// menu "Title" [> "Sub" ...] [display N]
// menu pick "Title" [> "Sub" ...] [display N]
// expect menu "Title" [> "Sub" ...] checked|unchecked|missing|present [display N]

#include "console/CommandArgs.hpp"
#include "console/CommandError.hpp"
#include "console/CommandRegistration.hpp"
#include "console/ConsoleSession.hpp"
#include "console/ConsoleText.hpp"
#include "console/ExpectationRegistration.hpp"
#include "console/MenuText.hpp"
#include "console/NameSuggestions.hpp"
#include "console/ProgramWindows.hpp"
#include "console/StatusMenuReading.hpp"
#include "platform/control/UISimulator.hpp"

#include <functional>
#include <memory>
#include <optional>
#include <ostream>

namespace tilmora {

namespace {

using platform::ui::Menu;
using platform::ui::UISimulator;

const char* const kMenuUsage =
    "usage: menu [\"Title\" [> \"Sub\" ...]] [display N] | menu pick \"Title\" [> \"Sub\" ...] [display N]";
const char* const kExpectUsage =
    "usage: expect menu \"Title\" [> \"Sub\" ...] checked|unchecked|missing|present [display N]";
const char* const kPickForm = "menu pick \"Title\" [> \"Sub\" ...] [display N]";
const char* const kMenuForm = "menu \"Title\" [> \"Sub\" ...] [display N]";
const char* const kExpectForm = "expect menu \"Title\" [> \"Sub\" ...] checked|unchecked|missing|present [display N]";

/// The item path from word `at` on ("Title" > "Sub" > ...); `at` moves past it. An empty title
/// names no item: it is refused with `form`, how the command is written ("a title is needed: menu
/// pick "Title" ...").
std::vector<std::string> readPath(const CommandArgs& args, std::size_t& at, const char* usage, const char* form) {
    if (at >= args.size()) throw CommandError(usage);
    std::vector<std::string> path{args.text(at++)};
    while (at < args.size() && args.text(at) == ">" && !args.quoted(at)) {
        if (at + 1 >= args.size()) throw CommandError(usage);
        path.push_back(args.text(at + 1));
        at += 2;
    }
    for (const auto& title : path)
        if (title.empty()) throw CommandError(std::string("a title is needed: ") + form);
    return path;
}

/// "display N" from word `at` to the end, or nothing there.
std::optional<long> readDisplay(const CommandArgs& args, std::size_t at, const char* usage) {
    if (at == args.size()) return std::nullopt;
    if (at + 2 != args.size() || args.text(at) != "display") throw CommandError(usage);
    return args.integer(at + 1);
}

/// Refuses a title of several words typed without quotes ("menu pick Right Half"), saying how to
/// write it; words from `first` on that hold a quoted word, ">" or "display" pass.
void refuseUnquotedTitle(const CommandArgs& args, std::size_t first, const std::string& command) {
    if (args.size() < first + 2) return;
    std::string title;
    for (std::size_t i = first; i < args.size(); ++i) {
        if (args.quoted(i) || args.text(i) == ">" || args.text(i) == "display") return;
        title += (title.empty() ? "" : " ") + args.text(i);
    }
    throw CommandError("a title of several words goes in quotes: " + command + " " + ConsoleText::quote(title));
}

/// Clicks the program's status item on the menu bar of `display`; `choose` reads the open menu
/// and returns the path of the item to pick (full titles; empty: the menu is dismissed). Throws
/// when the click opens no menu.
void openStatusMenu(ConsoleSession& session, std::optional<long> display,
                    std::function<std::vector<std::string>(Menu&)> choose) {
    auto& item = ProgramWindows::statusItem();
    const std::size_t screen = ProgramWindows::screenIndex(display);
    const StatusMenuReading reading(std::move(choose));
    const bool clicked = UISimulator::clickStatusItem(item, screen);
    session.settle();
    if (!reading.opened())
        throw CommandError(clicked ? "the status item opened no menu" : "the status item cannot be clicked");
}

/// The full titles of the items along `path`, as the menu tracking follows them.
std::vector<std::string> fullTitles(Menu& menu, const std::vector<std::string>& path) {
    std::vector<std::string> titles;
    for (std::size_t i = 1; i <= path.size(); ++i)
        titles.push_back(MenuText::find(menu, {path.begin(), path.begin() + static_cast<long>(i)})->title);
    return titles;
}

void menuCommand(ConsoleSession& session, const CommandArgs& args) {
    session.requireProgramRunning();
    ProgramWindows::requireDisplay();
    if (args.argumentCount() > 0 && args.text(1) == "pick" && !args.quoted(1)) {
        refuseUnquotedTitle(args, 2, "menu pick");
        std::size_t at = 2;
        const auto path = readPath(args, at, kMenuUsage, kPickForm);
        const auto display = readDisplay(args, at, kMenuUsage);
        std::string problem;
        std::optional<CommandError> missing;
        openStatusMenu(session, display, [&](Menu& menu) -> std::vector<std::string> {
            const auto item = MenuText::find(menu, path);
            if (!item)
                missing = MenuText::missing(menu, path);
            else if (!item->isEnabled)
                problem = "the menu item " + MenuText::pathText(path) + " is disabled";
            else if (item->hasSubmenu())
                problem = "the menu item " + MenuText::pathText(path) + " opens a submenu";
            else
                return fullTitles(menu, path);
            return {};
        });
        if (missing) throw *missing;
        if (!problem.empty()) throw CommandError(problem);
        const auto& log = UISimulator::menuLog();
        if (log.empty() || !log.back().picked)
            throw CommandError("the menu item " + MenuText::pathText(path) + " could not be picked");
        session.out() << "picked " << MenuText::pathText(path) << "\n";
        return;
    }
    // `menu "Title" > ...` prints the items of that submenu, as opening it shows them.
    refuseUnquotedTitle(args, 1, "menu");
    std::size_t at = 1;
    std::vector<std::string> path;
    if (args.argumentCount() > 0 && !(args.text(1) == "display" && !args.quoted(1))) path = readPath(args, at, kMenuUsage, kMenuForm);
    const auto display = readDisplay(args, at, kMenuUsage);
    std::string text;
    std::string problem;
    std::optional<CommandError> missing;
    openStatusMenu(session, display, [&](Menu& menu) {
        if (path.empty()) {
            text = MenuText::describe(menu);
        } else if (const auto item = MenuText::find(menu, path); !item) {
            missing = MenuText::missing(menu, path);
        } else if (!item->hasSubmenu()) {
            problem = "the menu item " + MenuText::pathText(path) + " opens no submenu";
        } else {
            item->submenu()->update();
            text = MenuText::describe(*item->submenu(), path);
        }
        return std::vector<std::string>{};
    });
    if (missing) throw *missing;
    if (!problem.empty()) throw CommandError(problem);
    session.out() << text;
}

void expectMenu(ConsoleSession& session, const CommandArgs& args) {
    session.requireProgramRunning();
    std::size_t at = 2;
    const auto path = readPath(args, at, kExpectUsage, kExpectForm);
    if (at >= args.size()) throw CommandError(kExpectUsage);
    const std::string want = args.text(at);
    if (want != "checked" && want != "unchecked" && want != "missing" && want != "present") {
        if (!args.quoted(at))
            if (auto mistyped = NameSuggestions::mistyped("menu check", want,
                                                          {"checked", "unchecked", "missing", "present"}, kExpectUsage))
                throw *mistyped;
        throw CommandError(kExpectUsage);
    }
    const auto display = readDisplay(args, at + 1, kExpectUsage);
    std::string actual;
    openStatusMenu(session, display, [&](Menu& menu) {
        const auto item = MenuText::find(menu, path);
        if (!item)
            actual = "missing";
        else if (want == "present" || want == "missing")
            actual = "present";
        else
            actual = item->state == platform::ui::ControlState::on ? "checked" : "unchecked";
        return std::vector<std::string>{};
    });
    if (actual != want) session.failExpectation("menu " + MenuText::pathText(path), want, actual);
}

const CommandRegistration registration({
    {.name = "menu",
     .arguments = ArgumentCheck::any(),
     .handler = menuCommand,
     .help = {"menu [display N]", "menu \"Title\" [> \"Sub\" ...] [display N]", "menu pick \"Title\" [> \"Sub\" ...] [display N]",
              "expect menu \"Title\" [> \"Sub\" ...] checked|unchecked|missing|present [display N]"},
     .words = {"pick", "display"},
     .helpOrder = 750},
});

const ExpectationRegistration expectations({{"menu", expectMenu}});

} // namespace

} // namespace tilmora
