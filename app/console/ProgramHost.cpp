#include "console/ProgramHost.hpp"

#include "console/ToastJournal.hpp"
#include "platform/control/BundleControl.hpp"
#include "platform/control/SharedInstances.hpp"
#include "platform/control/SimDesktop.hpp"
#include "platform/control/SimScheduler.hpp"
#include "platform/control/StandardErrorControl.hpp"
#include "platform/control/StandardOutputControl.hpp"
#include "platform/foundation/Bundle.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "platform/ui/Application.hpp"
#include "editors/LayoutEditorView.hpp"
#include "editors/VeskLayoutEditorHost.hpp"
#include "preferences/PreferencesHooks.hpp"
#include "shell/EditorWindowHooks.hpp"
#include "shell/ShellHooks.hpp"

#include <algorithm>
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
    platform::StandardOutputControl::setCapture([this](std::string_view text) { append(text); });
    platform::StandardErrorControl::setCapture([this](std::string_view text) { append(text); });
}

void ProgramHost::append(std::string_view text) {
    std::lock_guard hold(outputMutex_);
    output_ += text;
    if (output_.size() <= maxKeptOutput) return;
    // Drop the oldest lines, down to half the bound so that a long run trims rarely; the newest
    // line (complete or not) is always kept whole, however long it is.
    const std::size_t lastEnd = output_.back() == '\n' ? output_.size() - 1 : output_.size();
    const std::size_t before = lastEnd == 0 ? std::string::npos : output_.rfind('\n', lastEnd - 1);
    const std::size_t newest = before == std::string::npos ? 0 : before + 1;
    std::size_t cut = newest;
    if (const auto newline = output_.find('\n', output_.size() - maxKeptOutput / 2); newline < newest)
        cut = newline + 1;
    output_.erase(0, cut);
    outputBase_ += cut;
}

void ProgramHost::startAnew() {
    ended_ = false;
    ShellHooks::reset();
    EditorWindowHooks::reset();
    // The previous instance's shared instances and platform state (application object, status
    // items, event queue, notification observers, in-memory defaults) go; the desktop stays.
    platform::SharedInstances::resetProgram();
    platform::SimDesktop::shared().startProgram();
    // The console's toast journal observes the new notification manager.
    ToastJournal::shared().observe();
}

void ProgramHost::launch() {
    if (ended_) startAnew();
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

bool ProgramHost::running() const {
    return wrapper_ && !platform::ui::Application::shared().isTerminated();
}

bool ProgramHost::terminated() const {
    return wrapper_ && platform::ui::Application::shared().isTerminated();
}

void ProgramHost::quit() {
    if (auto shell = this->shell()) platform::ui::Application::shared().sendAction("quitApp", shell.get(), nullptr);
    end();
}

void ProgramHost::end() {
    if (!wrapper_) return;
    auto& application = platform::ui::Application::shared();
    if (!application.isTerminated()) application.terminate(nullptr);
    // The program's last turn: what its termination queued on the main queue runs while its
    // objects still exist; then they go, and whatever they queued on the way out runs too.
    platform::SimScheduler::shared().drainMainQueue();
    // The one place where the program leaves at the end, whichever way it ended (the Quit item,
    // its chord, `program quit`, the console's end): its objects are released, what they queued
    // on the way out runs, and the settings they wrote reach the disk.
    wrapper_.reset();
    ended_ = true;
    platform::SimScheduler::shared().drainMainQueue();
    platform::UserDefaults::synchronizeAll();
}

void ProgramHost::reset() {
    if (capturing_) {
        platform::StandardOutputControl::setCapture(nullptr);
        platform::StandardErrorControl::setCapture(nullptr);
    }
    capturing_ = false;
    wrapper_.reset();
    ended_ = false;
    {
        std::lock_guard hold(outputMutex_);
        output_.clear();
        outputBase_ = 0;
        outputTaken_ = 0;
    }
    alertsShown = 0;
    ShellHooks::reset();
    EditorWindowHooks::reset();
}

std::string ProgramHost::output() const {
    std::lock_guard hold(outputMutex_);
    return output_;
}

std::size_t ProgramHost::outputSize() const {
    std::lock_guard hold(outputMutex_);
    return output_.size();
}

bool ProgramHost::hasOutput() const {
    std::lock_guard hold(outputMutex_);
    return outputBase_ + output_.size() > 0;
}

bool ProgramHost::outputTruncated() const {
    std::lock_guard hold(outputMutex_);
    return outputBase_ > 0;
}

std::string ProgramHost::takeNewOutput() {
    std::lock_guard hold(outputMutex_);
    const std::size_t from = outputTaken_ > outputBase_ ? outputTaken_ - outputBase_ : 0;
    std::string text = output_.substr(std::min(from, output_.size()));
    outputTaken_ = outputBase_ + output_.size();
    return text;
}

} // namespace tilmora
