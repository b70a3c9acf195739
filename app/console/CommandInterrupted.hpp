#pragma once

namespace tilmora {

/// Thrown out of a command that a signal stopped while it let time pass (`SessionSignals`): an
/// interrupt (Ctrl-C on a terminal) or a signal that ends the session. Not a `std::exception`, so
/// no handler of a command's failures mistakes it for one; the console catches it where it runs
/// the command.
struct CommandInterrupted {};

} // namespace tilmora
