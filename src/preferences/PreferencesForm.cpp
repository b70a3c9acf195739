// The body of the preferences view: the loading placeholder, the form and its rows.

#include "model/LocalizationManager.hpp"
#include "model/Settings.hpp"
#include "platform/dispatch/DispatchQueue.hpp"
#include "platform/foundation/NotificationCenter.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "platform/input/ProcessInfo.hpp"
#include "platform/ui/declarative/Elements.hpp"
#include "preferences/CheckBox.hpp"
#include "preferences/LanguagePopup.hpp"
#include "preferences/PreferencesView.hpp"
#include "preferences/ShortcutRow.hpp"
#include "preferences/ValueSlider.hpp"
#include "shortcuts/Recorder.hpp"
#include "windows/StageIntegration.hpp"

namespace tilmora {

namespace decl = platform::ui::declarative;
using decl::Alignment;
using decl::Element;
using GlobalShortcuts::Name;
using platform::PropertyValue;

namespace {

struct SnapRow {
    const char* label;
    bool fixedText; // shown as written, in every language
    const Name& (*name)();
};

// The snap-shortcut list: rows 1-32, 33-41 and 42-53 are three groups.
const SnapRow snapRows[] = {
    {"menu.leftHalf", false, &Name::snapLeftHalf},
    {"menu.rightHalf", false, &Name::snapRightHalf},
    {"menu.topHalf", false, &Name::snapTopHalf},
    {"menu.bottomHalf", false, &Name::snapBottomHalf},
    {"menu.firstThird", false, &Name::snapLeftThird},
    {"menu.centerThird", false, &Name::snapMiddleThird},
    {"menu.lastThird", false, &Name::snapRightThird},
    {"menu.firstTwoThirds", false, &Name::snapLeftTwoThirds},
    {"menu.lastTwoThirds", false, &Name::snapRightTwoThirds},
    {"menu.topLeft", false, &Name::snapTopLeft},
    {"menu.topRight", false, &Name::snapTopRight},
    {"menu.bottomLeft", false, &Name::snapBottomLeft},
    {"menu.bottomRight", false, &Name::snapBottomRight},
    {"menu.centerHalf", false, &Name::snapCenterHalf},
    {"menu.centerTwoThirds", false, &Name::snapCenterTwoThirds},
    {"menu.centerThreeFourths", false, &Name::snapCenterThreeFourths},
    {"menu.center", false, &Name::snapCenter},
    {"menu.fullScreen", false, &Name::snapMaximize},
    {"menu.almostFullScreen", false, &Name::snapAlmostMaximize},
    {"menu.fullScreenHeight", false, &Name::snapMaximizeHeight},
    {"menu.smaller", false, &Name::snapSmaller},
    {"menu.larger", false, &Name::snapLarger},
    {"menu.restore", false, &Name::snapRestore},
    {"menu.nextDisplay", false, &Name::nextDisplay},
    {"menu.previousDisplay", false, &Name::previousDisplay},
    {"Move Left (edge)", true, &Name::moveToEdgeLeft},
    {"Move Right (edge)", true, &Name::moveToEdgeRight},
    {"Move Up (edge)", true, &Name::moveToEdgeUp},
    {"Move Down (edge)", true, &Name::moveToEdgeDown},
    {"prefs.fullScreenMac", false, &Name::nativeFullScreen},
    {"prefs.fullScreenLeft", false, &Name::fullScreenLeftHalf},
    {"prefs.fullScreenRight", false, &Name::fullScreenRightHalf},
    {"menu.grid1x2", false, &Name::grid1x2},
    {"menu.grid1x3", false, &Name::grid1x3},
    {"menu.grid2x1", false, &Name::grid2x1},
    {"menu.grid3x1", false, &Name::grid3x1},
    {"menu.grid2x2", false, &Name::grid2x2},
    {"menu.grid3x3", false, &Name::grid3x3},
    {"menu.grid4x4", false, &Name::grid4x4},
    {"menu.grid6x4", false, &Name::grid6x4},
    {"menu.grid8x2", false, &Name::grid8x2},
    {"menu.firstQuarter", false, &Name::firstQuarter},
    {"menu.secondQuarter", false, &Name::secondQuarter},
    {"menu.thirdQuarter", false, &Name::thirdQuarter},
    {"menu.lastQuarter", false, &Name::lastQuarter},
    {"menu.firstThreeQuarters", false, &Name::firstThreeQuarters},
    {"menu.lastThreeQuarters", false, &Name::lastThreeQuarters},
    {"menu.topLeftSixth", false, &Name::topLeftSixth},
    {"menu.topCenterSixth", false, &Name::topCenterSixth},
    {"menu.topRightSixth", false, &Name::topRightSixth},
    {"menu.bottomLeftSixth", false, &Name::bottomLeftSixth},
    {"menu.bottomCenterSixth", false, &Name::bottomCenterSixth},
    {"menu.bottomRightSixth", false, &Name::bottomRightSixth},
};

struct AppRow {
    const char* label;
    const Name& (*name)();
};

const AppRow applicationRows[] = {
    {"prefs.shortcut.startStopSnapping", &Name::toggleSnapping},
    {"prefs.shortcut.showSnapshotManager", &Name::showSnapshotManager},
    {"prefs.shortcut.toggleSnapBar", &Name::toggleSnapBar},
    {"prefs.shortcut.toggleIntegrateMissionControl", &Name::toggleIntegrateMissionControl},
    {"prefs.shortcut.toggleIntegrateStageManager", &Name::toggleIntegrateStageManager},
    {"prefs.shortcut.openPreferences", &Name::openPreferences},
    {"prefs.shortcut.openHelp", &Name::openHelp},
    {"prefs.shortcut.quitApp", &Name::quitApp},
};

platform::ui::EdgeInsets bottom(double b) {
    platform::ui::EdgeInsets insets;
    insets.bottom = b;
    return insets;
}

decl::FrameSpec fixedWidth(double width, Alignment alignment) {
    decl::FrameSpec spec;
    spec.width = width;
    spec.alignment = alignment;
    return spec;
}

Element heading(const std::string& text) {
    return decl::Text(text).font("subheadline", "bold");
}

Element explanation(const std::string& text) {
    return decl::Text(text).font("caption").foregroundRole("secondary");
}

void nextTurn(std::function<void()> block) {
    platform::DispatchQueue::main().async(std::move(block));
}

// After a chord is recorded or cleared the shell re-applies the master switch, so that a chord
// recorded while shortcuts are off stays unregistered.
void chordChanged(const std::optional<GlobalShortcuts::Shortcut>&) {
    if (auto shell = PreferencesShell::installed()) shell->applyKeyboardShortcutsEnabledState();
}

} // namespace

Element PreferencesView::body() {
    Element content = uiReady.get() ? form() : placeholder();
    decl::FrameSpec minimum;
    minimum.minWidth = 1000;
    minimum.minHeight = 800;
    auto ready = uiReady.binding();
    content.frame(minimum)
        .onAppear([ready] {
            if (!ready.get()) nextTurn([ready] { ready.set(true); });
        })
        .onReceive(LocalizationManager::languageDidChange,
                   std::function<void()>([this] { onLanguageDidChange(); }))
        .onReceive(platform::UserDefaults::didChangeNotification,
                   std::function<void()>([this] { followDefaults(); }));
    return content;
}

Element PreferencesView::placeholder() {
    std::vector<Element> items;
    if (platform::ProcessInfo::processInfo().isOperatingSystemAtLeast({11, 0, 0}))
        items.push_back(decl::ProgressView());
    // Shown as written: the program's string tables have no entry for it.
    items.push_back(decl::Text("Loading preferences\u2026").font("footnote").foregroundRole("secondary"));
    decl::FrameSpec minimum;
    minimum.minWidth = 400;
    minimum.minHeight = 200;
    return decl::VStack(Alignment::center, std::nullopt, std::move(items)).frame(minimum);
}

Element PreferencesView::form() {
    platform::ui::EdgeInsets rowInsets;
    rowInsets.top = 10;
    rowInsets.left = 16;
    rowInsets.bottom = 12;
    rowInsets.right = 16;
    return decl::VStack(
        Alignment::center, 0,
        {decl::ColorView(platform::ui::Color::clearColor()).frame(0, 0).onAppear([this] {
             reloadFromDefaults();
         }),
         decl::ScrollView(decl::VStack(Alignment::leading, 12, formElements()).padding(16), true, true),
         decl::Divider(), saveCloseRow().padding(rowInsets)});
}

Element PreferencesView::checkBox(const std::string& key, const decl::State<bool>& state,
                                  std::function<void(bool)> onChange) {
    return decl::representable<CheckBox>(text(key), state.binding(), std::move(onChange)).id(key);
}

Element PreferencesView::languageRow() {
    auto popup = decl::representable<LanguagePopup>(languageOptions(), selectedLanguageCode.binding(),
                                                    [this](const std::string&) {
                                                        // The binding holds the new code by then.
                                                        deferToMain([this] { applyLanguageChange(); });
                                                    });
    return decl::HStack(Alignment::center, std::nullopt,
                        {decl::Text(text("prefs.language")),
                         popup.frame(fixedWidth(220, Alignment::center)).id("prefs.language")});
}

Element PreferencesView::captureRuleRow() {
    std::vector<PopupOption> options{{"center", text("prefs.centerInBounds")},
                                     {"overlap", text("prefs.largestOverlap")}};
    auto popup =
        decl::representable<LanguagePopup>(options, captureRule.binding(), [](const std::string& code) {
            nextTurn([code] {
                platform::UserDefaults::standard().set(PropertyValue(code), settings::capturePrimaryRule.key);
            });
        });
    return decl::HStack(Alignment::center, std::nullopt,
                        {decl::Text(text("prefs.primaryMethod")),
                         popup.frame(fixedWidth(220, Alignment::center)).id("prefs.captureRule")});
}

Element PreferencesView::sliderRow(const std::string& key, const decl::State<double>& state, double upper,
                                   double step, double textWidth, std::function<void(double)> onChange) {
    return decl::HStack(
        Alignment::center, 12,
        {decl::Text(text(key)),
         decl::representable<ValueSlider>(state.binding(), 0.0, upper, step, std::move(onChange)).id(key),
         decl::Text(valueText(state.get(), 0.0, upper)).frame(fixedWidth(textWidth, Alignment::trailing))});
}

Element PreferencesView::edgesRow() {
    return decl::HStack(Alignment::center, 12,
                        {checkBox("prefs.left", gapEdgeLeft, action(settings::gapsEdgesLeft.key)),
                         checkBox("prefs.right", gapEdgeRight, action(settings::gapsEdgesRight.key)),
                         checkBox("prefs.top", gapEdgeTop, action(settings::gapsEdgesTop.key)),
                         checkBox("prefs.bottom", gapEdgeBottom, action(settings::gapsEdgesBottom.key))});
}

Element PreferencesView::saveCloseRow() {
    return decl::HStack(Alignment::center, std::nullopt,
                        {decl::Spacer(),
                         decl::Button(text("prefs.save"), [this] { savePrefsAndApply(); }).id("prefs.save"),
                         decl::Button(text("prefs.close"), [this] { closeWindow(); }).id("prefs.close")});
}

Element PreferencesView::shortcutRow(const std::string& label, const Name& name,
                                     std::optional<double> labelWidth) {
    if (labelWidth) return ShortcutRow{label, name, *labelWidth, &chordChanged}.element();
    return decl::HStack(
               Alignment::center, std::nullopt,
               {decl::Text(label), GlobalShortcuts::Recorder::make(name, &chordChanged), decl::Spacer()})
        .id("shortcut." + name.rawValue);
}

std::vector<Element> PreferencesView::formElements() {
    auto gapWriter = [](const char* key) {
        return [key](double value) { platform::UserDefaults::standard().set(PropertyValue(value), key); };
    };
    auto reserveWriter = [](double value) {
        nextTurn([value] {
            platform::UserDefaults::standard().set(PropertyValue(value), settings::stageReserveLeftWidth.key);
            platform::NotificationCenter::defaultCenter().post(StageIntegration::stateDidChange, nullptr);
        });
    };
    std::vector<Element> e;
    e.push_back(decl::Text(text("prefs.title")).font("headline"));
    e.push_back(heading(text("prefs.logging")));
    e.push_back(
        checkBox("prefs.verbose", verboseLogging, action(settings::verboseLogging.key)).padding(bottom(6)));
    e.push_back(decl::Divider());
    e.push_back(heading(text("prefs.localization")));
    e.push_back(languageRow());
    e.push_back(decl::Divider());
    e.push_back(heading(text("prefs.captureRule")));
    e.push_back(captureRuleRow().padding(bottom(6)));
    e.push_back(decl::Divider());
    e.push_back(heading(text("prefs.restoreBehavior")));
    e.push_back(checkBox("prefs.strictRestore", strictRestore, action(settings::strictRestore.key))
                    .padding(bottom(6)));
    e.push_back(decl::Divider());
    e.push_back(heading(text("prefs.integrations")));
    e.push_back(checkBox("prefs.integrateStageManager", integrateStageManager,
                         action(settings::integrateStageManager.key)));
    e.push_back(checkBox("prefs.autoDetectStageManager", autoDetectStageManager,
                         action(settings::autoDetectStageManager.key)));
    e.push_back(sliderRow("prefs.stageReserveLeft", stageReserveLeft, 400, 2, 64, reserveWriter));
    e.push_back(checkBox("prefs.integrateMissionControl", integrateMissionControl,
                         action(settings::integrateMissionControl.key)));
    e.push_back(checkBox("prefs.autoHideSnapBarWithMC", autoHideWithMC,
                         action(settings::autoHideSnapBarWithMissionControl.key)));
    e.push_back(checkBox("prefs.autoHideSnapBarWithSM", autoHideWithSM,
                         action(settings::autoHideSnapBarWithStageManager.key)));
    e.push_back(decl::Divider());
    e.push_back(heading(text("prefs.snapping")));
    e.push_back(checkBox("prefs.snappingEnabled", snappingEnabled, action(settings::snappingEnabled.key))
                    .padding(bottom(6)));
    e.push_back(decl::Divider());
    e.push_back(heading(text("prefs.layoutScope")));
    e.push_back(checkBox("prefs.layoutAllDisplays", layoutAllDisplays, action(settings::gridAllDisplays.key))
                    .padding(bottom(6)));
    e.push_back(checkBox("prefs.autoApplyLayouts", autoApplyDisplayLayouts,
                         action(settings::autoApplyDisplayLayouts.key)));
    e.push_back(checkBox("prefs.preserveRelativeSizing", preserveRelativeSizing,
                         action(settings::preserveRelativeMove.key)));
    e.push_back(decl::Divider());
    e.push_back(heading(text("prefs.snapshots")));
    e.push_back(
        checkBox("prefs.snapshotAllSpaces", snapshotAllSpaces, action(settings::snapshotAllSpaces.key)));
    e.push_back(explanation(text("prefs.snapshotAllSpaces.desc")).padding(bottom(4)));
    e.push_back(
        checkBox("prefs.spacesDiagnostics", spacesDiagnostics, action(settings::spacesLogDiagnostics.key)));
    e.push_back(checkBox("prefs.spacesKillSwitch", spacesKillSwitch, action(settings::spacesKillSwitch.key))
                    .padding(bottom(6)));
    e.push_back(checkBox("prefs.autoResetSnapshotQuit", autoResetSnapshotQuit,
                         action(settings::autoResetSnapshotQuit.key))
                    .padding(bottom(6)));
    e.push_back(decl::Divider());
    e.push_back(decl::Text(text("prefs.shortcuts")).font("callout", "bold"));
    e.push_back(checkBox("prefs.shortcuts.masterToggle", keyboardShortcutsEnabled,
                         action(settings::keyboardShortcutsEnabled.key)));
    e.push_back(explanation(text("prefs.shortcuts.masterToggle.desc")).padding(bottom(6)));
    for (const auto& row : applicationRows)
        e.push_back(shortcutRow(text(row.label), row.name(), std::nullopt));
    e.push_back(checkBox("prefs.useCursorDisplay", useCursorDisplay, action(settings::useCursorDisplay.key)));
    e.push_back(checkBox("prefs.minimalMenuMode", minimalMenuMode, action(settings::minimalMenuMode.key)));
    e.push_back(checkBox("menu.showSnapBar", snapBarVisible, action(settings::snapBarVisible.key)));
    e.push_back(checkBox("prefs.dragSnapping", magnetDragMode, action(settings::magnetDragMode.key)));
    e.push_back(checkBox("prefs.requireOption", dragRequireOption, action(settings::dragRequireOption.key)));
    e.push_back(sliderRow("prefs.gapsUniform", gapSize, 24, 1, 48, gapWriter(settings::gapSize.key)));
    e.push_back(sliderRow("prefs.gapsHorizontal", gapH, 24, 1, 48, gapWriter(settings::gapHorizontal.key)));
    e.push_back(sliderRow("prefs.gapsVertical", gapV, 24, 1, 48, gapWriter(settings::gapVertical.key)));
    e.push_back(
        checkBox("prefs.applyGapsEdgesAll", gapsIncludeEdges, action(settings::gapsIncludeScreenEdges.key)));
    e.push_back(edgesRow());
    e.push_back(heading(text("prefs.shortcuts")));
    platform::ui::EdgeInsets around;
    around.top = 4;
    around.bottom = 4;
    size_t index = 0;
    for (const auto& row : snapRows) {
        ++index;
        std::string label = row.fixedText ? std::string(row.label) : text(row.label);
        Element element = shortcutRow(label, row.name(), 280);
        if (index == 53) element.padding(bottom(6));
        e.push_back(element);
        if (index == 32 || index == 41) e.push_back(decl::Divider().padding(around));
    }
    e.push_back(decl::Divider());
    return e;
}

} // namespace tilmora
