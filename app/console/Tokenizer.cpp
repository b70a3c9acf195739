#include "console/Tokenizer.hpp"

#include "console/CommandError.hpp"

namespace tilmora {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

} // namespace

std::optional<std::string> Tokenizer::commandText(const std::string& rawLine) {
    std::string line = rawLine;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const auto first = line.find_first_not_of(" \t");
    if (first == std::string::npos || line[first] == '#') return std::nullopt;
    return line.substr(first, line.find_last_not_of(" \t") - first + 1);
}

std::vector<Token> Tokenizer::split(const std::string& line) {
    std::vector<Token> tokens;
    std::size_t i = 0;
    while (i < line.size()) {
        if (isBlank(line[i])) {
            ++i;
            continue;
        }
        Token t;
        if (line[i] == '"') {
            t.quoted = true;
            ++i;
            bool closed = false;
            while (i < line.size()) {
                const char c = line[i++];
                if (c == '\\' && i < line.size()) {
                    t.text += line[i++];
                } else if (c == '"') {
                    closed = true;
                    break;
                } else {
                    t.text += c;
                }
            }
            if (!closed) throw CommandError("unterminated quotation");
        } else {
            while (i < line.size() && !isBlank(line[i]))
                t.text += line[i++];
        }
        tokens.push_back(std::move(t));
    }
    return tokens;
}

} // namespace tilmora
