#pragma once

#include "platform/ui/declarative/ViewBase.hpp"

#include <string>

namespace tilmora {

/// The content of a toast, as a declarative view: a vertical stack (leading alignment, spacing 8)
/// of the title in the headline font, white, and the message in the body font, white at opacity
/// 0.9; padding 20 on all sides; width 380 points with leading alignment, the height following the
/// content; behind it a rounded rectangle (corner radius 12, continuous corners) filled with black
/// at opacity 0.85, with a shadow of black at opacity 0.5, radius 20, offset (0, 10) points.
/// A copy is a new description with the same texts. Main thread (its body).
class NotificationView : public platform::ui::declarative::Component<NotificationView> {
public:
    NotificationView() = default;
    NotificationView(std::string title, std::string message)
        : title(std::move(title))
        , message(std::move(message)) {}
    NotificationView(const NotificationView& other)
        : title(other.title)
        , message(other.message) {}
    NotificationView& operator=(const NotificationView&) = default;

    std::string title;
    std::string message;

    platform::ui::declarative::Element body() override;

    friend bool operator==(const NotificationView& a, const NotificationView& b) {
        return a.title == b.title && a.message == b.message;
    }
};

} // namespace tilmora
