#include "snapshots/SnapshotRow.hpp"

#include "snapshots/SnapshotManagerAdapter.hpp"
#include "snapshots/SnapshotRowModel.hpp"
#include "snapshots/SnapshotShortcuts.hpp"

#include "model/LocalizationManager.hpp"
#include "shortcuts/Recorder.hpp"

#include "platform/ui/Cursor.hpp"
#include "platform/ui/declarative/ColorScheme.hpp"

namespace tilmora {

namespace ui = platform::ui;
namespace decl = platform::ui::declarative;

namespace {

/// The pointing hand while the pointer is over the element.
decl::Element& handCursor(decl::Element& element) {
    return element.onHover([](bool inside) {
        if (inside)
            ui::Cursor::pointingHand().push();
        else
            ui::Cursor::pop();
    });
}

decl::FrameSpec width(double points, decl::Alignment alignment = decl::Alignment::center) {
    decl::FrameSpec spec;
    spec.width = points;
    spec.alignment = alignment;
    return spec;
}

decl::Element recorder(const std::optional<GlobalShortcuts::Name>& name) {
    decl::Element field = name ? GlobalShortcuts::Recorder::make(*name) : decl::EmptyView();
    field.frame(80, 30);
    return handCursor(field);
}

/// A borderless button of the card titled with the localized "snapshot.<action>", `points` wide,
/// in `color` when one is given, with the id "snapshot.<action>.<key>" and the pointing hand.
decl::Element cardButton(const std::string& action, const std::string& key, double points,
                         const std::optional<ui::Color>& color, std::function<void()> onPress) {
    decl::Element button = decl::Button(localized("snapshot." + action), std::move(onPress));
    button.buttonStyle("borderless");
    if (color) button.foregroundColor(*color);
    button.frame(width(points));
    button.id("snapshot." + action + "." + key);
    return handCursor(button);
}

/// `button` with the recorder of the chord `name` (when there is one) beside it, 180 points wide.
decl::Element withRecorder(const decl::Element& button, const std::optional<GlobalShortcuts::Name>& name) {
    decl::Element group = decl::HStack(decl::Alignment::center, 4, {button, recorder(name)});
    group.frame(width(180));
    return group;
}

} // namespace

std::shared_ptr<SnapshotManaging> SnapshotRow::manager() const {
    if (auto manager = environment<std::shared_ptr<SnapshotManaging>>(SnapshotManaging::snapshotManagerKey))
        return manager;
    if (auto* context = environment<SnapshotContext*>(SnapshotManaging::managedObjectContextKey, nullptr))
        return std::make_shared<SnapshotManagerAdapter>(*context);
    return nullptr;
}

decl::Element SnapshotRow::body() {
    (void)localizationVersion_.get();
    if (!snapshot) return decl::EmptyView();
    const SnapshotRowModel model(manager());
    const auto snap = snapshot;
    const std::string key = snap->idText().value_or("new");
    const auto id = snap->idText();
    const bool dark = environment<decl::ColorScheme>(decl::colorSchemeKey, decl::ColorScheme::light) ==
                      decl::ColorScheme::dark;

    decl::Element name = decl::Text(SnapshotRowModel::displayName(*snap));
    name.font("headline").foregroundRole("primary").lineLimit(1).help(SnapshotRowModel::appNames(*snap));
    name.frame(width(250, decl::Alignment::leading)).id("snapshot.name." + key);
    handCursor(name);

    decl::Element launchGroup = withRecorder(
        cardButton("launch", key, 100, ui::Color::systemGreen(), [model, snap] { model.launch(snap); }),
        id ? std::optional(SnapshotShortcuts::launchName(*id)) : std::nullopt);
    decl::Element quitGroup = withRecorder(
        cardButton("quit", key, 90, ui::Color::systemOrange(), [model, snap] { model.quit(snap); }),
        id ? std::optional(SnapshotShortcuts::quitName(*id)) : std::nullopt);
    decl::Element renameButton =
        cardButton("rename", key, 100, std::nullopt, [model, snap] { model.rename(snap); });
    decl::Element deleteButton =
        cardButton("delete", key, 90, ui::Color::systemRed(), [model, snap] { model.deleteSnapshot(snap); });

    const ui::Color fill = dark ? ui::Color::white(0.15) : ui::Color::controlBackgroundColor();
    const ui::Color border = dark ? ui::Color::white(0.25) : ui::Color::separatorColor();
    decl::Element card = decl::HStack(decl::Alignment::center, 8,
                                      {name, launchGroup, quitGroup, renameButton, deleteButton});
    card.padding(ui::EdgeInsets{12, 16, 12, 16}).frame(width(900));
    card.background(decl::RoundedRectangle(8, true).fill(fill).id("snapshot.background." + key));
    decl::StrokeStyle stroke;
    stroke.color = border;
    stroke.lineWidth = 1;
    card.overlay(decl::RoundedRectangle(8, true).stroke(stroke));
    // Centred in the list row.
    decl::Element row = decl::VStack(decl::Alignment::center, 0, {card});
    decl::FrameSpec fullWidth;
    fullWidth.maxWidth = decl::FrameSpec::infinity;
    row.frame(fullWidth);
    row.id("snapshot.card." + key);
    row.onAppear([model, snap] { model.addShortcutHandlers(*snap); });
    auto version = localizationVersion_.binding();
    row.onReceive(LocalizationManager::languageDidChange, [version] { version.set(version.get() + 1); });
    // The snapshot's own changes (a rename) are saved through the context: redraw after each.
    row.onReceive(SnapshotContext::didChangeNotification, [version] { version.set(version.get()); });
    return row;
}

} // namespace tilmora
