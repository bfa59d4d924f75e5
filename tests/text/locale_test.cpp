// Texts must not follow the process's locale: the toolkit switches it to the
// user's on start-up, and a decimal comma must never reach a field or a read.
#include "text/number_format.h"
#include "text/number_parse.h"
#include "text/write_line.h"

#include <gtest/gtest.h>

#include "tests/support/comma_locale.h"

#include <clocale>
#include <cstdlib>
#include <string>

namespace {


TEST(Locale, DecimalCommaLocaleChangesNothing) {
    std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    if (use_comma_locale().empty()) GTEST_SKIP() << "no locale with a decimal comma can be had";
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
