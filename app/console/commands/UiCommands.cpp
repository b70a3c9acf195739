// ui windows | ui show "<window>" | ui action "<selector>" [true|false]
// ui click "<window>" "<text or id>" | ui type "<window>" "<id>" "<text>" | ui pick "<window>" "<id>"
// "<item>" ui step "<window>" "<id>" up|down | ui scroll "<window>" "<list id>" ROW
// ui scroll "<window>" to "<id>" | ui scroll "<window>" "<scroll view id>" by DY
// ui drag "<window>" "<id>" X1 Y1 to X2 Y2 | ui slide "<window>"
// "<id>" V1 [V2 ...] expect toast "<text>"

#include "console/ActionCatalog.hpp"
#include "console/CommandArgs.hpp"
#include "console/CommandError.hpp"
#include "console/CommandRegistration.hpp"
#include "console/ConsoleSession.hpp"
#include "console/ConsoleText.hpp"
#include "console/ExpectationRegistration.hpp"
#include "console/MenuText.hpp"
#include "console/NameSuggestions.hpp"
#include "console/ProgramHost.hpp"
#include "console/ProgramWindows.hpp"
#include "console/ToastJournal.hpp"
#include "console/WindowElements.hpp"
#include "platform/control/UISimulator.hpp"
#include "platform/control/ViewDriver.hpp"
#include "platform/control/WebViewControl.hpp"
#include "platform/ui/Application.hpp"
#include "platform/ui/ClickActivation.hpp"
#include "platform/ui/PopUpButton.hpp"
#include "platform/ui/Slider.hpp"
#include "platform/ui/TextField.hpp"
#include "platform/ui/WKWebView.hpp"

#include <algorithm>
#include <any>
#include <ostream>
#include <utility>

namespace tilmora {

namespace {

using Text = ConsoleText;
using platform::ui::UISimulator;
using platform::ui::declarative::NodeKind;
using platform::ui::declarative::ViewDriver;

const char* const kUsage =
    "usage: ui windows | show | click | type | pick | step | scroll | drag | slide | action ...";

/// Each verb's own usage, for a line with too few or too many words.
const std::pair<const char*, const char*> kVerbUsages[] = {
    {"windows", "usage: ui windows"},
    {"show", "usage: ui show \"<window>\""},
    {"action", "usage: ui action \"<selector>\" [true|false]"},
    {"click", "usage: ui click \"<window>\" \"<id, text or tooltip>\""},
    {"type", "usage: ui type \"<window>\" \"<id>\" \"<text>\""},
    {"pick", "usage: ui pick \"<window>\" \"<id>\" \"<item>\""},
    {"step", "usage: ui step \"<window>\" \"<id>\" up|down"},
    {"scroll", "usage: ui scroll \"<window>\" \"<list id>\" ROW | ui scroll \"<window>\" to \"<id>\" | "
               "ui scroll \"<window>\" \"<scroll view id>\" by DY"},
    {"drag", "usage: ui drag \"<window>\" \"<id>\" X1 Y1 to X2 Y2"},
    {"slide", "usage: ui slide \"<window>\" \"<id>\" V1 [V2 ...]"},
};

/// The usage of the verb `what`, or the whole `ui` usage for another word.
const char* usageOf(const std::string& what) {
    for (const auto& [verb, usage] : kVerbUsages)
        if (what == verb) return usage;
    return kUsage;
}

/// `ui windows`: the program's windows in creation order; the untitled panels with their names.
void listWindows(ConsoleSession& session) {
    for (const auto& window : ProgramWindows::windows()) {
        session.out() << "window " << window->windowNumber() << " " << Text::quote(window->title) << " frame "
                      << Text::frame(window->frame()) << " level " << window->level() << " "
                      << (window->isVisible()        ? "visible"
                          : window->isMiniaturized() ? "hidden minimized"
                                                     : "hidden");
        if (const auto name = ProgramWindows::panelName(*window)) session.out() << " named " << Text::quote(*name);
        session.out() << "\n";
    }
}

/// An element of a window that a `ui` command works: the window, the element and how to name it.
struct Target {
    platform::ui::Window& window;
    WindowElements::Element element;

