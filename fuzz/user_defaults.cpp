// Loads fuzzed bytes as a user-defaults domain file, reads every value with every typed reader,
// stores one more value and checks that what the domain saved loads back equal to what it held.
#include "FuzzSandbox.hpp"

#include "platform/foundation/UserDefaults.hpp"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

bool same(const platform::PropertyValue& a, const platform::PropertyValue& b);

bool same(const platform::PropertyDictionary& a, const platform::PropertyDictionary& b) {
    if (a.size() != b.size()) return false;
    for (auto i = a.begin(), j = b.begin(); i != a.end(); ++i, ++j) {
        if (i->first != j->first || !same(i->second, j->second)) return false;
    }
    return true;
}

/// Equal values, a NaN equal to a NaN (a stored "nan" reads back as one).
bool same(const platform::PropertyValue& a, const platform::PropertyValue& b) {
    if (a.kind() != b.kind()) return false;
    if (const double* x = a.asDouble()) return *x == *b.asDouble() || (std::isnan(*x) && std::isnan(*b.asDouble()));
    if (const auto* x = a.asDate()) {
        const double s = x->timeIntervalSince1970, t = b.asDate()->timeIntervalSince1970;
        return s == t || (std::isnan(s) && std::isnan(t));
    }
    if (const auto* x = a.asArray()) {
        const auto& y = *b.asArray();
        if (x->size() != y.size()) return false;
        for (std::size_t i = 0; i < x->size(); ++i) {
            if (!same((*x)[i], y[i])) return false;
        }
        return true;
    }
    if (const auto* x = a.asDictionary()) return same(*x, *b.asDictionary());
    return a == b;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto& sandbox = fuzzing::FuzzSandbox::instance();
    sandbox.reset();
    const std::string domain = "com.example.fuzz";
    {
        std::ofstream file(sandbox.preferences() / platform::UserDefaults::fileNameForDomain(domain),
                           std::ios::binary);
        file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    platform::PropertyDictionary held;
    {
        platform::UserDefaults defaults(domain);
        for (const auto& [key, value] : defaults.dictionaryRepresentation()) {
            (void)defaults.boolForKey(key);
            (void)defaults.integerForKey(key);
            (void)defaults.doubleForKey(key);
            (void)defaults.stringForKey(key);
            (void)defaults.dataForKey(key);
            (void)defaults.arrayForKey(key);
            (void)defaults.dictionaryForKey(key);
        }
        // A write saves the whole domain, what came from the file included.
        defaults.set(platform::PropertyValue(std::int64_t{1}), "fuzz.marker");
        if (!defaults.synchronize()) {
            std::fprintf(stderr, "the domain did not save\n");
            std::abort();
        }
        held = defaults.dictionaryRepresentation();
    }
    platform::SharedInstances::resetAll();
    platform::UserDefaults reloaded(domain);
    if (!same(reloaded.dictionaryRepresentation(), held)) {
        std::fprintf(stderr, "the saved domain loads back different\n");
        std::abort();
    }
    return 0;
}
