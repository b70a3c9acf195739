#include "platform/desktop/SMAppService.hpp"

#include "platform/internal/DesktopModel.hpp"
#include "platform/internal/DesktopState.hpp"
#include "platform/foundation/Error.hpp"

namespace platform {

using desktop_detail::DesktopModel;

SMAppService& SMAppService::mainApp() {
    static SMAppService service;
    return service;
}

SMAppService::Status SMAppService::status() const {
    auto holder = desktop_detail::currentModel();
    DesktopModel::Txn t(*holder);
    return Status(holder->loginItemStatus);
}

namespace {

/// Runs one register or unregister: journals it, and on success sets the status the simulator
/// gives; throws the configured error otherwise.
void changeRegistration(const char* what, std::optional<std::string> DesktopModel::*errorField,
                        int (*statusOnSuccess)(const DesktopModel&)) {
    auto holder = desktop_detail::currentModel();
    DesktopModel& m = *holder;
    std::optional<std::string> error;
    {
        DesktopModel::Txn t(m);
        JournalEntry j;
        j.kind = JournalEntry::Kind::loginItem;
        j.what = what;
        error = m.*errorField;
        if (!error) m.loginItemStatus = statusOnSuccess(m);
        j.result = error ? -1 : 0;
        j.detail = error.value_or("");
        m.record(j);
    }
    if (error) throw Error(*error);
}

} // namespace

void SMAppService::registerService() {
    changeRegistration("register", &DesktopModel::loginItemRegisterError,
                       [](const DesktopModel& m) { return m.loginItemStatusAfterRegister; });
}

void SMAppService::unregister() {
    changeRegistration("unregister", &DesktopModel::loginItemUnregisterError,
                       [](const DesktopModel&) { return int(SMAppService::Status::notRegistered); });
}

} // namespace platform
