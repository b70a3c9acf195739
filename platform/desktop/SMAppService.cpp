#include "platform/desktop/SMAppService.hpp"

#include "platform/desktop/DesktopModel.hpp"
#include "platform/desktop/SimDesktop.hpp"
#include "platform/foundation/Error.hpp"

namespace platform {

using desktop_detail::DesktopModel;

SMAppService& SMAppService::mainApp() {
    static SMAppService service;
    return service;
}

SMAppService::Status SMAppService::status() const {
    auto holder = SimDesktop::shared().model();
    DesktopModel::Txn t(*holder);
    return Status(holder->loginItemStatus);
}

void SMAppService::registerService() {
    auto holder = SimDesktop::shared().model();
    DesktopModel& m = *holder;
    std::optional<std::string> error;
    {
        DesktopModel::Txn t(m);
        JournalEntry j;
        j.kind = JournalEntry::Kind::loginItem;
        j.what = "register";
        error = m.loginItemRegisterError;
        if (!error) m.loginItemStatus = m.loginItemStatusAfterRegister;
        j.result = error ? -1 : 0;
        j.detail = error.value_or("");
        m.record(j);
    }
    if (error) throw Error(*error);
}

void SMAppService::unregister() {
    auto holder = SimDesktop::shared().model();
    DesktopModel& m = *holder;
    std::optional<std::string> error;
    {
        DesktopModel::Txn t(m);
        JournalEntry j;
        j.kind = JournalEntry::Kind::loginItem;
        j.what = "unregister";
        error = m.loginItemUnregisterError;
        if (!error) m.loginItemStatus = int(Status::notRegistered);
        j.result = error ? -1 : 0;
        j.detail = error.value_or("");
        m.record(j);
    }
    if (error) throw Error(*error);
}

} // namespace platform
