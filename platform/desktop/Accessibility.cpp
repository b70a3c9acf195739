#include "platform/desktop/Accessibility.hpp"

#include "platform/internal/DesktopModel.hpp"
#include "platform/internal/DesktopTransaction.hpp"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace platform {

using desktop_detail::AppState;
using desktop_detail::DesktopModel;
using desktop_detail::WindowRecord;

namespace {

std::string num(double v) {
    std::ostringstream o;
    o << v;
    return o.str();
}

/// Checks trust and liveness; on success `window` points at the element's window (null for an
/// application element).
AXError resolve(DesktopModel& m, const AXUIElement& e, WindowRecord*& window) {
    window = nullptr;
    if (!m.accessibilityTrusted) return kAXErrorAPIDisabled;
    if (e.kind == AXUIElement::Kind::systemWide) return kAXErrorSuccess;
    auto* app = m.liveApp(e.pid);
    if (!app) return kAXErrorInvalidUIElement;
    if (app->state != AppState::running || !app->spec.axResponds) return kAXErrorCannotComplete;
    if (e.kind == AXUIElement::Kind::application) return kAXErrorSuccess;
    window = m.liveWindow(std::uint32_t(e.window));
    if (!window || window->pid != e.pid || !window->spec.inAXList) return kAXErrorInvalidUIElement;
    if (e.kind == AXUIElement::Kind::zoomButton && !window->spec.hasZoomButton)
        return kAXErrorInvalidUIElement;
    if (e.kind == AXUIElement::Kind::tab && (!window->spec.tabs || int(e.index) >= *window->spec.tabs))
        return kAXErrorInvalidUIElement;
    return kAXErrorSuccess;
}

/// The value of a window part that answers a fixed set of attributes (a zoom button, a tab):
/// `value` becomes the one paired with `attr`; unsupported for any other attribute.
AXError copyFixedAttribute(const std::string& attr,
                           std::initializer_list<std::pair<std::string_view, CFValue>> attributes,
                           CFValue& value) {
    for (const auto& [name, answer] : attributes) {
        if (name == attr) {
            value = answer;
            return kAXErrorSuccess;
        }
    }
    return kAXErrorAttributeUnsupported;
}

AXUIElement windowElement(pid_t pid, std::uint32_t number) {
    AXUIElement e;
    e.pid = pid;
    e.kind = AXUIElement::Kind::window;
    e.window = number;
    return e;
}

/// Journals an Accessibility call on `e` of `kind` (a write or an action) with its outcome.
void journalCall(DesktopModel& m, JournalEntry::Kind kind, const AXUIElement& e, const std::string& what,
                 const std::string& detail, AXError result) {
    JournalEntry j;
    j.kind = kind;
    j.pid = e.pid;
    j.window = std::uint32_t(e.window);
    j.what = what;
    j.detail = detail;
    j.result = result;
    m.record(j);
}

void journalWrite(DesktopModel& m, const AXUIElement& e, const std::string& attribute,
                  const std::string& detail, AXError result) {
    journalCall(m, JournalEntry::Kind::axWrite, e, attribute, detail, result);
}

} // namespace

namespace desktop_detail {

/// Puts a window into full screen (its frame becomes its display's frame) or back to the frame it
/// had before. Shared with the System Events full-screen keystroke.
void setWindowFullScreen(DesktopModel& m, WindowRecord& w, bool on) {
    if (on == w.spec.fullScreen) return;
    if (on) {
        w.fullScreenRestore = w.spec.frame;
        if (auto* d = m.displayForRect(w.spec.frame)) w.spec.frame = d->spec.frame;
    } else if (w.fullScreenRestore) {
        w.spec.frame = *w.fullScreenRestore;
        w.fullScreenRestore.reset();
    }
    w.spec.fullScreen = on;
}

} // namespace desktop_detail

AXUIElement AXUIElementCreateApplication(pid_t pid) {
    AXUIElement e;
    e.pid = pid;
    e.kind = AXUIElement::Kind::application;
    return e;
}

AXError AXUIElementGetPid(const AXUIElement& element, pid_t& pid) {
    pid = element.pid;
    return kAXErrorSuccess;
}

