#include "console/ProgramWindows.hpp"

#include "console/CommandError.hpp"
#include "console/ConsoleText.hpp"
#include "platform/desktop/CFValue.hpp"
#include "platform/desktop/NSScreen.hpp"
#include "platform/ui/Application.hpp"

#include <algorithm>

namespace tilmora {

using platform::ui::StatusBar;
using platform::ui::Window;

namespace {

bool holdsStatusItem(const Window& window) {
    const auto& items = StatusBar::system().items();
    return std::any_of(items.begin(), items.end(),
                       [&](const auto& item) { return item->buttonWindow().get() == &window; });
}

} // namespace

std::vector<std::shared_ptr<Window>> ProgramWindows::windows() {
    std::vector<std::shared_ptr<Window>> out;
    for (auto& window : platform::ui::Application::shared().windows())
        if (!window->isClosed() && !holdsStatusItem(*window)) out.push_back(window);
    return out;
}

Window& ProgramWindows::window(const std::string& title) {
    std::shared_ptr<Window> hidden;
    for (auto& window : windows()) {
        if (window->title != title) continue;
        if (window->isVisible()) return *window;
        if (!hidden) hidden = window;
    }
    if (!hidden) throw CommandError("no program window " + ConsoleText::quote(title) + " (windows: " + titles() + ")");
    return *hidden;
}

const char* const ProgramWindows::noDisplay =
    "there is no display: start with `desktop default` (or laptop, laptop-external, two-displays, load FILE)";

void ProgramWindows::requireDisplay() {
    if (platform::NSScreen::screens().empty()) throw CommandError(noDisplay);
}

std::string ProgramWindows::titles() {
    std::string out;
    for (const auto& window : windows())
        out += (out.empty() ? "" : ", ") + ConsoleText::quote(window->title);
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
