#pragma once

#include <string_view>

namespace platform::Text {

/// The order of `Text::localizedCaseInsensitiveCompare` with the user's language looked up once,
/// when the order is made, instead of at every comparison: for sorting many texts. Compares exactly
/// as `localizedCaseInsensitiveCompare` does with the language of that moment. Use it on the
/// thread that made it (collators are kept per thread), and make a new one for each sort so that
/// a change of language is seen. Logs nothing.
class LocalizedOrder {
public:
    LocalizedOrder();

    /// Negative when `a` orders first, 0 when the collation finds them equal, positive when `b`
    /// orders first.
    int compare(std::string_view a, std::string_view b) const;
    /// Whether `a` orders strictly before `b` (a strict weak order, for `std::sort`).
    bool operator()(std::string_view a, std::string_view b) const { return compare(a, b) < 0; }

private:
    /// The thread's collator for the language (an `icu::Collator`, kept out of this header); null
    /// when ICU could not make one.
    const void* collator_ = nullptr;
};

} // namespace platform::Text
