#include <benchmark/benchmark.h>

#include "BenchSandbox.hpp"

#include "platform/control/SimScheduler.hpp"
#include "platform/foundation/FileSystem.hpp"
#include "platform/foundation/Folders.hpp"
#include "platform/foundation/UserDefaults.hpp"

#include <string>

namespace {

// One `defaults write` (a text under a new or changed key) in a domain of 180,000 keys, followed by
// a 10 ms turn of the run loop on the virtual clock, so that every 100 writes include the one
// deferred save of that second. Target: 1 ms per write on average.
void BM_DefaultsWriteIn180000Keys(benchmark::State& state) {
    benchsupport::simulatedSandbox("tilmora-bench-user-defaults");
    // The domain's file, written once as the program would have saved it, before its first use.
    const auto file = platform::Folders::preferences() /
                      platform::UserDefaults::fileNameForDomain(platform::UserDefaults::standardDomainName);
    std::string text = "{\n";
    for (int i = 0; i < 180000; ++i) {
        if (i > 0) text += ",\n";
        text += "  \"WMSetting" + std::to_string(i) + "\": {\n    \"string\": \"value " + std::to_string(i) + "\"\n  }";
    }
    text += "\n}\n";
    platform::FileSystem::createDirectories(platform::Folders::preferences());
    platform::FileSystem::writeAtomically(file, text);
    auto& defaults = platform::UserDefaults::standard();
    if (defaults.stringForKey("WMSetting179999") != "value 179999") state.SkipWithError("the domain did not load");
    auto& scheduler = platform::SimScheduler::shared();
    long round = 0;
    for (auto _ : state) {
        defaults.set(std::string("value ") + std::to_string(round), "WMBenchKey" + std::to_string(round % 100));
        ++round;
        scheduler.runFor(0.01);
    }
    platform::UserDefaults::synchronizeAll();
}
BENCHMARK(BM_DefaultsWriteIn180000Keys)->Unit(benchmark::kMillisecond);

} // namespace
