#include "platform/desktop/Process.hpp"

#include "platform/internal/DesktopModel.hpp"
#include "platform/internal/DesktopState.hpp"
#include "platform/internal/DesktopTransaction.hpp"
#include "platform/foundation/Error.hpp"
#include "platform/foundation/FileSystem.hpp"
#include "platform/foundation/PropertyListSerialization.hpp"
#include "platform/desktop/UserIdentity.hpp"

namespace platform {

using desktop_detail::AppState;
using desktop_detail::DesktopModel;

namespace {

std::string labelOfPlist(const std::string& path) {
    std::string name =
        path.substr(path.find_last_of('/') == std::string::npos ? 0 : path.find_last_of('/') + 1);
    const std::string ext = ".plist";
    if (name.size() > ext.size() && name.compare(name.size() - ext.size(), ext.size(), ext) == 0)
        name.resize(name.size() - ext.size());
    return name;
}

void runOpen(DesktopModel& m, const std::vector<std::string>& args, int& status, std::string& err) {
    bool newInstance = false;
    std::optional<std::string> bundle, app;
    std::vector<std::string> targets;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "-n")
            newInstance = true;
        else if (args[i] == "-b" && i + 1 < args.size())
            bundle = args[++i];
        else if (args[i] == "-a" && i + 1 < args.size())
            app = args[++i];
        else
            targets.push_back(args[i]);
    }
    std::optional<std::string> id;
    if (bundle) {
        if (!m.installed.count(*bundle)) {
            status = 1;
            err = "Unable to find application with identifier " + *bundle + "\n";
            return;
        }
        id = *bundle;
    } else if (app) {
        for (const auto& [key, spec] : m.installed)
            if (spec.bundlePath == *app || spec.localizedName == *app) id = key;
        if (!id) {
            status = 1;
            err = "Unable to find application named '" + *app + "'\n";
            return;
        }
    } else {
        for (const auto& t : targets) {
            std::string path = t.rfind("file://", 0) == 0 ? t.substr(7) : t;
            bool found = false;
            for (const auto& [key, spec] : m.installed)
                if (spec.bundlePath == path) {
                    id = key;
                    found = true;
                }
            if (!found) {
                JournalEntry j;
                j.kind = JournalEntry::Kind::open;
                j.what = t;
                m.record(j);
            }
        }
        if (!id) return;
    }
    if (!newInstance) {
        for (const auto& [pid, a] : m.apps) {
            if (a.state != AppState::terminated && a.spec.bundleIdentifier == *id) {
                if (a.state == AppState::running) m.makeFrontmost(pid, true);
                return;
            }
        }
    }
    m.startInstance(*id, true, false);
}

void runLaunchctl(DesktopModel& m, const std::vector<std::string>& args, int& status, std::string& out,
                  std::string& err) {
    std::string sub = args.empty() ? "" : args[0];
    auto queued = m.launchctlResults.find(sub);
    if (queued != m.launchctlResults.end() && !queued->second.empty()) {
        auto r = queued->second.front();
        queued->second.pop_front();
        status = r.status;
        out = r.out;
        err = r.err;
        // A queued success still changes the table as the real tool would.
        if (status != 0) return;
        if (sub == "bootstrap" && args.size() >= 3)
            m.launchctlLoaded.insert(args[1] + "/" + labelOfPlist(args[2]));
        if (sub == "bootout" && args.size() >= 3)
            m.launchctlLoaded.erase(args[1] + "/" + labelOfPlist(args[2]));
        return;
    }
    if ((sub == "bootstrap" || sub == "bootout") && args.size() >= 3) {
        std::string target = args[1] + "/" + labelOfPlist(args[2]);
        bool loaded = m.launchctlLoaded.count(target) != 0;
        if (sub == "bootstrap") {
            // The tool reads the property list before it looks at the domain.
            std::optional<PropertyValue> plist;
            try {
                plist = PropertyListSerialization::propertyListFromData(FileSystem::readRegularFile(args[2], FileSystem::maxWholeFileBytes));
            } catch (const Error&) {
                if (!FileSystem::fileExists(args[2])) {
                    status = 2;
                    err = "Bootstrap failed: 2: No such file or directory\n";
                    return;
                }
            }
            const PropertyValue* label = nullptr;
            if (plist && plist->asDictionary()) {
                auto found = plist->asDictionary()->find("Label");
                if (found != plist->asDictionary()->end()) label = &found->second;
            }
            if (!label || !label->asString() || *label->asString() != labelOfPlist(args[2])) {
                status = 5;
                err = "Bootstrap failed: 5: Input/output error\n";
                return;
            }
            if (args[1] != "gui/" + std::to_string(UserIdentity::getuid())) {
                status = 125;
                err = "Bootstrap failed: 125: Domain does not support specified action\n";
                return;
            }
            if (loaded) {
                status = 5;
                err = "Bootstrap failed: 5: Input/output error\nService already loaded\n";
                return;
            }
            m.launchctlLoaded.insert(target);
        } else {
            if (!loaded) {
                status = 3;
                err = "Boot-out failed: 3: No such process\n";
                return;
            }
            m.launchctlLoaded.erase(target);
        }
        return;
    }
    if (sub == "enable" && args.size() >= 2) return;
    if (sub == "print" && args.size() >= 2) {
        if (m.launchctlLoaded.count(args[1])) {
            out = args[1] + " = {\n\tactive count = 0\n\tstate = not running\n}\n";
        } else {
            status = 113;
            std::string label = args[1].substr(args[1].find_last_of('/') + 1);
            err = "Could not find service \"" + label + "\" in domain for port\n";
        }
        return;
    }
    status = 64;
    err = "Usage: launchctl <subcommand> ... | help [subcommand]\n";
}

} // namespace

void Process::run() {
    TXN;
    JournalEntry j;
    j.kind = JournalEntry::Kind::process;
    j.argv.push_back(executablePath);
    j.argv.insert(j.argv.end(), arguments.begin(), arguments.end());
    j.what = executablePath;
    bool known = executablePath == "/usr/bin/open" || executablePath == "/bin/launchctl";
    if (!known || m.missingExecutables.count(executablePath)) {
        j.result = -1;
        j.detail = "not started";
        m.record(j);
        throw Error("The file \xE2\x80\x9C" + executablePath + "\xE2\x80\x9D doesn\xE2\x80\x99t exist.");
    }
    status_ = 0;
    out_.clear();
    err_.clear();
    if (executablePath == "/usr/bin/open")
        runOpen(m, arguments, status_, err_);
    else
        runLaunchctl(m, arguments, status_, out_, err_);
    j.result = status_;
    j.detail = err_;
    m.record(j);
}

} // namespace platform
