#pragma once

#include "model/SnapIconKind.hpp"
#include "model/VeskPreset.hpp"
#include "platform/desktop/NSScreen.hpp"
#include "platform/foundation/NotificationCenter.hpp"
#include "platform/input/NSEvent.hpp"
#include "platform/ui/Button.hpp"
#include "platform/ui/GridView.hpp"
#include "platform/ui/Panel.hpp"
#include "platform/ui/StackView.hpp"
#include "platform/ui/VisualEffectView.hpp"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace tilmora {

class SnapBarSnapGrid;

/// The snap bar: a floating non-activating panel at the top of one screen with the 31 snap icon
/// buttons, the snapping toggle, the "MC" and "SM" integration toggles, a close button and a row of
/// single-tile preset buttons. Icon, snapping, close and preset buttons send their selectors to the
/// action target; "MC" and "SM" are answered here ("onToggleMC", "onToggleSM").
///
/// While shown, the bar slides out when the pointer leaves it, another application activates, the
/// user clicks elsewhere or (when the user asked) Mission Control or Stage Manager is active, and
/// slides back when the pointer lingers at the top of a screen. Frames are global points (y up).
/// Logs "[SnapBar] ..." lines through `print`. Create with `std::make_shared`; main thread only.
class SnapBarController : public platform::ui::Responder {
public:
    /// A bar that reads the selection, the snapping switch and the target window of `roriDeru`.
    explicit SnapBarController(SnapBarSnapGrid& roriDeru);
    ~SnapBarController() override;

    /// Supplies the presets of a screen for the preset row; only single-tile ones are used.
    std::function<std::vector<VeskPreset>(const platform::NSScreen&)> veskTilePresetsProvider;

    /// Shows the bar on `screen` (else the main screen, else the first), creating the panel on the
    /// first call; refused (only `autoHidden` set) while the integration rule hides the bar.
    void show(const std::optional<platform::NSScreen>& screen, const std::shared_ptr<platform::ui::Responder>& target);
    /// Slides the panel out and stops the bar's monitors; clears `autoHidden`.
    void hide();
    void refreshIndicators();
    void refreshSelectionHighlight();
    void applyLocalization();
    /// Lays the bar out again on its current screen, rebuilding the preset row.
    void refreshVeskPresetButtons();

    void animateHide(const std::shared_ptr<platform::ui::Panel>& window, std::function<void()> completion);
    void stopAutoHideMonitoring();
    void stopAppSwitchObserver();
    void startAutoHideMonitoring();
    void startAppSwitchObserver();
    /// Applies the pointer rules once (hide, move to another screen, reveal after the dwell).
    void evaluateAutoHide();
    /// Whether Mission Control or Stage Manager should keep the bar out, by the four settings.
    static bool integrationShouldHide();
    void onToggleMC();
    void onToggleSM();

    // Layout arithmetic (points).
    /// The widest bar on a visible frame: max(width - 48, 320).
    static double maxWidth(const platform::CGRect& visibleFrame);
    /// Icon columns for an available width: max(floor((w + 8) / 36), 1).
    static std::size_t gridColumns(double availableWidth);

    // State, for the owner and tests.
    const std::shared_ptr<platform::ui::Panel>& window() const { return window_; }
    /// The icon buttons in bar order; each carries its kind's case name ("leftHalf") as identifier.
    const std::vector<std::shared_ptr<platform::ui::Button>>& iconButtons() const { return iconButtons_; }
    const std::vector<SnapIconKind>& iconKinds() const { return iconKinds_; }
    const std::vector<std::shared_ptr<platform::ui::Button>>& tilePresetButtons() const { return tilePresetButtons_; }
    const std::shared_ptr<platform::ui::GridView>& iconGrid() const { return iconGrid_; }
    const std::shared_ptr<platform::ui::StackView>& row2Container() const { return row2Container_; }
    const std::shared_ptr<platform::ui::VisualEffectView>& contentView() const { return contentVEV_; }
    const std::shared_ptr<platform::ui::StackView>& stackView() const { return vStack_; }
    const std::shared_ptr<platform::ui::Button>& closeButton() const { return closeButton_; }
    const std::shared_ptr<platform::ui::Button>& snappingToggleButton() const { return snappingToggleButton_; }
    const std::shared_ptr<platform::ui::Button>& mcToggleButton() const { return mcToggleButton_; }
    const std::shared_ptr<platform::ui::Button>& smToggleButton() const { return smToggleButton_; }
    bool autoHidden() const { return autoHidden_; }
    bool isAnimating() const { return isAnimating_; }
    bool hasMouseMonitor() const { return mouseMonitor_ != nullptr; }
    bool hasClickMonitor() const { return clickMonitor_ != nullptr; }
    bool hasAppSwitchObserver() const { return appSwitchObserver_.has_value(); }

