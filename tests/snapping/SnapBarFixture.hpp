#pragma once

#include "platform/control/BundleControl.hpp"

#include "model/Settings.hpp"
#include "platform/control/LocaleControl.hpp"
#include "platform/control/SimInput.hpp"
#include "platform/control/UISimulator.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "snapping/SnapBarController.hpp"
#include "snapping/SnapBarItems.hpp"
#include "snapping/SnapStateFixture.hpp"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace tilmora::testing {

/// An action target that records each selector it receives, with the sender's tag.
class RecordingTarget : public platform::ui::Responder {
public:
    RecordingTarget() {
        for (const auto& selector : selectors()) {
            registerAction(selector, [this, selector](platform::ui::Responder* sender) {
                received.push_back(selector);
                senders.push_back(sender);
            });
        }
    }
    static std::vector<std::string> selectors();

    std::vector<std::string> received;
    std::vector<platform::ui::Responder*> senders;
};

/// One display 1440 x 900 at the origin with the visible frame (0, 0, 1440, 876), a status bar 24
/// points thick, `settings::snapBarVisible` on, a recording snap grid and target, and a controller.
class SnapBarTest : public SnapStateTest {
protected:
    void restoreFixture() override {
        SnapStateTest::restoreFixture();
        platform::SimDesktop::clear();
        addDisplay(1, {0, 0, 1440, 900});
        platform::ui::UISimulator::setStatusBarThickness(24);
        platform::UserDefaults::standard().set(true, settings::snapBarVisible.key);
        // The program's own string tables, in English.
        useProgramTextsInEnglish();
    }

    void SetUp() override {
        SnapStateTest::SetUp();
        grid = std::make_unique<RecordingGrid>();
        target = std::make_shared<RecordingTarget>();
        bar = std::make_shared<SnapBarController>(*grid);
    }

    void TearDown() override {
        bar.reset();
        grid.reset();
        SnapStateTest::TearDown();
    }

    void addDisplay(std::uint32_t id, platform::CGRect frame) {
        platform::DisplaySpec spec;
        spec.displayID = id;
        spec.name = "Display " + std::to_string(id);
        spec.frame = frame;
        spec.visibleFrame = platform::CGRect{frame.minX(), frame.minY(), frame.width(), frame.height() - 24};
        platform::SimDesktop::shared().addDisplay(spec);
    }

    static platform::NSScreen screenAt(std::size_t index) { return platform::NSScreen::screens().at(index); }

    /// Shows the bar on the first screen with its content fixed to 800 x 44 and lets the slide end.
    void showFixed() {
        bar->show(screenAt(0), target);
        fixContent(800, 44);
        bar->refreshVeskPresetButtons();
        bar->show(screenAt(0), target);
        sim().runFor(0.5);
    }

    void fixContent(double width, double height) {
        for (platform::ui::View* view : {static_cast<platform::ui::View*>(bar->contentView().get()),
                                         static_cast<platform::ui::View*>(bar->stackView().get())}) {
            view->widthConstraint = width;
            view->heightConstraint = height;
        }
    }

    void moveMouse(double x, double y) { platform::SimInput::shared().moveMouse({x, y}); }

    std::unique_ptr<RecordingGrid> grid;
    std::shared_ptr<RecordingTarget> target;
    std::shared_ptr<SnapBarController> bar;
};

inline std::vector<std::string> RecordingTarget::selectors() {
    std::vector<std::string> result = {"toggleSnapping:", "disableSnapBarFromCloseButton",
                                       "applyVeskTilePresetFromSnapBar:"};
    for (const auto& item : snapBarItems())
        result.push_back(item.selector);
    return result;
}

} // namespace tilmora::testing
