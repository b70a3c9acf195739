#pragma once

#include "platform/foundation/PropertyValue.hpp"

#include <functional>
#include <map>
#include <string>

namespace platform::ui {
class Responder;
}

/// The UI toolkit's bridge to the rest of the platform: the virtual clock, the main queue, the
/// main run loop's modes and the default notification center. Every wait of the toolkit (animation
/// ends, menu tracking, modal sessions, deferred actions) goes through here. Main thread only.
namespace platform::ui::runtime {

/// Run-loop mode names.
inline const std::string defaultMode = "kCFRunLoopDefaultMode";
inline const std::string eventTrackingMode = "NSEventTrackingRunLoopMode";
inline const std::string modalPanelMode = "NSModalPanelRunLoopMode";
inline const std::string commonModes = "kCFRunLoopCommonModes";

/// Virtual time now, in seconds.
double now();
/// Runs `fn` on a later turn of the main queue.
void mainAsync(std::function<void()> fn);
/// Runs `fn` on the main queue `seconds` from now (virtual time).
void afterDelay(double seconds, std::function<void()> fn);
/// Runs the main run loop in `mode` for `seconds` of virtual time (timers of that mode fire, the
/// main queue is serviced).
void runLoop(const std::string& mode, double seconds);
/// Runs the main run loop in `mode` until `done()` holds or `timeoutSeconds` pass; true when done.
bool runLoopUntil(const std::string& mode, const std::function<bool()>& done, double timeoutSeconds);
/// The mode the main run loop runs in right now, as the scheduler's run loop reports it ("" when it
/// is not running or when called off the main thread).
std::string currentMode();
/// Posts a notification on the default center with the object and the user info.
void post(const std::string& name, const void* object, const PropertyDictionary& userInfo = {});

} // namespace platform::ui::runtime
