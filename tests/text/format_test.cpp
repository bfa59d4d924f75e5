// The edit formats: exact widths, G editing ranges and their boundaries,
// rounding, the optional leading zero, overflow asterisks and statuses.
#include "text/number_format.h"

#include "text/edit_descriptors.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

namespace {

std::string real(const char* format, double value, int length) {
    std::string buffer(static_cast<size_t>(length), '#');
    EXPECT_EQ(format_real(buffer.data(), length, format, value), kFormatOk) << format << value;
    return buffer;
}

std::string padded(std::string text, int length) {
    text.resize(static_cast<size_t>(length), ' ');
    return text;
}

// Exact comparison of a positive double with the decimal numerator / 10^places,
// independent of any decimal conversion: both sides scaled to integers.
int compare_exact(double value, unsigned long long numerator, int places) {
    int exponent = 0;
    double fraction = std::frexp(value, &exponent);
    auto mantissa = static_cast<unsigned __int128>(std::ldexp(fraction, 53));
    int shift = 53 - exponent; // value = mantissa / 2^shift, shift > 0 here
    unsigned __int128 left = mantissa;
    for (int i = 0; i < places; ++i)
        left *= 10;
    unsigned __int128 right = static_cast<unsigned __int128>(numerator) << shift;
    return left < right ? -1 : (left > right ? 1 : 0);
}

// The two doubles around a decimal boundary b: below < b <= at_or_above.
struct Neighbours {
    double below;
    double at_or_above;
};

Neighbours around(unsigned long long numerator, int places) {
    std::string text = std::to_string(numerator);
    while (text.size() <= static_cast<size_t>(places))
        text.insert(text.begin(), '0');
    text.insert(text.size() - static_cast<size_t>(places), ".");
    double nearest = std::strtod(text.c_str(), nullptr);
    if (compare_exact(nearest, numerator, places) >= 0) {
        double below = std::nextafter(nearest, 0.0);
        EXPECT_LT(compare_exact(below, numerator, places), 0);
        return {below, nearest};
    }
    double above = std::nextafter(nearest, 1e300);
    EXPECT_GE(compare_exact(above, numerator, places), 0);
    return {nearest, above};
}

struct FormatCase {
    const char* format;
    double value;
    const char* expected; // the whole field
};

class FormatsTable : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatsTable, WritesTheField) {
    const FormatCase& c = GetParam();
    int width = static_cast<int>(std::string(c.expected).size());
    // A buffer longer than the field: the rest must be blanks.
    EXPECT_EQ(real(c.format, c.value, 50), padded(c.expected, 50)) << c.value;
    EXPECT_EQ(real(c.format, c.value, width), c.expected) << c.value;
}

