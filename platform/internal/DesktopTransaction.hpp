#pragma once

#include "platform/internal/DesktopModel.hpp"
#include "platform/internal/DesktopState.hpp"

/// Opens one transaction on the simulated desktop's current record store for the rest of the
/// enclosing block: declares `holder` (keeps the store alive), `m` (the store) and `txn` (holds the
/// store's recursive lock; when the outermost transaction ends, the notifications and calls it
/// queued are delivered, after the lock is released). Use as a statement: `TXN;`. Any thread.
/// Only the desktop's own sources (app-facing and control) include this header.
#define TXN                                                                                                  \
    auto holder = ::platform::desktop_detail::currentModel();                                                \
    ::platform::desktop_detail::DesktopModel& m = *holder;                                                   \
    ::platform::desktop_detail::DesktopModel::Txn txn(m)
