#include "shortcuts/MenuItemShortcut.hpp"

#include "platform/dispatch/DispatchQueue.hpp"
#include "platform/foundation/NotificationCenter.hpp"
#include "platform/foundation/SharedInstance.hpp"
#include "platform/input/ProcessInfo.hpp"
#include "platform/ui/MenuItem.hpp"
#include "shortcuts/ModifierConversion.hpp"
#include "shortcuts/ObjectAssociation.hpp"
#include "shortcuts/Registry.hpp"

namespace tilmora::GlobalShortcuts {

namespace {

/// An item's observation of the change notification; removed from the center when it goes (with
/// its item, or when the item is rebound or unbound).
struct Observation {
    platform::ObserverToken token;
    explicit Observation(platform::ObserverToken t)
        : token(t) {}
    Observation(const Observation&) = delete;
    Observation& operator=(const Observation&) = delete;
    ~Observation() { platform::NotificationCenter::defaultCenter().removeObserver(token); }
};

/// The module's one association of menu items with their observation. Reset with the other shared
/// instances.
struct MenuItemObservations {
    ObjectAssociation<std::shared_ptr<Observation>> observation{AssociationPolicy::retainNonatomic};

    static MenuItemObservations& shared() { return platform::SharedInstance<MenuItemObservations>::get(); }
};

bool localizesKeyEquivalents() {
    return platform::ProcessInfo::processInfo().isOperatingSystemAtLeast({12, 0, 0});
}

} // namespace

void setShortcut(platform::ui::MenuItem& item, const std::optional<Shortcut>& shortcut) {
    if (shortcut) {
        item.keyEquivalent = shortcut->nsMenuItemKeyEquivalent().value_or("");
        item.keyEquivalentModifierMask = modifierFlags(shortcut->carbonModifiers);
    } else {
        item.keyEquivalent.clear();
        item.keyEquivalentModifierMask = platform::ModifierFlags();
    }
    if (localizesKeyEquivalents()) item.allowsAutomaticKeyEquivalentLocalization = !shortcut.has_value();
}

void setShortcutForName(const std::shared_ptr<platform::ui::MenuItem>& item,
                        const std::optional<Name>& name) {
    if (!item) return;
    auto& observations = MenuItemObservations::shared().observation;
    if (!name) {
        setShortcut(*item, std::nullopt);
        observations.set(item, std::nullopt);
        return;
    }
    setShortcut(*item, getShortcut(*name));
    observations.set(item, std::nullopt);
    std::weak_ptr<platform::ui::MenuItem> weakItem = item;
    const std::string raw = name->rawValue;
    auto token = platform::NotificationCenter::defaultCenter().addObserver(
        shortcutByNameDidChangeNotification, nullptr,
        [weakItem, raw](const platform::Notification& notification) {
            auto it = notification.userInfo.find("name");
            if (it == notification.userInfo.end()) return;
            const std::string* changed = it->second.asString();
            if (!changed || *changed != raw) return;
            platform::DispatchQueue::main().async([weakItem, raw] {
                if (auto item = weakItem.lock()) setShortcut(*item, getShortcut(Name(raw)));
            });
        });
    observations.set(item, std::make_shared<Observation>(token));
}

bool isBoundToName(const std::shared_ptr<platform::ui::MenuItem>& item) {
    return MenuItemObservations::shared().observation.get(item).has_value();
}

} // namespace tilmora::GlobalShortcuts
