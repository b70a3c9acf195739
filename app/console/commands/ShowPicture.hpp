#pragma once

namespace tilmora {

class CommandArgs;
class ConsoleSession;

/// show picture FILE.png [display N] [scale S]
///
/// Writes a PNG picture of the simulated desktop (the simulator's screen capture): every display,
/// or only display N (its window-server number), at S pixels per point (1 by default,
/// 0.25...4), and prints "picture FILE.png W x H" with the picture's size in pixels. Fails (exit
/// status 2, nothing written) for a folder that does not exist, a scale out of range, an unknown
/// display or a picture over 16384 pixels on a side. Main thread.
void showPicture(ConsoleSession& session, const CommandArgs& args);

} // namespace tilmora
