#include "platform/desktop/SPUStandardUpdaterController.hpp"

#include "platform/internal/DesktopModel.hpp"
#include "platform/internal/DesktopState.hpp"
#include "platform/internal/DesktopTransaction.hpp"
#include "platform/internal/HostKnobs.hpp"

namespace platform {

using desktop_detail::DesktopModel;

struct SPUUpdater::State {
    SPUUpdater* updater = nullptr;
    SPUUpdaterDelegate* delegate = nullptr;
};

SPUStandardUpdaterController::SPUStandardUpdaterController(bool startingUpdater, SPUUpdaterDelegate* delegate,
                                                           void*)
    : updater_(std::make_unique<SPUUpdater>()) {
    updater_->state_ = std::make_shared<SPUUpdater::State>();
    updater_->state_->updater = updater_.get();
    updater_->state_->delegate = delegate;
    if (startingUpdater) startUpdater();
}

SPUStandardUpdaterController::~SPUStandardUpdaterController() {
    if (updater_ && updater_->state_) updater_->state_->updater = nullptr;
}

void SPUStandardUpdaterController::startUpdater() {
    {
        auto& knobs = desktop_detail::HostKnobs::shared();
        std::lock_guard hold(knobs.mutex);
        if (knobs.updaterStartError) throw Error(*knobs.updaterStartError);
    }
    updater_->started_ = true;
    auto holder = desktop_detail::currentModel();
    DesktopModel::Txn t(*holder);
    JournalEntry j;
    j.kind = JournalEntry::Kind::update;
    j.what = "startUpdater";
    holder->record(j);
}

void SPUUpdater::checkForUpdatesInBackground() {
    TXN;
    JournalEntry j;
    j.kind = JournalEntry::Kind::update;
    j.what = "checkForUpdatesInBackground";
    m.record(j);
    int outcome = m.updateOutcome;
    std::weak_ptr<State> weak = state_;
    // The callbacks run outside the desktop's lock: the delegate may call back into the desktop.
    m.after(
        m.updateCycleDuration,
        [weak, outcome](DesktopModel& model) {
            JournalEntry done;
            done.kind = JournalEntry::Kind::update;
            done.what = "didFinishUpdateCycle";
            done.result = outcome;
            model.record(done);
            model.pendingCalls.push_back([weak, outcome] {
                auto s = weak.lock();
                if (!s || !s->updater || !s->delegate) return;
                SPUUpdater& u = *s->updater;
                std::optional<Error> error;
                if (outcome == 1) {
                    s->delegate->updaterDidFindValidUpdate(u, "2.0");
                } else if (outcome == 2) {
                    error = Error("The update checker failed to start correctly.");
                    s->delegate->updaterDidAbortWithError(u, *error);
                } else {
                    s->delegate->updaterDidNotFindUpdate(u);
                }
                if (s->updater && s->delegate) s->delegate->updaterDidFinishUpdateCycle(u, error);
            });
        },
        "update cycle");
}

} // namespace platform
