#pragma once

namespace platform {

/// Quality of service of a global queue. All global queues share one pool of workers; the class
/// only labels the queue.
enum class DispatchQoS { background, utility, defaultQoS, userInitiated, userInteractive };

} // namespace platform
