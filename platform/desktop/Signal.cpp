#include "platform/desktop/Signal.hpp"

#include "platform/internal/DesktopModel.hpp"
#include "platform/internal/DesktopState.hpp"

#include <cerrno>

namespace platform {

using desktop_detail::DesktopModel;

int kill(pid_t pid, int signal) {
    auto holder = desktop_detail::currentModel();
    DesktopModel& m = *holder;
    DesktopModel::Txn t(m);
    JournalEntry j;
    j.kind = JournalEntry::Kind::signal;
    j.pid = pid;
    j.what = std::to_string(signal);
    auto* a = pid >= 1 ? m.liveApp(pid) : nullptr;
    int result = 0;
    if (!a) {
        result = ESRCH;
    } else if (!a->spec.termination.signalsPermitted) {
        result = EPERM;
    } else if (a->isProgram) {
        result = 0;
    } else if ((signal == 15 && a->spec.termination.obeysSIGTERM) ||
               (signal == 9 && a->spec.termination.obeysSIGKILL)) {
        m.endApp(pid);
    }
    j.result = result;
    m.record(j);
    if (result != 0) {
        errno = result;
        return -1;
    }
    return 0;
}

} // namespace platform
