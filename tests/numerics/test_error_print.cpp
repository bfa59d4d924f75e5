// Printed form of messages: header, first-line budget, continuation lines, "%/", traceback,
// placeholders.
#include "test_error_capture.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

using ErrorPrintTest = ErrorFacilityTest;

const char* const IRULE_TEXT =
    "The quadrature rule IRULE = %(I1).  It must be in the range 1 to 6.";

// Records TEXT as a WARNING of a routine called from the program and prints it; returns the
// printed records without the leading empty line.
std::vector<std::string> print_warning(const char* routine, int code, const std::string& text) {
    E1PSH(routine);
    E1MES(3, code, text.c_str());
    capture() = Capture{};
    print_message();
    std::vector<std::string> out;
    for (size_t i = 1; i < capture().lines.size(); ++i)
        out.push_back(capture().lines[i].text);
    EXPECT_FALSE(capture().lines.empty());
    if (!capture().lines.empty()) {
        EXPECT_EQ(capture().lines[0].text, "");
    }
    E1POP(routine); // message already printed: the pop prints nothing more
    return out;
}

TEST_F(ErrorPrintTest, IruleMessageOfInnerRoutineWithTraceback) {
    E1PSH("DTWODQ");
    E1PSH("DT2ODQ");
    const int irule = 7;
    set_message_int(1, irule);
    E1MES(5, 2, IRULE_TEXT);
    std::vector<std::string> expected = {
        "", " *** TERMINAL ERROR 2 from DT2ODQ.  The quadrature rule IRULE = 7.  It",
        " ***          must be in the range 1 to 6."};
    for (const std::string& line : traceback_head())
        expected.push_back(line);
    expected.push_back(traceback_row("DT2ODQ", 5, 2, true));
    expected.push_back(traceback_row("DTWODQ", 0, 0, false));
    expected.push_back(traceback_row("USER", 0, 0, false));
    EXPECT_EQ(texts(), expected);
    for (const CapturedLine& line : capture().lines)
        EXPECT_EQ(line.unit, 6);
    EXPECT_EQ(stop_count(), 0u); // the stop waits for the pop
    E1POP("DT2ODQ");
    ASSERT_EQ(stop_count(), 1u);
    EXPECT_EQ(capture().lines.size(), expected.size()); // printed once only
}

TEST_F(ErrorPrintTest, TwoTerminalErrorsEachPrintedWithTracebackBeforeTheStop) {
    E1PSH("DTWODQ");
    E1PSH("DT2ODQ");
    set_message_int(1, 7);
    E1MES(5, 2, IRULE_TEXT);
    const size_t first = capture().lines.size();
    set_message_int(1, 0);
    E1MES(5, 3, "The number of subintervals MAXSUB = %(I1).  It must be at least 1.");
    const std::vector<std::string> all = texts();
    ASSERT_GT(all.size(), first);
    EXPECT_EQ(all[first], "");
    // The budget of 39 ends on the first of two blanks: the second one starts the next line.
    EXPECT_EQ(all[first + 1],
              " *** TERMINAL ERROR 3 from DT2ODQ.  The number of subintervals MAXSUB = 0.");
    EXPECT_EQ(all[first + 2], " ***           It must be at least 1.");
    EXPECT_EQ(all[first + 3], traceback_head()[0]);
    EXPECT_EQ(all.back(), traceback_row("USER", 0, 0, false));
    EXPECT_EQ(all[all.size() - 3], traceback_row("DT2ODQ", 5, 3, true));
    EXPECT_EQ(all.size(), 2 * first);
    EXPECT_EQ(stop_count(), 0u);
    E1POP("DT2ODQ");
    EXPECT_EQ(stop_count(), 1u);
}

TEST_F(ErrorPrintTest, MissingPlaceholderStaysLiteral) {
    set_message_int(2, 5); // a different key
    const auto lines = print_warning("R", 1, "Value %(D1) and %(I2) and %(Q1) and %(I0) and %(I1");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], " *** WARNING  ERROR 1 from R.  Value %(D1) and 5 and %(Q1) and %(I0) and");
    EXPECT_EQ(lines[1], " ***          %(I1");
}

