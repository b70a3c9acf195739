#pragma once

#include "platform/internal/DesktopState.hpp"
#include "platform/internal/DesktopModel.hpp"

/// Opens one transaction on the shared simulated desktop for the rest of the enclosing block:
/// declares `holder` (keeps the model alive), `m` (the model) and `txn` (holds the model's
/// recursive lock; when the outermost transaction ends, the notifications and calls it queued are
/// delivered, after the lock is released). Use as a statement: `TXN;`. Any thread. Only the
/// desktop's own sources include this header.
#define TXN                                                                                                  \
    auto holder = ::platform::desktop_detail::currentModel();                                                \
    ::platform::desktop_detail::DesktopModel& m = *holder;                                                   \
    ::platform::desktop_detail::DesktopModel::Txn txn(m)
