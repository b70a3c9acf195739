#include "snapping/SnapBarController.hpp"

#include "model/LocalizationManager.hpp"
#include "model/SnapIconKind.hpp"
#include "model/Log.hpp"
#include "model/Settings.hpp"
#include "platform/desktop/NSWorkspace.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "platform/ui/AnimationContext.hpp"
#include "snapping/SnapBarItems.hpp"
#include "snapping/SnapBarSnapGrid.hpp"
#include "snapping/SnapIconFactory.hpp"
#include "snapping/SnapScreens.hpp"

#include <algorithm>
#include <cmath>

namespace tilmora {

namespace {

using platform::CGPoint;
using platform::CGRect;
using platform::NSScreen;
namespace ui = platform::ui;

std::optional<NSScreen> mainOrFirstScreen() {
    if (auto main = NSScreen::main()) return main;
    const auto screens = NSScreen::screens();
    if (screens.empty()) return std::nullopt;
    return screens.front();
}

} // namespace

bool SnapBarController::boolSetting(const char* key) {
    return platform::UserDefaults::standard().boolForKey(key);
}

std::optional<NSScreen> SnapBarController::screenAt(CGPoint point) {
    for (const auto& screen : NSScreen::screens()) {
        const auto f = screen.frame();
        if (point.x >= f.minX() && point.x <= f.maxX() && point.y >= f.minY() && point.y <= f.maxY()) return screen;
    }
    return std::nullopt;
}

SnapBarController::SnapBarController(SnapBarSnapGrid& roriDeru)
    : roriDeru_(roriDeru) {
    registerAction("onToggleMC", [this](ui::Responder*) { onToggleMC(); });
    registerAction("onToggleSM", [this](ui::Responder*) { onToggleSM(); });
}

SnapBarController::~SnapBarController() {
    stopObserving();
    if (integrationObserver_) platform::NotificationCenter::defaultCenter().removeObserver(*integrationObserver_);
    if (mouseMonitor_) platform::NSEvent::removeMonitor(mouseMonitor_);
    if (clickMonitor_) platform::NSEvent::removeMonitor(clickMonitor_);
    if (appSwitchObserver_) platform::NSWorkspace::shared().notificationCenter().removeObserver(*appSwitchObserver_);
}

std::shared_ptr<SnapBarController> SnapBarController::self() {
    return std::static_pointer_cast<SnapBarController>(shared_from_this());
}

double SnapBarController::maxWidth(const CGRect& visibleFrame) {
    return std::max(visibleFrame.width() - 2 * sideInset, 320.0);
}

std::size_t SnapBarController::gridColumns(double availableWidth) {
    const double columns = std::floor((availableWidth + itemSpacing) / (iconButtonSize + itemSpacing));
    return columns < 1 ? 1 : static_cast<std::size_t>(columns);
}

void SnapBarController::show(const std::optional<NSScreen>& given, const std::shared_ptr<ui::Responder>& target) {
    auto screen = given ? given : mainOrFirstScreen();
    if (!screen) return;
    if (integrationShouldHide()) {
        autoHidden_ = true;
        return;
    }
    if (!window_) createWindow(target);
    hideAfterSlideIn_ = false;
    layout(*screen);
    if (isAnimating_ && slidingOut_) {
        // A slide-out is running: its completion is stale from now on, and the slide-in follows it.
        ++slideGeneration_;
        showAfterSlideOut_ = screen;
    } else {
        animateShow(*screen, window_);
    }
    if (!mouseMonitor_) startAutoHideMonitoring();
    startAppSwitchObserver();
}

void SnapBarController::createWindow(const std::shared_ptr<ui::Responder>& target) {
    actionTarget_ = target;
    auto panel = std::make_shared<ui::Panel>(CGRect{}, ui::StyleMask::nonactivatingPanel, ui::BackingStore::buffered, false);
    panel->isOpaque = false;
    panel->backgroundColor = ui::Color::clearColor();
    panel->hasShadow = true;
    panel->allowsToolTipsWhenApplicationIsInactive = true;
    panel->acceptsMouseMovedEvents = true;
    panel->setLevel(ui::WindowLevel::floating);
    panel->titleVisibility = "hidden";
    panel->titlebarAppearsTransparent = true;
    panel->collectionBehavior = ui::CollectionBehavior::canJoinAllSpaces | ui::CollectionBehavior::stationary;
    panel->isMovable = false;
    panel->hidesOnDeactivate = false;
    panel->becomesKeyOnlyIfNeeded = false;
    panel->isReleasedWhenClosed = false;

    auto vev = std::make_shared<ui::VisualEffectView>();
    vev->material = ui::VisualEffectView::Material::underWindowBackground;
    vev->blendingMode = ui::VisualEffectView::BlendingMode::behindWindow;
    vev->state = ui::VisualEffectView::State::active;
    vev->setWantsLayer(true);
    vev->layer()->cornerRadius = 12;
    vev->layer()->cornerCurve = "continuous";

    auto stack = std::make_shared<ui::StackView>();
    stack->orientation = ui::UserInterfaceOrientation::vertical;
    stack->alignment = ui::LayoutAttribute::leading;
    stack->spacing = 6;
    stack->edgeInsets = {8, 12, 8, 12};

    row1Container_ = std::make_shared<ui::StackView>();
    row1Container_->orientation = ui::UserInterfaceOrientation::horizontal;
    row1Container_->spacing = itemSpacing;
    row1Container_->alignment = ui::LayoutAttribute::centerY;
    row2Container_ = std::make_shared<ui::StackView>();
    row2Container_->orientation = ui::UserInterfaceOrientation::horizontal;
    row2Container_->spacing = 6;
    row2Container_->alignment = ui::LayoutAttribute::centerY;
    row2Container_->distribution = ui::StackDistribution::fillProportionally;
    row2Container_->setHidden(true);

    const auto& items = snapBarItems();
    for (std::size_t i = 0; i < items.size(); ++i) {
        auto button = ui::Button::withImage(SnapIconFactory::image(items[i].kind, {18, 18}), target, items[i].selector);
        button->buttonType = ui::ButtonType::momentaryChange;
        button->bezelStyle = ui::BezelStyle::shadowlessSquare;
        button->isBordered = false;
        button->translatesAutoresizingMaskIntoConstraints = false;
        button->widthConstraint = iconButtonSize;
        button->heightConstraint = iconButtonSize;
        button->tag = static_cast<long>(i);
        button->identifier = std::string(caseName(items[i].kind));
        button->toolTip = tooltip(items[i].kind);
        iconKinds_.push_back(items[i].kind);
        iconButtons_.push_back(button);
    }
    snappingToggleButton_ = ui::Button::withTitle("", target, "toggleSnapping:");
    snappingToggleButton_->buttonType = ui::ButtonType::momentaryPushIn;
    snappingToggleButton_->bezelStyle = ui::BezelStyle::rounded;
    auto me = self();
    mcToggleButton_ = ui::Button::withTitle("MC", me, "onToggleMC");
    smToggleButton_ = ui::Button::withTitle("SM", me, "onToggleSM");
    for (const auto& toggle : {mcToggleButton_, smToggleButton_}) {
        toggle->buttonType = ui::ButtonType::pushOnPushOff;
        toggle->bezelStyle = ui::BezelStyle::rounded;
        toggle->setWantsLayer(true);
        toggle->layer()->cornerRadius = 6;
    }
    mcToggleButton_->toolTip = localized("snapbar.mcTooltip");
    smToggleButton_->toolTip = localized("snapbar.smTooltip");
    closeButton_ = ui::Button::withTitle("\u2715", target, "disableSnapBarFromCloseButton");
    closeButton_->buttonType = ui::ButtonType::momentaryPushIn;
    closeButton_->bezelStyle = ui::BezelStyle::circular;
    closeButton_->toolTip = localized("tt.snapBarClose");

    auto placeholder = std::make_shared<ui::View>();
    placeholder->identifier = "grid-placeholder";
    auto spacer = std::make_shared<ui::View>();
    spacer->horizontalHuggingPriority = ui::LayoutPriority::defaultLow;
    spacer->horizontalCompressionResistance = ui::LayoutPriority::defaultLow;
    for (const auto& view : std::vector<std::shared_ptr<ui::View>>{placeholder, spacer, snappingToggleButton_,
                                                                   mcToggleButton_, smToggleButton_, closeButton_})
        row1Container_->addArrangedSubview(view);
    stack->addArrangedSubview(row1Container_);
    stack->addArrangedSubview(row2Container_);
    stack->translatesAutoresizingMaskIntoConstraints = false;
    vev->addSubview(stack);
    vev->pinSubview(stack, {2, 6, 2, 6});
    panel->setContentView(vev);
    window_ = panel;
    contentVEV_ = vev;
    vStack_ = stack;
    startObserving();
    applyLocalization();
}

double SnapBarController::rightControlsTotalWidth() const {
    const double spacing = row1Container_ ? row1Container_->spacing : itemSpacing;
    double sum = 0;
    int count = 0;
    for (const auto& button : {snappingToggleButton_, mcToggleButton_, smToggleButton_, closeButton_}) {
        if (!button) continue;
        sum += button->fittingSize().width;
        ++count;
    }
    return std::max(sum + spacing * (count + 1), 240.0);
}

void SnapBarController::layout(const NSScreen& screen) {
    if (!window_) return;
    const auto vf = screen.visibleFrame();
    const double widest = maxWidth(vf);
    const double insets = vStack_ ? vStack_->edgeInsets.left + vStack_->edgeInsets.right : 0;
    rebuildIconGrid(std::max(widest - insets - rightControlsTotalWidth(), 120.0));
    rebuildTilePresetRow(screen);
    ui::Size fitting{480, 60};
    if (contentVEV_) {
        contentVEV_->layoutSubtreeIfNeeded();
        fitting = contentVEV_->fittingSize();
    }
    const double width = std::min(widest, fitting.width);
    const double height = fitting.height;
    const double x = std::max(vf.minX() + sideInset, std::min(vf.maxX() - sideInset - width, vf.midX() - width / 2));
    const double y = vf.maxY() - height - topGap;
    window_->setFrame({x, y, width, height}, true);
    refreshSelectionHighlight();
}

void SnapBarController::rebuildIconGrid(double availableWidth) {
    if (!row1Container_) return;
    if (iconGrid_) {
        // The buttons leave the old grid while it is still alive; they join the new one below.
        for (const auto& button : iconButtons_) button->removeFromSuperview();
        row1Container_->removeArrangedSubview(iconGrid_);
        iconGrid_->removeFromSuperview();
        iconGrid_.reset();
    }
    if (iconButtons_.empty()) return;
    const std::size_t columns = gridColumns(availableWidth);
    const std::size_t rowCount = (iconButtons_.size() + columns - 1) / columns;
    std::vector<std::vector<std::shared_ptr<ui::View>>> rows;
    for (std::size_t r = 0; r < rowCount; ++r) {
        std::vector<std::shared_ptr<ui::View>> row;
        for (std::size_t c = 0; c < columns; ++c) {
            const std::size_t index = r * columns + c;
            if (index < iconButtons_.size()) {
                row.push_back(iconButtons_[index]);
            } else {
                row.push_back(std::make_shared<ui::View>());
            }
        }
        rows.push_back(std::move(row));
    }
    auto grid = ui::GridView::withViews(rows);
    grid->rowSpacing = 6;
    grid->columnSpacing = itemSpacing;
    grid->translatesAutoresizingMaskIntoConstraints = false;
    const auto& arranged = row1Container_->arrangedSubviews();
    if (!arranged.empty() && arranged.front()->identifier == "grid-placeholder") {
        auto placeholder = arranged.front();
        row1Container_->removeArrangedSubview(placeholder);
        placeholder->removeFromSuperview();
    }
    if (row1Container_->arrangedSubviews().empty()) {
        row1Container_->addArrangedSubview(grid);
    } else {
        row1Container_->insertArrangedSubview(grid, 0);
    }
    iconGrid_ = grid;
}

void SnapBarController::rebuildTilePresetRow(const NSScreen& screen) {
    if (!row2Container_) return;
    for (const auto& button : tilePresetButtons_) {
        row2Container_->removeArrangedSubview(button);
        button->removeFromSuperview();
    }
    tilePresetButtons_.clear();
    if (!veskTilePresetsProvider) {
        row2Container_->setHidden(true);
        return;
    }
    std::vector<VeskPreset> kept;
    for (auto& preset : veskTilePresetsProvider(screen)) {
        if (preset.kind == VeskPresetKind::singleTile) kept.push_back(std::move(preset));
    }
    if (kept.empty()) {
        row2Container_->setHidden(true);
        return;
    }
    row2Container_->setHidden(false);
    const auto target = actionTarget_.lock();
    const std::string format = localized("tt.applyCustomPresetFormat");
    for (std::size_t i = 0; i < kept.size(); ++i) {
        auto button = ui::Button::withTitle(kept[i].name, target, "applyVeskTilePresetFromSnapBar:");
        button->buttonType = ui::ButtonType::momentaryPushIn;
        button->bezelStyle = ui::BezelStyle::rounded;
        button->font = ui::Font::systemFont(11);
        button->heightConstraint = 20;
        button->identifier = kept[i].id.uuidString();
        button->tag = static_cast<long>(i);
        std::string tip = format;
        if (const auto at = tip.find("%@"); at != std::string::npos) tip.replace(at, 2, kept[i].name);
        button->toolTip = tip;
        row2Container_->addArrangedSubview(button);
        tilePresetButtons_.push_back(button);
    }
}

double SnapBarController::barHeight() const {
    if (vStack_ && vStack_->fittingSize().height > 0) return vStack_->fittingSize().height;
    if (contentVEV_ && contentVEV_->fittingSize().height > 0) return contentVEV_->fittingSize().height;
    return 60;
}

void SnapBarController::animateShow(const NSScreen& screen, const std::shared_ptr<ui::Panel>& window) {
    if (isAnimating_) return;
    isAnimating_ = true;
    slidingOut_ = false;
    if (contentVEV_) contentVEV_->layoutSubtreeIfNeeded();
    const auto vf = screen.visibleFrame();
    const double targetY = vf.maxY() - barHeight() - topGap;
    const double startY = vf.maxY() + 4;
    const double x = window->frame().minX();
    window->setFrameOrigin({x, startY});
    window->setAlphaValue(0);
    window->orderFrontRegardless();
    const unsigned long generation = ++slideGeneration_;
    std::weak_ptr<SnapBarController> weak = self();
    slide(*window, {x, targetY}, 1, showDuration, "easeOut", [weak, generation] {
        auto me = weak.lock();
        if (!me || generation != me->slideGeneration_) return;
        me->isAnimating_ = false;
        if (me->hideAfterSlideIn_) {
            me->hideAfterSlideIn_ = false;
            me->hide();
        }
    });
}

void SnapBarController::slide(ui::Panel& window, CGPoint origin, double alpha, double duration,
                              const char* timing, std::function<void()> completion) {
    ui::AnimationContext::runAnimationGroup(
        [&](ui::AnimationContext& context) {
            context.duration = duration;
            context.timingFunction = timing;
            window.animator().setAlphaValue(alpha);
            window.animator().setFrameOrigin(origin);
        },
        std::move(completion));
}

void SnapBarController::animateHide(const std::shared_ptr<ui::Panel>& window, std::function<void()> completion) {
    if (isAnimating_) {
        if (completion) completion();
        return;
    }
    isAnimating_ = true;
    const auto screen = window->screen();
    if (!screen) {
        isAnimating_ = false;
        if (completion) completion();
        return;
    }
    slidingOut_ = true;
    const double x = window->frame().minX();
    const double endY = screen->visibleFrame().maxY() + 4;
    const unsigned long generation = ++slideGeneration_;
    std::weak_ptr<SnapBarController> weak = self();
    slide(*window, {x, endY}, 0, hideDuration, "easeIn",
          [weak, window, generation, completion = std::move(completion)] {
              auto me = weak.lock();
              if (!me) {
                  window->orderOut();
                  return;
              }
              me->slidingOut_ = false;
              me->isAnimating_ = false;
              if (generation != me->slideGeneration_) {
                  // A show came during the slide-out: slide in instead of ordering out.
                  if (auto screen = std::exchange(me->showAfterSlideOut_, std::nullopt))
                      me->animateShow(*screen, window);
                  return;
              }
              window->orderOut();
              if (completion) completion();
          });
}

void SnapBarController::hide() {
    showAfterSlideOut_.reset();
    if (window_) {
        if (isAnimating_ && !slidingOut_) {
            // A slide-in is running: the slide-out follows when it completes.
            hideAfterSlideIn_ = true;
        } else {
            std::weak_ptr<SnapBarController> weak = self();
            animateHide(window_, [weak] {
                if (auto me = weak.lock()) {
                    me->stopAutoHideMonitoring();
                    me->stopAppSwitchObserver();
                }
            });
        }
    }
    stopAutoHideMonitoring();
    stopAppSwitchObserver();
}

std::optional<NSScreen> SnapBarController::indicatorScreen() {
    if (auto front = roriDeru_.frontmostWindowKeyAndRect()) {
        if (auto screen = SnapScreens::screenForRect(front->rect)) return screen;
    }
    if (auto screen = screenAt(platform::NSEvent::mouseLocation())) return screen;
    if (window_) {
        if (auto screen = window_->screen()) return screen;
    }
    return mainOrFirstScreen();
}

void SnapBarController::refreshSelectionHighlight() {
    const auto screen = indicatorScreen();
    const auto selected = roriDeru_.selectedKind(screen);
    const bool applies = roriDeru_.selectedKindApplies(screen);
    if (boolSetting(settings::verboseLogging.key)) {
        print("[SnapBar][PRESET] highlight screen=" + (screen ? screen->localizedName() : std::string("nil")) +
              " selected=" + (selected ? std::string(caseName(*selected)) : std::string("nil")) +
              " applies=" + (applies ? "true" : "false"));
    }
    if (iconButtons_.size() != iconKinds_.size()) return;
    for (std::size_t i = 0; i < iconButtons_.size(); ++i) {
        auto& button = iconButtons_[i];
        button->setWantsLayer(true);
        auto& layer = *button->layer();
        layer.cornerRadius = 6;
        if (selected && applies && iconKinds_[i] == *selected) {
            layer.backgroundColor = ui::Color::controlAccentColor().withAlphaComponent(0.55);
            layer.borderWidth = 1;
            layer.borderColor = ui::Color::controlAccentColor().withAlphaComponent(0.9);
        } else {
            layer.backgroundColor = ui::Color::clearColor();
            layer.borderWidth = 0;
            layer.borderColor = ui::Color::clearColor();
        }
    }
}

void SnapBarController::refreshIndicators() {
    refreshSelectionHighlight();
    if (snappingToggleButton_) {
        const bool on = roriDeru_.isSnappingEnabled();
        snappingToggleButton_->title = localized(on ? "menu.stopSnapping" : "menu.startSnapping");
        snappingToggleButton_->toolTip = localized(on ? "tt.stopSnapping" : "tt.startSnapping");
    }
    if (mcToggleButton_) mcToggleButton_->toolTip = localized("snapbar.mcTooltip");
    if (smToggleButton_) smToggleButton_->toolTip = localized("snapbar.smTooltip");
    const bool mc = boolSetting(settings::integrateMissionControl.key);
    const bool sm = boolSetting(settings::integrateStageManager.key);
    if (mcToggleButton_) mcToggleButton_->state = mc ? ui::ControlState::on : ui::ControlState::off;
    if (smToggleButton_) smToggleButton_->state = sm ? ui::ControlState::on : ui::ControlState::off;
    applyToggleStyle(mcToggleButton_, "MC", mc);
    applyToggleStyle(smToggleButton_, "SM", sm);
}

void SnapBarController::applyToggleStyle(const std::shared_ptr<ui::Button>& button, const std::string& title, bool on) {
    if (!button) return;
    button->setWantsLayer(true);
    button->layer()->cornerRadius = 6;
    ui::Color color = ui::Color::controlTextColor();
    ui::Font font = ui::Font::systemFont(11);
    if (on) {
        button->isBordered = false;
        button->bezelStyle = ui::BezelStyle::shadowlessSquare;
        button->layer()->backgroundColor = ui::Color::systemGreen().withAlphaComponent(0.65);
        color = ui::Color::whiteColor();
        font = ui::Font::boldSystemFont(11);
    } else {
        button->isBordered = true;
        button->bezelStyle = ui::BezelStyle::rounded;
        button->layer()->backgroundColor.reset();
    }
    button->attributedTitleColor = color;
    button->attributedTitleFont = font;
    button->title = title;
    button->alternateTitle = title;
    button->imagePosition = ui::ImagePosition::noImage;
    button->contentTintColor.reset();
    button->setNeedsDisplay(true);
    button->displayIfNeeded();
}

std::string SnapBarController::tooltip(SnapIconKind kind) {
    for (const auto& item : snapBarItems()) {
        if (item.kind == kind) return localized(item.tooltipKey);
    }
    return std::string(caseName(kind));
}

void SnapBarController::applyLocalization() {
    for (std::size_t i = 0; i < iconButtons_.size() && i < iconKinds_.size(); ++i)
        iconButtons_[i]->toolTip = tooltip(iconKinds_[i]);
    if (closeButton_) closeButton_->toolTip = localized("tt.snapBarClose");
    refreshIndicators();
}

void SnapBarController::refreshVeskPresetButtons() {
    if (!window_) return;
    auto screen = window_->screen();
    if (!screen) screen = screenAt(platform::NSEvent::mouseLocation());
    if (!screen) screen = mainOrFirstScreen();
    if (!screen) return;
    layout(*screen);
}

} // namespace tilmora
