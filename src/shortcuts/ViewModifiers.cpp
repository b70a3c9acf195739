#include "shortcuts/ViewModifiers.hpp"

#include "shortcuts/EventStream.hpp"
#include "shortcuts/GlobalKeyboardShortcutViewModifier.hpp"
#include "shortcuts/RecorderField.hpp"
#include "shortcuts/Registry.hpp"
#include "shortcuts/KeyEquivalentConversion.hpp"

#include <optional>

namespace tilmora::GlobalShortcuts {

using namespace platform::ui::declarative;

namespace {

/// The view behind the event modifiers: a subscription to the name's events from the content's
/// appearance to its disappearance.
class KeyboardShortcutEventsModifier : public Component<KeyboardShortcutEventsModifier> {
public:
    KeyboardShortcutEventsModifier(Element content, Name name, std::optional<EventType> type,
                                   std::function<void(EventType)> perform)
        : content(std::move(content))
        , name(std::move(name))
        , type(type)
        , perform(std::move(perform)) {}

    Element body() override {
        // The latest description's closure handles the events.
        subscription.box->perform = perform;
        std::weak_ptr<Box> weak = subscription.box;
        Element e = Group({content});
        e.onAppear([weak, name = name, type = type] {
             auto box = weak.lock();
             if (!box) return;
             box->stream.emplace(type ? events(*type, name) : events(name));
             box->stream->setOnEvent([weak](EventType event) {
                 auto b = weak.lock();
                 if (!b || !b->stream) return;
                 b->stream->next(); // taken here; nothing else reads the buffer
                 if (auto fn = b->perform) fn(event);
             });
         }).onDisappear([weak] {
            if (auto box = weak.lock()) box->stream.reset();
        });
        return e;
    }

    Element content;
    Name name;
    std::optional<EventType> type;
    std::function<void(EventType)> perform;

private:
    struct Box {
        std::optional<EventStream> stream;
        std::function<void(EventType)> perform;
    };
    /// Kept by the view across rebuilds (a new description does not replace it).
    struct Subscription {
        std::shared_ptr<Box> box = std::make_shared<Box>();
        Subscription() = default;
        Subscription(const Subscription&) = delete;
        Subscription& operator=(const Subscription&) { return *this; }
    };
    Subscription subscription;
};

Element eventsModifier(Element content, const Name& name, std::optional<EventType> type,
                       std::function<void(EventType)> perform) {
    return view<KeyboardShortcutEventsModifier>(std::move(content), name, type, std::move(perform));
}

} // namespace

Element onKeyboardShortcut(Element content, const Name& name, std::function<void(EventType)> perform) {
    return eventsModifier(std::move(content), name, std::nullopt, std::move(perform));
}

Element onKeyboardShortcut(Element content, const Name& name, EventType type, std::function<void()> perform) {
    return eventsModifier(std::move(content), name, type, [perform = std::move(perform)](EventType) {
        if (perform) perform();
    });
}

Element onGlobalKeyboardShortcut(Element content, const Name& name, std::function<void(EventType)> perform) {
    return onKeyboardShortcut(std::move(content), name, std::move(perform));
}

Element onGlobalKeyboardShortcut(Element content, const Name& name, EventType type,
                                 std::function<void()> perform) {
    return onKeyboardShortcut(std::move(content), name, type, std::move(perform));
}

Element globalKeyboardShortcut(Element content, const Name& name) {
    return view<GlobalKeyboardShortcutViewModifier>(std::move(content), name);
}

Element GlobalKeyboardShortcutViewModifier::body() {
    std::optional<KeyboardShortcut> chord;
    if (!isRecorderActive.get())
        if (auto stored = getShortcut(name)) chord = toSwiftUI(*stored);

    Element inner = Group({content});
    inner.keyboardShortcut(chord).id(triggerRefresh.get() ? "refresh-1" : "refresh-0");

    auto refresh = triggerRefresh.binding();
    auto active = isRecorderActive.binding();
    Element outer = Group({inner});
    outer
        .onReceive(shortcutByNameDidChangeNotification,
                   [refresh, raw = name.rawValue](const platform::Notification& notification) {
                       auto it = notification.userInfo.find("name");
                       if (it == notification.userInfo.end()) return;
                       const std::string* changed = it->second.asString();
                       if (changed && *changed == raw) refresh.set(!refresh.get());
                   })
        .onReceive(
            recorderActiveStatusDidChangeNotification, [active](const platform::Notification& notification) {
                auto it = notification.userInfo.find("isActive");
                const bool* isActive = it == notification.userInfo.end() ? nullptr : it->second.asBool();
                active.set(isActive ? *isActive : false);
            });
    return outer;
}

} // namespace tilmora::GlobalShortcuts
