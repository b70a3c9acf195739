#pragma once

#include <array>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

/// A universally unique identifier: 16 bytes, compared, ordered and hashed by those bytes.
///
/// `UUID()` makes a fresh random (version 4) identifier, as the platform does for every new layout,
/// profile, snapshot or tile. The text form is 36 characters: upper-case hexadecimal digits in
/// groups of 8-4-4-4-12 joined by "-". Any thread.
class UUID {
public:
    using Bytes = std::array<std::uint8_t, 16>;

    /// A freshly generated random identifier.
    UUID();

    /// The identifier with exactly these 16 bytes.
    explicit UUID(const Bytes& bytes)
        : bytes_(bytes) {}

    /// Reads the 36-character text form in either letter case. Anything else (wrong length,
    /// misplaced "-", a non-hexadecimal digit, surrounding blanks) gives no value.
    static std::optional<UUID> fromString(std::string_view text);

    /// The 36-character upper-case text form.
    std::string uuidString() const;

    const Bytes& bytes() const { return bytes_; }

    friend bool operator==(const UUID&, const UUID&) = default;
    friend std::strong_ordering operator<=>(const UUID&, const UUID&) = default;

private:
    Bytes bytes_;
};

} // namespace platform

template <>
struct std::hash<platform::UUID> {
    std::size_t operator()(const platform::UUID& uuid) const noexcept;
};