    std::string label() const {
        return Text::quote(element.key) + " in " + Text::quote(ProgramWindows::displayName(window));
    }
    [[noreturn]] void fail(const std::string& what) const { throw CommandError(label() + " " + what); }
    /// The hosted element's node (null for a retained view).
    platform::ui::declarative::Node* node() const {
        return element.host ? ViewDriver(*element.host).find(element.key) : nullptr;
    }
    /// The control behind the element: the retained view or a hosted element's native view.
    platform::ui::View* control() const {
        if (element.view) return element.view;
        auto* n = node();
        return n ? n->nativeView.get() : nullptr;
    }
    /// Brings a hosted element that a scroll view hides, wholly or in part, into view, as a UI
    /// test driver does before it works a control.
    void reveal() const {
        if (auto* n = node()) element.host->scrollIntoView(n->key);
    }
    void requireEnabled() const {
        const bool enabled = element.host ? ViewDriver(*element.host).isEnabled(element.key)
                                          : !dynamic_cast<platform::ui::Control*>(element.view) ||
                                                static_cast<platform::ui::Control*>(element.view)->isEnabled;
        if (!enabled) fail("is disabled");
    }
};

/// The window `name` names, when a person can reach it: one that is not on screen (ordered out, or
/// a panel that hid itself) is refused as a disabled control is (""snap bar" is hidden"); `ui
/// show` and `expect ui` still read it.
platform::ui::Window& reachableWindow(const std::string& name) {
    auto& window = ProgramWindows::window(name);
    if (!window.isVisible()) throw CommandError(Text::quote(ProgramWindows::displayName(window)) + " is hidden");
    return window;
}

/// The element that words 2 and 3 name, in a window a person can reach.
Target target(const CommandArgs& args) {
    auto& window = reachableWindow(args.text(2));
    return {window, WindowElements::find(window, args.text(3))};
}

/// The element a command works, brought into view first.
Target shownTarget(const CommandArgs& args) {
    Target t = target(args);
    t.reveal();
    return t;
}

void click(const Target& t) {
    t.requireEnabled();
    if (t.element.host) {
        if (!ViewDriver(*t.element.host).click(t.element.key)) t.fail("cannot be clicked");
        return;
    }
    if (auto href = WindowElements::linkTarget(*t.element.view, t.element.key)) {
        // A link on a web view's page: the click activates the program and the view asks its
        // navigation delegate, as a user's click does.
        if (auto* window = t.element.view->window()) platform::ui::ClickActivation::windowTakesClick(*window);
        platform::WebViewControl::followLink(static_cast<platform::ui::WKWebView&>(*t.element.view), *href);
        return;
    }
    // A button is clicked as `UISimulator::click` does; a field takes the click as the pointer's.
    if (auto* button = dynamic_cast<platform::ui::Button*>(t.element.view);
        button && !dynamic_cast<platform::ui::PopUpButton*>(button)) {
        UISimulator::click(*button);
        return;
    }
    if (!UISimulator::clickView(*t.element.view)) t.fail("cannot be clicked");
}

void type(const Target& t, const std::string& text) {
    t.requireEnabled();
    if (auto* n = t.node(); n && n->kind == NodeKind::textField) {
        ViewDriver driver(*t.element.host);
        driver.type(t.element.key, text);
        driver.commit(t.element.key);
        return;
    }
    auto* field = dynamic_cast<platform::ui::TextField*>(t.control());
    if (!field || !field->isEditable) t.fail("is not a text field");
    UISimulator::replaceText(*field, text);
    UISimulator::pressReturn(*field);
}

/// ""ID" in "WINDOW" has no item "X"", the nearest items and the items (`NameSuggestions::unknown`).
[[noreturn]] void noItem(const Target& t, const std::string& item, const std::vector<std::string>& titles) {
    throw NameSuggestions::unknown(t.label() + " has no item " + Text::quote(item), item, titles, "items");
}

void pick(const Target& t, const std::string& item) {
    t.requireEnabled();
    if (auto* n = t.node(); n && n->kind == NodeKind::picker) {
        std::vector<std::string> titles;
        for (const auto& option : n->options)
            titles.push_back(option.title);
        if (!ViewDriver(*t.element.host).pick(t.element.key, item)) noItem(t, item, titles);
        return;
    }
    auto* popUp = dynamic_cast<platform::ui::PopUpButton*>(t.control());
    if (!popUp) t.fail("is not a picker");
    const auto titles = popUp->itemTitles();
    const auto it = std::find(titles.begin(), titles.end(), item);
    if (it == titles.end()) noItem(t, item, titles);
    UISimulator::pickPopUpItem(*popUp, it - titles.begin());
}

void step(const Target& t, const std::string& direction) {
    if (direction != "up" && direction != "down")
        throw CommandError("usage: ui step \"<window>\" \"<id>\" up|down");
    auto* n = t.node();
    if (!n || n->kind != NodeKind::stepper) t.fail("is not a stepper");
    t.requireEnabled();
    // At its bound the stepper does not move, as when the user clicks its arrow there.
    ViewDriver(*t.element.host).step(t.element.key, direction == "up" ? 1 : -1);
}

/// `ui scroll "<window>" to "<id>"`: the scroll views that hold the element move just far enough
/// to show it.
void scrollTo(const CommandArgs& args) {
    auto& window = reachableWindow(args.text(2));
    const Target t{window, WindowElements::find(window, args.text(4))};
    auto* n = t.node();
    if (!n) t.fail("is not in a scroll view");
    if (!t.element.host->inScrollView(n->key)) t.fail("is not in a scroll view");
    t.element.host->scrollIntoView(n->key);
}

/// `ui scroll "<window>" "<scroll view id>" by DY`: the scroll view moves DY points towards the end
/// of its content (negative: back), a list by as many rows.
void scrollBy(const Target& t, const CommandArgs& args) {
    // A web view scrolls its page.
    if (auto* web = dynamic_cast<platform::ui::WKWebView*>(t.element.view)) {
        web->scrollBy(args.number(5));
        return;
    }
    auto* n = t.node();
    if (!n || n->kind != NodeKind::scroll) t.fail("is not a scroll view");
    t.element.host->scrollBy(n->identity, args.number(5));
}

/// `ui scroll`: a list that makes its rows as they come into view shows them from row N (counted
/// from 0) on.
void scroll(const Target& t, const std::string& row) {
    auto* n = t.node();
    if (!n || !n->isList || !n->lazyRow) t.fail("is not a scrolling list");
    const bool isNumber =
        !row.empty() && std::all_of(row.begin(), row.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (!isNumber || row.size() > 9) throw CommandError("usage: ui scroll \"<window>\" \"<list id>\" ROW");
    ViewDriver(*t.element.host).scrollList(std::stoul(row), n->identity);
}

void drag(const Target& t, const CommandArgs& args) {
    const auto words = args.texts();
    if (words.size() != 9 || words[6] != "to")
        throw CommandError("usage: ui drag \"<window>\" \"<id>\" X1 Y1 to X2 Y2");
    const platform::ui::Point from{args.number(4), args.number(5)};
    const platform::ui::Point to{args.number(7), args.number(8)};
    auto* n = t.node();
    if (!n || (!n->onDragChanged && !n->onDragEnded)) t.fail("cannot be dragged");
    t.requireEnabled();
    if (!ViewDriver(*t.element.host).drag(t.element.key, from, to)) t.fail("cannot be dragged");
}

void slide(const Target& t, const CommandArgs& args) {
    std::vector<double> values;
    for (std::size_t i = 4; i < args.size(); ++i)
        values.push_back(args.number(i));
    if (values.empty()) throw CommandError("usage: ui slide \"<window>\" \"<id>\" V1 [V2 ...]");
    auto* slider = dynamic_cast<platform::ui::Slider*>(t.control());
    if (!slider) t.fail("is not a slider");
    t.requireEnabled();
    UISimulator::dragSlider(*slider, values);
    if (t.element.host) t.element.host->rebuildIfNeeded();
}

/// Sends the action to the application delegate as one of the program's menu items reaches it (no
/// sender): to the program's shell, which the delegate wraps and which answers every command
/// selector; without a shell, straight to the delegate when it is a responder, else along the
/// responder chain that ends with it. A message that takes an object gets the Boolean `argument`
/// when the catalog says it takes one (required then), else none, and its answer is printed: a
/// Boolean as "returned true" or "returned false", a menu as `menu` prints it (kept nowhere). An
/// empty selector is refused; a selector nobody answers is refused with the nearest selectors and
/// `help actions`, or the list of them (`ActionCatalog`).
void sendAction(ConsoleSession& session, const std::string& selector, const std::string* argument) {
    if (selector.empty())
        throw CommandError("a selector is needed: ui action \"<selector>\" (`help actions` lists them)");
    auto& application = platform::ui::Application::shared();
    auto delegate = application.delegate.lock();
    if (!delegate) throw CommandError("the program has no application delegate");
    auto shell = ProgramHost::shared().shell();
    auto* responder = shell ? static_cast<platform::ui::Responder*>(shell.get())
                            : dynamic_cast<platform::ui::Responder*>(delegate.get());
    auto* receiver = application.targetForAction(selector, responder);
    if (!receiver)
        throw NameSuggestions::unknown("the program answers no selector " + selector, selector,
                                       ActionCatalog::selectors(), "selectors", false, "`help actions`");
    const bool takesBool = ActionCatalog::takesBoolean(selector);
    const std::string usage = "usage: ui action " + Text::quote(selector) + (takesBool ? " true|false" : "");
    if (takesBool != (argument != nullptr)) throw CommandError(usage);
    if (!receiver->takesObject(selector)) {
        application.sendAction(selector, receiver, nullptr);
        return;
    }
    std::any object;
    if (argument) {
        if (*argument != "true" && *argument != "false") throw CommandError(usage);
        object = *argument == "true";
    }
    auto keep = receiver->weak_from_this().lock(); // the message may drop the last owner
    const auto answer = receiver->performWithObject(selector, object).value_or(std::any{});
    if (const auto* flag = std::any_cast<bool>(&answer)) {
        session.out() << (*flag ? "returned true\n" : "returned false\n");
    } else if (const auto* menu = std::any_cast<std::shared_ptr<platform::ui::Menu>>(&answer); menu && *menu) {
        session.out() << MenuText::describe(**menu);
    }
}

/// "ui show Tilmora Snapshots": a title of several words typed without quotes.
[[noreturn]] void refuseUnquoted(const CommandArgs& args) {
    if (args.text(1) == "show") {
        std::string title;
        for (std::size_t i = 2; i < args.size(); ++i)
            title += (title.empty() ? "" : " ") + args.text(i);
        throw CommandError("a title of several words goes in quotes: ui show " + Text::quote(title));
    }
    throw CommandError("titles, ids and texts of several words go in quotes, as in ui click \"Tilmora Snapshots\" "
                       "\"snapshot.save\"");
}

void uiCommand(ConsoleSession& session, const CommandArgs& args) {
    session.requireProgramRunning();
    ProgramWindows::requireDisplay();
    const std::string& what = args.text(1);
    const std::size_t n = args.argumentCount();
    if (what == "windows" && n == 1) return listWindows(session);
    if (what == "show" && n == 2) {
        session.out() << WindowElements::describe(ProgramWindows::window(args.text(2)));
        return;
    }
    if (what == "action" && n == 2) return sendAction(session, args.text(2), nullptr);
    if (what == "action" && n == 3) return sendAction(session, args.text(2), &args.text(3));
    if (what == "click" && n == 3)
        click(shownTarget(args));
    else if (what == "type" && n == 4)
        type(shownTarget(args), args.text(4));
    else if (what == "pick" && n == 4)
        pick(shownTarget(args), args.text(4));
    else if (what == "step" && n == 4)
        step(shownTarget(args), args.text(4));
    else if (what == "scroll" && n == 4 && args.text(3) == "to")
        scrollTo(args);
    else if (what == "scroll" && n == 5 && args.text(4) == "by")
        scrollBy(target(args), args);
    else if (what == "scroll" && n == 4)
        scroll(target(args), args.text(4));
    else if (what == "drag" && n >= 3)
        drag(shownTarget(args), args);
    else if (what == "slide" && n >= 4)
        slide(shownTarget(args), args);
    else if (n >= 3 && !args.quoted(2) && !args.quoted(3) && what != "drag" && what != "slide")
        refuseUnquoted(args);
    else
        throw CommandError(usageOf(what));
}

void expectToast(ConsoleSession& session, const CommandArgs& args) {
    if (args.size() != 3) throw CommandError("usage: expect toast \"<text>\"");
    if (!ToastJournal::shared().contains(args.text(2)))
        session.failExpectation("toast", Text::quote(args.text(2)), "no such toast");
}

const CommandRegistration registration({
    {.name = "ui",
     .arguments = ArgumentCheck::atLeast(1, kUsage),
     .handler = uiCommand,
     .help =
         {"ui windows | ui show \"<window>\" | ui action \"<selector>\" [true|false]",
          "ui click \"<window>\" \"<text or id>\" | ui type \"<window>\" \"<id>\" \"<text>\"",
          "ui pick \"<window>\" \"<id>\" \"<item>\" | ui step \"<window>\" \"<id>\" up|down",
          "ui scroll \"<window>\" \"<list id>\" ROW | ui scroll \"<window>\" to \"<id>\"",
          "ui scroll \"<window>\" \"<scroll view id>\" by DY",
          "ui drag \"<window>\" \"<id>\" X1 Y1 to X2 Y2 | ui slide \"<window>\" \"<id>\" V1 [V2 ...]",
          "expect toast \"<text>\"", "expect ui \"<window>\" shown|hidden",
          "expect ui \"<window>\" \"<id>\" value \"V\" | text \"T\"",
          "expect ui \"<window>\" \"<id>\" [not] enabled | disabled | shown | hidden | selected | recording"},
     .words = {"windows", "show", "click", "type", "pick", "step", "scroll", "drag", "slide", "action"},
     .helpOrder = 760},
});

const ExpectationRegistration expectations({{"toast", expectToast}});

} // namespace

} // namespace tilmora
