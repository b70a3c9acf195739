#include "windows/SpaceMoveRetry.hpp"

#include "platform/dispatch/Thread.hpp"

#include <optional>

namespace tilmora::WindowManager {

namespace {

constexpr int kMoveAttempts = 12;
constexpr double kRetryPause = 0.150;        // seconds
constexpr double kOtherVariantPause = 0.120; // seconds

std::string spaceText(const std::optional<std::uint64_t>& space) {
    return space ? std::to_string(*space) : std::string("-1");
}

} // namespace

bool attemptSpaceMoveWithRetry(std::uint32_t cgWindowID, std::uint64_t targetSpaceID,
                               const std::string& context, RestoreLogSession& session, SpacesMover& mover) {
    const std::string window = std::to_string(cgWindowID);
    const std::string target = std::to_string(targetSpaceID);
    std::optional<std::int32_t> rc;

    for (int attempt = 1; attempt <= kMoveAttempts; ++attempt) {
        if (mover.moveFn) {
            rc =
                mover.moveFn(mover.connection, SpacesMover::makeCFNumberArray64({cgWindowID}), targetSpaceID);
            if (*rc == 0) {
                const auto after = mover.primarySpaceID(cgWindowID);
                session.logOnce("skyMoveOK_" + window + "_" + target,
                                "Spaces(SkyLight) move OK: windowID=" + window + " => Space " + target +
                                    " (after=" + spaceText(after) + ") attempt=" + std::to_string(attempt) +
                                    " " + context,
                                "SPACE");
                if (after && *after != targetSpaceID)
                    session.logOnce(
                        "skyMoveMismatch_" + window + "_" + target + "_" + std::to_string(*after),
                        "Spaces(SkyLight) move returned OK but verification mismatch: windowID=" + window +
                            " target=" + target + " after=" + std::to_string(*after) + " " + context,
                        "WARN");
                return true;
            }
            if (*rc == platform::kSkyLightMoveTryOtherVariant && mover.cgsVoidMoveFn &&
                mover.connection != 0) {
                mover.cgsVoidMoveFn(mover.connection, SpacesMover::makeCFNumberArray64({cgWindowID}),
                                    targetSpaceID);
                platform::Thread::sleep(kOtherVariantPause);
                const auto after = mover.primarySpaceID(cgWindowID);
                if (after == targetSpaceID) {
                    session.logOnce("cgsMoveOK_" + window + "_" + target,
                                    "Spaces(CGS) move OK: windowID=" + window + " => Space " + target +
                                        " (after=" + spaceText(after) +
                                        ") attempt=" + std::to_string(attempt) + " " + context,
                                    "SPACE");
                    return true;
                }
            }
        }
        platform::Thread::sleep(kRetryPause);
    }

    std::string activeSpace = "-1";
    if (mover.getActiveSpaceFn && mover.connection != 0) {
        const auto active = mover.getActiveSpaceFn(mover.connection);
        if (active != 0) activeSpace = std::to_string(active);
    }
    const auto after = mover.primarySpaceID(cgWindowID);
    session.logOnce("skyMoveFinalFail_" + window + "_" + target,
                    "Spaces(SkyLight) move FAILED after retries: windowID=" + window +
                        " targetSpace=" + target + " rc=" + (rc ? std::to_string(*rc) : std::string("nil")) +
                        " attempts=" + std::to_string(kMoveAttempts) + " activeSpace=" + activeSpace +
                        " after=" + spaceText(after) + " " + context,
                    "WARN");
    return false;
}

} // namespace tilmora::WindowManager
