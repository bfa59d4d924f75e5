// Argument checks of the two-dimensional quadrature: every failing check gives its TERMINAL
// message in table order, nothing is integrated, the results stay untouched.
#include "test_dtwodq_fixture.h"

#include <cmath>
#include <limits>

namespace {

int g_calls = 0; // evaluations of any callback since the case started

double counting_f(const double& x, const double& y) {
    ++g_calls;
    return x + y;
}
double counting_zero(const double&) {
    ++g_calls;
    return 0.0;
}
double counting_one(const double&) {
    ++g_calls;
    return 1.0;
}

using DtwodqArguments = DtwodqTest;

// Message texts of the checks, in table order, with the placeholder part before its value.
struct Expectation {
    int code;
    std::string before; // text up to the value (or the whole text without a value)
    std::string after;  // text after the value
};

const Expectation kMaxsub{
    1, "The maximum number of subintervals MAXSUB = ", ".  It must be at least 1."};
const Expectation kIrule{2, "The quadrature rule IRULE = ", ".  It must be in the range 1 to 6."};
const Expectation kErrabs{3,
                          "The absolute error desired ERRABS = ", ".  It must be at least zero."};
const Expectation kErrrelNegative{
    4, "The relative error desired ERRREL = ", ".  It must be at least zero."};
const Expectation kBothZero{5,
                            "The error tolerance arguments ERRABS and ERRREL are both equal to "
                            "zero.  At least one of them must be greater than zero.",
                            ""};
const Expectation kErrrelOne{6, "The relative error desired ERRREL = ",
                             ".  When ERRREL is greater than or equal to one, zero can always be "
                             "returned as an answer."};

struct Case {
    const char* what;
    int maxsub;
    int irule;
    double errabs;
    double errrel;
    std::vector<Expectation> messages;
    std::vector<std::string> values; // the placeholder value each message starts with
};

void check_messages(const Case& c, const std::vector<size_t>& starts,
                    const std::vector<std::string>& lines, std::string (*body)(size_t),
                    std::string (*squeeze)(std::string)) {
    ASSERT_EQ(starts.size(), c.messages.size());
    for (size_t m = 0; m < starts.size(); ++m) {
        const Expectation& e = c.messages[m];
        SCOPED_TRACE(testing::Message() << "message " << m << " code " << e.code);
        EXPECT_EQ(lines[starts[m]].rfind(
                      " *** TERMINAL ERROR " + std::to_string(e.code) + " from DT2ODQ.  ", 0),
                  0u)
            << lines[starts[m]];
        const std::string got = body(starts[m]);
        const std::string head = squeeze(e.before + c.values[m]);
        EXPECT_EQ(got.substr(0, head.size()), head);
        const std::string tail = squeeze(e.after);
        ASSERT_GE(got.size(), tail.size());
        EXPECT_EQ(got.substr(got.size() - tail.size()), tail);
    }
}

TEST_F(DtwodqArguments, EachBadArgumentAloneAndTogether) {
    const Case cases[] = {
        {"MAXSUB = 0", 0, 6, 0.0, 0.01, {kMaxsub}, {"0"}},
        {"MAXSUB = -3", -3, 6, 0.0, 0.01, {kMaxsub}, {"-3"}},
        {"IRULE = 0", 250, 0, 0.0, 0.01, {kIrule}, {"0"}},
        {"IRULE = 7", 250, 7, 0.0, 0.01, {kIrule}, {"7"}},
        {"ERRABS = -1", 250, 6, -1.0, 0.01, {kErrabs}, {"-1.0"}},
        {"ERRREL = -1", 250, 6, 0.0, -1.0, {kErrrelNegative}, {"-1.0"}},
        {"both zero", 250, 6, 0.0, 0.0, {kBothZero}, {""}},
        {"ERRREL = 1", 250, 6, 0.0, 1.0, {kErrrelOne}, {"1.0"}},
        {"ERRREL = 2", 250, 6, 1e-3, 2.0, {kErrrelOne}, {"2.0"}},
        {"all but zero",
         0,
         7,
         -1.0,
         -2.0,
         {kMaxsub, kIrule, kErrabs, kErrrelNegative},
         {"0", "7", "-1.0", "-2.0"}},
        {"maxsub, rule, zero tolerances",
         -1,
         -1,
         0.0,
         0.0,
         {kMaxsub, kIrule, kBothZero},
         {"-1", "-1", ""}},
        {"rule and relative one", 5, 9, 0.0, 1.5, {kIrule, kErrrelOne}, {"9", "1.5"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TearDown();
        SetUp();
        g_calls = 0;
        double result = 123.0;
        double errest = 456.0;
        int ncalls = -5;
        int nsubs = -6;
        std::vector<double> xl(8), xr(8), sr(8), se(8), work(32);
        std::vector<int> io(8), iw(8);
        // MAXSUB as given, with arrays long enough for the valid cases.
        const int maxsub = c.maxsub;
        DT2ODQ(counting_f, 0.0, 1.0, counting_zero, counting_one, c.errabs, c.errrel, c.irule,
               result, errest, maxsub, ncalls, nsubs, xl.data(), xr.data(), sr.data(), se.data(),
               io.data(), work.data(), iw.data());
        EXPECT_EQ(result, 123.0);
        EXPECT_EQ(errest, 456.0);
        EXPECT_EQ(ncalls, -5);
        EXPECT_EQ(nsubs, -6);
        EXPECT_EQ(g_calls, 0);
        check_messages(c, message_starts(), texts(), message_body, squeeze);
        // The stop comes when DT2ODQ pops, after all messages.
        ASSERT_GE(stop_count(), 1u);
        EXPECT_EQ(capture().stops[0], capture().lines.size());
    }
}

TEST_F(DtwodqArguments, ThroughDtwodqTheResultsStayUntouched) {
    g_calls = 0;
    double result = 7.0;
    double errest = 8.0;
    DTWODQ(counting_f, 0.0, 1.0, counting_zero, counting_one, 0.0, 0.01, 7, result, errest);
    EXPECT_EQ(result, 7.0);
    EXPECT_EQ(errest, 8.0);
    EXPECT_EQ(g_calls, 0);
    const std::vector<std::string> heads = message_heads();
    ASSERT_EQ(heads.size(), 1u);
    EXPECT_GE(stop_count(), 1u);
}

// The exact layout of the IRULE = 7 message: two lines after an empty one, then the traceback of
// the three levels with DT2ODQ called internally.
TEST_F(DtwodqArguments, IruleSevenPrintsTwoLinesAndATraceback) {
    double result = 0.0;
    double errest = 0.0;
    DTWODQ(counting_f, 0.0, 1.0, counting_zero, counting_one, 0.0, 0.01, 7, result, errest);
    std::vector<std::string> expected = {
        "",
        " *** TERMINAL ERROR 2 from DT2ODQ.  The quadrature rule IRULE = 7.  It",
        " ***          must be in the range 1 to 6.",
    };
    for (const std::string& line : traceback_head())
        expected.push_back(line);
    expected.push_back(traceback_row("DT2ODQ", 5, 2, true));
    expected.push_back(traceback_row("DTWODQ", 0, 0, false));
    expected.push_back(traceback_row("USER", 0, 0, false));
    const std::vector<std::string> got = texts();
    ASSERT_GE(got.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(got[i], expected[i]) << "line " << i;
    ASSERT_GE(stop_count(), 1u);
    EXPECT_EQ(capture().stops[0], expected.size()); // the stop follows the message
}

// A NaN tolerance can never be met or missed: it is refused like a negative one.
TEST_F(DtwodqArguments, NanTolerancesAreRefused) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    g_calls = 0;
    double result = 1.0;
    double errest = 2.0;
    DTWODQ(counting_f, 0.0, 1.0, counting_zero, counting_one, nan, nan, 6, result, errest);
    EXPECT_EQ(g_calls, 0);
    EXPECT_EQ(result, 1.0);
    const std::vector<std::string> heads = message_heads();
    ASSERT_EQ(heads.size(), 2u);
    EXPECT_EQ(heads[0].rfind(" *** TERMINAL ERROR 3 from DT2ODQ.", 0), 0u);
    EXPECT_EQ(heads[1].rfind(" *** TERMINAL ERROR 4 from DT2ODQ.", 0), 0u);
}

// ERRABS = 0 with a relative tolerance is a valid request.
TEST_F(DtwodqArguments, PurelyRelativeToleranceIsValid) {
    g_calls = 0;
    double result = 0.0;
    double errest = -1.0;
    DTWODQ(counting_f, 0.0, 1.0, counting_zero, counting_one, 0.0, 0.01, 6, result, errest);
    EXPECT_GT(g_calls, 0);
    EXPECT_NEAR(result, 1.0, 1e-12); // integral of x + y over the unit square
    EXPECT_GE(errest, 0.0);
    EXPECT_TRUE(texts().empty());
    EXPECT_EQ(stop_count(), 0u);
}

} // namespace
