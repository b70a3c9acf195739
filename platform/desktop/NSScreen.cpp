#include "platform/desktop/NSScreen.hpp"

#include "platform/internal/DesktopState.hpp"
#include "platform/desktop/LargestOverlap.hpp"
#include "platform/internal/DesktopModel.hpp"

namespace platform {

using desktop_detail::DesktopModel;

NSScreen::NSScreen(std::shared_ptr<const desktop_detail::ScreenSnapshot> snapshot)
    : snapshot_(std::move(snapshot)) {}

std::vector<NSScreen> NSScreen::screens() {
    auto holder = desktop_detail::currentModel();
    DesktopModel::Txn t(*holder);
    std::vector<NSScreen> out;
    for (const auto& s : holder->published)
        out.push_back(NSScreen(s));
    return out;
}

std::optional<NSScreen> NSScreen::main() {
    auto holder = desktop_detail::currentModel();
    DesktopModel& m = *holder;
    DesktopModel::Txn t(m);
    if (m.published.empty()) return std::nullopt;
    // The key window's screen; the menu-bar screen when there is no key window or it lies off
    // every screen.
    if (auto key = m.keyWindow()) {
        std::vector<CGRect> frames;
        for (const auto& s : m.published)
            frames.push_back(s->frame);
        if (auto i = indexOfLargestOverlap(m.windows.at(*key).spec.frame, frames)) return NSScreen(m.published[*i]);
    }
    return NSScreen(m.published.front());
}

CGRect NSScreen::frame() const {
    return snapshot_->frame;
}
CGRect NSScreen::visibleFrame() const {
    return snapshot_->visibleFrame;
}
double NSScreen::backingScaleFactor() const {
    return snapshot_->backingScaleFactor;
}
std::string NSScreen::localizedName() const {
    return snapshot_->name;
}
const CFDictionary& NSScreen::deviceDescription() const {
    return snapshot_->deviceDescription;
}
bool NSScreen::operator==(const NSScreen& other) const {
    return snapshot_->uid == other.snapshot_->uid;
}

} // namespace platform
