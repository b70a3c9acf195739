#pragma once

#include "console/DesktopConsole.hpp"
#include "console/ProgramHost.hpp"
#include "platform/control/BundleControl.hpp"
#include "platform/control/LocaleControl.hpp"
#include "support/PlatformTest.hpp"

#include <sstream>
#include <string>
#include <vector>

/// Console scripts that launch the whole program on the simulated desktop, with its resources
/// and the English texts; the program and its captured output are forgotten after each test.
class ProgramScriptTest : public PlatformTest {
protected:
    void restoreFixture() override {
        PlatformTest::restoreFixture();
        platform::BundleControl::setResourceDirectory(programResources());
        platform::LocaleControl::setPreferredLanguages(std::vector<std::string>{"en"});
    }
    void TearDown() override {
        tilmora::ProgramHost::shared().reset();
        PlatformTest::TearDown();
    }
    /// Runs `script` in a fresh console; its transcript is in `out`.
    int run(const std::string& script) {
        out.str("");
        tilmora::DesktopConsole console(out);
        return console.runString(script);
    }
    /// Everything the program printed since it was launched.
    static const std::string& programLog() { return tilmora::ProgramHost::shared().output(); }

    std::ostringstream out;
};
