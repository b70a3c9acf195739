#include "snapshots/SnapshotManagerView.hpp"

#include "snapshots/SnapshotManagerAdapter.hpp"
#include "snapshots/SnapshotRow.hpp"
#include "snapshots/SnapshotRowModel.hpp"

#include "model/LocalizationManager.hpp"
#include "model/Log.hpp"
#include "model/NotificationManager.hpp"

#include "platform/dispatch/DispatchQueue.hpp"
#include "platform/dispatch/DispatchTime.hpp"
#include "platform/foundation/Error.hpp"
#include "platform/foundation/Text.hpp"
#include "platform/foundation/Uuid.hpp"

namespace tilmora {

namespace ui = platform::ui;
namespace decl = platform::ui::declarative;

namespace {

bool isLineBreak(std::string_view text, std::size_t i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c == '\n' || c == '\r' || c == 0x0B || c == 0x0C) return true;
    if (c == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0x85) return true; // NEL
    return c == 0xE2 && i + 2 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0x80 &&
           (static_cast<unsigned char>(text[i + 2]) == 0xA8 || static_cast<unsigned char>(text[i + 2]) == 0xA9);
}

/// Whether `text` is empty once spaces and tabs (white space that is not a line break) are taken
/// from both ends: it is all white space and holds no line break.
bool isBlankWithoutLineBreaks(std::string_view text) {
    if (!platform::Text::trimmingWhitespaceAndNewlines(text).empty()) return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (isLineBreak(text, i)) return false;
    return true;
}

} // namespace

SnapshotContext* SnapshotManagerView::context() const {
    if (auto* context = environment<SnapshotContext*>(SnapshotManaging::managedObjectContextKey, nullptr))
        return context;
    if (auto manager = environment<std::shared_ptr<SnapshotManaging>>(SnapshotManaging::snapshotManagerKey))
        return &manager->viewContext();
    return nullptr;
}

std::shared_ptr<SnapshotManaging> SnapshotManagerView::manager() const {
    return environment<std::shared_ptr<SnapshotManaging>>(SnapshotManaging::snapshotManagerKey);
}

decl::Element SnapshotManagerView::body() {
    (void)localizationVersion_.get();

    decl::Element field = decl::TextField(localized("snapshot.enterName"), newSnapshotName_.binding());
    field.textFieldStyle("roundedBorder").id("snapshot.nameField");
    // A store opened read-only takes no new snapshot: the save is off and a line says why.
    const auto* store = context();
    const auto readOnly = store ? store->readOnlyBecause() : std::nullopt;
    decl::Element save = decl::Button(localized("snapshot.saveButton"), [this] { saveSnapshot(); });
    save.disabled(readOnly || isBlankWithoutLineBreaks(newSnapshotName_.get())).id("snapshot.save");
    decl::Element header = decl::HStack(decl::Alignment::center, std::nullopt, {field, save});
    header.padding(16);
    std::vector<decl::Element> content{header};
    if (readOnly) {
        decl::Element notice =
            decl::Text(platform::Text::format(localized("snapshot.readOnlyStore"), {readOnly->string()}));
        notice.id("snapshot.readOnlyNotice");
        content.push_back(std::move(notice));
    } else if (const auto standIn = store ? store->standsInFor() : std::nullopt) {
        // The store file could not be used at launch: snapshots saved now last until the program quits.
        decl::Element notice = decl::Text(platform::Text::format(
            localized(standIn->inUse ? "snapshot.storeInUse" : "snapshot.storeUnusable"), {standIn->store.string()}));
        notice.id("snapshot.storeNotice");
        content.push_back(std::move(notice));
    }

    (void)refreshID_.get();
    const auto snapshots = currentSnapshots();
    // Each row is made when it comes into view, kept by its snapshot's id.
    decl::Element list = decl::List(snapshots->size(), [snapshots](std::size_t index) {
        const auto& snapshot = (*snapshots)[index];
        const std::string key = snapshot->idText().value_or("new");
        std::vector<decl::Element> entry{decl::view<SnapshotRow>(snapshot)};
        if (index + 1 < snapshots->size()) {
            decl::Element line = decl::Rectangle();
            line.fill(ui::Color::separatorColor()).frame(900, 1);
            line.padding(ui::EdgeInsets{4, 0, 0, 0}).id("snapshot.separator." + key);
            entry.push_back(line);
        }
        decl::Element row = decl::VStack(decl::Alignment::center, 0, std::move(entry));
        row.listRowInsets(ui::EdgeInsets{4, 0, 4, 0})
            .listRowBackground(ui::Color::clearColor())
            .listRowSeparatorHidden(true)
            .id(key);
        return row;
    });
    list.listStyle("plain").background(decl::ColorView(ui::Color::windowBackgroundColor()));
    list.onDelete([this](const std::vector<std::size_t>& offsets) { deleteSnapshots(offsets); });
    list.id("snapshot.list");
    // When the list is first shown, every snapshot's chord handlers are added (once each).
    auto listing = listing_.get();
    auto service = manager();
    if (!service) {
        if (auto* ctx = context()) service = std::make_shared<SnapshotManagerAdapter>(*ctx);
    }
    list.onAppear([listing, service] {
        listing->shown = true;
        SnapshotRowModel(service).addShortcutHandlers(*listing->snapshots);
    });

    content.push_back(std::move(list));
    decl::Element root = decl::VStack(decl::Alignment::center, std::nullopt, std::move(content));
    root.frame(1000, 600);
    auto version = localizationVersion_.binding();
    root.onReceive(LocalizationManager::languageDidChange, [version] { version.set(version.get() + 1); });
    root.onReceive(SnapshotContext::didChangeNotification, [this, listing] {
        listing->stale = true;
        invalidate();
    });
    return root;
}

