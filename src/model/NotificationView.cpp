#include "model/NotificationView.hpp"

#include "platform/ui/declarative/Elements.hpp"

namespace tilmora {

namespace dv = platform::ui::declarative;
using platform::ui::Color;

dv::Element NotificationView::body() {
    dv::FrameSpec width;
    width.width = 380;
    width.alignment = dv::Alignment::leading;
    return dv::VStack(dv::Alignment::leading, 8,
                      {
                          dv::Text(title).font("headline").foregroundColor(Color::whiteColor()),
                          dv::Text(message).font("body").foregroundColor(
                              Color::whiteColor().withAlphaComponent(0.9)),
                      })
        .padding(20)
        .frame(width)
        .background(dv::RoundedRectangle(12, true)
                        .fill(Color::blackColor().withAlphaComponent(0.85))
                        .shadow(Color::blackColor().withAlphaComponent(0.5), 20, 0, 10)
                        .id("toast.box"));
}

} // namespace tilmora
