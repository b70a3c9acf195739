#pragma once

#include "platform/ui/Menu.hpp"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tilmora {

/// The console's reader of the status menu, as a person reads the menu a click on the status item
/// opens before choosing: `menu` and a pointer click on the item share it. While it stands, the
/// next menu the item opens is handed to `choose` (open, its delegate told), which returns the path
/// of the item to pick (full titles); an empty path dismisses the menu 0.1 s later on the clock, so
/// it closes at the end of the command (the console keeps no menu open between commands). Forgets
/// the menu sessions recorded before it; one that no menu used is dropped when it goes. Main thread.
class StatusMenuReading {
public:
    explicit StatusMenuReading(std::function<std::vector<std::string>(platform::ui::Menu&)> choose);
    ~StatusMenuReading();
    StatusMenuReading(const StatusMenuReading&) = delete;
    StatusMenuReading& operator=(const StatusMenuReading&) = delete;

    /// Whether a menu opened since it began (read after the click's events were handled).
    bool opened() const { return *opened_; }

private:
    std::shared_ptr<bool> opened_ = std::make_shared<bool>(false);
};

} // namespace tilmora
