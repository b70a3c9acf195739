#include "snapshots/ScreenRemapping.hpp"

#include "snapshots/DisplayMapping.hpp"
#include "snapshots/SavedDisplayIdentity.hpp"
#include "snapshots/ScreenSelectionHelper.hpp"
#include "windows/ScreenIdentity.hpp"
#include "windows/WindowManager.hpp"

#include "platform/desktop/NSScreen.hpp"
#include "platform/dispatch/DispatchQueue.hpp"
#include "platform/dispatch/MainThread.hpp"
#include "platform/dispatch/MediaTime.hpp"
#include "platform/dispatch/RunLoop.hpp"
#include "platform/ui/Application.hpp"
#include "platform/ui/PopUpButton.hpp"
#include "platform/ui/TextField.hpp"
#include "platform/ui/View.hpp"
#include "platform/ui/Window.hpp"

#include <algorithm>
#include <cmath>
#include <memory>
#include <set>
#include <string>

namespace tilmora::WindowManager {

namespace ui = platform::ui;

namespace {

/// The step in which the waits turn the main run loop, seconds.
constexpr double runLoopStep = 0.05;
/// How long the builder and the prompt let the screen list settle, seconds.
constexpr double screenListMaxWait = 2.0;
/// How many steps the prompt waits for the screen list to catch up with the online displays.
constexpr int screenCatchUpSteps = 20;

/// "[1, 5]": the numbers ascending.
std::string numberList(const std::set<std::uint32_t>& numbers) {
    std::string text = "[";
    for (auto it = numbers.begin(); it != numbers.end(); ++it) {
        if (it != numbers.begin()) text += ", ";
        text += std::to_string(*it);
    }
    return text + "]";
}

/// The localized name of the first screen with this display number; none when no screen has it.
std::optional<std::string> nameOfDisplay(std::uint32_t displayID) {
    for (const auto& screen : platform::NSScreen::screens())
        if (tlm_displayID(screen) == displayID) return screen.localizedName();
    return std::nullopt;
}

/// " (name)" for a display a screen has, nothing otherwise.
std::string nameSuffix(std::uint32_t displayID) {
    const auto name = nameOfDisplay(displayID);
    return name ? " (" + *name + ")" : std::string();
}

/// A width or height as the pop-up shows it: truncated toward zero.
std::string truncatedPoints(double value) {
    if (!std::isfinite(value)) return "0";
    return std::to_string(static_cast<long long>(std::trunc(value)));
}

/// "Name (1512×944 pt)".
std::string popUpTitle(const platform::NSScreen& screen) {
    const auto visible = screen.visibleFrame();
    return screen.localizedName() + " (" + truncatedPoints(visible.size.width) + "\u00D7" +
           truncatedPoints(visible.size.height) + " pt)";
}

/// The prompt's window and the controls its answer is read from.
struct PromptWindow {
    std::shared_ptr<ui::Window> window;
    std::shared_ptr<ui::PopUpButton> popUp;
    std::shared_ptr<ui::Button> rbMove;
    std::shared_ptr<ui::Button> rbSmart;
    std::shared_ptr<ui::Button> ok;
};

/// Builds the window "Select Replacement Display" (content 520 x 260, titled only, level 8) with
/// one pop-up item per screen, item 0 selected and "Just move to new screen" on.
PromptWindow makePromptWindow(const std::vector<platform::NSScreen>& screens) {
    PromptWindow prompt;
    prompt.window =
        std::make_shared<ui::Window>(ui::Rect{0, 0, 520, 260}, ui::StyleMask::titled, ui::BackingStore::buffered, false);
    prompt.window->title = "Select Replacement Display";
    prompt.window->setLevel(ui::WindowLevel::modalPanel);

    auto content = std::make_shared<ui::View>(ui::Rect{0, 0, 520, 260});

    auto label = ui::TextField::labelWithString("Select a replacement screen and how to place its windows:");
    label->setFrame({20, 220, 480, 20});
    content->addSubview(label);

    prompt.popUp = std::make_shared<ui::PopUpButton>(ui::Rect{20, 188, 480, 26}, false);
    for (const auto& screen : screens)
        prompt.popUp->addItem(popUpTitle(screen));
    prompt.popUp->selectItemAt(0);
    content->addSubview(prompt.popUp);

    prompt.rbMove = ui::Button::radio("Just move to new screen", nullptr, "radioChanged:");
    prompt.rbMove->setFrame({24, 160, 460, 20});
    prompt.rbMove->state = ui::ControlState::on;
    content->addSubview(prompt.rbMove);

    prompt.rbSmart = ui::Button::radio("Smart resize to fit all windows on new screen", nullptr, "radioChanged:");
    prompt.rbSmart->setFrame({24, 136, 460, 20});
    prompt.rbSmart->state = ui::ControlState::off;
    content->addSubview(prompt.rbSmart);

    auto options = ui::TextField::wrappingLabelWithString(
        "Options: 1) Just move keeps original sizes/positions. 2) Smart resize scales all windows as a group to fit.");
    options->setFrame({20, 60, 480, 40});
    options->maximumNumberOfLines = 0;
    content->addSubview(options);

    prompt.ok = ui::Button::withTitle("OK", nullptr, "ok:");
    prompt.ok->setFrame({420, 20, 80, 28});
    prompt.ok->keyEquivalent = ui::KeyEquivalent::returnKey;
    content->addSubview(prompt.ok);

    prompt.window->setContentView(content);
    return prompt;
}

std::optional<ScreenChoice> promptOnMainThread(std::uint32_t missingID, platform::CGSize sampleSize) {
    (void)missingID; // the prompt names no display; the builder logs the number
    refreshScreensStable(screenListMaxWait);
    const auto present = presentScreenIDs();
    logLine("SCREEN", "Remap flow: present display IDs: " + numberList(present));
    for (int step = 0; step < screenCatchUpSteps && platform::NSScreen::screens().size() < present.size(); ++step)
        platform::RunLoop::current().runFor(runLoopStep);

    auto screens = platform::NSScreen::screens();
    if (screens.empty()) return std::nullopt;
    const auto distance = [&](const platform::NSScreen& screen) {
        const auto visible = screen.visibleFrame();
        return std::hypot(visible.size.width - sampleSize.width, visible.size.height - sampleSize.height);
    };
    std::stable_sort(screens.begin(), screens.end(),
                     [&](const auto& a, const auto& b) { return distance(a) < distance(b); });

    PromptWindow prompt = makePromptWindow(screens);
    auto helper = std::make_shared<ScreenSelectionHelper>();
    helper->selectedIndex = prompt.popUp->indexOfSelectedItem();
    helper->rbMove = prompt.rbMove;
    helper->rbSmart = prompt.rbSmart;
    helper->onOK = [] { ui::Application::shared().stopModal(1); };
    prompt.rbMove->setTarget(helper);
    prompt.rbSmart->setTarget(helper);
    prompt.popUp->setTarget(helper);
    prompt.popUp->action = "changed:";
    prompt.ok->setTarget(helper);
    prompt.window->setDelegate(helper);

    prompt.window->center();
    prompt.window->makeKeyAndOrderFront();
    const long response = ui::Application::shared().runModal(*prompt.window);
    prompt.window->orderOut();
    helper->onOK = nullptr; // the window may still close later; the session is over

    const long index = helper->selectedIndex;
    if (response == 1 && index >= 0 && index < static_cast<long>(screens.size())) {
        const auto& chosen = screens[static_cast<std::size_t>(index)];
        if (const auto id = tlm_displayID(chosen)) {
            const RemapMode mode =
                prompt.rbSmart->state == ui::ControlState::on ? RemapMode::smartFit : RemapMode::moveOnly;
            logLine("SCREEN", "Remap selection index=" + std::to_string(index) + " -> id=" + std::to_string(*id) +
                                  " (" + chosen.localizedName() + ") mode=" + std::string(caseName(mode)));
            return ScreenChoice{*id, mode};
        }
    }
    logLine("SCREEN", "Remap prompt: user canceled");
    return std::nullopt;
}

} // namespace

void refreshScreensStable(double maxWait) {
    if (!platform::isMainThread()) {
        platform::DispatchQueue::main().sync([maxWait] { refreshScreensStable(maxWait); });
        return;
    }
    const double start = platform::mediaTime();
    long previous = -1;
    bool stableOnce = false;
    while (platform::mediaTime() - start < maxWait) {
        const long count = static_cast<long>(platform::NSScreen::screens().size());
        if (count == previous) {
            if (stableOnce) return;
            stableOnce = true;
        } else {
            stableOnce = false;
            previous = count;
        }
        platform::RunLoop::current().runFor(runLoopStep);
    }
}

ScreenRemap buildScreenRemapping(const std::vector<WindowValue>& windows) {
    refreshScreensStable(screenListMaxWait);
    std::set<std::uint32_t> missing;
    for (const auto& window : windows)
        missing.insert(savedDisplayNumber(window.screenUUID));
    for (std::uint32_t id : presentScreenIDs())
        missing.erase(id);

    ScreenRemap remap;
    if (missing.empty()) return remap;
    logLine("INFO", "Remap needed for missing display IDs: " + numberList(missing));

    const auto automatic = automaticDisplayMapping(windows, platform::NSScreen::screens());
    for (auto it = missing.begin(); it != missing.end();) {
        const auto entry = automatic.find(*it);
        if (entry == automatic.end() || entry->second == 0) {
            ++it;
            continue;
        }
        remap[*it] = {entry->second, RemapMode::moveOnly};
        logLine("INFO", "Auto-remapped missing display id=" + std::to_string(*it) +
                            " -> id=" + std::to_string(entry->second) + nameSuffix(entry->second));
        it = missing.erase(it);
    }

    for (std::uint32_t id : missing) {
        const auto first = std::find_if(windows.begin(), windows.end(), [&](const WindowValue& w) {
            return savedDisplayNumber(w.screenUUID) == id;
        });
        const platform::CGSize sample{first->originalScreenWidth, first->originalScreenHeight};
        const auto choice = promptForScreenRemapping(id, sample);
        if (!choice) continue;
        remap[id] = {choice->displayID, choice->mode};
        logLine("INFO", "Remapped missing display id=" + std::to_string(id) + " -> id=" +
                            std::to_string(choice->displayID) + nameSuffix(choice->displayID) +
                            " mode=" + std::string(caseName(choice->mode)));
    }
    return remap;
}

std::optional<ScreenChoice> promptForScreenRemapping(std::uint32_t missingID, platform::CGSize sampleSize) {
    if (!platform::isMainThread())
        return platform::DispatchQueue::main().sync(
            [missingID, sampleSize] { return promptForScreenRemapping(missingID, sampleSize); });
    return promptOnMainThread(missingID, sampleSize);
}

} // namespace tilmora::WindowManager
