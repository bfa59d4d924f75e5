// Decimal rounding against a plain reference that always prints the full exact
// expansion: the shortcut in the precision it asks for must never change a digit.
#include "text/decimal_rounding.h"
#include "text/adjust_left.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

// Digits of |value| rounded half away from zero at `keep` digits of the full
// expansion; returns the digit string and sets the exponent (0.ddd x 10^exp).
std::string reference(double value, int keep_significant, int decimals, int& exponent) {
    char text[1200];
    std::snprintf(text, sizeof text, "%.1000e", std::fabs(value));
    std::string digits;
    const char* p = text;
    for (; *p && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9') digits.push_back(*p);
    exponent = std::atoi(p + 1) + 1;
    int keep = keep_significant > 0 ? keep_significant : exponent + decimals;
    if (keep < 0) {
        exponent = 0;
        return "";
    }
    std::string kept = digits.substr(0, static_cast<size_t>(keep));
    if (digits[static_cast<size_t>(keep)] >= '5') {
        int i = keep - 1;
        while (i >= 0 && kept[static_cast<size_t>(i)] == '9')
            kept[static_cast<size_t>(i--)] = '0';
        if (i >= 0) {
            ++kept[static_cast<size_t>(i)];
        } else {
            kept.insert(kept.begin(), '1');
            ++exponent;
            if (keep_significant > 0) kept.pop_back();
        }
    }
    if (kept.empty()) exponent = 0;
    return kept;
}

std::vector<double> samples() {
    std::vector<double> values = {
        0.1,    0.5,       1.0,       12.5,    0.125,      1234568.5,
        0.015,  9999999.5, 99999.995, DBL_MAX, DBL_MIN,    4.9e-324,
        1e-310, 1e22,      1e23,      2.0e15,  0.99999995, 123456789012345678.0};
    std::mt19937_64 random(7);
    for (int i = 0; i < 1500; ++i) {
        std::uint64_t bits = random();
        double v;
        std::memcpy(&v, &bits, sizeof v);
        if (std::isfinite(v)) values.push_back(v);
        // Values of the sizes this program shows.
        values.push_back(std::ldexp(static_cast<double>(random() >> 11), -53 - (i % 40)) * 1e6);
        values.push_back(static_cast<double>(random() % 100000000) / 8.0);
    }
    return values;
}

TEST(DecimalRounding, SignificantDigitsMatchTheFullExpansion) {
    for (double v : samples()) {
        if (v == 0) continue;
        for (int digits : {1, 2, 7, 8, 13, 17, 25}) {
            int exponent = 0;
            std::string expected = reference(v, digits, 0, exponent);
            DecimalDigits r;
            ASSERT_TRUE(round_significant(v, digits, r));
            ASSERT_EQ(std::string(r.digits, static_cast<size_t>(r.count)), expected)
                << v << " " << digits;
            ASSERT_EQ(r.exponent, exponent) << v;
        }
    }
}

TEST(DecimalRounding, DecimalPlacesMatchTheFullExpansion) {
    for (double v : samples()) {
        if (v == 0 || std::fabs(v) >= 1e100) continue;
        for (int decimals : {0, 2, 6, 7, 20}) {
            int exponent = 0;
            std::string expected = reference(v, 0, decimals, exponent);
            DecimalDigits r;
            ASSERT_TRUE(round_decimals(v, decimals, r));
            ASSERT_EQ(std::string(r.digits, static_cast<size_t>(r.count)), expected) << v;
            ASSERT_EQ(r.exponent, exponent) << v;
            if (r.count > 0) {
                ASSERT_EQ(r.count, r.exponent + decimals);
            }
        }
    }
}

TEST(DecimalRounding, RefusesWhatItCannotHold) {
    DecimalDigits r;
    EXPECT_FALSE(round_significant(NAN, 7, r));
    EXPECT_FALSE(round_significant(INFINITY, 7, r));
    EXPECT_FALSE(round_significant(1.0, 0, r));
    EXPECT_FALSE(round_significant(1.0, kMaxDecimalDigits + 1, r));
    EXPECT_TRUE(round_significant(9.99, kMaxDecimalDigits, r));
    EXPECT_FALSE(round_decimals(1e300, 2, r));
    EXPECT_FALSE(round_decimals(1.0, -1, r));
    EXPECT_TRUE(round_decimals(0.0, 2, r));
    EXPECT_EQ(r.count, 0);
}

TEST(AdjustLeft, MovesLeadingBlanksToTheEnd) {
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {{"  1.000000    ", "1.000000      "},
                 {"-0.5000000    ", "-0.5000000    "},
                 {"      ", "      "},
                 {" a b", "a b "}};
    for (const Case& c : cases) {
        std::string text = c.in;
        adjust_left(text.data(), static_cast<int>(text.size()));
        EXPECT_EQ(text, c.out);
    }
    adjust_left(nullptr, 5);
}

} // namespace
