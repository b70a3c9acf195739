#include "console/ProgramHost.hpp"

#include "platform/control/StandardOutputControl.hpp"
#include "platform/ui/Application.hpp"
#include "preferences/HelpPanelController.hpp"
#include "shell/ShellHooks.hpp"
#include "snapshots/PersistenceController.hpp"

namespace tilmora {

namespace {

// What the program takes from the layers above the shell.
void installShellHooks() {
    ShellHooks hooks;
    hooks.persistenceController = [] {
        // The controller is a shared instance; the shell holds it without owning it.
        return std::shared_ptr<void>(&PersistenceController::shared(), [](void*) {});
    };
    hooks.makeHelpPanel = [] { return std::make_shared<HelpPanelController>(); };
    ShellHooks::install(std::move(hooks));
}

} // namespace

ProgramHost& ProgramHost::shared() {
    static ProgramHost host;
    return host;
}

void ProgramHost::captureOutput() {
    if (capturing_) return;
    capturing_ = true;
    platform::StandardOutputControl::setCapture([this](std::string_view text) { output_ += text; });
}

void ProgramHost::launch() {
    captureOutput();
    installShellHooks();
    wrapper_ = std::make_shared<AppDelegateWrapper>();
    auto& application = platform::ui::Application::shared();
    application.setDelegate(wrapper_);
    application.setActivationPolicy(platform::ui::ActivationPolicy::accessory);
    application.activate(true);
    application.run();
}

std::shared_ptr<AppDelegate> ProgramHost::shell() const { return wrapper_ ? wrapper_->appDelegate() : nullptr; }

void ProgramHost::quit() {
    if (auto shell = this->shell()) platform::ui::Application::shared().sendAction("quitApp", shell.get(), nullptr);
}

void ProgramHost::reset() {
    if (capturing_) platform::StandardOutputControl::setCapture(nullptr);
    capturing_ = false;
    wrapper_.reset();
    output_.clear();
    outputTaken_ = 0;
    alertsShown = 0;
    ShellHooks::reset();
}

std::string ProgramHost::takeNewOutput() {
    std::string text = output_.substr(outputTaken_);
    outputTaken_ = output_.size();
    return text;
}

} // namespace tilmora