const double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::numeric_limits<double>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    Formats, FormatsTable,
    ::testing::Values(
        // The documented examples.
        FormatCase{"(g14.7)", 1.0, "  1.000000    "}, FormatCase{"(g14.7)", 12.5, "  12.50000    "},
        FormatCase{"(g14.7)", 1e8, " 0.1000000E+09"}, FormatCase{"(g14.7)", 0.05, " 0.5000000E-01"},
        FormatCase{"(g14.7)", 0.0, "  0.000000    "}, FormatCase{"(g14.7)", -0.5, "-0.5000000    "},
        FormatCase{"(G13.7)", -0.5, "-.5000000    "}, FormatCase{"(G13.7)", 0.5, "0.5000000    "},
        FormatCase{"(F8.2)", 100000.0, "********"}, FormatCase{"(F8.2)", 0.5, "    0.50"},
        FormatCase{"(F8.2)", -1.0, "   -1.00"},
        // The start-up values.
        FormatCase{"(g14.7)", 0.4000000059604645, " 0.4000000    "},
        FormatCase{"(g14.7)", 3.2385880947113037, "  3.238588    "},
        // Each count of digits before the point.
        FormatCase{"(g14.7)", 123.0, "  123.0000    "},
        FormatCase{"(g14.7)", 1234567.0, "  1234567.    "},
        FormatCase{"(g14.7)", -9999999.0, " -9999999.    "},
        FormatCase{"(g14.7)", -0.125, "-0.1250000    "},
        FormatCase{"(G13.7)", -12.5, "-12.50000    "}, FormatCase{"(G13.7)", 0.0, " 0.000000    "},
        // E form: signs, the dropped zero, three-digit exponents without the letter.
        FormatCase{"(g14.7)", -0.05, "-0.5000000E-01"},
        FormatCase{"(G13.7)", -0.05, "-.5000000E-01"}, FormatCase{"(G13.7)", 0.05, "0.5000000E-01"},
        FormatCase{"(G13.7)", -1e8, "-.1000000E+09"},
        FormatCase{"(g14.7)", 1e100, " 0.1000000+101"},
        FormatCase{"(G13.7)", -1e-300, "-.1000000-299"},
        FormatCase{"(g14.7)", 1.7976931348623157e308, " 0.1797693+309"},
        FormatCase{"(g14.7)", 4.9406564584124654e-324, " 0.4940656-323"},
        FormatCase{"(g14.7)", 1e-99, " 0.1000000E-98"},
        // Ties (exact halves in binary) round away from zero.
        FormatCase{"(g14.7)", 1234568.5, "  1234569.    "},
        FormatCase{"(g14.7)", -1234568.5, " -1234569.    "},
        FormatCase{"(g14.7)", 12345665.0, " 0.1234567E+08"},
        FormatCase{"(F8.2)", 0.125, "    0.13"}, FormatCase{"(F8.2)", -0.125, "   -0.13"},
        // Rounding by the exact binary value, not by a decimal guess.
        FormatCase{"(F8.2)", 0.015, "    0.01"}, FormatCase{"(F8.2)", 0.245, "    0.24"},
        // F8.2 around its limits.
        FormatCase{"(F8.2)", 99999.99, "99999.99"}, FormatCase{"(F8.2)", -9999.99, "-9999.99"},
        FormatCase{"(F8.2)", -10000.0, "********"}, FormatCase{"(F8.2)", 0.004, "    0.00"},
        FormatCase{"(F8.2)", -0.004, "   -0.00"}, FormatCase{"(F8.2)", -0.0, "    0.00"},
        FormatCase{"(F8.2)", 1e300, "********"},
        // No value can break a field.
        FormatCase{"(g14.7)", kInf, "      Infinity"},
        FormatCase{"(g14.7)", -kInf, "     -Infinity"},
        FormatCase{"(g14.7)", kNaN, "           NaN"},
        FormatCase{"(G13.7)", -kInf, "    -Infinity"}, FormatCase{"(F8.2)", kInf, "Infinity"},
        FormatCase{"(F8.2)", -kInf, "    -Inf"}, FormatCase{"(F8.2)", -kNaN, "     NaN"},
        // Other widths of the same descriptors, and E editing.
        FormatCase{"(F4.2)", -0.5, "-.50"}, FormatCase{"(F3.2)", -0.5, "***"},
        FormatCase{"(F5.0)", 2.5, "   3."}, FormatCase{"(E12.4)", -0.000123456, " -0.1235E-03"},
        FormatCase{"(E10.4)", -123.0, "-.1230E+03"}, FormatCase{"(E9.4)", -123.0, "*********"},
        FormatCase{"(G6.1)", 3.0, "3.    "}, FormatCase{"(G5.1)", 3.0, "*    "},
        FormatCase{"(G4.1)", 3.0, "****"}));

// Around every boundary of the G ranges: 0.1 - 0.5e-8 and 10^k - 0.5e(k-7).
struct Boundary {
    unsigned long long numerator; // the boundary is numerator / 10^places
    int places;
    const char* below;    // G14.7 of the double just below
    const char* at_above; // G14.7 of the nearest double at or above it
};

class GBoundaries : public ::testing::TestWithParam<Boundary> {};

