#pragma once

#include "console/DesktopConsole.hpp"
#include "console/ProgramHost.hpp"
#include "platform/control/BundleControl.hpp"
#include "platform/control/LocaleControl.hpp"
#include "support/PlatformTest.hpp"

#include <sstream>
#include <string>
#include <vector>

/// Runs whole console scripts that launch the real program, with its resources and English texts;
/// the program host is reset after each test.
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
    /// Runs `script` in a console of its own (which ends with it); returns the exit status. The
    /// transcript is in `out`.
    int run(const std::string& script) {
        out.str("");
        tilmora::DesktopConsole console(out);
        return console.runString(script);
    }
    /// Everything the program printed since it was launched (its newest part in a long run).
    static const std::string& programLog() { return tilmora::ProgramHost::shared().output(); }

    std::ostringstream out;
};
