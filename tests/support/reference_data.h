// Where the tests find the reference curves kept in the repository (tests/data/reference).
// Test code only; any thread.
#pragma once

#include <string>

#ifndef HYSTERESIS_REFERENCE_DIR
#error "the test target defines HYSTERESIS_REFERENCE_DIR"
#endif

// The path of one reference file, e.g. reference_file("kmax.csv") or
// reference_file("exact/hc0.05_minor_loops.csv"). The folder is fixed at build time, so the
// tests read the copy beside their own sources and nothing outside the repository.
inline std::string reference_file(const std::string& name) {
    return std::string(HYSTERESIS_REFERENCE_DIR) + "/" + name;
}
