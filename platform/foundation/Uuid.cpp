#include "platform/foundation/Uuid.hpp"

#include <uuid/uuid.h>

namespace platform {

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool isDashPosition(std::size_t i) {
    return i == 8 || i == 13 || i == 18 || i == 23;
}

} // namespace

UUID::UUID() {
    uuid_t raw;
    uuid_generate_random(raw);
    for (std::size_t i = 0; i < bytes_.size(); ++i)
        bytes_[i] = raw[i];
}

std::optional<UUID> UUID::fromString(std::string_view text) {
    if (text.size() != 36) return std::nullopt;
    Bytes bytes{};
    std::size_t byteIndex = 0;
    for (std::size_t i = 0; i < text.size();) {
        if (isDashPosition(i)) {
            if (text[i] != '-') return std::nullopt;
            ++i;
            continue;
        }
        const int high = hexValue(text[i]);
        const int low = hexValue(text[i + 1]);
        if (high < 0 || low < 0 || isDashPosition(i + 1)) return std::nullopt;
        bytes[byteIndex++] = static_cast<std::uint8_t>(high * 16 + low);
        i += 2;
    }
    return UUID(bytes);
}

std::string UUID::uuidString() const {
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(36);
    for (std::size_t i = 0; i < bytes_.size(); ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10) text.push_back('-');
        text.push_back(digits[bytes_[i] >> 4]);
        text.push_back(digits[bytes_[i] & 0x0F]);
    }
    return text;
}

} // namespace platform

std::size_t std::hash<platform::UUID>::operator()(const platform::UUID& uuid) const noexcept {
    // FNV-1a over the 16 bytes.
    std::uint64_t hash = 14695981039346656037ull;
    for (std::uint8_t byte : uuid.bytes()) {
        hash ^= byte;
        hash *= 1099511628211ull;
    }
    return static_cast<std::size_t>(hash);
}