TEST_P(GBoundaries, SwitchExactlyAtTheRoundingBoundary) {
    const Boundary& b = GetParam();
    Neighbours n = around(b.numerator, b.places);
    EXPECT_EQ(real("(g14.7)", n.below, 14), b.below) << n.below;
    EXPECT_EQ(real("(g14.7)", n.at_or_above, 14), b.at_above) << n.at_or_above;
    // Negative values take the same form with a sign in the blank before it.
    std::string below = b.below, above = b.at_above;
    below[below.find_first_not_of(' ') - 1] = '-';
    above[above.find_first_not_of(' ') - 1] = '-';
    EXPECT_EQ(real("(g14.7)", -n.below, 14), below);
    EXPECT_EQ(real("(g14.7)", -n.at_or_above, 14), above);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, GBoundaries,
    ::testing::Values(Boundary{99999995ULL, 9, " 0.9999999E-01", " 0.1000000    "},
                      Boundary{99999995ULL, 8, " 0.9999999    ", "  1.000000    "},
                      Boundary{99999995ULL, 7, "  9.999999    ", "  10.00000    "},
                      Boundary{99999995ULL, 6, "  99.99999    ", "  100.0000    "},
                      Boundary{99999995ULL, 5, "  999.9999    ", "  1000.000    "},
                      Boundary{99999995ULL, 4, "  9999.999    ", "  10000.00    "},
                      Boundary{99999995ULL, 3, "  99999.99    ", "  100000.0    "},
                      Boundary{99999995ULL, 2, "  999999.9    ", "  1000000.    "},
                      Boundary{99999995ULL, 1, "  9999999.    ", " 0.1000000E+08"}));

TEST(Formats, F82OverflowsExactlyWhereTheRoundedTextNeedsNineCharacters) {
    Neighbours positive = around(9999999500ULL, 5); // 99999.995
    EXPECT_EQ(real("(F8.2)", positive.below, 8), "99999.99");
    EXPECT_EQ(real("(F8.2)", positive.at_or_above, 8), "********");
    Neighbours negative = around(999999500ULL, 5); // 9999.995
    EXPECT_EQ(real("(F8.2)", -negative.below, 8), "-9999.99");
    EXPECT_EQ(real("(F8.2)", -negative.at_or_above, 8), "********");
    Neighbours half = around(500ULL, 5); // 0.005
    EXPECT_EQ(real("(F8.2)", half.below, 8), "    0.00");
    EXPECT_EQ(real("(F8.2)", half.at_or_above, 8), "    0.01");
}

TEST(Formats, TickLabelsOfTheInitialAxes) {
    const char* expected[] = {"   -1.00", "   -0.50", "    0.00", "    0.50", "    1.00"};
    for (int j = 0; j <= 4; ++j)
        EXPECT_EQ(real("(F8.2)", -1.0 + 0.25 * j * 2.0, 8), expected[j]);
}

TEST(Formats, LabelThenNumber) {
    std::string buffer(50, '#');
    ASSERT_EQ(
        format_label_real(buffer.data(), 50, "(a,g14.7)", "Parameter Kmax =", 3.2385880947113037),
        kFormatOk);
    EXPECT_EQ(buffer, padded("Parameter Kmax =  3.238588    ", 50));

    std::string readout(16, '#');
    ASSERT_EQ(format_label_real(readout.data(), 16, "(a,G13.7)", "Hn=", -0.5), kFormatOk);
    EXPECT_EQ(readout, "Hn=-.5000000    ");
    ASSERT_EQ(format_label_real(readout.data(), 16, "(a,G13.7)", "Hn=", 0.75), kFormatOk);
    EXPECT_EQ(readout, "Hn=0.7500000    ");
}

TEST(Formats, PairsOfLabelAndNumber) {
    std::string buffer(35, '#');
    ASSERT_EQ(format_label_pairs(buffer.data(), 35, "H=", 0.25f, " B=", -0.75f), kFormatOk);
    EXPECT_EQ(buffer, "H=0.2500000     B=-.7500000        ");
    ASSERT_EQ(format_label_pairs(buffer.data(), 35, "H=", -1e-3, " B=", 1e9), kFormatOk);
    EXPECT_EQ(buffer, "H=-.1000000E-02 B=0.1000000E+10    ");
}

