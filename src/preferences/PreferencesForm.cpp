// The body of the preferences view: the loading placeholder, the form and its rows.

#include "model/DisplayLayoutMemory.hpp"
#include "model/LocalizationManager.hpp"
#include "model/Settings.hpp"
#include "platform/dispatch/DispatchQueue.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "platform/input/ProcessInfo.hpp"
#include "platform/ui/declarative/Elements.hpp"
#include "preferences/CheckBox.hpp"
#include "preferences/LanguagePopup.hpp"
#include "preferences/PreferencesView.hpp"
#include "preferences/ShortcutRow.hpp"
#include "preferences/ValueSlider.hpp"
#include "shortcuts/Recorder.hpp"

namespace tilmora {

namespace decl = platform::ui::declarative;
using decl::Alignment;
using decl::Element;
using GlobalShortcuts::Name;

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
    Element content = uiReady_.get() ? form() : placeholder();
    decl::FrameSpec minimum;
    minimum.minWidth = 1000;
    minimum.minHeight = 800;
    auto ready = uiReady_.binding();
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
         decl::ScrollView(decl::VStack(Alignment::leading, 12, formElements()).padding(16), true, true)
             .id("prefs.scroll"),
         decl::Divider(), saveCloseRow().padding(rowInsets)});
}

template <class T>
std::function<void(const T&)> PreferencesView::changeAction(const PreferenceRow& row) {
    return [this, &row](const T& value) {
        PreferenceRow::Context context;
        context.key = row.key;
        switch (row.when) {
        case PreferenceRow::WriteTime::now:
            row.apply(value, context);
            return;
        case PreferenceRow::WriteTime::nextTurn:
            break;
        case PreferenceRow::WriteTime::nextTurnWithGrid:
            context.grid = snapGrid();
            break;
        case PreferenceRow::WriteTime::nextTurnWithLayoutStore:
            context.store = environment<std::shared_ptr<DisplayLayoutMemory>>(displayLayoutStoreEnvironmentKey());
            break;
        }
        nextTurn([&row, value, context] { row.apply(value, context); });
    };
}

template std::function<void(const bool&)> PreferencesView::changeAction<bool>(const PreferenceRow&);

Element PreferencesView::control(const std::string& key) {
    const PreferenceRow& row = PreferencesView::row(key);
    if (std::holds_alternative<PreferenceRow::NumberAction>(row.action)) return sliderRow(row);
    if (std::holds_alternative<PreferenceRow::TextAction>(row.action)) {
        std::vector<PopupOption> options;
        for (const auto& option : row.options)
            options.push_back({option.code, text(option.name)});
        return labelledPopup(row.title, row.controlId(), std::move(options), state<std::string>(row).binding(),
                             changeAction<std::string>(row));
    }
    return decl::representable<CheckBox>(text(row.title), state<bool>(row).binding(), changeAction<bool>(row))
        .id(row.controlId());
}

Element PreferencesView::labelledPopup(const std::string& label, const std::string& id,
                                       std::vector<PopupOption> options, decl::Binding<std::string> selection,
                                       std::function<void(const std::string&)> onChange) {
    auto popup = decl::representable<LanguagePopup>(std::move(options), std::move(selection), std::move(onChange));
    return decl::HStack(Alignment::center, std::nullopt,
                        {decl::Text(text(label)), popup.frame(fixedWidth(220, Alignment::center)).id(id)});
}

Element PreferencesView::languageRow() {
    return labelledPopup("prefs.language", "prefs.language", languageOptions(), selectedLanguageCode_.binding(),
                         [this](const std::string&) {
                             // The binding holds the new code by then.
                             deferToMain([this] { applyLanguageChange(); });
                         });
}

Element PreferencesView::sliderRow(const PreferenceRow& row) {
    const auto& value = state<double>(row);
    const double upper = row.range.upper;
    return decl::HStack(Alignment::center, 12,
                        {decl::Text(text(row.title)),
                         decl::representable<ValueSlider>(value.binding(), 0.0, upper, row.range.step,
                                                          changeAction<double>(row))
                             .id(row.controlId()),
                         decl::Text(valueText(value.get(), 0.0, upper))
                             .frame(fixedWidth(row.range.textWidth, Alignment::trailing))});
}

Element PreferencesView::edgesRow() {
    return decl::HStack(Alignment::center, 12,
                        {control(settings::gapsEdgesLeft.key), control(settings::gapsEdgesRight.key),
                         control(settings::gapsEdgesTop.key), control(settings::gapsEdgesBottom.key)});
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
    std::vector<Element> e{decl::Text(text("prefs.title")).font("headline")};
    // A setting's control, with extra space below it.
    const auto setting = [this](const char* key, double below = 0) {
        Element element = control(key);
        if (below > 0) element.padding(bottom(below));
        return element;
    };
    // A section: its heading, its elements, a divider.
    const auto section = [this, &e](const char* title, std::initializer_list<Element> elements) {
        e.push_back(heading(text(title)));
        e.insert(e.end(), elements);
        e.push_back(decl::Divider());
    };
    section("prefs.logging", {setting(settings::verboseLogging.key, 6)});
    section("prefs.localization", {languageRow()});
    section("prefs.captureRule", {setting(settings::capturePrimaryRule.key, 6)});
    section("prefs.restoreBehavior", {setting(settings::strictRestore.key, 6)});
    section("prefs.integrations",
            {setting(settings::integrateStageManager.key), setting(settings::autoDetectStageManager.key),
             setting(settings::stageReserveLeftWidth.key), setting(settings::integrateMissionControl.key),
             setting(settings::autoHideSnapBarWithMissionControl.key),
             setting(settings::autoHideSnapBarWithStageManager.key)});
    section("prefs.snapping", {setting(settings::snappingEnabled.key, 6)});
    section("prefs.layoutScope", {setting(settings::gridAllDisplays.key, 6),
                                  setting(settings::autoApplyDisplayLayouts.key),
                                  setting(settings::preserveRelativeMove.key)});
    section("prefs.snapshots",
            {setting(settings::snapshotAllSpaces.key),
             explanation(text("prefs.snapshotAllSpaces.desc")).padding(bottom(4)),
             setting(settings::spacesLogDiagnostics.key), setting(settings::spacesKillSwitch.key, 6),
             setting(settings::autoResetSnapshotQuit.key, 6)});
    // The shortcut switch and the application shortcuts, then the menu, snap bar, drag and gap
    // settings with no heading of their own.
    e.push_back(decl::Text(text("prefs.shortcuts")).font("callout", "bold"));
    e.push_back(setting(settings::keyboardShortcutsEnabled.key));
    e.push_back(explanation(text("prefs.shortcuts.masterToggle.desc")).padding(bottom(6)));
    for (const auto& row : applicationRows)
        e.push_back(shortcutRow(text(row.label), row.name(), std::nullopt));
    for (const char* key : {settings::useCursorDisplay.key, settings::minimalMenuMode.key, settings::snapBarVisible.key,
                            settings::magnetDragMode.key, settings::dragRequireOption.key, settings::gapSize.key,
                            settings::gapHorizontal.key, settings::gapVertical.key,
                            settings::gapsIncludeScreenEdges.key})
        e.push_back(setting(key));
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
