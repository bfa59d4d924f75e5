// Texts must not follow the process's locale: the toolkit switches it to the
// user's on start-up, and a decimal comma must never reach a field or a read.
#include "text/number_format.h"
#include "text/number_parse.h"
#include "text/write_line.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <string>

namespace {

// Switches LC_NUMERIC to a locale with a decimal comma: an installed one, or else one compiled
// into the test's temporary folder (glibc looks there through LOCPATH), so that the test runs on
// machines with only the C locale too. False when neither works.
bool use_comma_locale() {
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "ru_RU.UTF-8"})
        if (std::setlocale(LC_NUMERIC, name)) return true;
    const std::string dir = ::testing::TempDir() + "hysteresis_locales";
    const std::string command = "mkdir -p '" + dir + "' && localedef -i de_DE -f UTF-8 '" + dir +
                                "/de_DE.UTF-8' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) return false;
    setenv("LOCPATH", dir.c_str(), 1);
    return std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
}

TEST(Locale, DecimalCommaLocaleChangesNothing) {
    std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    if (!use_comma_locale()) GTEST_SKIP() << "no locale with a decimal comma can be had";
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");

    std::string buffer(14, '#');
    EXPECT_EQ(format_real(buffer.data(), 14, "(g14.7)", 12.5), kFormatOk);
    EXPECT_EQ(buffer, "  12.50000    ");
    EXPECT_EQ(format_real(buffer.data(), 14, "(g14.7)", 1e-20), kFormatOk);
    EXPECT_EQ(buffer, " 0.1000000E-19");
    double value = 0;
    EXPECT_EQ(parse_real("0.25", 4, value), kParseOk);
    EXPECT_EQ(value, 0.25);
    EXPECT_EQ(parse_real("0,25x", 5, value), kParseOk); // "0", then a separator
    EXPECT_EQ(value, 0.0);
    char record[40];
    ListItem item(0.5);
    int size = list_directed_record(&item, 1, record, sizeof record);
    EXPECT_EQ(std::string(record, static_cast<size_t>(size)), " 0.50000000000000000");

    std::setlocale(LC_NUMERIC, saved.c_str());
}

} // namespace