TEST_F(ErrorPrintTest, PlaceholderValues) {
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        double value;
        const char* text;
    };
    const Case doubles[] = {
        {1.5, "1.500000000000000E+00"},
        {-0.1, "-1.000000000000000E-01"},
        {0.0, "0.000000000000000E+00"},
        {12345.678, "1.234567800000000E+04"},
        {1e-300, "1.000000000000000E-300"},
        {std::ldexp(1.0, -1074), "4.940656458412465E-324"},
        {inf, "Infinity"},
        {-inf, "-Infinity"},
        {std::nan(""), "NaN"},
    };
    for (const Case& c : doubles) {
        SCOPED_TRACE(c.text);
        set_message_double(1, c.value);
        const auto lines = print_warning("R", 1, "<%(D1)>");
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0], std::string(" *** WARNING  ERROR 1 from R.  <") + c.text + ">");
    }
    struct IntCase {
        int value;
        const char* text;
    };
    const IntCase ints[] = {{0, "0"},
                            {-42, "-42"},
                            {2147483647, "2147483647"},
                            {std::numeric_limits<int>::min(), "-2147483648"}};
    for (const IntCase& c : ints) {
        set_message_int(9, c.value);
        const auto lines = print_warning("R", 1, "<%(I9)>");
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0], std::string(" *** WARNING  ERROR 1 from R.  <") + c.text + ">");
    }
}

TEST_F(ErrorPrintTest, PlaceholderKeysAndTexts) {
    set_message_int(1, 1);
    set_message_int(1, 2);  // same key again: the first entry wins
    set_message_int(0, 3);  // ignored
    set_message_int(10, 4); // ignored
    set_message_double(0, 1.0);
    set_message_text(1, "ab  ");  // trailing blanks removed
    set_message_text(-2, "cd  "); // kept, key L2
    set_message_text(-10, "x");   // ignored
    set_message_text(3, "   ");   // empty value
    const auto lines = print_warning("R", 1, "%(I1)|%(L1)|%(L2)|%(L3)|%(I0)|%(D0)");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], " *** WARNING  ERROR 1 from R.  1|ab|cd  ||%(I0)|%(D0)");
}

TEST_F(ErrorPrintTest, PlaceholderStoreDropsWhatDoesNotFitAndEmptiesAfterEachMessage) {
    const std::string long_text(300, 'x'); // only 255 are kept
    set_message_text(1, long_text.c_str());
    const std::string too_much(36, 'y');
    set_message_text(2, too_much.c_str()); // 5 + 255 + 5 + 36 > 300: dropped
    set_message_text(3, "ok");             // 5 + 255 + 5 + 2 <= 300: kept
    E1PSH("R");
    E1MES(3, 1, "[%(L1)] [%(L2)] [%(L3)]");
    capture() = Capture{};
    print_message();
    // Message characters of all lines, without the line prefixes.
    std::string joined;
    for (size_t i = 1; i < capture().lines.size(); ++i)
        joined += capture().lines[i].text.substr(i == 1 ? 31 : 14);
    EXPECT_EQ(std::count(joined.begin(), joined.end(), 'x'), 255);
    EXPECT_EQ(joined.substr(0, 1), "[");
    EXPECT_NE(joined.find("x] [%(L2)] [ok]"), std::string::npos) << joined;
    EXPECT_EQ(joined.find('y'), std::string::npos);

    // The store was emptied by E1MES: a new template sees no values.
    E1MES(3, 1, "[%(L3)]");
    capture() = Capture{};
    print_message();
    ASSERT_EQ(capture().lines.size(), 2u);
    EXPECT_EQ(capture().lines[1].text, " *** WARNING  ERROR 1 from R.  [%(L3)]");
    E1POP("R");
}

TEST_F(ErrorPrintTest, ExpansionIsCutAt1024Characters) {
    std::string text(1000, 'a');
    text += "%(L1)";
    set_message_text(1, std::string(100, 'b').c_str());
    E1PSH("R");
    E1MES(3, 1, text.c_str());
    capture() = Capture{};
    print_message();
    // Count the message characters on all lines: no blank anywhere, so nothing is skipped.
    size_t a = 0, b = 0;
    for (const CapturedLine& line : capture().lines)
        for (char ch : line.text)
            a += ch == 'a', b += ch == 'b';
    EXPECT_EQ(a, 1000u);
    EXPECT_EQ(b, 24u);
    E1POP("R");
}

// Line-breaking cases with the header " 1 from R" + ".  " (h = 12, e = 3: budget 44).
struct BreakCase {
    const char* what;
    std::string message;
    std::vector<std::string> pieces; // message part of each printed line
};