TEST(Formats, FormatTextIsReadWithoutRegardToCaseAndBlanks) {
    EXPECT_EQ(real("( G14.7 )", 2.0, 14), real("(g14.7)", 2.0, 14));
    EXPECT_EQ(real("(f8.2)", 2.0, 8), "    2.00");
    std::string buffer(20, '#');
    EXPECT_EQ(format_label_real(buffer.data(), 20, "(A, g14.7)", "x", 2.0), kFormatOk);
    EXPECT_EQ(buffer, "x  2.000000         ");
}

TEST(Formats, UnknownFormatsAreRefusedWithABlankBuffer) {
    const char* formats[] = {
        "(I5)",         "(g14.7",    "g14.7)",   "(g14)",   "(g.7)",  "(g0.0)", "(a,g14.7)",
        "(2(a,G13.7))", "(g1000.7)", "(g101.7)", "(E10.0)", "(F8.9)", "",       "(g14.7)x"};
    for (const char* format : formats) {
        std::string buffer(20, '#');
        EXPECT_EQ(format_real(buffer.data(), 20, format, 1.0), kFormatUnknown) << format;
        EXPECT_EQ(buffer, std::string(20, ' ')) << format;
    }
    std::string buffer(20, '#');
    EXPECT_EQ(format_label_real(buffer.data(), 20, "(g14.7)", "x", 1.0), kFormatUnknown);
    EXPECT_EQ(buffer, std::string(20, ' '));
}

TEST(Formats, ARecordLongerThanItsBufferIsCutAndReported) {
    std::string buffer(12, '#');
    buffer += "guard";
    EXPECT_EQ(format_real(buffer.data(), 10, "(g14.7)", 1.0), kFormatRecordTooLong);
    EXPECT_EQ(buffer, "  1.000000##guard");
    EXPECT_EQ(format_label_real(buffer.data(), 5, "(a,g14.7)", "Parameter", 1.0),
              kFormatRecordTooLong);
    EXPECT_EQ(buffer, "Param00000##guard");
    EXPECT_EQ(format_label_pairs(buffer.data(), 0, "H=", 1.0, " B=", 2.0), kFormatRecordTooLong);
    EXPECT_EQ(format_real(nullptr, 10, "(g14.7)", 1.0), kFormatBadBuffer);
    EXPECT_EQ(format_real(buffer.data(), -1, "(g14.7)", 1.0), kFormatBadBuffer);
    EXPECT_EQ(buffer.substr(12), "guard");
}

} // namespace

namespace {

std::string field(bool (*edit)(char*, int, int, double, int), int width, int digits, double value,
                  int exponent_digits) {
    std::string text(static_cast<size_t>(width), '#');
    EXPECT_TRUE(edit(text.data(), width, digits, value, exponent_digits));
    return text;
}

TEST(EditDescriptors, ExponentWithAFixedNumberOfDigits) {
    EXPECT_EQ(field(edit_e, 12, 4, 1e-5, 3), " 0.1000E-004");
    EXPECT_EQ(field(edit_e, 12, 4, -1e-5, 3), "-0.1000E-004");
    EXPECT_EQ(field(edit_e, 11, 4, -1e-5, 3), "-.1000E-004");
    EXPECT_EQ(field(edit_e, 10, 2, 1e15, 1), "**********");
    EXPECT_EQ(field(edit_e, 10, 2, 1e8, 1), "   0.10E+9");
    EXPECT_EQ(field(edit_g, 12, 4, 5.0, 3), "  5.000     ");
    EXPECT_EQ(field(edit_g, 12, 4, 5e6, 3), " 0.5000E+007");
    std::string text(5, '#');
    EXPECT_FALSE(edit_e(text.data(), 5, 2, 1.0, 4));
    EXPECT_FALSE(edit_g(text.data(), 5, 0, 1.0, 0));
    EXPECT_FALSE(edit_f(text.data(), 0, 0, 1.0));
    EXPECT_EQ(text, "#####");
}

} // namespace
