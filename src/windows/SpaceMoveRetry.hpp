#pragma once

#include "windows/RestoreLogSession.hpp"
#include "windows/SpacesMover.hpp"

#include <cstdint>
#include <string>

namespace tilmora::WindowManager {

/// The restore's move of one window to its Space through `mover` (the shared one by default), up to
/// 12 attempts numbered from 1. Each attempt calls the framework's move function with the window
/// number as a 64-bit number: result 0 succeeds; result `kSkyLightMoveTryOtherVariant` also tries
/// the older move (when bound and the connection is non-zero), pauses 120 ms and succeeds when the
/// window's Space now reads as the target; every other outcome pauses 150 ms (also after that
/// check fails, so such an attempt takes 270 ms). Without a move function every attempt only pauses.
///
/// Lines go to `session` once per restore and key (window and target): "SPACE" "Spaces(SkyLight)
/// move OK: ..." or "Spaces(CGS) move OK: ...", "WARN" "Spaces(SkyLight) move returned OK but
/// verification mismatch: ..." when the window reads on another Space afterwards, and "WARN"
/// "Spaces(SkyLight) move FAILED after retries: ..." with the last result ("nil" without a move
/// function), the active Space (-1 when unknown) and the window's Space afterwards (-1 when none).
/// `context` ends every line. Blocks the calling thread (virtual clock); meant for the restore's
/// worker threads, where the Space reads hop to the main thread.
bool attemptSpaceMoveWithRetry(std::uint32_t cgWindowID, std::uint64_t targetSpaceID,
                               const std::string& context, RestoreLogSession& session,
                               SpacesMover& mover = spacesMover());

} // namespace tilmora::WindowManager
