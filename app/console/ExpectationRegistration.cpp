#include "console/ExpectationRegistration.hpp"

#include <cstdio>
#include <cstdlib>
#include <map>

namespace tilmora {

namespace {

/// Filled while the program loads, only read afterwards.
std::map<std::string, ExpectationRegistration::Handler>& checks() {
    static auto* table = new std::map<std::string, ExpectationRegistration::Handler>();
    return *table;
}

} // namespace

ExpectationRegistration::ExpectationRegistration(std::vector<std::pair<std::string, Handler>> list) {
    for (auto& [word, handler] : list) {
        if (word.empty() || !handler || !checks().emplace(word, std::move(handler)).second) {
            std::fprintf(stderr, "tilmora: the expectation \"%s\" cannot be registered\n", word.c_str());
            std::abort();
        }
    }
}

const ExpectationRegistration::Handler* ExpectationRegistration::find(const std::string& word) {
    const auto it = checks().find(word);
    return it == checks().end() ? nullptr : &it->second;
}

std::vector<std::string> ExpectationRegistration::words() {
    std::vector<std::string> out;
    for (const auto& [word, handler] : checks())
        out.push_back(word);
    return out;
}

} // namespace tilmora
