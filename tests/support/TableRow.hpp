#pragma once

namespace testsupport {

/// A row of a test table: its name (for the failure trace), what the code under test is given and
/// what it should give back. A table whose rows hold more than that declares its own row type.
template <class Given, class Expected>
struct TableRow {
    const char* name;
    Given given;
    Expected expected;
};

} // namespace testsupport
