#include "shortcuts/RecorderField.hpp"

#include "platform/dispatch/DispatchQueue.hpp"
#include "platform/foundation/Text.hpp"
#include "platform/input/ProcessInfo.hpp"
#include "platform/ui/Alert.hpp"
#include "platform/ui/Application.hpp"
#include "platform/ui/Beep.hpp"
#include "platform/ui/Menu.hpp"
#include "platform/ui/MenuItem.hpp"
#include "platform/ui/Window.hpp"
#include "shortcuts/AlertPresentation.hpp"
#include "shortcuts/CarbonHotKeys.hpp"
#include "shortcuts/Constants.hpp"
#include "shortcuts/Key.hpp"
#include "shortcuts/ModifierConversion.hpp"
#include "shortcuts/ShortcutsBundle.hpp"
#include "shortcuts/Registry.hpp"

#include <algorithm>

namespace tilmora::GlobalShortcuts {

using InputEventType = platform::EventType;
using platform::EventTypeMask;
using platform::ModifierFlags;
using platform::NotificationCenter;
using platform::NSEvent;
using namespace platform::ui;

namespace {

std::string localized(std::string_view key) {
    return ShortcutsBundle::module().localizedString(key);
}

/// Key-down, left mouse-up and right mouse-up (mask 1044).
const EventTypeMask recordedEvents =
    EventTypeMask::keyDown | EventTypeMask::leftMouseUp | EventTypeMask::rightMouseUp;

/// How far outside the field a mouse-up still counts as on it, points.
constexpr double mouseSlop = 3;

} // namespace

std::shared_ptr<RecorderField> RecorderField::make(Name name, OnChange onChange) {
    std::shared_ptr<RecorderField> recorder(new RecorderField(std::move(name), std::move(onChange)));
    recorder->setUpEvents();
    return recorder;
}

RecorderField::RecorderField(Name name, OnChange onChange)
    : onChange_(std::move(onChange))
    , shortcutName_(std::move(name)) {
    setFrame({0, 0, minimumWidth, 24});
    identifier = shortcutName_.rawValue;
    delegate = this;
    placeholderString = localized("record_shortcut");
    alignment = TextAlignment::center;
    searchButtonCell = nullptr;
    setWantsLayer(true);
    horizontalHuggingPriority = LayoutPriority::defaultHigh;
    verticalHuggingPriority = LayoutPriority::defaultHigh;
    cancelButton_ = cancelButtonCell;
    refreshText();
}

RecorderField::~RecorderField() {
    auto& center = NotificationCenter::defaultCenter();
    for (auto* token :
         {&shortcutsNameChangeObserver_, &windowDidResignKeyObserver_, &windowDidBecomeKeyObserver_})
        if (*token) center.removeObserver(**token);
    // A recorder that goes away while recording must not leave the registry paused.
    if (eventMonitor_) {
        eventMonitor_.reset();
        setPaused(false);
        postActiveStatus(false);
    }
}

void RecorderField::setUpEvents() {
    std::weak_ptr<RecorderField> weak = std::static_pointer_cast<RecorderField>(shared_from_this());
    shortcutsNameChangeObserver_ = NotificationCenter::defaultCenter().addObserver(
        shortcutByNameDidChangeNotification, nullptr, [weak](const platform::Notification& notification) {
            auto self = weak.lock();
            if (!self) return;
            auto it = notification.userInfo.find("name");
            if (it == notification.userInfo.end()) return;
            const std::string* raw = it->second.asString();
            if (raw && *raw == self->shortcutName_.rawValue) self->refreshText();
        });
}

void RecorderField::setShortcutName(const Name& name) {
    if (name.rawValue == shortcutName_.rawValue) return;
    shortcutName_ = name;
    identifier = name.rawValue;
    refreshText();
    if (!platform::ProcessInfo::processInfo().isOperatingSystemAtLeast({12, 0, 0})) {
        auto self = std::static_pointer_cast<RecorderField>(shared_from_this());
        platform::DispatchQueue::main().async([self] { self->resignFocus(); });
    }
}

Size RecorderField::intrinsicContentSize() const {
    return {minimumWidth, SearchField::intrinsicContentSize().height};
}

void RecorderField::refreshText() {
    auto shortcut = getShortcut(shortcutName_);
    setStringValue(shortcut ? shortcut->presentableDescription() : std::string());
    applyClearButtonRule();
}

void RecorderField::applyClearButtonRule() {
    cancelButtonCell = stringValue().empty() ? nullptr : cancelButton_;
}

void RecorderField::postActiveStatus(bool isActive) {
    NotificationCenter::defaultCenter().post(recorderActiveStatusDidChangeNotification, nullptr,
                                             {{"isActive", platform::PropertyValue(isActive)}});
}

void RecorderField::resignFocus() {
    if (auto* w = window()) w->makeFirstResponder(nullptr);
}

void RecorderField::regainFocus() {
    if (auto* w = window()) w->makeFirstResponder(this);
}

bool RecorderField::becomeFirstResponder() {
    if (!window()) return false;
    if (!SearchField::becomeFirstResponder()) return false;
    placeholderString = localized("press_shortcut");
    applyClearButtonRule();
    if (auto* editor = currentEditor()) editor->insertionPointColor = Color::clearColor();
    setPaused(true);
    postActiveStatus(true);
    std::weak_ptr<RecorderField> weak = std::static_pointer_cast<RecorderField>(shared_from_this());
    eventMonitor_ = std::make_unique<LocalEventMonitor>(
        recordedEvents, [weak](const NSEvent& event) -> std::optional<NSEvent> {
            auto self = weak.lock();
            if (!self) return std::nullopt;
            return self->handle(event);
        });
    eventMonitor_->start();
    return true;
}

void RecorderField::endRecording() {
    eventMonitor_.reset();
    placeholderString = localized("record_shortcut");
    applyClearButtonRule();
    if (auto* editor = currentEditor()) editor->insertionPointColor = Color::labelColor();
    setPaused(false);
    postActiveStatus(false);
}

void RecorderField::insertText(const std::string&) {
    beep();
}

void RecorderField::controlTextDidChange(TextField&) {
    if (stringValue().empty()) {
        setShortcut(std::nullopt, shortcutName_);
        if (onChange_) onChange_(std::nullopt);
    }
    applyClearButtonRule();
    // A click on the clear button leaves the field ready to record.
    if (stringValue().empty()) regainFocus();
}

void RecorderField::controlTextDidEndEditing(TextField&) {
    endRecording();
}

void RecorderField::viewDidMoveToWindow() {
    auto& center = NotificationCenter::defaultCenter();
    if (windowDidResignKeyObserver_) center.removeObserver(*windowDidResignKeyObserver_);
    if (windowDidBecomeKeyObserver_) center.removeObserver(*windowDidBecomeKeyObserver_);
    windowDidResignKeyObserver_.reset();
    windowDidBecomeKeyObserver_.reset();
    Window* w = window();
    if (!w) {
        endRecording();
        return;
    }
    std::weak_ptr<RecorderField> weak = std::static_pointer_cast<RecorderField>(shared_from_this());
    windowDidResignKeyObserver_ =
        center.addObserver(WindowDidResignKeyNotification, w, [weak](const platform::Notification&) {
            auto self = weak.lock();
            if (!self || !self->window()) return;
            self->endRecording();
            self->resignFocus();
        });
    windowDidBecomeKeyObserver_ =
        center.addObserver(WindowDidBecomeKeyNotification, w, [weak](const platform::Notification&) {
            if (auto self = weak.lock()) self->preventBecomingKey();
        });
    preventBecomingKey();
}

void RecorderField::preventBecomingKey() {
    canBecomeKey_ = false;
    auto self = std::static_pointer_cast<RecorderField>(shared_from_this());
    platform::DispatchQueue::main().async([self] { self->canBecomeKey_ = true; });
}

long RecorderField::showAlert(const std::string& message, const std::string& informative,
                              bool withForceButton) {
    auto alert = std::make_shared<Alert>();
    alert->alertStyle = AlertStyle::warning;
    alert->icon = nullptr;
    alert->messageText = message;
    alert->informativeText = informative;
    if (withForceButton) {
        alert->addButton(localized("ok"));
        alert->addButton(localized("force_use_shortcut"));
    }
    return runModal(*alert, window());
}

std::optional<NSEvent> RecorderField::handle(const NSEvent& event) {
    // Keep the recorder alive through alerts and the end of recording, which drop the monitor.
    auto keep = shared_from_this();

    if (event.type == InputEventType::leftMouseUp || event.type == InputEventType::rightMouseUp) {
        Point inWindow = event.locationInWindow;
        if (event.windowNumber == 0) {
            // Global coordinates: take them into the window's space first.
            if (auto* w = window())
                inWindow = {inWindow.x - w->frame().origin.x, inWindow.y - w->frame().origin.y};
        }
        Point local = convertPointFromWindow(inWindow);
        Rect grown = bounds().insetBy(-mouseSlop, -mouseSlop);
        if (!grown.contains(local)) {
            resignFocus();
            return event;
        }
    }
    if (event.type != InputEventType::keyDown && event.type != InputEventType::keyUp) return std::nullopt;

    const ModifierFlags flags = event.modifierFlags & ModifierFlags::deviceIndependentFlagsMask;
    const bool bare = flags.subtracting(ModifierFlags::capsLock | ModifierFlags::numericPad).isEmpty();
    const bool withoutCommandModifiers = (flags & (ModifierFlags::control | ModifierFlags::option |
                                                   ModifierFlags::command | ModifierFlags::help))
                                             .isEmpty();
    const auto special = event.specialKey();

    if (bare && special == platform::SpecialKey::tab) {
        resignFocus();
        return event;
    }
    if (bare && event.keyCode == Key::escape.rawValue) {
        resignFocus();
        return std::nullopt;
    }
    if (bare &&
        (special == platform::SpecialKey::deleteKey || special == platform::SpecialKey::deleteForward ||
         special == platform::SpecialKey::backspace)) {
        if (auto cell = cancelButtonCell) cell->performClick(this);
        return std::nullopt;
    }
    if (withoutCommandModifiers && !(special && platform::functionSpecialKeys().contains(*special))) {
        beep();
        return std::nullopt;
    }
    auto shortcut = Shortcut::fromEvent(event);
    if (!shortcut) {
        beep();
        return std::nullopt;
    }

    if (auto menu = Application::shared().mainMenu) {
        if (auto item = shortcut->menuItemWithMatchingShortcut(*menu)) {
            resignFocus();
            showAlert(platform::Text::format(localized("keyboard_shortcut_used_by_menu_item"), {item->title}),
                      {}, false);
            regainFocus();
            return std::nullopt;
        }
    }

    const auto os = platform::ProcessInfo::processInfo().operatingSystemVersion();
    if (os.majorVersion == 15 && os.minorVersion <= 1 && Constants::isSandboxed()) {
        const ModifierFlags relevant =
            modifierFlags(shortcut->carbonModifiers) &
            (ModifierFlags::function | ModifierFlags::command | ModifierFlags::option |
             ModifierFlags::control | ModifierFlags::capsLock);
        if (relevant == ModifierFlags::option) {
            resignFocus();
            showAlert(localized("keyboard_shortcut_disallowed"), {}, false);
            regainFocus();
            return std::nullopt;
        }
    }

    if (*shortcut != Shortcut(Key::f12, ModifierFlags())) {
        const auto reserved = CarbonHotKeys::system();
        if (std::find(reserved.begin(), reserved.end(), *shortcut) != reserved.end()) {
            resignFocus();
            const long response = showAlert(localized("keyboard_shortcut_used_by_system"),
                                            localized("keyboard_shortcuts_can_be_changed"), true);
            regainFocus();
            if (response != ModalResponse::alertSecondButtonReturn) return std::nullopt;
        }
    }

    setStringValue(shortcut->presentableDescription());
    cancelButtonCell = cancelButton_;
    userDefaultsSet(shortcutName_, *shortcut);
    if (onChange_) onChange_(shortcut);
    resignFocus();
    return std::nullopt;
}

} // namespace tilmora::GlobalShortcuts
