#pragma once

#include <functional>

namespace platform {

/// The registry of resetters of shared instances (`X::shared()`), so that a test fixture can put
/// every one of them back to its first-use state between tests. Each layer registers its shared
/// instances once, typically from the first call of `shared()`:
///
///     static const bool registered = (SharedInstances::registerReset([] { resetShared(); }), true);
///
/// Resetters run on the main thread, with every worker stopped, newest registration first.
class SharedInstances {
public:
    static void registerReset(std::function<void()> reset);
    static void resetAll();
};

} // namespace platform
