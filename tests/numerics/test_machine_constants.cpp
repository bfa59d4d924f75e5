// Machine constants: the tables, the unit table and the misuse messages with their stops.
#include "test_error_capture.h"

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

using MachineConstantsTest = ErrorFacilityTest;

std::uint64_t bits_of(double value) {
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

TEST_F(MachineConstantsTest, DoubleTableHoldsIeeeValues) {
    struct Case {
        int n;
        double expected;
    };
    const Case cases[] = {
        {1, std::ldexp(1.0, -1022)},
        {2, std::ldexp(2.0 - std::ldexp(1.0, -52), 1023)},
        {3, std::ldexp(1.0, -53)},
        {4, std::ldexp(1.0, -52)},
        {5, std::log10(2.0)},
        {7, HUGE_VAL},
        {8, -HUGE_VAL},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.n);
        EXPECT_EQ(bits_of(DMACH(c.n)), bits_of(c.expected));
    }
    EXPECT_TRUE(std::isnormal(DMACH(1)));
    EXPECT_FALSE(std::isnormal(DMACH(1) / 2.0)); // the next power of two down is subnormal
    EXPECT_EQ(1.0 + DMACH(4) / 2.0, 1.0);        // epsilon is the spacing just above 1
    EXPECT_NE(1.0 + DMACH(4), 1.0);
    EXPECT_EQ(bits_of(DMACH(6)), 0x7FF8000000000000ULL);
    EXPECT_TRUE(capture().lines.empty());
    EXPECT_EQ(stop_count(), 0u);
}

TEST_F(MachineConstantsTest, DoubleIndexOutOfRangeIsTerminalAndStopsAtPop) {
    for (int n : {0, 9, -1, INT_MIN}) {
        SCOPED_TRACE(n);
        capture() = Capture{};
        reset_error_facility();
        const double value = DMACH(n);
        EXPECT_TRUE(std::isnan(value));
        const std::string number = std::to_string(n);
        // Header " 5 from DMACH.  " leaves 40 characters: the cut falls on the blank before
        // "inclusive.".
        const std::vector<std::string> expected = {
            "", " *** TERMINAL ERROR 5 from DMACH.  The argument must be between 1 and 8",
            " ***          inclusive. N = " + number};
        EXPECT_EQ(texts(), expected);
        ASSERT_EQ(stop_count(), 1u);
        EXPECT_EQ(capture().stops[0], expected.size()); // stop after the message
        EXPECT_EQ(N1RTY(0), 5);                         // the program level received the error
    }
}

TEST_F(MachineConstantsTest, DoubleMisuseInsideARoutineShowsTraceback) {
    E1PSH("DT2ODQ");
    DMACH(11);
    std::vector<std::string> expected = {
        "", " *** TERMINAL ERROR 5 from DMACH.  The argument must be between 1 and 8",
        " ***          inclusive. N = 11"};
    for (const std::string& line : traceback_head())
        expected.push_back(line);
    expected.push_back(traceback_row("DMACH", 5, 5, true));
    expected.push_back(traceback_row("DT2ODQ", 0, 0, false));
    expected.push_back(traceback_row("USER", 0, 0, false));
    EXPECT_EQ(texts(), expected);
    EXPECT_EQ(stop_count(), 1u);
    EXPECT_EQ(N1RTY(0), 5); // DT2ODQ now carries the TERMINAL error
}

TEST_F(MachineConstantsTest, IntegerTable) {
    const int expected[13] = {0, 32, 4, 2, 31, INT_MAX, 2, 24, -125, 128, 53, -1021, 1024};
    for (int n = 1; n <= 12; ++n)
        EXPECT_EQ(IMACH(n), expected[n]) << n;
    EXPECT_EQ(IMACH(10), DBL_MANT_DIG);
    EXPECT_EQ(IMACH(12), DBL_MAX_EXP);
    EXPECT_EQ(IMACH(11), DBL_MIN_EXP);
    EXPECT_TRUE(capture().lines.empty());
}

TEST_F(MachineConstantsTest, IntegerIndexOutOfRangeWritesOnStandardOutputAndStops) {
    struct Case {
        int n;
        const char* columns; // N right-aligned in 6 columns
    };
    const Case cases[] = {{0, "     0"}, {13, "    13"}, {-7, "    -7"}, {123456, "123456"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.n);
        capture() = Capture{};
        int unit = 4;
        UMACH(-2, unit); // the message follows the standard output unit, not the error unit
        EXPECT_EQ(IMACH(c.n), 0);
        const std::vector<std::string> expected = {
            "", " *** TERMINAL ERROR 5 from IMACH.  The argument",
            " ***          must be between 1 and 12 inclusive.",
            std::string(" ***          N = ") + c.columns + ".", ""};
        EXPECT_EQ(texts(), expected);
        for (const CapturedLine& line : capture().lines)
            EXPECT_EQ(line.unit, 4);
        ASSERT_EQ(stop_count(), 1u);
        EXPECT_EQ(capture().stops[0], expected.size());
        EXPECT_EQ(N1RTY(0), 0); // written directly: nothing recorded on the stack
    }
}

TEST_F(MachineConstantsTest, UnitTableDefaultsAndChanges) {
    int unit = -1;
    const int defaults[4] = {0, 5, 6, 6};
    for (int n = 1; n <= 3; ++n) {
        UMACH(n, unit);
        EXPECT_EQ(unit, defaults[n]);
    }
    unit = 9;
    UMACH(-3, unit);
    unit = 0;
    UMACH(3, unit);
    EXPECT_EQ(unit, 9);
    UMACH(2, unit);
    EXPECT_EQ(unit, 6); // only unit 3 changed
    EXPECT_TRUE(capture().lines.empty());

    // Error messages now go to unit 9.
    E1PSH("R");
    E1MES(5, 1, "moved");
    ASSERT_FALSE(capture().lines.empty());
    for (const CapturedLine& line : capture().lines)
        EXPECT_EQ(line.unit, 9);
}

TEST_F(MachineConstantsTest, UnitIndexOutOfRangeWritesOnErrorUnitAndStops) {
    struct Case {
        int n;
        const char* columns; // |N| in 6 columns
    };
    const Case cases[] = {{4, "     4"}, {-4, "     4"}, {0, "     0"}, {INT_MIN, "2147483648"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.n);
        capture() = Capture{};
        int moved = 8;
        UMACH(-3, moved);
        int unit = 77;
        UMACH(c.n, unit);
        EXPECT_EQ(unit, 77); // nothing returned or stored
        const std::vector<std::string> expected = {
            "", " *** TERMINAL ERROR 5 from UMACH.  The absolute",
            " ***          value of the index variable must be",
            std::string(" ***          1, 2, or 3.  IABS(N) = ") + c.columns + ".", ""};
        EXPECT_EQ(texts(), expected);
        for (const CapturedLine& line : capture().lines)
            EXPECT_EQ(line.unit, 8);
        ASSERT_EQ(stop_count(), 1u);
        EXPECT_EQ(capture().stops[0], expected.size());
        for (int n = 1; n <= 3; ++n) {
            UMACH(n, unit);
            EXPECT_EQ(unit, n == 3 ? 8 : (n == 1 ? 5 : 6));
        }
    }
}

} // namespace
