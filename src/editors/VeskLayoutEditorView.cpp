#include "editors/VeskLayoutEditorView.hpp"

#include "editors/VeskPresetCanvas.hpp"
#include "model/LocalizationManager.hpp"

#include "platform/foundation/Text.hpp"
#include "platform/ui/declarative/Elements.hpp"

namespace tilmora {

namespace ui = platform::ui;
namespace decl = platform::ui::declarative;

namespace {

decl::Element caption(const std::string& s) {
    return decl::Text(s).font("caption").foregroundRole("secondary");
}

decl::Element sectionTitle(const std::string& s) {
    return decl::Text(s).font("subheadline").foregroundRole("accent");
}

/// A side panel: its content stacked from the top, padded, on black (its background has the id
/// `id`), rounded, then `width` points wide with the padding.
decl::Element sidePanel(std::vector<decl::Element> content, double width, const std::string& id) {
    decl::FrameSpec frame;
    frame.width = width;
    frame.alignment = decl::Alignment::topLeading;
    return decl::VStack(decl::Alignment::leading, 8, std::move(content))
        .padding(8)
        .background(decl::ColorView(ui::Color::blackColor().withAlphaComponent(0.9)).id(id))
        .clipRoundedRect(6, true)
        .frame(frame);
}

} // namespace

std::string VeskLayoutEditorView::text(const char* key) const {
    // The counter is read before every lookup, so a language change looks every text up again;
    // between changes a text is read from the string table once.
    if (textsVersion_ != localizationVersion.get()) {
        texts_.clear();
        textsVersion_ = localizationVersion.get();
    }
    auto found = texts_.find(key);
    if (found == texts_.end()) found = texts_.emplace(key, LocalizationManager::shared().localizedString(key)).first;
    return found->second;
}

decl::Element VeskLayoutEditorView::body() {
    decl::FrameSpec frame;
    frame.minWidth = 1100;
    frame.minHeight = 640;
    frame.alignment = decl::Alignment::topLeading;
    return decl::VStack(decl::Alignment::leading, 12, {header(), mainContent(), decl::Divider(), bottomBar()})
        .padding(16)
        .background(decl::ColorView(ui::Color::blackColor().withAlphaComponent(0.95)))
        .frame(frame)
        .onReceive(LocalizationManager::languageDidChange,
                   [this] { localizationVersion.set(localizationVersion.get() + 1); });
}

decl::Element VeskLayoutEditorView::header() {
    return decl::VStack(
        decl::Alignment::leading, 4,
        {decl::Text(platform::Text::format(text("layoutEditor.header.titleFormat"), {displayName}))
             .font("headline")
             .foregroundRole("primary"),
         caption(text("layoutEditor.header.subtitle"))});
}

decl::Element VeskLayoutEditorView::mainContent() {
    decl::FrameSpec frame;
    frame.minHeight = 420;
    frame.alignment = decl::Alignment::top;
    return decl::HStack(decl::Alignment::top, 16,
                        {presetsPanel(),
                         decl::view<VeskPresetCanvas>(controller.get(), previewAspectRatio, localizationVersion.get())
                             .padding(ui::EdgeInsets{4, 0, 4, 0}),
                         inspectorPanel()})
        .frame(frame);
}

decl::Element VeskLayoutEditorView::presetsPanel() {
    auto& c = *controller;
    std::vector<decl::Element> items;
    items.push_back(sectionTitle(text("layoutEditor.presets.title")));
    if (c.presets().empty()) {
        items.push_back(caption(text("layoutEditor.presets.empty")));
    } else {
        std::vector<decl::Element> rows;
        for (const auto& preset : c.presets())
            rows.push_back(presetRow(preset));
        items.push_back(decl::ScrollView(decl::VStack(decl::Alignment::leading, 4, std::move(rows)), true, true));
    }
    items.push_back(decl::Divider().padding(ui::EdgeInsets{4, 0, 0, 0}));
    auto model = controller.get();
    items.push_back(decl::VStack(
        decl::Alignment::leading, 4,
        {decl::HStack(decl::Alignment::center, std::nullopt,
                      {decl::Button(text("layoutEditor.action.newGrid"), [model] { model->beginNewGridPreset(); })
                           .font("caption"),
                       decl::Button(text("layoutEditor.action.newTile"), [model] { model->beginNewSingleTilePreset(); })
                           .font("caption")}),
         decl::Button(text("layoutEditor.action.deletePreset"), [model] { model->deleteCurrentPreset(); })
             .foregroundColor(ui::Color::redColor())
             .font("caption")
             .disabled(!c.editingPresetIsExisting())
             .id("presets.delete"),
         caption(text("layoutEditor.presets.footer")).padding(ui::EdgeInsets{4, 0, 0, 0})}));
    return sidePanel(std::move(items), 230, "presets.panel");
}

decl::Element VeskLayoutEditorView::presetRow(const VeskPreset& preset) {
    auto model = controller.get();
    const bool selected = model->selectedPresetID() == preset.id;
    const platform::UUID id = preset.id;
    const std::string badge =
        text(preset.kind == VeskPresetKind::grid ? "layoutEditor.kind.grid" : "layoutEditor.kind.tile");
    auto label = decl::HStack(decl::Alignment::center, std::nullopt,
                              {decl::Text(preset.name).lineLimit(1).truncationMode("tail"), decl::Spacer(),
                               caption(badge)})
                     .padding(ui::EdgeInsets{4, 6, 4, 6})
                     .background(decl::RoundedRectangle(4, true).fill(
                         selected ? ui::Color::controlAccentColor().withAlphaComponent(0.25) : ui::Color::clearColor()));
    return decl::Button(label, [model, id] { model->selectPreset(id); })
        .buttonStyle("plain")
        .contextMenu({{text("layoutEditor.action.deletePreset"), [model, id] { model->deletePresetWithId(id); }, true}})
        .id("presets.row." + preset.id.uuidString());
}

decl::Element VeskLayoutEditorView::inspectorPanel() {
    auto model = controller.get();
    auto& c = *model;
    const bool isGrid = c.editingKind() == VeskPresetKind::grid;
    std::vector<decl::Element> items;
    items.push_back(sectionTitle(text("layoutEditor.inspector.presetTitle")));
    items.push_back(decl::TextField(text("layoutEditor.inspector.namePlaceholder"),
                                    decl::Binding<std::string>([model] { return model->editingName(); },
                                                               [model](const std::string& v) { model->setEditingName(v); }),
                                    [model] { model->saveCurrentPreset(); })
                        .textFieldStyle("roundedBorder")
                        .id("inspector.name"));
    items.push_back(decl::HStack(
        decl::Alignment::center, std::nullopt,
        {caption(text("layoutEditor.inspector.typeLabel")),
         decl::Text(text(isGrid ? "layoutEditor.kind.grid" : "layoutEditor.kind.singleTile")).font("caption")}));
    items.push_back(decl::Divider().padding(ui::EdgeInsets{4, 0, 4, 0}));
    items.push_back(sectionTitle(text("layoutEditor.inspector.gridLinesTitle")));
    items.push_back(caption(text("layoutEditor.inspector.gridLinesDesc")));
    items.push_back(
        decl::HStack(
            decl::Alignment::center, std::nullopt,
            {decl::Stepper(platform::Text::format(text("layoutEditor.inspector.rowsFormat"), {c.gridRows()}),
                           decl::Binding<long>([model] { return model->gridRows(); },
                                               [model](const long& v) { model->setGridRows(v); }),
                           1, 12, 1)
                 .font("caption")
                 .id("inspector.rows"),
             decl::Stepper(platform::Text::format(text("layoutEditor.inspector.colsFormat"), {c.gridCols()}),
                           decl::Binding<long>([model] { return model->gridCols(); },
                                               [model](const long& v) { model->setGridCols(v); }),
                           1, 12, 1)
                 .font("caption")
                 .id("inspector.cols")})
            .disabled(!isGrid));
    items.push_back(decl::Divider().padding(ui::EdgeInsets{4, 0, 4, 0}));
    items.push_back(sectionTitle(text("layoutEditor.inspector.tileDetailsTitle")));
    const VeskTile* tile = nullptr;
    for (const auto& t : c.tiles())
        if (c.selectedTileID() == t.id) {
            tile = &t;
            break;
        }
    if (tile) {
        const Rect& r = tile->normalisedRect;
        items.push_back(caption(tile->name));
        items.push_back(decl::Text(platform::Text::format(text("layoutEditor.tile.rectFormat"),
                                                          {r.x, r.y, r.width, r.height}))
                            .systemFont(10, "regular", true)
                            .id("inspector.tileRect"));
    } else if (c.tiles().empty()) {
        items.push_back(caption(text("layoutEditor.tile.drawHint")));
    } else {
        items.push_back(caption(text("layoutEditor.tile.selectHint")));
    }
    items.push_back(decl::Spacer());
    return sidePanel(std::move(items), 280, "inspector.panel");
}

decl::Element VeskLayoutEditorView::bottomBar() {
    auto model = controller.get();
    const auto& status = model->statusMessage();
    return decl::HStack(
        decl::Alignment::center, std::nullopt,
        {decl::VStack(decl::Alignment::leading, 2,
                      {caption(status ? *status : text("layoutEditor.status.ready")).id("status"),
                       caption(text("layoutEditor.tip.newGrid"))}),
         decl::Spacer(),
         decl::Button(text("layoutEditor.action.savePreset"), [model] { model->saveCurrentPreset(); })
             .disabled(!model->canSave())});
}

} // namespace tilmora