    static constexpr double autoHideThreshold = 4;
    static constexpr double activationZone = 24;
    static constexpr double hideZone = 36;
    static constexpr double showDuration = 0.16;
    static constexpr double hideDuration = 0.12;
    static constexpr double sideInset = 24;
    static constexpr double topGap = 24;
    static constexpr double itemSpacing = 8;
    static constexpr double iconButtonSize = 28;
    /// Least spacing (seconds) between two pointer-rule actions, and the dwell before a reveal.
    static constexpr double autoToggleSpacing = 0.08;
    static constexpr double revealDwell = 0.25;

private:
    std::shared_ptr<SnapBarController> self();
    void createWindow(const std::shared_ptr<platform::ui::Responder>& target);
    void layout(const platform::NSScreen& screen);
    double rightControlsTotalWidth() const;
    void rebuildIconGrid(double availableWidth);
    void rebuildTilePresetRow(const platform::NSScreen& screen);
    void animateShow(const platform::NSScreen& screen, const std::shared_ptr<platform::ui::Panel>& window);
    /// Animates `window` to `origin` and `alpha` over `duration` seconds with the timing function
    /// `timing`; `completion` runs when the animation ends.
    static void slide(platform::ui::Panel& window, platform::CGPoint origin, double alpha, double duration,
                      const char* timing, std::function<void()> completion);
    std::optional<platform::NSScreen> indicatorScreen();
    static std::string tooltip(SnapIconKind kind);
    static void applyToggleStyle(const std::shared_ptr<platform::ui::Button>& button, const std::string& title, bool on);
    double barHeight() const;
    void autoSlideOut();
    void startObserving();
    void stopObserving();
    /// Flips the integration setting `key`, announces the change and refreshes the toggles.
    void toggleIntegration(const char* key);
    /// The Boolean setting `key` as the user defaults read it (absent: false).
    static bool boolSetting(const char* key);
    /// The first screen whose frame holds `point`, edges included.
    static std::optional<platform::NSScreen> screenAt(platform::CGPoint point);

    SnapBarSnapGrid& roriDeru_;
    std::weak_ptr<platform::ui::Responder> actionTarget_;
    std::shared_ptr<platform::ui::Panel> window_;
    std::optional<platform::ObserverToken> screenObserver_;
    std::optional<platform::ObserverToken> integrationObserver_;
    std::shared_ptr<platform::EventMonitor> mouseMonitor_;
    std::shared_ptr<platform::EventMonitor> clickMonitor_;
    std::optional<platform::ObserverToken> appSwitchObserver_;
    std::optional<platform::ObserverToken> localizationObserver_;
    std::optional<platform::ObserverToken> selectionObserver_;
    bool autoHidden_ = false;
    double lastAutoToggleAt_ = 0;
    bool isAnimating_ = false;
    /// Counts slides; a slide whose completion finds another number was overtaken by a later call.
    unsigned long slideGeneration_ = 0;
    /// A `hide()` made while a slide-in runs; it runs when the slide-in completes.
    bool hideAfterSlideIn_ = false;
    /// A `show` made while a slide-out runs; the slide-in runs on this screen when it has ended.
    std::optional<platform::NSScreen> showAfterSlideOut_;
    bool slidingOut_ = false;
    std::shared_ptr<platform::ui::VisualEffectView> contentVEV_;
    std::shared_ptr<platform::ui::StackView> vStack_;
    std::shared_ptr<platform::ui::StackView> row1Container_;
    std::shared_ptr<platform::ui::StackView> row2Container_;
    std::shared_ptr<platform::ui::GridView> iconGrid_;
    std::vector<std::shared_ptr<platform::ui::Button>> iconButtons_;
    std::vector<SnapIconKind> iconKinds_;
    std::vector<std::shared_ptr<platform::ui::Button>> tilePresetButtons_;
    std::shared_ptr<platform::ui::Button> closeButton_;
    std::shared_ptr<platform::ui::Button> snappingToggleButton_;
    std::shared_ptr<platform::ui::Button> mcToggleButton_;
    std::shared_ptr<platform::ui::Button> smToggleButton_;
    std::optional<double> hoverStartAt_;
};

} // namespace tilmora
