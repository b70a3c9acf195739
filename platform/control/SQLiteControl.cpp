#include "platform/control/SQLiteControl.hpp"

#include "platform/internal/SQLiteBusyWaitEnd.hpp"
#include "platform/internal/SQLiteFaults.hpp"

namespace platform {

void SQLiteControl::failNextOpen() {
    sqlite_detail::faults().failNextOpen = true;
}

void SQLiteControl::failNextCommit() {
    sqlite_detail::faults().failNextCommit = true;
}

void SQLiteControl::abandonBusyWaitsWhen(bool (*ended)()) {
    sqlite_detail::busyWaitEnd().store(ended);
}

} // namespace platform
