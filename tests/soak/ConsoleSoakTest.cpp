// A long console script as a user would type it (chords, menus, drags, the preferences) with the
// console's memory checked flat: its transcript, log and journal records stay bounded. The short
// form runs 4,000 commands and compares with the heap after 1,000; TILMORA_SOAK=long runs 30,000
// and compares with the heap after 3,000.

#include "console/DesktopConsole.hpp"
#include "console/ProgramHost.hpp"
#include "support/ProgramScriptTest.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <ostream>
#include <string>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer runtime's count of bytes in live allocations.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
// A small quarantine, as in the other soak, so that freed blocks are reused.
extern "C" const char* __asan_default_options() {
    return "quarantine_size_mb=4";
}
#else
#include <malloc.h>
#endif

namespace {

double heapInUse() {
#if defined(__SANITIZE_ADDRESS__)
    return static_cast<double>(__sanitizer_get_current_allocated_bytes());
#else
    const auto info = ::mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd);
#endif
}

using ConsoleSoakTest = ProgramScriptTest;

TEST_F(ConsoleSoakTest, MemoryStaysFlatOverALongScript) {
    const char* mode = std::getenv("TILMORA_SOAK");
    const bool longForm = mode != nullptr && std::strcmp(mode, "long") == 0;
    const int total = longForm ? 30000 : 4000;
    const int baselineAt = longForm ? 3000 : 1000;
    const std::vector<std::string> round = {
        "key ctrl+opt+left",         "key ctrl+opt+right", "menu",      "menu pick \"Left Half\"",
        "drag 400 770 to 1000 500",  "menu pick \"Preferences…\"", "ui windows", "key ctrl+opt+up",
        "wait 0.2",                  "show journal",
    };
    std::ostream transcript(nullptr); // the transcript is not kept
    tilmora::DesktopConsole console(transcript);
    ASSERT_TRUE(console.execute("desktop default"));
    ASSERT_TRUE(console.execute("program launch"));
    double baseline = 0;
    for (int command = 2; command < total; ++command) {
        if (command == baselineAt) baseline = heapInUse();
        const std::string& line = round[static_cast<std::size_t>(command) % round.size()];
        ASSERT_TRUE(console.execute(line)) << "command " << command << ": " << line;
    }
    const double growth = heapInUse() - baseline;
    std::cout << "[console soak] " << total << " commands; heap growth after command " << baselineAt << ": "
              << static_cast<long>(growth / 1024) << " KiB" << std::endl;
    EXPECT_LE(growth, 5.0 * 1024 * 1024);
}

} // namespace