std::vector<BreakCase> break_cases() {
    const std::string a43(43, 'a'), a44(44, 'a'), c63(63, 'c'), c64(64, 'c');
    return {
        {"fits exactly", a44, {a44}},
        {"blank at the budget", a43 + " bb", {a43, "bb"}},
        {"blank just past the budget", a44 + " bb", {a44, "bb"}},
        {"no blank: cut at the budget", a44 + "bbb", {a44, "bbb"}},
        {"two blanks: one skipped", a43 + "  bb", {a43, " bb"}},
        {"continuation fits exactly", a43 + " " + c64, {a43, c64}},
        {"continuation ends at a blank, blank printed",
         a43 + " " + c63 + " dd",
         {a43, c63 + " ", "dd"}},
        {"continuation without blank: exactly 64", a43 + " " + c64 + "dd", {a43, c64, "dd"}},
        {"break mark on the first line", "one%/ two", {"one", " two"}},
        {"break mark at the budget is not taken", a43 + "%/ x", {a43 + "%", "/ x"}},
        {"break mark just before the budget",
         std::string(42, 'a') + "%/x",
         {std::string(42, 'a'), "x"}},
        {"break mark on a continuation line", a43 + " cc%/ dd%/%/ee", {a43, "cc", " dd", "", "ee"}},
        {"break mark at the end", "end%/", {"end"}},
        {"message ending in a blank", a43 + " ", {a43 + " "}},
        {"blank ending the message after a cut", a44 + "b ", {a44, "b "}},
    };
}

TEST_F(ErrorPrintTest, LineBreaking) {
    for (const BreakCase& c : break_cases()) {
        SCOPED_TRACE(c.what);
        reset_error_facility();
        const auto lines = print_warning("R", 1, c.message);
        std::vector<std::string> expected;
        for (size_t i = 0; i < c.pieces.size(); ++i)
            expected.push_back((i == 0 ? " *** WARNING  ERROR 1 from R.  " : " ***          ") +
                               c.pieces[i]);
        EXPECT_EQ(lines, expected);
    }
}

TEST_F(ErrorPrintTest, HeaderVariants) {
    struct Case {
        const char* name;
        int code;
        const char* message;
        const char* first_line;
    };
    const Case cases[] = {
        {"dTWODQ", 4, "x", " *** WARNING  ERROR 4 from DTWODQ.  x"},
        {"dtwodq", 4, "x", " *** WARNING  ERROR 4 from dtwodq.  x"},
        {"AB CD", 12, "x", " *** WARNING  ERROR 12 from AB.  x"},
        {"R", 1, ".  own", " *** WARNING  ERROR 1 from R.  own"},
    };
    for (const Case& c : cases) {
        reset_error_facility();
        const auto lines = print_warning(c.name, c.code, c.message);
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0], c.first_line);
    }
    // Without the added ".  " the budget grows by 3: 47 characters of message fit.
    reset_error_facility();
    const std::string own = ".  " + std::string(44, 'z') + " y";
    const auto lines = print_warning("R", 1, own);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], " *** WARNING  ERROR 1 from R" + own);
}

TEST_F(ErrorPrintTest, TracebackRaisesNamesAndMarksInternalCalls) {
    E1PSH("dTWODQ");
    E1USR("ON");
    E1PSH("fcn");
    E1PSH("tOOL");
    E1MES(5, 9, "x");
    std::vector<std::string> expected = {"", " *** TERMINAL ERROR 9 from TOOL.  x"};
    for (const std::string& line : traceback_head())
        expected.push_back(line);
    expected.push_back(traceback_row("TOOL", 5, 9, true));
    expected.push_back(traceback_row("fcn", 0, 0, false)); // its caller's flag is on
    expected.push_back(traceback_row("DTWODQ", 0, 0, false));
    expected.push_back(traceback_row("USER", 0, 0, false));
    EXPECT_EQ(texts(), expected);
}

TEST_F(ErrorPrintTest, NothingPendingPrintsNothing) {
    print_message();
    E1PSH("R");
    E1MES(3, 1, "x");
    E1MES(3, 0, "y"); // code 0 clears
    print_message();
    E1MES(0, 2, "z"); // type 0 clears
    print_message();
    EXPECT_TRUE(capture().lines.empty());
}

TEST_F(ErrorPrintTest, BlankTextKeepsPendingMessageUnderNewType) {
    E1PSH("R");
    E1MES(3, 4, "pending");
    E1MES(5, -1, " "); // TERMINAL, code kept, text kept: printed at once
    E1MES(5, 7, "");   // nothing pending any more: nothing printed
    const std::vector<std::string> expected = {"", " *** TERMINAL ERROR 4 from R.  pending"};
    EXPECT_EQ(texts(), expected);
}

} // namespace
