#include "snapping/RoriDeru.hpp"

#include "model/HookRegistry.hpp"
#include "model/Settings.hpp"

#include "platform/desktop/Accessibility.hpp"
#include "platform/desktop/NSWorkspace.hpp"
#include "platform/dispatch/MainThread.hpp"
#include "platform/foundation/SharedInstance.hpp"
#include "snapping/DragSession.hpp"
#include "snapping/GridPresetStorage.hpp"
#include "snapping/LayoutTargets.hpp"
#include "snapping/OverlayLifecycle.hpp"
#include "snapping/PresetActivation.hpp"
#include "snapping/PresetMarking.hpp"
#include "snapping/RectSelection.hpp"
#include "snapping/SnapDefaults.hpp"
#include "snapping/SnapKindGeometry.hpp"
#include "snapping/SnapLog.hpp"
#include "snapping/SnapScreens.hpp"
#include "snapping/TargetWindow.hpp"
#include "snapping/GridWindowMover.hpp"
#include "windows/GeometryBridge.hpp"
#include "windows/ScreenIdentity.hpp"

namespace tilmora {

namespace {

const HookRegistry::Registration tilingControllerHook("RoriDeru.tilingController", [] {
    return RoriDeru::shared().hasTilingController();
});

} // namespace

RoriDeru& RoriDeru::shared() {
    return platform::SharedInstance<RoriDeru>::get();
}

RoriDeru::RoriDeru()
    : RoriDeru(nullptr) {}

RoriDeru::RoriDeru(const SeamMaker& makeSeam)
    : switches_(SnapSwitches::fromDefaults())
    , seam_(makeSeam ? makeSeam(overlays_, activeApplications_)
                     : std::make_unique<SnapGridSeam>(overlays_, activeApplications_))
    , selection_(this, targets_, SnapDefaults::layoutAppliesToAllScreens())
    , overlays_(*seam_, monitors_, activation_, marking_, selection_)
    , mover_(activeApplications_, overlays_)
    , session_(*seam_, targets_, activeApplications_, overlays_, selection_, marking_, switches_, mover_)
    , activation_(*seam_, overlays_, session_)
    , marking_(*seam_, targets_, overlays_)
    , targets_(*seam_, selection_, overlays_, activation_, marking_)
    , monitors_(switches_, session_)
    , lifetime_(std::make_shared<RoriDeru*>(this)) {
    std::weak_ptr<RoriDeru*> handle = lifetime_;
    screenParamsObserver_ = platform::NotificationCenter::defaultCenter().addObserver(
        platform::NSApplicationDidChangeScreenParametersNotification, nullptr,
        [handle](const platform::Notification&) {
            if (auto alive = handle.lock()) (*alive)->onScreenParamsChanged();
        });
    // The monitors are installed on the main thread only; a snap grid made elsewhere gets them from
    // its first `startMonitoringIfNeeded()` there.
    if (switches_.snappingEnabled && platform::isMainThread()) startMonitoringIfNeeded();
}

RoriDeru::~RoriDeru() {
    // The observers' blocks hold the snap grid weakly; removing them keeps the centers small.
    platform::NotificationCenter::defaultCenter().removeObserver(screenParamsObserver_);
    monitors_.remove();
}

const std::vector<std::pair<std::string, platform::CGSize>>& RoriDeru::minByBundle() {
    return TargetWindow::minByBundle();
}

// Switches

void RoriDeru::setSnappingEnabled(bool enabled) {
    platform::requireMainThread("RoriDeru::setSnappingEnabled");
    switches_.snappingEnabled = enabled;
    if (enabled) {
        startMonitoringIfNeeded();
    } else {
        stopMonitoring();
    }
}

void RoriDeru::toggleDragToSnap(bool enabled) {
    setSnappingEnabled(enabled);
}

void RoriDeru::setDebugEnabled(bool enabled) {
    platform::requireMainThread("RoriDeru::setDebugEnabled");
    overlays_.setDebugEnabled(enabled);
}

void RoriDeru::setMagnetMode(bool on) {
    platform::requireMainThread("RoriDeru::setMagnetMode");
    switches_.magnetMode = on;
}

void RoriDeru::setDragRequireOption(bool on) {
    platform::requireMainThread("RoriDeru::setDragRequireOption");
    switches_.dragRequireOption = on;
}

void RoriDeru::setLiveResizeDuringDrag(bool on) {
    platform::requireMainThread("RoriDeru::setLiveResizeDuringDrag");
    switches_.liveResizeDuringDrag = on;
}

void RoriDeru::setDragAssumeTileSize(bool on) {
    platform::requireMainThread("RoriDeru::setDragAssumeTileSize");
    switches_.dragAssumeTileSize = on;
}

void RoriDeru::setShowGridLinesDuringDrag(bool) {
    platform::requireMainThread("RoriDeru::setShowGridLinesDuringDrag");
    overlays_.setGridOpacityAll(marking_.inMenu() ? 1.0 : 0.0);
}

bool RoriDeru::requestAccessibilityIfNeeded() {
    platform::requireMainThread("RoriDeru::requestAccessibilityIfNeeded");
    return platform::AXIsProcessTrustedWithOptions(
        {{platform::kAXTrustedCheckOptionPrompt, platform::CFValue(true)}});
}

void RoriDeru::suppressMenuSelectionOnce() {
    platform::requireMainThread("RoriDeru::suppressMenuSelectionOnce");
    marking_.suppressSelectionOnce();
}

bool RoriDeru::shouldMarkGridPresetInMenu() const {
    return marking_.inMenu();
}

void RoriDeru::setTilingController(std::weak_ptr<TilingController> controller) {
    platform::requireMainThread("RoriDeru::setTilingController");
    session_.setTilingController(std::move(controller));
}

bool RoriDeru::hasTilingController() const {
    platform::requireMainThread("RoriDeru::hasTilingController");
    return session_.hasTilingController();
}

bool RoriDeru::consumeSuppressMenuSelection() {
    platform::requireMainThread("RoriDeru::consumeSuppressMenuSelection");
    return marking_.consumeSuppressSelection();
}

// Rect selection and layout scope

bool RoriDeru::layoutAppliesToAllScreens() {
    return SnapDefaults::layoutAppliesToAllScreens();
}

std::optional<SnapIconKind> RoriDeru::selectedKind() const {
    platform::requireMainThread("RoriDeru::selectedKind");
    return selection_.selectedKind();
}

std::optional<SnapIconKind> RoriDeru::selectedKind(const std::optional<platform::NSScreen>& screen) {
    platform::requireMainThread("RoriDeru::selectedKind");
    return selection_.selectedKindFor(screen);
}

bool RoriDeru::selectedKindApplies(const std::optional<platform::NSScreen>& screen) {
    platform::requireMainThread("RoriDeru::selectedKindApplies");
    return selection_.applies(screen);
}

void RoriDeru::setSelectedKind(std::optional<SnapIconKind> kind,
                               const std::optional<platform::NSScreen>& screen) {
    platform::requireMainThread("RoriDeru::setSelectedKind");
    selection_.set(kind, screen);
}

void RoriDeru::clearAllRectSelections() {
    platform::requireMainThread("RoriDeru::clearAllRectSelections");
    selection_.clearAll();
}

void RoriDeru::migrateRectSelectionsForScopeChange(const std::optional<platform::NSScreen>& preferredScreen) {
    platform::requireMainThread("RoriDeru::migrateRectSelectionsForScopeChange");
    selection_.migrate(preferredScreen);
}

std::optional<platform::NSScreen> RoriDeru::preferredScreenForSelection() {
    platform::requireMainThread("RoriDeru::preferredScreenForSelection");
    return targets_.preferredScreen();
}

std::vector<platform::NSScreen>
RoriDeru::layoutTargetScreens(const std::optional<platform::NSScreen>& preferredScreen,
                              const std::optional<Rect>& focusRect, bool forceAll) {
    platform::requireMainThread("RoriDeru::layoutTargetScreens");
    return targets_.targetScreens(preferredScreen, focusRect, forceAll);
}

std::vector<platform::NSScreen>
RoriDeru::targetScreensForLayout(const std::optional<platform::NSScreen>& preferredScreen) {
    return layoutTargetScreens(preferredScreen, std::nullopt, false);
}

void RoriDeru::applyLayoutScopePreference(const std::optional<platform::NSScreen>& preferredScreen) {
    platform::requireMainThread("RoriDeru::applyLayoutScopePreference");
    targets_.applyScopePreference(preferredScreen);
}

// Preset marking and activation

void RoriDeru::setMarkGridPresetInMenu(bool on, const std::optional<platform::NSScreen>& screen) {
    platform::requireMainThread("RoriDeru::setMarkGridPresetInMenu");
    marking_.setMark(on, screen);
}

bool RoriDeru::shouldMarkGridPreset(const Preset& preset,
                                    const std::optional<platform::NSScreen>& screen) const {
    platform::requireMainThread("RoriDeru::shouldMarkGridPreset");
    return marking_.shouldMark(preset, screen);
}

std::optional<RoriDeru::Preset> RoriDeru::markedGridPreset() const {
    platform::requireMainThread("RoriDeru::markedGridPreset");
    return marking_.marked();
}

void RoriDeru::clearGridPresetMarking(bool removeOverlays) {
    platform::requireMainThread("RoriDeru::clearGridPresetMarking");
    marking_.clear(removeOverlays);
}

RoriDeru::Preset RoriDeru::storedPreset(const platform::NSScreen& screen) const {
    return loadPreset(screen);
}

std::optional<RoriDeru::Preset> RoriDeru::activePreset(const platform::NSScreen& screen) const {
    platform::requireMainThread("RoriDeru::activePreset");
    const auto display = tlm_displayID(screen);
    if (!display) return std::nullopt;
    return overlays_.activePreset(*display);
}

void RoriDeru::activateSnap(const platform::NSScreen& screen) {
    platform::requireMainThread("RoriDeru::activateSnap");
    activation_.activate(screen);
}

void RoriDeru::applyPreset(const Preset& preset, const platform::NSScreen& screen, bool flash,
                           bool activate) {
    platform::requireMainThread("RoriDeru::applyPreset");
    activation_.apply(preset, screen, flash, activate);
}

void RoriDeru::switchGridPresetOff(const std::vector<platform::NSScreen>& targets) {
    platform::requireMainThread("RoriDeru::switchGridPresetOff");
    marking_.switchOff(targets);
}

void RoriDeru::clearPresetSelection(bool removeOverlays) {
    clearAllRectSelections();
    clearGridPresetMarking(removeOverlays);
}

void RoriDeru::skipSnapDueToMissingOverlay(const platform::NSScreen& screen, std::string_view reason) {
    platform::requireMainThread("RoriDeru::skipSnapDueToMissingOverlay");
    SnapLog::missingOverlay(screen, reason);
}

// Logging

void RoriDeru::logSnapState(std::string_view message) {
    SnapLog::logSnapState(message);
}

void RoriDeru::olog(std::string_view message) {
    SnapLog::olog(message);
}

void RoriDeru::logRectPresetState(std::string_view message) const {
    selection_.logState(message);
}

void RoriDeru::logRectPresetLookup(const std::optional<platform::NSScreen>& screen, bool applies) const {
    SnapLog::rectPresetLookup(screen, applies);
}

void RoriDeru::logRectPresetSelectionFetch(const std::optional<platform::NSScreen>& screen,
                                           std::optional<SnapIconKind> kind) const {
    SnapLog::rectPresetSelectionFetch(screen, kind);
}

// Overlays

void RoriDeru::showOverlay(const platform::NSScreen& screen, const Preset& preset, bool force,
                           bool markActive, const std::optional<PresetEdges>& customEdges) {
    platform::requireMainThread("RoriDeru::showOverlay");
    seam_->showOverlay(screen, preset, force, markActive, customEdges);
}

void RoriDeru::showOverlayOnAllDisplays(const Preset& preset) {
    platform::requireMainThread("RoriDeru::showOverlayOnAllDisplays");
    overlays_.showOnAllDisplays(preset);
}

void RoriDeru::pruneOverlays(const std::set<std::uint32_t>& keeping) {
    platform::requireMainThread("RoriDeru::pruneOverlays");
    overlays_.prune(keeping);
}

void RoriDeru::pruneTransientPresets(const std::set<std::uint32_t>& keeping) {
    platform::requireMainThread("RoriDeru::pruneTransientPresets");
    overlays_.pruneTransientPresets(keeping);
}

void RoriDeru::hideOverlay(const platform::NSScreen& screen, bool clearPreset) {
    platform::requireMainThread("RoriDeru::hideOverlay");
    seam_->hideOverlay(screen, clearPreset);
}

void RoriDeru::hideAll(bool clearPresets) {
    platform::requireMainThread("RoriDeru::hideAll");
    seam_->hideAll(clearPresets);
}

void RoriDeru::startMonitoringIfNeeded() {
    platform::requireMainThread("RoriDeru::startMonitoringIfNeeded");
    monitors_.startIfNeeded();
}

bool RoriDeru::isMonitoring() const {
    platform::requireMainThread("RoriDeru::isMonitoring");
    return monitors_.installed();
}

void RoriDeru::stopMonitoring() {
    platform::requireMainThread("RoriDeru::stopMonitoring");
    monitors_.stop();
}

void RoriDeru::onScreenParamsChanged() {
    platform::requireMainThread("RoriDeru::onScreenParamsChanged");
    overlays_.reframeAll();
}

// Drag pipeline

void RoriDeru::startSampling() {
    platform::requireMainThread("RoriDeru::startSampling");
    session_.startSampling();
}

void RoriDeru::updateHighlightForFrontmostWindow() {
    platform::requireMainThread("RoriDeru::updateHighlightForFrontmostWindow");
    session_.tick();
}

void RoriDeru::handleMouseUp() {
    platform::requireMainThread("RoriDeru::handleMouseUp");
    session_.handleMouseUp();
}

void RoriDeru::beginExternalDrag() {
    platform::requireMainThread("RoriDeru::beginExternalDrag");
    session_.beginExternalDrag();
}

void RoriDeru::endExternalDrag() {
    platform::requireMainThread("RoriDeru::endExternalDrag");
    session_.handleMouseUp();
}

void RoriDeru::snapFrontmostWindowToNearestTileIfApplicable() {
    platform::requireMainThread("RoriDeru::snapFrontmostWindowToNearestTileIfApplicable");
    session_.snapOnDrop();
}

void RoriDeru::ensureOverlayForDrag(const std::optional<platform::NSScreen>& screen) {
    platform::requireMainThread("RoriDeru::ensureOverlayForDrag");
    session_.ensureOverlayForDrag(screen);
}

std::optional<DragTargeting::Target> RoriDeru::bestOverlay(const Rect& windowRect) {
    platform::requireMainThread("RoriDeru::bestOverlay");
    return session_.targeting().bestOverlay(windowRect);
}

void RoriDeru::applyLiveResizeIfNeeded(const Rect& currentWindowRect, const Rect& selectedTile,
                                       const platform::NSScreen& screen, const Preset& preset, std::uint32_t sid) {
    platform::requireMainThread("RoriDeru::applyLiveResizeIfNeeded");
    session_.targeting().applyLiveResizeIfNeeded(currentWindowRect, selectedTile, screen, preset, sid);
}

// Target application and window

std::optional<platform::NSRunningApplication> RoriDeru::targetApplicationForSnapping() {
    platform::requireMainThread("RoriDeru::targetApplicationForSnapping");
    return TargetWindow::targetApplication(activeApplications_);
}

std::optional<platform::NSRunningApplication> RoriDeru::appUnderMouse() {
    platform::requireMainThread("RoriDeru::appUnderMouse");
    return TargetWindow::appUnderMouse();
}

std::optional<platform::AXUIElement> RoriDeru::findAXWindow(const platform::AXUIElement& application) {
    platform::requireMainThread("RoriDeru::findAXWindow");
    return TargetWindow::findAXWindow(application);
}

std::optional<Rect> RoriDeru::frontmostWindowAppKitRect() {
    platform::requireMainThread("RoriDeru::frontmostWindowAppKitRect");
    return TargetWindow::frontmostWindowAppKitRect(activeApplications_);
}

std::optional<Rect> RoriDeru::frontmostWindowRect() {
    return frontmostWindowAppKitRect();
}

std::optional<RoriDeru::KeyAndRect> RoriDeru::frontmostWindowKeyAndRect() {
    platform::requireMainThread("RoriDeru::frontmostWindowKeyAndRect");
    return seam_->frontmostWindowKeyAndRect();
}

std::optional<WindowId> RoriDeru::currentFrontmostWindowId() {
    platform::requireMainThread("RoriDeru::currentFrontmostWindowId");
    return TargetWindow::currentWindowId(activeApplications_);
}

std::optional<platform::NSScreen> RoriDeru::screenContaining(const Rect& rect) {
    return screenForRect(rect);
}

platform::CGSize RoriDeru::frontmostAppMinSize() const {
    platform::requireMainThread("RoriDeru::frontmostAppMinSize");
    return TargetWindow::frontmostAppMinSize();
}

// Moving the target window

void RoriDeru::moveFrontmostAXWindow(const Rect& rect) {
    platform::requireMainThread("RoriDeru::moveFrontmostAXWindow");
    mover_.moveFrontmostAXWindow(rect);
}

bool RoriDeru::enterNativeFullScreen() {
    platform::requireMainThread("RoriDeru::enterNativeFullScreen");
    return GridWindowMover::enterNativeFullScreen();
}

void RoriDeru::snapFrontmost(const Rect& rect) {
    moveFrontmostAXWindow(rect);
}

void RoriDeru::snapFrontmost(std::int64_t row, std::int64_t col, const platform::NSScreen& screen,
                             const Preset& preset) {
    platform::requireMainThread("RoriDeru::snapFrontmost");
    mover_.snapFrontmost(row, col, screen, preset);
}

// Snap-kind geometry

Rect RoriDeru::adjustedVisibleFrame(const platform::NSScreen& screen) const {
    platform::requireMainThread("RoriDeru::adjustedVisibleFrame");
    return SnapScreens::adjustedVisibleFrame(screen);
}

Rect RoriDeru::computeRectForVisible(SnapIconKind kind, const Rect& visible) const {
    platform::requireMainThread("RoriDeru::computeRectForVisible");
    return SnapKindGeometry::rectForVisible(kind, visible, GapSettings::current());
}

Rect RoriDeru::computeRectForVisible(SnapIconKind kind, const Rect& visible, const GapSettings& gaps) {
    return SnapKindGeometry::rectForVisible(kind, visible, gaps);
}

Rect RoriDeru::applyGaps(const Rect& rect, const Rect& visible) const {
    platform::requireMainThread("RoriDeru::applyGaps");
    return SnapKindGeometry::applyGaps(rect, visible, GapSettings::current());
}

Rect RoriDeru::applyGaps(const Rect& rect, const Rect& visible, const GapSettings& gaps) {
    return SnapKindGeometry::applyGaps(rect, visible, gaps);
}

Rect RoriDeru::alignRectToPixelEdges(const Rect& rect, double scale) {
    return SnapKindGeometry::alignRectToPixelEdges(rect, scale);
}

Rect RoriDeru::clamp(const Rect& rect, const Rect& bounds) {
    return SnapKindGeometry::clamp(rect, bounds);
}

// Grid presets and tiles

void RoriDeru::savePreset(const Preset& preset, std::optional<std::uint32_t> displayID) {
    platform::requireMainThread("RoriDeru::savePreset");
    GridPresetStorage::save(preset, displayID);
}

RoriDeru::Preset RoriDeru::loadPreset(std::optional<std::uint32_t> displayID) const {
    platform::requireMainThread("RoriDeru::loadPreset");
    return GridPresetStorage::load(displayID);
}

void RoriDeru::savePreset(const Preset& preset, const platform::NSScreen& screen) {
    savePreset(preset, tlm_displayID(screen));
}

RoriDeru::Preset RoriDeru::loadPreset(const platform::NSScreen& screen) const {
    return loadPreset(tlm_displayID(screen));
}

GridLayout::GridMetrics RoriDeru::gridMetrics(const Rect& rect, std::int64_t rows, std::int64_t cols,
                                              double gutter, double scale) {
    return GridLayout::metrics(rect, rows, cols, gutter, scale);
}

std::vector<Rect> RoriDeru::tiles(const Rect& visible, double scale, std::optional<std::uint32_t> displayID,
                                  const Preset& preset) const {
    platform::requireMainThread("RoriDeru::tiles");
    return overlays_.tiles(visible, scale, displayID, preset);
}

std::vector<Rect> RoriDeru::tiles(const platform::NSScreen& screen, const Preset& preset) const {
    return tiles(toRect(screen.visibleFrame()), screen.backingScaleFactor(), tlm_displayID(screen), preset);
}

std::optional<Rect> RoriDeru::pickSnapTile(const Rect& windowRect, const std::vector<Rect>& tiles,
                                           double threshold) {
    return GridLayout::pickSnapTile(windowRect, tiles, threshold);
}

std::optional<GridLayout::RowCol> RoriDeru::rowCol(const Rect& tile, const std::vector<Rect>& tiles,
                                                   std::int64_t cols) {
    return GridLayout::rowCol(tile, tiles, cols);
}

std::optional<platform::NSScreen> RoriDeru::screenForRect(const Rect& rect) {
    platform::requireMainThread("RoriDeru::screenForRect");
    return SnapScreens::screenForRect(rect);
}

} // namespace tilmora
