#include "console/ToastJournal.hpp"

#include "model/NotificationManager.hpp"

#include <algorithm>

namespace tilmora {

void ToastJournal::startRecording() {
    toasts_.clear();
    observe();
}

void ToastJournal::observe() {
    NotificationManager::setToastObserver([](const std::string& title, const std::string& message) {
        auto& toasts = ToastJournal::shared().toasts_;
        if (toasts.size() >= maxToasts) toasts.erase(toasts.begin(), toasts.begin() + maxToasts / 2);
        toasts.push_back({title, message});
    });
}

bool ToastJournal::contains(const std::string& text) const {
    return std::any_of(toasts_.begin(), toasts_.end(), [&](const Toast& toast) {
        return toast.title.find(text) != std::string::npos || toast.message.find(text) != std::string::npos;
    });
}

} // namespace tilmora
