#pragma once

#include <functional>
#include <memory>

namespace platform::ui::declarative {

/// A two-way reference to a value somewhere else: a getter and a setter.
template <class T>
class Binding {
public:
    Binding() = default;
    Binding(std::function<T()> get, std::function<void(const T&)> set)
        : get_(std::move(get))
        , set_(std::move(set)) {}
    /// A binding to a fixed value; setting it changes nothing.
    static Binding constant(T value) {
        return Binding([value] { return value; }, [](const T&) {});
    }
    T get() const { return get_ ? get_() : T{}; }
    void set(const T& v) const {
        if (set_) set_(v);
    }
    explicit operator bool() const { return static_cast<bool>(get_); }

private:
    std::function<T()> get_;
    std::function<void(const T&)> set_;
};

} // namespace platform::ui::declarative
