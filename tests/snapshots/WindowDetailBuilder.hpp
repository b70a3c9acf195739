#pragma once

#include "snapshots/WindowDetail.hpp"

#include "platform/desktop/Geometry.hpp"

#include <cstdint>
#include <string>

namespace snapshotstest {

/// A captured window of `bundle` titled `title` on display `screenID`; `rect` is its position from
/// the visible frame's top-left corner and its size.
inline tilmora::WindowManager::WindowDetail windowDetail(const std::string& bundle, const std::string& title,
                                                         std::uint32_t screenID,
                                                         const platform::CGRect& rect) {
    tilmora::WindowManager::WindowDetail w;
    w.bundleIdentifier = bundle;
    w.windowTitle = title;
    w.screenID = screenID;
    w.xPosition = rect.origin.x;
    w.yPosition = rect.origin.y;
    w.width = rect.size.width;
    w.height = rect.size.height;
    return w;
}

} // namespace snapshotstest