AXError AXUIElementCopyAttributeValue(const AXUIElement& e, const std::string& attr, CFValue& value) {
    TXN;
    WindowRecord* w = nullptr;
    if (AXError err = resolve(m, e, w); err != kAXErrorSuccess) return err;
    switch (e.kind) {
    case AXUIElement::Kind::systemWide:
        return kAXErrorAttributeUnsupported;
    case AXUIElement::Kind::application: {
        auto* app = m.app(e.pid);
        if (attr == "AXRole") {
            value = CFValue("AXApplication");
        } else if (attr == "AXTitle") {
            if (!app->spec.localizedName) return kAXErrorNoValue;
            value = CFValue(*app->spec.localizedName);
        } else if (attr == "AXWindows") {
            CFArray list;
            for (auto n : m.appWindowsInOrder(e.pid)) {
                const WindowRecord& r = m.windows.at(n);
                if (!r.spec.inAXList || app->spec.axWindowsEmpty) continue;
                if (app->spec.axListsOnlyActiveSpace && !r.spec.onAllSpaces && !m.spaceIsActive(r.space))
                    continue;
                for (int i = 0; i < std::max(1, r.spec.axListings); ++i)
                    list.emplace_back(windowElement(e.pid, n));
            }
            value = CFValue(std::move(list));
        } else if (attr == "AXFocusedWindow" || attr == "AXMainWindow") {
            if (attr == "AXFocusedWindow" && app->spec.axFocusedWindowMissing) return kAXErrorNoValue;
            auto f = m.focusedWindow(e.pid);
            if (!f) return kAXErrorNoValue;
            value = CFValue(windowElement(e.pid, *f));
        } else if (attr == "AXFrontmost") {
            value = CFValue(m.frontPid == e.pid);
        } else {
            return kAXErrorAttributeUnsupported;
        }
        return kAXErrorSuccess;
    }
    case AXUIElement::Kind::zoomButton:
        return copyFixedAttribute(
            attr, {{"AXRole", CFValue("AXButton")}, {"AXSubrole", CFValue("AXZoomButton")}}, value);
    case AXUIElement::Kind::tab:
        return copyFixedAttribute(
            attr, {{"AXRole", CFValue("AXRadioButton")}, {"AXTitle", CFValue(w->spec.title)}}, value);
    case AXUIElement::Kind::window:
        break;
    }
    const WindowSpec& s = w->spec;
    if (attr == "AXRole") {
        value = CFValue(s.role);
    } else if (attr == "AXSubrole") {
        if (!s.subrole) return kAXErrorNoValue;
        value = CFValue(*s.subrole);
    } else if (attr == "AXTitle") {
        value = CFValue(s.title);
    } else if (attr == "AXPosition") {
        AXValue v;
        v.type = AXValueType::cgPoint;
        v.point = m.axPosition(*w);
        value = CFValue(v);
    } else if (attr == "AXSize") {
        AXValue v;
        v.type = AXValueType::cgSize;
        v.size = s.frame.size;
        value = CFValue(v);
    } else if (attr == "AXMinimized") {
        value = CFValue(s.minimized);
    } else if (attr == "AXFullScreen") {
        value = CFValue(s.fullScreen);
    } else if (attr == "AXMain" || attr == "AXFocused") {
        value = CFValue(m.focusedWindow(e.pid) == std::optional<std::uint32_t>(w->number));
    } else if (attr == "AXZoomButton") {
        if (!s.hasZoomButton) return kAXErrorNoValue;
        AXUIElement b = e;
        b.kind = AXUIElement::Kind::zoomButton;
        value = CFValue(b);
    } else if (attr == "AXWindowNumber") {
        if (s.numberForm != AXNumberForm::windowNumber) return kAXErrorAttributeUnsupported;
        value = CFValue(std::int64_t(w->number));
    } else if (attr == "AXWindowID") {
        if (s.numberForm != AXNumberForm::windowIDOnly) return kAXErrorAttributeUnsupported;
        value = CFValue(std::int64_t(w->number));
    } else if (attr == "AXTabs") {
        if (!s.tabs) return kAXErrorAttributeUnsupported;
        CFArray tabs;
        for (int i = 0; i < *s.tabs; ++i) {
            AXUIElement t = e;
            t.kind = AXUIElement::Kind::tab;
            t.index = std::uint32_t(i);
            tabs.emplace_back(t);
        }
        value = CFValue(std::move(tabs));
    } else {
        return kAXErrorAttributeUnsupported;
    }
    return kAXErrorSuccess;
}

