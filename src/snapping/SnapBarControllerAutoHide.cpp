#include "snapping/SnapBarController.hpp"

#include "model/LocalizationManager.hpp"
#include "model/Log.hpp"
#include "model/Settings.hpp"
#include "platform/desktop/NSRunningApplication.hpp"
#include "platform/desktop/NSWorkspace.hpp"
#include "platform/dispatch/MediaTime.hpp"
#include "platform/foundation/Bundle.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "platform/ui/StatusItem.hpp"
#include "snapping/RectSelection.hpp"
#include "windows/StageIntegration.hpp"

// The snap bar's automatic hiding and the observers that keep it current: the pointer rules, the
// application-switch and outside-click rules, the Mission Control and Stage Manager rule with its
// two toggles, and the screen, language and selection observers.

namespace tilmora {

namespace {

using platform::CGPoint;
using platform::CGRect;
namespace ui = platform::ui;

/// Whether `p` lies in `f`, the right and top edges left out.
bool frameContains(const CGRect& f, CGPoint p) {
    return p.x >= f.minX() && p.x < f.maxX() && p.y >= f.minY() && p.y < f.maxY();
}

} // namespace

void SnapBarController::autoSlideOut() {
    std::weak_ptr<SnapBarController> weak = self();
    animateHide(window_, [weak] {
        if (auto me = weak.lock()) me->autoHidden_ = true;
    });
}

bool SnapBarController::integrationShouldHide() {
    if (boolSetting(settings::integrateMissionControl.key) &&
        boolSetting(settings::autoHideSnapBarWithMissionControl.key) &&
        StageIntegration::isMissionControlLikelyActive())
        return true;
    return boolSetting(settings::integrateStageManager.key) &&
           boolSetting(settings::autoHideSnapBarWithStageManager.key) &&
           StageIntegration::isStageManagerActive();
}

void SnapBarController::startAutoHideMonitoring() {
    std::weak_ptr<SnapBarController> weak = self();
    mouseMonitor_ = platform::NSEvent::addGlobalMonitorForEvents(
        platform::EventTypeMask::of(platform::EventType::mouseMoved), [weak](const platform::NSEvent&) {
            auto me = weak.lock();
            if (!me) return;
            if (integrationShouldHide()) {
                if (me->window_ && !me->isAnimating_) me->autoSlideOut();
                return;
            }
            me->evaluateAutoHide();
        });
    evaluateAutoHide();
}

void SnapBarController::stopAutoHideMonitoring() {
    if (mouseMonitor_) platform::NSEvent::removeMonitor(mouseMonitor_);
    mouseMonitor_.reset();
    autoHidden_ = false;
}

void SnapBarController::evaluateAutoHide() {
    if (!window_) return;
    const double now = platform::mediaTime();
    if (now - lastAutoToggleAt_ < autoToggleSpacing) return;
    const CGPoint p = platform::NSEvent::mouseLocation();
    const auto screen = screenAt(p);
    if (!screen) return;
    const double menuBarLine = screen->frame().maxY() - ui::StatusBar::system().thickness() + 0.5;
    const double top = screen->visibleFrame().maxY();
    const double bottom = top - barHeight() - topGap;
    const bool inRevealZone = p.y >= bottom - activationZone && p.y <= top;

    if (window_->isVisible() && !isAnimating_) {
        const auto f = window_->frame();
        if (p.y >= menuBarLine || p.y >= f.maxY() - autoHideThreshold || p.y < f.minY() - hideZone) {
            autoSlideOut();
            lastAutoToggleAt_ = now;
            hoverStartAt_.reset();
            return;
        }
        const auto current = window_->screen();
        if (current && !(*current == *screen) && inRevealZone) {
            layout(*screen);
            animateShow(*screen, window_);
            autoHidden_ = false;
            lastAutoToggleAt_ = now;
            hoverStartAt_.reset();
            return;
        }
    }
    if (!boolSetting(settings::snapBarVisible.key) || !autoHidden_ || isAnimating_ || p.y >= menuBarLine)
        return;
    if (!inRevealZone) {
        hoverStartAt_.reset();
        return;
    }
    if (!hoverStartAt_) {
        hoverStartAt_ = now;
        return;
    }
    if (now - *hoverStartAt_ >= revealDwell) {
        layout(*screen);
        animateShow(*screen, window_);
        autoHidden_ = false;
        lastAutoToggleAt_ = now;
        hoverStartAt_.reset();
    }
}

void SnapBarController::startAppSwitchObserver() {
    std::weak_ptr<SnapBarController> weak = self();
    if (!appSwitchObserver_) {
        appSwitchObserver_ = platform::NSWorkspace::shared().notificationCenter().addObserver(
            platform::NSWorkspaceDidActivateApplicationNotification, nullptr,
            [weak](const platform::Notification& note) {
                auto me = weak.lock();
                if (!me) return;
                const auto app = platform::NSWorkspace::applicationOf(note);
                if (!app) return;
                const auto bundle = app->bundleIdentifier();
                if (bundle == platform::Bundle::main().bundleIdentifier()) return;
                if (!me->window_ || me->isAnimating_) return;
                print("[SnapBar] Hide on app switch to " + bundle.value_or("?"));
                me->autoSlideOut();
            });
    }
    if (!clickMonitor_) {
        clickMonitor_ = platform::NSEvent::addGlobalMonitorForEvents(
            platform::EventTypeMask::of(platform::EventType::leftMouseDown) |
                platform::EventTypeMask::of(platform::EventType::rightMouseDown),
            [weak](const platform::NSEvent& event) {
                auto me = weak.lock();
                if (!me || !me->window_ || me->isAnimating_) return;
                CGPoint point = platform::NSEvent::mouseLocation();
                if (event.windowNumber != 0)
                    point = me->window_->convertRectToScreen({event.locationInWindow, {0, 0}}).origin;
                if (frameContains(me->window_->frame(), point)) return;
                print("[SnapBar] Hide on outside click");
                me->autoSlideOut();
            });
    }
}

void SnapBarController::stopAppSwitchObserver() {
    if (appSwitchObserver_) platform::NSWorkspace::shared().notificationCenter().removeObserver(*appSwitchObserver_);
    appSwitchObserver_.reset();
    if (clickMonitor_) platform::NSEvent::removeMonitor(clickMonitor_);
    clickMonitor_.reset();
}

void SnapBarController::startObserving() {
    if (screenObserver_) return;
    auto& center = platform::NotificationCenter::defaultCenter();
    std::weak_ptr<SnapBarController> weak = self();
    screenObserver_ = center.addObserver(platform::NSApplicationDidChangeScreenParametersNotification, nullptr,
                                         [weak](const platform::Notification&) {
                                             auto me = weak.lock();
                                             if (!me || !me->window_) return;
                                             if (auto screen = me->window_->screen()) me->layout(*screen);
                                         });
    integrationObserver_ = center.addObserver(StageIntegration::stateDidChange, nullptr, [weak](const platform::Notification&) {
        if (auto me = weak.lock()) me->refreshIndicators();
    });
    if (!localizationObserver_) {
        localizationObserver_ = center.addObserver(LocalizationManager::languageDidChange, nullptr,
                                                   [weak](const platform::Notification&) {
                                                       if (auto me = weak.lock()) me->applyLocalization();
                                                   });
    }
    if (!selectionObserver_) {
        selectionObserver_ = center.addObserver(RectSelection::didChangeNotification, nullptr,
                                                [weak](const platform::Notification&) {
                                                    if (auto me = weak.lock()) me->refreshSelectionHighlight();
                                                });
    }
}

void SnapBarController::stopObserving() {
    auto& center = platform::NotificationCenter::defaultCenter();
    for (auto* token : {&screenObserver_, &localizationObserver_, &selectionObserver_}) {
        if (*token) center.removeObserver(**token);
        token->reset();
    }
}

void SnapBarController::onToggleMC() {
    toggleIntegration(settings::integrateMissionControl.key);
}

void SnapBarController::onToggleSM() {
    toggleIntegration(settings::integrateStageManager.key);
}

void SnapBarController::toggleIntegration(const char* key) {
    auto& defaults = platform::UserDefaults::standard();
    defaults.set(!defaults.boolForKey(key), key);
    platform::NotificationCenter::defaultCenter().post(StageIntegration::stateDidChange);
    refreshIndicators();
}
} // namespace tilmora
