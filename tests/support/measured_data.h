// Where the tests find the copies of measured instrument files kept in the repository
// (tests/data/measured). Test code only; any thread.
#pragma once

#include <string>

#ifndef HYSTERESIS_MEASURED_DIR
#error "the test target defines HYSTERESIS_MEASURED_DIR"
#endif

// The path of one measured file, e.g. measured_file("ppms_vsm_loop.dat"). The folder is fixed at
// build time, so the tests read the copy beside their own sources.
inline std::string measured_file(const std::string& name) {
    return std::string(HYSTERESIS_MEASURED_DIR) + "/" + name;
}
