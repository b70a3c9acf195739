#pragma once

namespace platform {

/// Whether the calling thread is the main thread (the thread that started the runtime; in tests
/// the test's own thread). Any thread; a couple of atomic reads.
bool isMainThread();

namespace detail {
/// Throws `platform::Error("<call> must be called on the main thread")`.
[[noreturn]] void failOffMainThread(const char* call);
} // namespace detail

/// The check at the entry of a call documented as main-thread only. In builds without NDEBUG it
/// throws `platform::Error("<call> must be called on the main thread")` when the calling thread is
/// not the main thread (on a scheduler worker the scheduler carries the error to the main thread);
/// in release builds it does nothing. `call` names the call as the caller writes it, for example
/// "Window::setFrame".
inline void requireMainThread([[maybe_unused]] const char* call) {
#ifndef NDEBUG
    if (!isMainThread()) detail::failOffMainThread(call);
#endif
}

} // namespace platform