std::shared_ptr<const std::vector<std::shared_ptr<Snapshot>>> SnapshotManagerView::currentSnapshots() {
    auto listing = listing_.get();
    auto* ctx = context();
    if (!ctx) {
        listing->context = nullptr;
        listing->snapshots = std::make_shared<const std::vector<std::shared_ptr<Snapshot>>>();
        return listing->snapshots;
    }
    if (listing->stale || listing->context != ctx) {
        listing->snapshots = std::make_shared<const std::vector<std::shared_ptr<Snapshot>>>(ctx->fetchSnapshots());
        listing->context = ctx;
        listing->stale = false;
        // Snapshots listed after the list was first shown get their handlers as well.
        if (listing->shown) {
            auto service = manager();
            if (!service) service = std::make_shared<SnapshotManagerAdapter>(*ctx);
            SnapshotRowModel(service).addShortcutHandlers(*listing->snapshots);
        }
    }
    return listing->snapshots;
}

void SnapshotManagerView::saveSnapshot() {
    const std::string name = newSnapshotName_.get();
    auto completion = [this](bool success, const std::string& message) { handleSaveResult(success, message); };
    if (auto service = manager()) {
        service->saveSnapshot(name, completion);
    } else if (auto* ctx = context()) {
        WindowManager::saveSnapshot(name, *ctx, completion);
    } else {
        print("Failed to save snapshot: no snapshot store");
    }
}

void SnapshotManagerView::handleSaveResult(bool success, const std::string& message) {
    if (!success) {
        print("Failed to save snapshot: " + message);
        return;
    }
    print("Snapshot '" + newSnapshotName_.get() + "' saved successfully.");
    newSnapshotName_.set("");
    refreshLater();
}

std::string SnapshotManagerView::newRefreshID() {
    return platform::UUID().uuidString();
}

void SnapshotManagerView::refreshLater() {
    auto refresh = refreshID_.binding();
    platform::DispatchQueue::main().asyncAfter(platform::DispatchTime::now() + 0.1,
                                               [refresh] { refresh.set(newRefreshID()); });
}

void SnapshotManagerView::deleteSnapshots(const std::vector<std::size_t>& offsets) {
    auto* ctx = context();
    if (!ctx) return;
    // The offsets count the rows as listed.
    const auto listed = currentSnapshots();
    const auto& snapshots = *listed;
    std::vector<std::shared_ptr<StoredObject>> deleted;
    std::vector<SnapshotAttributes> pending;
    for (std::size_t offset : offsets) {
        if (offset >= snapshots.size()) continue;
        deleted.push_back(snapshots[offset]);
        pending.push_back(*snapshots[offset]);
    }
    for (const auto& object : deleted)
        ctx->deleteObject(object);
    try {
        ctx->save();
    } catch (const platform::Error& error) {
        // Undo these deletions only; each snapshot keeps the attribute changes it had pending.
        ctx->discard(deleted);
        for (std::size_t i = 0; i < deleted.size(); ++i)
            static_cast<SnapshotAttributes&>(*std::static_pointer_cast<Snapshot>(deleted[i])) = pending[i];
        print(std::string("Failed to delete snapshots: ") + error.what());
        NotificationManager::shared().show(
            localized("notification.snapshotTitle"),
            platform::Text::format(localized("notification.snapshotDeleteFailed"), {std::string(error.what())}), 3.0);
    }
    refreshLater();
}

} // namespace tilmora
