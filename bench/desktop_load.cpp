// Times `desktop load` of a desktop file with many windows: parsing, checking every field and
// building the simulated desktop. The time per window should stay flat as the count grows.
#include "console/DesktopFile.hpp"

#include "platform/control/SharedInstances.hpp"

#include <benchmark/benchmark.h>

#include <string>

namespace {

// The laptop with `count` windows spread over 20 applications.
std::string desktopWith(long count) {
    std::string apps;
    const long perApp = (count + 19) / 20;
    long made = 0;
    for (int a = 0; a < 20 && made < count; ++a) {
        if (!apps.empty()) apps += ",";
        apps += R"({"bundleIdentifier": "com.example.app)" + std::to_string(a) + R"(", "windows": [)";
        for (long w = 0; w < perApp && made < count; ++w, ++made) {
            if (w > 0) apps += ",";
            apps += R"({"title": "W)" + std::to_string(made) + R"(", "frame": [)" + std::to_string(10 + w % 500) +
                    ", " + std::to_string(40 + w % 300) + ", 400, 300]}";
        }
        apps += "]}";
    }
    return R"({"fixture": "laptop", "apps": [)" + apps + "]}";
}

void BM_DesktopLoad(benchmark::State& state) {
    const std::string text = desktopWith(state.range(0));
    for (auto _ : state) {
        tilmora::DesktopFile::load(text);
        state.PauseTiming();
        platform::SharedInstances::resetAll();
        state.ResumeTiming();
    }
    state.SetComplexityN(state.range(0));
    state.counters["windows"] = static_cast<double>(state.range(0));
}

} // namespace

BENCHMARK(BM_DesktopLoad)->Arg(1000)->Arg(8000)->Arg(40000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
