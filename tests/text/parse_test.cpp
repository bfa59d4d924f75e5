// Typed numbers by the list-directed input rules: values, separators, repeat
// counts, null values, range and every kind of bad text.
#include "text/number_parse.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <string>

namespace {

// The target must keep this unless a value was read.
constexpr double kUntouched = -777.25;
constexpr int kUntouchedInt = -777;

struct RealCase {
    std::string text;
    int status;      // kParseOk or the failure expected
    bool has_value;  // a value is read (otherwise the target keeps its value)
    double expected; // the value read
};

RealCase value(std::string text, double expected) {
    return {std::move(text), kParseOk, true, expected};
}
RealCase null(std::string text) {
    return {std::move(text), kParseOk, false, 0};
}
RealCase fails(std::string text, int status = kParseBadValue) {
    return {std::move(text), status, false, 0};
}

class ParseRealTable : public ::testing::TestWithParam<RealCase> {};

TEST_P(ParseRealTable, ReadsOneValue) {
    const RealCase& c = GetParam();
    double target = kUntouched;
    int status = parse_real(c.text.data(), static_cast<int>(c.text.size()), target);
    EXPECT_EQ(status, c.status) << '"' << c.text << '"';
    if (c.has_value)
        EXPECT_EQ(target, c.expected) << '"' << c.text << '"';
    else
        EXPECT_EQ(target, kUntouched) << '"' << c.text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Parse, ParseRealTable,
    ::testing::Values(
        // Constants.
        value("  0.25  ", 0.25), value("1e-2", 0.01), value("1D-2", 0.01), value("1d-2", 0.01),
        value("1E-2", 0.01), value("-3", -3.0), value("+3", 3.0), value("3.", 3.0),
        value(".5", 0.5), value("-.5D+1", -5.0), value("5.e1", 50.0), value("007.50", 7.5),
        value("1e+05", 1e5), value("0.1000000000000000000000000000000001", 0.1), value("0.4", 0.4),
        value("3.238588", 3.238588), value("1.7976931348623157e308", DBL_MAX),
        value("4.9406564584124654e-324", 4.9406564584124654e-324),
        // Too small for a double: zero.
        value("1e-999", 0.0), value("0e999999999999999999", 0.0),
        // Separators end the value; what follows is not looked at.
        value("5,6", 5.0), value("5/", 5.0), value("5 abc", 5.0), value("1 e5", 1.0),
        value("\t5\t", 5.0), value("5 ;", 5.0), value("2.5 ,,", 2.5), value("-1/x", -1.0),
        // Repeat counts.
        value("3*5", 5.0), value("2*-1.5", -1.5), value("10*1d1", 10.0), value("01*2", 2.0),
        // Null values keep the target.
        null(","), null("  ,5"), null("/"), null("  /  "), null("3*"), null("3*,7"), null("3* 7"),
        null("1*/"),
        // End of record.
        fails("", kParseEndOfRecord), fails("     ", kParseEndOfRecord),
        fails(" \t ", kParseEndOfRecord),
        // Bad text.
        fails("abc"), fails("NaN"), fails("nan"), fails("Inf"), fails("-Infinity"), fails("1.0+5"),
        fails("1.0-5"), fails("1e"), fails("1e+"), fails("1D-"), fails("1.2.3"), fails("."),
        fails("-"), fails("+"), fails("-.e5"), fails("e5"), fails("5;"), fails(";"), fails("1;2"),
        fails("'5'"), fails("\"5\""), fails("(1,2)"), fails("1e5.0"), fails("0x10"), fails("1q5"),
        fails("5a"), fails("1_8"), fails("0*5"), fails("*5"), fails("-2*5"), fails("2*3*4"),
        fails("x*5"), fails("2*x"), fails("- 3"),
        // Too large for a double.
        fails("1e999", kParseOutOfRange), fails("-1e999", kParseOutOfRange),
        fails("1.8e308", kParseOutOfRange), fails("1e99999999999999999999", kParseOutOfRange),
        fails(std::string(400, '9'), kParseOutOfRange)));

TEST(Parse, TinyNegativeKeepsItsSign) {
    double target = kUntouched;
    std::string text = "-1e-999";
    ASSERT_EQ(parse_real(text.data(), static_cast<int>(text.size()), target), kParseOk);
    EXPECT_EQ(target, 0.0);
    EXPECT_TRUE(std::signbit(target));
}

TEST(Parse, ReadsOnlyTheGivenLengthAndStopsAtANulCharacter) {
    double target = kUntouched;
    EXPECT_EQ(parse_real("12345", 3, target), kParseOk);
    EXPECT_EQ(target, 123.0);
    const char with_nul[] = "0.5\0xyz";
    EXPECT_EQ(parse_real(with_nul, 7, target), kParseOk);
    EXPECT_EQ(target, 0.5);
    target = kUntouched;
    EXPECT_EQ(parse_real("\0 5", 3, target), kParseEndOfRecord);
    EXPECT_EQ(parse_real(nullptr, 5, target), kParseEndOfRecord);
    EXPECT_EQ(parse_real("5", 0, target), kParseEndOfRecord);
    EXPECT_EQ(parse_real("5", -3, target), kParseEndOfRecord);
    EXPECT_EQ(target, kUntouched);
}

TEST(Parse, FiftyCharacterFieldPaddedWithBlanks) {
    std::string field = "-0.5";
    field.resize(50, ' ');
    double target = kUntouched;
    EXPECT_EQ(parse_real(field.data(), 50, target), kParseOk);
    EXPECT_EQ(target, -0.5);
}

struct IntCase {
    const char* text;
    int status;
    bool has_value;
    int expected;
};

class ParseIntTable : public ::testing::TestWithParam<IntCase> {};

TEST_P(ParseIntTable, ReadsOneInteger) {
    const IntCase& c = GetParam();
    int target = kUntouchedInt;
    std::string text = c.text;
    EXPECT_EQ(parse_int(text.data(), static_cast<int>(text.size()), target), c.status) << text;
    EXPECT_EQ(target, c.has_value ? c.expected : kUntouchedInt) << text;
}

INSTANTIATE_TEST_SUITE_P(
    Parse, ParseIntTable,
    ::testing::Values(
        IntCase{"3", kParseOk, true, 3}, IntCase{"-3", kParseOk, true, -3},
        IntCase{" +7 ", kParseOk, true, 7}, IntCase{"007", kParseOk, true, 7},
        IntCase{"0", kParseOk, true, 0}, IntCase{"-0", kParseOk, true, 0},
        IntCase{"2147483647", kParseOk, true, 2147483647},
        IntCase{"-2147483648", kParseOk, true, -2147483647 - 1}, IntCase{"3*4", kParseOk, true, 4},
        IntCase{"12,x", kParseOk, true, 12}, IntCase{"12/", kParseOk, true, 12},
        IntCase{"12 .5", kParseOk, true, 12}, IntCase{",", kParseOk, false, 0},
        IntCase{"/", kParseOk, false, 0}, IntCase{"2*", kParseOk, false, 0},
        IntCase{"", kParseEndOfRecord, false, 0}, IntCase{"   ", kParseEndOfRecord, false, 0},
        IntCase{"2.5", kParseBadValue, false, 0}, IntCase{"3.", kParseBadValue, false, 0},
        IntCase{"1e3", kParseBadValue, false, 0}, IntCase{"1d3", kParseBadValue, false, 0},
        IntCase{"12a", kParseBadValue, false, 0}, IntCase{"0x1", kParseBadValue, false, 0},
        IntCase{"- 3", kParseBadValue, false, 0}, IntCase{"+", kParseBadValue, false, 0},
        IntCase{"3;", kParseBadValue, false, 0}, IntCase{"0*3", kParseBadValue, false, 0},
        IntCase{"2147483648", kParseOutOfRange, false, 0},
        IntCase{"-2147483649", kParseOutOfRange, false, 0},
        IntCase{"99999999999999999999999", kParseOutOfRange, false, 0},
        IntCase{"99999999999999999999999x", kParseBadValue, false, 0}));

} // namespace