AXError AXUIElementIsAttributeSettable(const AXUIElement& e, const std::string& attr, bool& settable) {
    TXN;
    WindowRecord* w = nullptr;
    if (AXError err = resolve(m, e, w); err != kAXErrorSuccess) return err;
    settable = false;
    if (e.kind != AXUIElement::Kind::window) {
        if (e.kind == AXUIElement::Kind::application &&
            (attr == "AXRole" || attr == "AXTitle" || attr == "AXWindows" || attr == "AXFocusedWindow" ||
             attr == "AXMainWindow" || attr == "AXFrontmost"))
            return kAXErrorSuccess;
        if (attr == "AXRole" || attr == "AXSubrole" || attr == "AXTitle") return kAXErrorSuccess;
        return kAXErrorAttributeUnsupported;
    }
    if (attr == "AXPosition") {
        settable = w->spec.positionSettable;
    } else if (attr == "AXSize") {
        settable = w->spec.sizeSettable;
    } else if (attr == "AXMinimized" || attr == "AXFullScreen" || attr == "AXMain") {
        settable = true;
    } else if (attr == "AXRole" || attr == "AXSubrole" || attr == "AXTitle" || attr == "AXZoomButton" ||
               attr == "AXFocused" ||
               (attr == "AXWindowNumber" && w->spec.numberForm == AXNumberForm::windowNumber) ||
               (attr == "AXWindowID" && w->spec.numberForm == AXNumberForm::windowIDOnly) ||
               (attr == "AXTabs" && w->spec.tabs)) {
        settable = false;
    } else {
        return kAXErrorAttributeUnsupported;
    }
    return kAXErrorSuccess;
}

AXError AXUIElementSetAttributeValue(const AXUIElement& e, const std::string& attr, const CFValue& value) {
    TXN;
    WindowRecord* w = nullptr;
    AXError err = resolve(m, e, w);
    std::string detail = value.description();
    if (err == kAXErrorSuccess && e.kind != AXUIElement::Kind::window) err = kAXErrorAttributeUnsupported;
    if (err != kAXErrorSuccess) {
        journalWrite(m, e, attr, detail, err);
        return err;
    }
    std::uint32_t number = w->number;
    if (attr == "AXPosition" || attr == "AXSize") {
        const AXValue* v = value.asAXValue();
        bool isPosition = attr == "AXPosition";
        AXValueType want = isPosition ? AXValueType::cgPoint : AXValueType::cgSize;
        if (v)
            detail = isPosition ? "(" + num(v->point.x) + ", " + num(v->point.y) + ")"
                                : "(" + num(v->size.width) + ", " + num(v->size.height) + ")";
        // A value that is not a finite point or size is refused, so no frame ever holds one.
        bool finite = v && (isPosition ? std::isfinite(v->point.x) && std::isfinite(v->point.y)
                                       : std::isfinite(v->size.width) && std::isfinite(v->size.height));
        if (!v || v->type != want || !finite) {
            err = kAXErrorIllegalArgument;
        } else {
            err = m.writeGeometry(number, isPosition, *v);
        }
    } else if (attr == "AXMinimized") {
        if (const bool* b = value.asBool())
            w->spec.minimized = *b;
        else
            err = kAXErrorIllegalArgument;
    } else if (attr == "AXFullScreen") {
        const bool* b = value.asBool();
        if (!b)
            err = kAXErrorIllegalArgument;
        else if (w->spec.refusesFullScreen)
            err = kAXErrorCannotComplete;
        else
            desktop_detail::setWindowFullScreen(m, *w, *b);
    } else if (attr == "AXMain") {
        if (const bool* b = value.asBool()) {
            if (*b) m.raise(number);
        } else {
            err = kAXErrorIllegalArgument;
        }
    } else {
        err = kAXErrorAttributeUnsupported;
    }
    journalWrite(m, e, attr, detail, err);
    return err;
}

AXError AXUIElementPerformAction(const AXUIElement& e, const std::string& action) {
    TXN;
    WindowRecord* w = nullptr;
    AXError err = resolve(m, e, w);
    if (err == kAXErrorSuccess) {
        if (e.kind == AXUIElement::Kind::window && action == "AXRaise") {
            m.raise(w->number);
        } else if (e.kind == AXUIElement::Kind::zoomButton && action == "AXPress") {
            m.toggleZoom(*w);
        } else {
            err = kAXErrorActionUnsupported;
        }
    }
    journalCall(m, JournalEntry::Kind::axAction, e, action, "", err);
    return err;
}

bool AXIsProcessTrusted() {
    TXN;
    return m.accessibilityTrusted;
}

bool AXIsProcessTrustedWithOptions(const CFDictionary& options) {
    TXN;
    if (m.accessibilityTrusted) return true;
    const CFValue* prompt = lookup(options, kAXTrustedCheckOptionPrompt);
    bool ask = prompt && ((prompt->asBool() && *prompt->asBool()) || prompt->integerValue().value_or(0) != 0);
    if (ask) {
        ++m.accessibilityPrompts;
        JournalEntry j;
        j.kind = JournalEntry::Kind::prompt;
        j.what = "accessibility";
        m.record(j);
    }
    return false;
}

} // namespace platform
