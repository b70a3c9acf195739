#pragma once

#include "console/ProgramHost.hpp"
#include "support/ConsoleScriptTest.hpp"

#include <string>
#include <vector>

/// Runs whole console scripts that launch the real program, with its resources and English texts;
/// the program host is reset after each test.
class ProgramScriptTest : public ConsoleScriptTest {
protected:
    void restoreFixture() override {
        ConsoleScriptTest::restoreFixture();
        useProgramTextsInEnglish();
    }
    void TearDown() override {
        tilmora::ProgramHost::shared().reset();
        ConsoleScriptTest::TearDown();
    }
    /// Everything the program printed since it was launched (its newest part in a long run).
    static std::string programLog() { return tilmora::ProgramHost::shared().output(); }
};
