#include "snapshots/Snapshot.hpp"

#include "platform/foundation/Error.hpp"

#include <algorithm>

namespace tilmora {

std::optional<Snapshot::Scope> Snapshot::scopeFromRawValue(std::int16_t rawValue) {
    switch (rawValue) {
    case 0:
        return Scope::currentSpace;
    case 1:
        return Scope::allSpaces;
    default:
        return std::nullopt;
    }
}

std::vector<std::shared_ptr<Window>> Snapshot::windowsSet() const {
    std::vector<std::shared_ptr<Window>> result;
    for (const auto& window : windows_)
        if (!window->isDeleted()) result.push_back(window);
    // Saved rows by id; unsaved ones keep their order after them.
    std::stable_sort(result.begin(), result.end(), [](const auto& a, const auto& b) {
        if (a->rowID() && b->rowID()) return *a->rowID() < *b->rowID();
        return a->rowID().has_value() && !b->rowID().has_value();
    });
    return result;
}

void Snapshot::addWindowsObject(const std::shared_ptr<Window>& window) {
    if (!window) return;
    if (window->context_ != context_ || window->forgotten_)
        throw platform::Error("addWindowsObject: the window does not belong to this snapshot's context");
    auto self = shared_from_this();
    if (auto previous = window->snapshot_.lock()) {
        if (previous == self) return;
        previous->removeWindow(window.get());
    }
    window->snapshot_ = self;
    windows_.push_back(window);
}

void Snapshot::removeWindow(const Window* window) {
    std::erase_if(windows_, [window](const auto& w) { return w.get() == window; });
}

std::optional<std::string> Snapshot::idText() const {
    if (!rowID()) return std::nullopt;
    return "p" + std::to_string(*rowID());
}

SnapshotValue Snapshot::value() const {
    SnapshotValue v;
    static_cast<SnapshotAttributes&>(v) = *this;
    v.id = idText();
    v.rowID = rowID();
    for (const auto& window : windowsSet())
        v.windows.push_back(window->value());
    return v;
}

} // namespace tilmora
