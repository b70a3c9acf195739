#include "support/FoundationSandbox.hpp"

#include "platform/control/FoldersControl.hpp"
#include "platform/control/SharedInstances.hpp"
#include "platform/foundation/Date.hpp"

#include <cstdlib>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

namespace testsupport {

TemporaryFolder::TemporaryFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tilmora-test-XXXXXX").string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (::mkdtemp(name.data()) == nullptr) throw std::runtime_error("cannot create a temporary folder");
    path_ = name.data();
}

TemporaryFolder::~TemporaryFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

void FoundationSandbox::SetUp() {
    platform::FoldersControl::useRoot(root());
    platform::SharedInstances::resetAll();
    platform::Date::setNowProvider({});
}

void FoundationSandbox::TearDown() {
    platform::SharedInstances::resetAll();
    platform::Date::setNowProvider({});
    platform::FoldersControl::install(std::nullopt);
}

} // namespace testsupport
