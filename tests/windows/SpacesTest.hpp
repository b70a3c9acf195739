#pragma once

#include "platform/dispatch/DispatchQueue.hpp"
#include "windows/WindowAccessTest.hpp"

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

/// A window-access test whose laptop has `desktops` Desktops (Desktop 1 active), with helpers for
/// running a blocking call on a worker and for the log's lines.
class SpacesTest : public WindowAccessTest {
protected:
    void SetUp() override {
        WindowAccessTest::SetUp();
        for (int i = 1; i < desktops; ++i)
            desk().addSpace(1);
    }

    /// The laptop's Space ids, in Desktop order.
    std::vector<std::uint64_t> laptopSpaces() { return desk().spaces(1); }

    /// Runs `work` on a global-queue worker while the main thread turns for up to `limit` seconds
    /// of virtual time; returns its result and the seconds from the start to its end.
    template <class T>
    std::pair<T, double> onWorker(std::function<T()> work, double limit = 5.0) {
        std::optional<T> result;
        double endedAt = -1;
        const double start = sim().now();
        platform::DispatchQueue::global().async([&] {
            result = work();
            endedAt = sim().now() - start;
        });
        sim().runUntil([&] { return endedAt >= 0; }, limit);
        EXPECT_TRUE(result.has_value()) << "the worker did not finish";
        return {result.value_or(T{}), endedAt};
    }

    /// The log lines of restore sessions (the mover's own diagnostics left out).
    static std::vector<std::string> restoreLines() {
        std::vector<std::string> lines;
        for (auto& line : logLines())
            if (line.find("[RESTORE][") != std::string::npos) lines.push_back(line);
        return lines;
    }

    /// The log file's whole text.
    static std::string logText() {
        const auto path = tilmora::logFilePath();
        if (!path) return {};
        std::ifstream file(*path);
        return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }

    /// How many log lines equal `line`.
    static long countLines(const std::string& line) {
        const auto lines = logLines();
        return std::count(lines.begin(), lines.end(), line);
    }

    /// How many log lines contain `part`.
    static long countContaining(const std::string& part) {
        const auto lines = logLines();
        return std::count_if(lines.begin(), lines.end(),
                             [&](const std::string& l) { return l.find(part) != std::string::npos; });
    }

    int desktops = 4;
};
