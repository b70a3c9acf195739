#include "console/ProgramWindows.hpp"

#include "console/CommandError.hpp"
#include "console/ConsoleText.hpp"
#include "console/NameSuggestions.hpp"
#include "console/ProgramHost.hpp"
#include "model/NotificationView.hpp"
#include "platform/desktop/CFValue.hpp"
#include "platform/desktop/NSScreen.hpp"
#include "platform/ui/Application.hpp"
#include "platform/ui/declarative/HostingView.hpp"
#include "shell/AppDelegate.hpp"
#include "snapping/SnapBarController.hpp"

#include <algorithm>

namespace tilmora {

using platform::ui::StatusBar;
using platform::ui::Window;
using Text = ConsoleText;

namespace {

bool holdsStatusItem(const Window& window) {
    const auto& items = StatusBar::system().items();
    return std::any_of(items.begin(), items.end(),
                       [&](const auto& item) { return item->buttonWindow().get() == &window; });
}

} // namespace

std::vector<std::shared_ptr<Window>> ProgramWindows::windows() {
    std::vector<std::shared_ptr<Window>> out;
    // A closed window the program still holds shows again as it was left: it is there, hidden.
    for (auto& window : platform::ui::Application::shared().windows())
        if (!holdsStatusItem(*window)) out.push_back(window);
    return out;
}

namespace {

/// The snap bar's panel while the program has made it.
const Window* snapBarPanel() {
    auto shell = ProgramHost::shared().shell();
    if (!shell || !shell->snapBarController()) return nullptr;
    return shell->snapBarController()->window().get();
}

/// The window of one of the shell's window controllers, while it has made it.
const Window*
controllerWindow(const std::shared_ptr<platform::ui::WindowController>& (AppDelegate::*controller)() const) {
    auto shell = ProgramHost::shared().shell();
    if (!shell) return nullptr;
    const auto& made = ((*shell).*controller)();
    return made ? made->window().get() : nullptr;
}

/// Whether the window is the toast panel: its content hosts the toast view.
bool isToastPanel(const Window& window) {
    const auto* host = dynamic_cast<const platform::ui::declarative::HostingView*>(window.contentView().get());
    return host && dynamic_cast<const NotificationView*>(host->rootView().get());
}

/// "#N" as a window number; none for other names.
std::optional<long> numberName(const std::string& name) {
    if (name.size() < 2 || name.size() > 12 || name[0] != '#') return std::nullopt;
    long number = 0;
    for (std::size_t i = 1; i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9') return std::nullopt;
        number = number * 10 + (name[i] - '0');
    }
    return number;
}

} // namespace

std::optional<std::string> ProgramWindows::panelName(const Window& window) {
    if (&window == controllerWindow(&AppDelegate::veskLayoutWindowController))
        return std::string(presetEditorName);
    if (&window == controllerWindow(&AppDelegate::layoutEditorWindowController))
        return std::string(layoutEditorName);
    if (!window.title.empty()) return std::nullopt;
    if (&window == snapBarPanel()) return std::string(snapBarName);
    if (isToastPanel(window)) return std::string(toastName);
    return std::nullopt;
}

std::vector<std::string> ProgramWindows::names() {
    return {snapBarName, toastName, presetEditorName, layoutEditorName};
}

std::string ProgramWindows::displayName(const Window& window) {
    if (auto name = panelName(window)) return *name;
    if (!window.title.empty()) return window.title;
    return "#" + std::to_string(window.windowNumber());
}

Window& ProgramWindows::window(const std::string& name) {
    const auto all = windows();
    if (name.empty())
        throw CommandError("no program window \"\": the untitled panels are named " +
                           Text::quote(snapBarName) + " and " + Text::quote(toastName) + ", the editors " +
                           Text::quote(presetEditorName) + " and " + Text::quote(layoutEditorName) +
                           ", and any window can be named \"#N\" by its number in `ui windows`");
    if (const auto number = numberName(name)) {
        for (const auto& window : all)
            if (window->windowNumber() == *number) return *window;
        throw CommandError("no program window " + name);
    }
    std::vector<std::shared_ptr<Window>> matches;
    for (const auto& window : all) {
        const auto panel = panelName(*window);
        if (window->title == name || (panel && *panel == name)) matches.push_back(window);
    }
    // A title typed in its ASCII spelling ("Layout Editor - ..." for an en dash).
    if (matches.empty())
        for (const auto& window : all)
            if (!window->title.empty() && Text::namesTitle(name, window->title)) matches.push_back(window);
    if (matches.empty()) {
        // The nearest of the titles and the names; the list: the windows there are, then the names.
        std::vector<std::string> known;
        for (const auto& window : all) {
            if (!window->title.empty()) known.push_back(window->title);
            if (auto given = panelName(*window)) known.push_back(*given);
        }
        for (const auto& given : names())
            if (std::find(known.begin(), known.end(), given) == known.end()) known.push_back(given);
        const std::string message = "no program window " + Text::quote(name);
        if (const auto near = NameSuggestions::didYouMean(name, known); !near.empty())
            throw CommandError(message + near + " (`ui windows` lists the program's windows)");
        std::string shown;
        for (const auto& window : all)
            shown += (shown.empty() ? "" : ", ") + Text::quote(displayName(*window));
        std::string given;
        for (const auto& panel : names())
            given += (given.empty() ? "" : ", ") + Text::quote(panel);
        throw CommandError(message + " (windows: " + (shown.empty() ? "none" : shown) +
                           "; panels and editors: " + given + ")");
    }
    if (matches.size() > 1) {
        std::string listed;
        for (const auto& window : matches)
            listed += (listed.empty() ? "" : ", ") + ("#" + std::to_string(window->windowNumber())) +
                      (window->isVisible() ? " (visible)" : " (hidden)");
        throw CommandError(Text::quote(name) + " names " + std::to_string(matches.size()) +
                           " program windows: " + listed + "; name one by its number, as \"#N\"");
    }
    return *matches.front();
}

const char* const ProgramWindows::noDisplay =
    "there is no display: start with `desktop default` (or laptop, laptop-external, two-displays, load FILE)";

void ProgramWindows::requireDisplay() {
    if (platform::NSScreen::screens().empty()) throw CommandError(noDisplay);
}

std::string ProgramWindows::titles() {
    std::string out;
    for (const auto& window : windows())
        out += (out.empty() ? "" : ", ") + ConsoleText::quote(displayName(*window));
    return out.empty() ? "none" : out;
}

platform::ui::StatusItem& ProgramWindows::statusItem() {
    for (auto& item : StatusBar::system().items())
        if (item->isVisible) return *item;
    throw CommandError("the program has no status item");
}

std::size_t ProgramWindows::screenIndex(std::optional<long> display) {
    const auto screens = platform::NSScreen::screens();
    if (!display) {
        if (screens.empty()) throw CommandError(noDisplay);
        return 0;
    }
    for (std::size_t i = 0; i < screens.size(); ++i) {
        const auto description = screens[i].deviceDescription();
        const auto* number = platform::lookup(description, "NSScreenNumber");
        if (!number) continue;
        if (auto value = number->integerValue(); value && *value == *display) return i;
    }
    throw CommandError("no display " + std::to_string(*display));
}

} // namespace tilmora
