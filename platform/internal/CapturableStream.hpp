#pragma once

#include <cstdio>
#include <functional>
#include <mutex>
#include <string_view>

namespace platform {

/// A stream of the process (standard output or standard error) whose writes the simulator may route
/// to a capture instead: the one body behind `StandardOutput` and `StandardError` and their
/// controls. Any thread; writes and capture changes are serialized, and the capture is called with
/// the lock held.
class CapturableStream {
public:
    using Capture = std::function<void(std::string_view)>;

    /// The process's standard output and standard error; never destroyed, as writes may come
    /// during exit.
    static CapturableStream& standardOutput();
    static CapturableStream& standardError();

    /// A stream that writes to `file` until a capture is set.
    explicit CapturableStream(std::FILE* file)
        : file_(file) {}

    /// Hands `text` as it is (no newline added) to the capture, or writes it to the file and flushes.
    void write(std::string_view text);
    /// Routes every later write to `capture`; an empty function restores the file.
    void setCapture(Capture capture);

private:
    std::FILE* file_;
    std::mutex mutex_;
    Capture capture_;
};

} // namespace platform
