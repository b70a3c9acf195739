#pragma once

#include "console/CommandArgs.hpp"
#include "console/CommandError.hpp"
#include "console/CommandTable.hpp"
#include "console/ConsoleSession.hpp"
#include "console/Tokenizer.hpp"
#include "platform/foundation/Error.hpp"
#include "support/PlatformTest.hpp"

#include <memory>
#include <sstream>
#include <string>
#include <vector>

/// A console session on the built-in commands whose program counts as running, for the commands
/// that drive the program's menus and windows. The test builds the program's status item and
/// windows itself with the toolkit.
class ProgramConsoleTest : public PlatformTest {
protected:
    void SetUp() override {
        PlatformTest::SetUp();
        freshSession();
    }
    /// A new session (exit status 0) on the same desktop and program.
    void freshSession() {
        session = std::make_unique<tilmora::ConsoleSession>(out, tilmora::DesktopConsole::Clock::virtualTime,
                                                            tilmora::CommandTable::builtIn());
        session->setProgramState(tilmora::ConsoleSession::ProgramState::running);
    }
    void TearDown() override {
        session.reset();
        PlatformTest::TearDown();
    }

    /// Runs one command line; returns what it printed, or "error: " + the message it failed with.
    std::string run(const std::string& line) {
        out.str("");
        try {
            tilmora::CommandTable::builtIn().run(*session,
                                                 tilmora::CommandArgs(tilmora::Tokenizer::split(line)));
            session->settle();
        } catch (const tilmora::CommandError& e) {
            std::string text = std::string("error: ") + e.what();
            for (const auto& line : e.listed)
                text += "\n  " + line;
            return text;
        } catch (const platform::Error& e) {
            return std::string("error: ") + e.what();
        }
        return out.str();
    }

    /// A command line, the start of what it prints, and the one thing the program's side then
    /// records ("" for nothing).
    struct LineCase {
        const char* line;
        const char* output;
        const char* recorded;
    };

    /// Runs every line of `cases`, `recorded` emptied before each, and checks the rows.
    void expectLines(const std::vector<LineCase>& cases, std::vector<std::string>& recorded) {
        for (const auto& c : cases) {
            recorded.clear();
            const std::string text = run(c.line);
            EXPECT_EQ(text.substr(0, std::string(c.output).size()), c.output) << c.line;
            const std::vector<std::string> expected =
                *c.recorded ? std::vector<std::string>{c.recorded} : std::vector<std::string>{};
            EXPECT_EQ(recorded, expected) << c.line;
        }
    }

    std::ostringstream out;
    std::unique_ptr<tilmora::ConsoleSession> session;
};
