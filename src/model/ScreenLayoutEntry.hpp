#pragma once

#include "model/DisplaySignature.hpp"

#include "platform/foundation/JsonCoding.hpp"

#include <cstdint>

namespace tilmora {

/// The grid preset one screen had when the display-layout memory captured it.
/// JSON: {"signature": {...}, "preset": {"rows": N, "cols": N, "gutter": D, "padding": D}}.
struct ScreenLayoutEntry {
    /// The four values of a snap-grid preset, as they were captured (not normalized).
    struct PresetModel {
        std::int64_t rows = 2;
        std::int64_t cols = 2;
        /// Points between tiles.
        double gutter = 0;
        /// Points by which a chosen tile is inset.
        double padding = 0;

        /// The preset as the snap grid takes it (`PresetNormalization`): rows and cols at least 1,
        /// a negative or NaN gutter or padding 0.
        PresetModel normalized() const;

        friend bool operator==(const PresetModel&, const PresetModel&) = default;
    };

    /// The screen the preset belonged to.
    DisplaySignature signature;
    /// The grid preset of that screen.
    PresetModel preset;

    friend bool operator==(const ScreenLayoutEntry&, const ScreenLayoutEntry&) = default;
};

platform::Json toJson(const ScreenLayoutEntry::PresetModel& preset);
ScreenLayoutEntry::PresetModel fromJson(const platform::Json& json,
                                        std::type_identity<ScreenLayoutEntry::PresetModel>);
platform::Json toJson(const ScreenLayoutEntry& entry);
ScreenLayoutEntry fromJson(const platform::Json& json, std::type_identity<ScreenLayoutEntry>);

} // namespace tilmora
