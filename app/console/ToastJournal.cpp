#include "console/ToastJournal.hpp"

#include "console/ConsoleText.hpp"
#include "model/NotificationManager.hpp"

#include <algorithm>

namespace tilmora {

void ToastJournal::startRecording() {
    toasts_.clear();
    listed_ = 0;
    observe();
}

void ToastJournal::observe() {
    NotificationManager::setToastObserver([](const std::string& title, const std::string& message) {
        auto& journal = ToastJournal::shared();
        auto& toasts = journal.toasts_;
        if (toasts.size() >= maxToasts) {
            toasts.erase(toasts.begin(), toasts.begin() + maxToasts / 2);
            journal.listed_ = journal.listed_ > maxToasts / 2 ? journal.listed_ - maxToasts / 2 : 0;
        }
        toasts.push_back({title, message});
    });
}

std::string ToastJournal::takeListing() {
    std::string out;
    const bool newestShowing = NotificationManager::shared().isShowing();
    for (std::size_t i = listed_; i < toasts_.size(); ++i) {
        const bool onScreen = newestShowing && i + 1 == toasts_.size();
        out += "toast " + ConsoleText::quote(toasts_[i].title) + " " + ConsoleText::quote(toasts_[i].message) +
               (onScreen ? " on screen\n" : " gone\n");
    }
    listed_ = toasts_.size();
    return out;
}

bool ToastJournal::contains(const std::string& text) const {
    return std::any_of(toasts_.begin(), toasts_.end(), [&](const Toast& toast) {
        return toast.title.find(text) != std::string::npos || toast.message.find(text) != std::string::npos;
    });
}

} // namespace tilmora
