// Switching the C library's numbers to a locale with a decimal comma, for tests of locale independence.
// Test code only; call from the test's thread before other threads read the locale.
#pragma once

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <string>
#include <unistd.h>

// Switches LC_NUMERIC to a locale with a decimal comma: an installed one, or else one compiled
// into a folder of this process's own under the test's temporary folder (glibc looks there
// through LOCPATH), so that the test runs on machines with only the C locale too, and test
// processes running at once never share a half-written locale. Empty when neither works.
inline std::string use_comma_locale() {
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "ru_RU.UTF-8"})
        if (std::setlocale(LC_NUMERIC, name)) return name;
    const std::string dir =
        ::testing::TempDir() + "hysteresis_locales_" + std::to_string(getpid());
    const std::string command = "mkdir -p '" + dir + "' && localedef -i de_DE -f UTF-8 '" + dir +
                                "/de_DE.UTF-8' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) return "";
    setenv("LOCPATH", dir.c_str(), 1);
    return std::setlocale(LC_NUMERIC, "de_DE.UTF-8") ? "de_DE.UTF-8" : "";
}
