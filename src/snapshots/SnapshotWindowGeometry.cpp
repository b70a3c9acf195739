#include "snapshots/SnapshotWindowGeometry.hpp"

#include <algorithm>
#include <cmath>

namespace tilmora::SnapshotWindowGeometry {

namespace {

/// max(value, floor), where a NaN value gives the floor.
double atLeast(double value, double floor) {
    return std::isnan(value) || value < floor ? floor : value;
}

/// min(value, ceiling), where a NaN value gives the ceiling.
double atMost(double value, double ceiling) {
    return std::isnan(value) || value > ceiling ? ceiling : value;
}

constexpr const char* vsCodeBundleIdentifier = "com.microsoft.VSCode";

} // namespace

platform::CGRect normalizedRect(const SnapshotWindowRecord& record) {
    const platform::CGRect& frame = record.originalFrame;
    const double fw = atLeast(frame.width(), 1);
    const double fh = atLeast(frame.height(), 1);
    const double w = atLeast(atMost(record.width, fw), 1);
    const double h = atLeast(atMost(record.height, fh), 1);

    double left = 0;
    double top = 0;
    const bool relative = record.xPosition >= -2 && record.xPosition <= fw + 2 && record.yPosition >= -2 &&
                          record.yPosition <= fh + 2;
    if (relative) {
        left = record.xPosition;
        top = record.yPosition;
    } else {
        left = record.xPosition - frame.minX();
        top = frame.maxY() - (record.yPosition + h);
    }
    left = atLeast(std::min(left, fw - w), 0);
    top = atLeast(std::min(top, fh - h), 0);

    const double bottom = std::max(std::min(fh - h, fh - top - h), 0.0);
    return {left / fw, bottom / fh, w / fw, h / fh};
}

platform::CGRect targetRect(const SnapshotWindowRecord& record, const platform::CGRect& /*destinationFrame*/,
                            const platform::CGRect& visibleFrame) {
    const platform::CGRect n = normalizedRect(record);
    const bool vsCode = record.bundleIdentifier == vsCodeBundleIdentifier;
    double minWidth = vsCode ? 500 : 220;
    double minHeight = vsCode ? 360 : 160;
    const double vw = atLeast(visibleFrame.width(), 1);
    const double vh = atLeast(visibleFrame.height(), 1);
    minWidth = std::min(vw, minWidth);
    minHeight = std::min(vh, minHeight);
    const double width = std::max(n.width() * visibleFrame.width(), minWidth);
    const double height = std::max(n.height() * visibleFrame.height(), minHeight);
    const double x = visibleFrame.minX() + n.minX() * visibleFrame.width();
    const double y = visibleFrame.minY() + n.minY() * visibleFrame.height();
    return clampPreservingSize({x, y, width, height}, visibleFrame);
}

platform::CGRect clampPreservingSize(const platform::CGRect& rect, const platform::CGRect& bounds) {
    const double width = std::min(rect.width(), bounds.width());
    const double height = std::min(rect.height(), bounds.height());
    double x = std::max(rect.minX(), bounds.minX());
    if (x + width > bounds.maxX()) x = bounds.maxX() - width;
    double y = std::max(rect.minY(), bounds.minY());
    if (y + height > bounds.maxY()) y = bounds.maxY() - height;
    return {x, y, width, height};
}

} // namespace tilmora::SnapshotWindowGeometry
