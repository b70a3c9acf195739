#pragma once

#include "model/Log.hpp"

#include <algorithm>
#include <cstddef>
#include <fstream>
#include <string>
#include <vector>

namespace testsupport {

/// A fixture's view of the program's log file: every line so far, and the lines printed since the
/// fixture last looked. Mixed into fixtures that check log lines.
class LogReading {
protected:
    /// Every line printed so far, the time stamp of "[HH:mm:ss.SSS] " lines shown as "[...]".
    static std::vector<std::string> lines() {
        std::vector<std::string> result;
        const auto path = tilmora::logFilePath();
        if (!path) return result;
        std::ifstream file(*path);
        std::string line;
        while (std::getline(file, line)) {
            // "[HH:mm:ss.SSS] " is 15 characters.
            if (line.size() > 15 && line[0] == '[' && line[3] == ':' && line[13] == ']')
                line = "[...]" + line.substr(14);
            result.push_back(line);
        }
        return result;
    }

    /// The lines printed since the last call (or since `skipPrintedLines`).
    std::vector<std::string> newLines() {
        auto all = lines();
        std::vector<std::string> fresh(all.begin() + static_cast<std::ptrdiff_t>(std::min(seen, all.size())),
                                       all.end());
        seen = all.size();
        return fresh;
    }

    /// Counts what was printed so far as seen.
    void skipPrintedLines() { seen = lines().size(); }

    /// How many of `among` contain `text`.
    static std::size_t countContaining(const std::vector<std::string>& among, const std::string& text) {
        return static_cast<std::size_t>(
            std::count_if(among.begin(), among.end(),
                          [&](const std::string& line) { return line.find(text) != std::string::npos; }));
    }

    std::size_t seen = 0;
};

} // namespace testsupport
