#pragma once

#include "support/DesktopTest.hpp"

#include "model/Log.hpp"
#include "platform/control/BundleControl.hpp"
#include "platform/control/LocaleControl.hpp"
#include "platform/control/SimDesktop.hpp"
#include "platform/control/StandardOutputControl.hpp"
#include "platform/control/UISimulator.hpp"
#include "platform/foundation/FileSystem.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "platform/ui/Application.hpp"
#include "shell/AppDelegate.hpp"
#include "shell/ShellHooks.hpp"

#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

/// The simulated desktop with the program's English string tables, the program's standard output
/// captured, and a shell made through its application delegate (installed as the application's
/// delegate, as the entry does).
class ShellTest : public DesktopTest {
protected:
    void SetUp() override {
        DesktopTest::SetUp();
        platform::StandardOutputControl::setCapture([this](std::string_view text) { output += text; });
    }
    void TearDown() override {
        wrapper.reset();
        tilmora::ShellHooks::reset();
        platform::StandardOutputControl::setCapture(nullptr);
        DesktopTest::TearDown();
    }
    void restoreFixture() override {
        DesktopTest::restoreFixture();
        useProgramTextsInEnglish();
    }

    /// Creates the application delegate (and so the shell) and makes it the application's.
    tilmora::AppDelegate& makeShell() {
        wrapper = std::make_shared<tilmora::AppDelegateWrapper>();
        platform::ui::Application::shared().setDelegate(wrapper);
        return *wrapper->appDelegate();
    }
    tilmora::AppDelegate& shell() { return *wrapper->appDelegate(); }

    platform::UserDefaults& defaults() { return platform::UserDefaults::standard(); }

    /// Every line the program wrote to its standard output so far.
    std::vector<std::string> outputLines() const {
        std::vector<std::string> lines;
        std::istringstream text(output);
        for (std::string line; std::getline(text, line);)
            lines.push_back(line);
        return lines;
    }
    bool printed(const std::string& text) const { return output.find(text) != std::string::npos; }
    /// The URLs the program opened.
    std::vector<std::string> openedURLs() {
        std::vector<std::string> urls;
        for (const auto& entry : desk().journal(platform::JournalEntry::Kind::open))
            urls.push_back(entry.what);
        return urls;
    }

    std::string output;
    std::shared_ptr<tilmora::AppDelegateWrapper> wrapper;
};
