#include "console/ProgramHost.hpp"

#include "platform/control/BundleControl.hpp"
#include "platform/control/StandardOutputControl.hpp"
#include "platform/foundation/Bundle.hpp"
#include "platform/ui/Application.hpp"
#include "editors/LayoutEditorView.hpp"
#include "editors/VeskLayoutEditorHost.hpp"
#include "preferences/PreferencesHooks.hpp"
#include "shell/EditorWindowHooks.hpp"
#include "shell/ShellHooks.hpp"
#include "snapshots/SnapshotShellHooks.hpp"

namespace tilmora {

namespace {

// What the program takes from the layers above the shell: the snapshot store, service and manager
// window, the preferences and help panel, the two editors, and the display descriptors and
// baseline grouping of the snapshot layer.
void installShellHooks() {
    ShellHooks hooks;
    SnapshotShellHooks::install(hooks);
    PreferencesHooks::install(hooks);
    ShellHooks::install(std::move(hooks));

    EditorWindowHooks editors;
    SnapshotShellHooks::install(editors);
    editors.presetEditor = &VeskLayoutEditorHost::controllerForRequest;
    editors.layoutEditor = &LayoutEditorView::controllerForRequest;
    EditorWindowHooks::install(std::move(editors));
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
    // The program's own bundle: the identifier the desktop knows it by and its display name.
    if (!platform::Bundle::main().bundleIdentifier())
        platform::BundleControl::setBundleIdentifier(std::string("com.quorvane.Tilmora"));
    if (!platform::Bundle::main().infoDictionary())
        platform::BundleControl::setInfoDictionary(platform::PropertyDictionary{{"CFBundleName", "Tilmora"}});
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
    EditorWindowHooks::reset();
}

std::string ProgramHost::takeNewOutput() {
    std::string text = output_.substr(outputTaken_);
    outputTaken_ = output_.size();
    return text;
}

} // namespace tilmora
