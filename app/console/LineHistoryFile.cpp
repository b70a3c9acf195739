#include "console/LineHistoryFile.hpp"

#include "console/ConsoleText.hpp"
#include "platform/foundation/Error.hpp"
#include "platform/foundation/FileSystem.hpp"

namespace tilmora {

using platform::FileSystem::PathCheck;

namespace {

/// What keeps `check` from being the history, as a sentence's end; empty when nothing does.
std::string refusal(const PathCheck& check) {
    switch (check.kind) {
    case PathCheck::Kind::nothing:
    case PathCheck::Kind::regularFile:
        return {};
    case PathCheck::Kind::folder:
        return "is a folder";
    case PathCheck::Kind::notRegular:
        return "is not a regular file (a link, a pipe or a device)";
    case PathCheck::Kind::tooLarge:
        return "is larger than " + std::to_string(LineHistoryFile::maxBytes) + " bytes";
    case PathCheck::Kind::unknown:
        break;
    }
    return "cannot be examined: " + check.reason;
}

} // namespace

std::optional<std::string> LineHistoryFile::read(std::string& problem) const {
    const auto check = platform::FileSystem::checkOwnedPath(path_, false, maxBytes);
    if (problem = refusal(check); !problem.empty()) return std::nullopt;
    if (check.kind == PathCheck::Kind::nothing) return std::string();
    std::string text;
    try {
        text = platform::FileSystem::readRegularFile(path_, maxBytes);
    } catch (const platform::Error& e) {
        problem = "cannot be read: " + ConsoleText::fileProblem(e.what());
        return std::nullopt;
    }
    if (!text.empty() && !text.starts_with(header)) {
        problem = std::string("does not start with libedit's history line ") + header;
        return std::nullopt;
    }
    return text;
}

bool LineHistoryFile::write(const std::string& text, std::string& problem) const {
    // Only a history (or nothing) is replaced.
    if (!read(problem)) return false;
    try {
        platform::FileSystem::writeAtomically(path_, text);
    } catch (const platform::Error& e) {
        problem = "cannot be written: " + ConsoleText::fileProblem(e.what());
        return false;
    }
    return true;
}

} // namespace tilmora
