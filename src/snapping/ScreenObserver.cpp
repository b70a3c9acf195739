#include "snapping/ScreenObserver.hpp"

#include "model/Log.hpp"
#include "platform/desktop/NSWorkspace.hpp"
#include "platform/dispatch/DispatchQueue.hpp"

namespace tilmora {

ScreenObserver::~ScreenObserver() {
    if (observer_) platform::NotificationCenter::defaultCenter().removeObserver(*observer_);
}

void ScreenObserver::screenParametersDidChange(const platform::Notification&) {
    auto self = shared_from_this();
    platform::DispatchQueue::main().asyncAfter(platform::DispatchTime::now() + refreshDelay,
                                               [self] { self->refresh(); });
}

void ScreenObserver::startObserving() {
    if (observer_) return;
    std::weak_ptr<ScreenObserver> weak = weak_from_this();
    observer_ = platform::NotificationCenter::defaultCenter().addObserver(
        platform::NSApplicationDidChangeScreenParametersNotification, nullptr,
        [weak](const platform::Notification& note) {
            if (auto self = weak.lock()) self->screenParametersDidChange(note);
        });
}

std::string ScreenObserver::describe(const std::vector<platform::NSScreen>& screens) {
    std::string text = "[";
    for (std::size_t i = 0; i < screens.size(); ++i) {
        if (i > 0) text += ", ";
        text += "<" + screens[i].localizedName() + " " + screens[i].frame().description() + ">";
    }
    return text + "]";
}

void ScreenObserver::refresh() {
    setScreens(platform::NSScreen::screens());
    print("ScreenObserver: Updated screens: " + describe(screens()));
}

} // namespace tilmora
