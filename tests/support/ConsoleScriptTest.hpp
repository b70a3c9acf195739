#pragma once

#include "console/DesktopConsole.hpp"
#include "support/PlatformTest.hpp"

#include <sstream>
#include <string>

/// Runs whole desktop-console scripts, each in a console of its own.
class ConsoleScriptTest : public PlatformTest {
protected:
    /// Runs `script` in a fresh console (which ends with it); returns the exit status. The
    /// transcript is in `out`.
    int run(const std::string& script) {
        out.str("");
        tilmora::DesktopConsole console(out);
        return console.runString(script);
    }
    std::string transcript() const { return out.str(); }

    std::ostringstream out;
};
