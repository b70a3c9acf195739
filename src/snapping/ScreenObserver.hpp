#pragma once

#include "platform/desktop/NSScreen.hpp"
#include "platform/foundation/NotificationCenter.hpp"
#include "platform/ui/declarative/ViewBase.hpp"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tilmora {

/// An observable list of the current screens for declarative views that redraw when displays are
/// added, removed or rearranged. Each screen-parameter change refreshes the list one second later
/// on the main queue and logs "ScreenObserver: Updated screens: [...]". Nothing in the program
/// creates one; a view that wants it calls `startObserving` on a shared pointer. Main thread.
class ScreenObserver : public platform::ui::declarative::ObservableObject, public std::enable_shared_from_this<ScreenObserver> {
public:
    ScreenObserver() = default;
    ~ScreenObserver() override;
    ScreenObserver(const ScreenObserver&) = delete;
    ScreenObserver& operator=(const ScreenObserver&) = delete;

    /// Seconds between a screen-parameter change and the refresh it schedules.
    static constexpr double refreshDelay = 1.0;

    /// The screens as of the last refresh (empty before the first).
    const std::vector<platform::NSScreen>& screens() const { return screens_.get(); }
    /// Replaces the list, telling the observers first.
    void setScreens(std::vector<platform::NSScreen> screens) { screens_.set(std::move(screens)); }

    /// Schedules a refresh `refreshDelay` seconds from now on the main queue; the scheduled block
    /// holds the observer strongly. The notification's contents are not used. Any thread.
    void screenParametersDidChange(const platform::Notification& notification);

    /// Registers `screenParametersDidChange` for "NSApplicationDidChangeScreenParametersNotification"
    /// on the default center (once); the registration holds the observer weakly.
    void startObserving();

    /// The text of a screen list: "[]" when empty, else "[<name> (x, y, w, h), ...]".
    static std::string describe(const std::vector<platform::NSScreen>& screens);

private:
    void refresh();

    platform::ui::declarative::Published<std::vector<platform::NSScreen>> screens_{this, {}};
    std::optional<platform::ObserverToken> observer_;
};

} // namespace tilmora
