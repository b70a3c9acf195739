#include "shell/AppDelegate.hpp"

namespace tilmora {

void AppDelegate::applicationDidFinishLaunching() {}
void AppDelegate::applicationWillTerminate() {}
void AppDelegate::updaterDidNotFindUpdate(platform::SPUUpdater&) {}
void AppDelegate::updaterDidAbortWithError(platform::SPUUpdater&, const platform::Error&) {}
void AppDelegate::updaterDidFindValidUpdate(platform::SPUUpdater&, const std::string&) {}
void AppDelegate::updaterDidFinishUpdateCycle(platform::SPUUpdater&, const std::optional<platform::Error>&) {}

} // namespace tilmora
