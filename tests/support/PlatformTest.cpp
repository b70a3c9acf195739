#include "support/PlatformTest.hpp"

#include "platform/control/BundleControl.hpp"
#include "platform/control/LocaleControl.hpp"
#include "platform/control/SharedInstances.hpp"
#include "platform/dispatch/DispatchQueue.hpp"
#include "platform/dispatch/Runtime.hpp"
#include "platform/foundation/Error.hpp"

#include <string>
#include <vector>

std::filesystem::path programResources() {
    return TILMORA_RESOURCES_DIR;
}

void PlatformTest::SetUp() {
    FoundationSandbox::SetUp();
    platform::Runtime::start(platform::Runtime::Mode::simulated);
    platform::SharedInstances::resetAll();
    restoreFixture();
}

void PlatformTest::resetSharedInstances() {
    platform::SharedInstances::resetAll();
    restoreFixture();
}

void PlatformTest::expectMainThreadOnly(const std::string& call, std::function<void()> work) {
    platform::DispatchQueue::global(platform::DispatchQoS::userInitiated).async(std::move(work));
    try {
        sim().runFor(1.0);
        ADD_FAILURE() << "the worker's call went through";
    } catch (const platform::Error& e) {
        const std::string expected = call + " must be called on the main thread";
        EXPECT_NE(std::string(e.what()).find(expected), std::string::npos) << e.what();
    }
}

void PlatformTest::TearDown() {
    // Stop every worker first, so that nothing touches a shared instance while it is reset.
    platform::Runtime::start(platform::Runtime::Mode::simulated);
    platform::SharedInstances::resetAll();
    FoundationSandbox::TearDown();
}

void RealPlatformTest::SetUp() {
    FoundationSandbox::SetUp();
    platform::Runtime::start(platform::Runtime::Mode::real);
    platform::SharedInstances::resetAll();
    restoreFixture();
}

void useProgramTextsInEnglish() {
    platform::BundleControl::setResourceDirectory(programResources());
    platform::LocaleControl::setPreferredLanguages(std::vector<std::string>{"en"});
}

std::string platformErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const platform::Error& e) {
        return e.what();
    }
    return "";
}
