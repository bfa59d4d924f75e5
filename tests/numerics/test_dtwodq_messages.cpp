// Run-time messages of the two-dimensional quadrature: inner messages once per run, outer
// messages on every call, the storage failure, and user code running with its flag on.
#include "numerics/quadrature_workspace.h"
#include "test_dtwodq_fixture.h"

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using DtwodqMessages = DtwodqTest;

const double kJump = 1.0 / 3.0;

// A step in y at 1/3, the same at every x: every inner integral has to close in on the step.
double step_in_y(const double&, const double& y) {
    return y < kJump ? 0.0 : 1.0;
}
// A step in x: the outer integral closes in on it, the inner ones are trivial.
double step_in_x(const double& x, const double&) {
    return x < kJump ? 0.0 : 1.0;
}
double zero_limit(const double&) {
    return 0.0;
}
double one_limit(const double&) {
    return 1.0;
}

// The two numbers of "(D1,D2)" in a message body without blanks.
bool interval_of(const std::string& body, double& d1, double& d2) {
    const size_t open = body.find('(');
    const size_t comma = body.find(',', open);
    const size_t close = body.find(')', comma);
    if (open == std::string::npos || comma == std::string::npos || close == std::string::npos)
        return false;
    std::string a = body.substr(open + 1, comma - open - 1);
    std::string b = body.substr(comma + 1, close - comma - 1);
    for (std::string* s : {&a, &b})
        for (char& c : *s)
            if (c == 'D' || c == 'd') c = 'E';
    char* end = nullptr;
    d1 = std::strtod(a.c_str(), &end);
    if (*end != '\0') return false;
    d2 = std::strtod(b.c_str(), &end);
    return *end == '\0';
}

double constant_one(const double&, const double&) {
    return 1.0;
}

// Runs DT2ODQ with its own lists of maxsub entries.
void run_dt2odq(Integrand2 f, double a, double b, double errabs, double errrel, int maxsub,
                double& result, double& errest) {
    std::vector<double> xl(maxsub), xr(maxsub), sr(maxsub), se(maxsub), work(4 * maxsub);
    std::vector<int> io(maxsub), iw(maxsub);
    int ncalls = 0;
    int nsubs = 0;
    DT2ODQ(f, a, b, zero_limit, one_limit, errabs, errrel, 6, result, errest, maxsub, ncalls, nsubs,
           xl.data(), xr.data(), sr.data(), se.data(), io.data(), work.data(), iw.data());
}

const char* const kPrecisionStart = "Precisionisdegradedduetotoofineasubdivision";
const char* const kLimitStart = "ThemaximumnumberofsubintervalsallowedMAXSUB=";
const char* const kRoundoff = "Roundofferrorhasbeendetected.Therequestedtolerancescannotbereached.";

// The inner precision message is issued by the first call only; the flag lasts for the run.
TEST_F(DtwodqMessages, InnerPrecisionMessageOncePerRun) {
    double result = 0.0;
    double errest = 0.0;
    // The span 1e6 divides the inner tolerance: the outer one is met, the inner one is not.
    for (int call = 0; call < 3; ++call) {
        SCOPED_TRACE(call);
        const size_t before = texts().size();
        DTWODQ(step_in_y, 0.0, 1e6, zero_limit, one_limit, 1e-7, 0.0, 6, result, errest);
        EXPECT_NEAR(result, (1.0 - kJump) * 1e6, 1e-6);
        const std::vector<size_t> starts = message_starts();
        if (call == 0) {
            ASSERT_EQ(starts.size(), 1u);
            EXPECT_EQ(texts()[starts[0]].rfind(" *** WARNING  ERROR 3 from DTWODQ.  ", 0), 0u);
            const std::string body = message_body(starts[0]);
            EXPECT_EQ(body.rfind(kPrecisionStart, 0), 0u) << body;
            double d1 = 0.0;
            double d2 = 0.0;
            ASSERT_TRUE(interval_of(body, d1, d2)) << body;
            // The y-ends of the inner subinterval at the head of the ordering: around the step.
            EXPECT_LT(d1, kJump);
            EXPECT_GT(d2, kJump);
            EXPECT_LT(d2 - d1, 1e-9);
        } else {
            EXPECT_EQ(texts().size(), before);
        }
    }
    EXPECT_EQ(stop_count(), 0u);
    // Another kind of inner message is still issued once.
    run_dt2odq(step_in_y, 0.0, 1e6, 1e-7, 0.0, 3, result, errest);
    ASSERT_EQ(message_starts().size(), 2u);
    EXPECT_EQ(texts()[message_starts()[1]].rfind(" *** FATAL    ERROR 1 from DT2ODQ.  ", 0), 0u);
    EXPECT_EQ(message_body(message_starts()[1]).rfind(std::string(kLimitStart) + "3has", 0), 0u);
    EXPECT_EQ(stop_count(), 1u);
    // Clearing the flags (tests only) issues it again.
    reset_quadrature_flags();
    DTWODQ(step_in_y, 0.0, 1e6, zero_limit, one_limit, 1e-7, 0.0, 6, result, errest);
    EXPECT_EQ(message_starts().size(), 3u);
}

// Many inner integrations hit the limit; one FATAL message, then the stop when DT2ODQ returns to
// the caller. A second call is silent.
TEST_F(DtwodqMessages, InnerLimitMessageOncePerRun) {
    double result = 0.0;
    double errest = 0.0;
    run_dt2odq(step_in_y, 0.0, 1e6, 1e-7, 0.0, 3, result, errest);
    ASSERT_EQ(message_starts().size(), 1u);
    EXPECT_EQ(texts()[message_starts()[0]].rfind(" *** FATAL    ERROR 1 from DT2ODQ.  ", 0), 0u);
    const std::string body = message_body(message_starts()[0]);
    EXPECT_EQ(body, std::string(kLimitStart) +
                        "3hasbeenreached.UseDT2ODQandincreaseMAXSUB.Dimensionadjustmentsmaybe"
                        "necessary.");
    EXPECT_EQ(stop_count(), 1u);
    const size_t lines = texts().size();
    run_dt2odq(step_in_y, 0.0, 1e6, 1e-7, 0.0, 3, result, errest);
    EXPECT_EQ(texts().size(), lines);
    EXPECT_EQ(stop_count(), 1u);
}

TEST_F(DtwodqMessages, InnerRoundoffMessageOncePerRun) {
    double result = 0.0;
    double errest = 0.0;
    // The outer relative tolerance is reachable, the inner one (divided by 1e6) is not.
    for (int call = 0; call < 2; ++call) {
        DTWODQ(constant_one, 0.0, 1e6, zero_limit, one_limit, 0.0, 2e-12, 6, result, errest);
        EXPECT_NEAR(result, 1e6, 1e-6);
    }
    ASSERT_EQ(message_starts().size(), 1u);
    EXPECT_EQ(texts()[message_starts()[0]].rfind(" *** WARNING  ERROR 2 from DTWODQ.  ", 0), 0u);
    EXPECT_EQ(message_body(message_starts()[0]), kRoundoff);
    EXPECT_EQ(stop_count(), 0u);
}

// The outer messages come with every call.
TEST_F(DtwodqMessages, OuterMessagesOnEveryCall) {
    double result = 0.0;
    double errest = 0.0;
    for (int call = 1; call <= 2; ++call) {
        SCOPED_TRACE(call);
        DTWODQ(step_in_x, 0.0, 1.0, zero_limit, one_limit, 0.0, 1e-17, 6, result, errest);
        const std::vector<size_t> starts = message_starts();
        ASSERT_EQ(starts.size(), static_cast<size_t>(call));
        const size_t last = starts.back();
        EXPECT_EQ(texts()[last].rfind(" *** WARNING  ERROR 3 from DTWODQ.  ", 0), 0u);
        double d1 = 0.0;
        double d2 = 0.0;
        ASSERT_TRUE(interval_of(message_body(last), d1, d2));
        EXPECT_LT(d1, kJump);
        EXPECT_GT(d2, kJump);
        EXPECT_NEAR(result, 1.0 - kJump, errest + 1e-15);
    }
    for (int call = 1; call <= 2; ++call) {
        run_dt2odq(step_in_x, 0.0, 1.0, 0.0, 1e-10, 2, result, errest);
        const std::vector<size_t> starts = message_starts();
        ASSERT_EQ(starts.size(), static_cast<size_t>(2 + call));
        EXPECT_EQ(texts()[starts.back()].rfind(" *** FATAL    ERROR 1 from DT2ODQ.  ", 0), 0u);
        EXPECT_EQ(message_body(starts.back()).rfind(std::string(kLimitStart) + "2has", 0), 0u);
        EXPECT_EQ(stop_count(), static_cast<size_t>(call));
    }
    for (int call = 1; call <= 2; ++call) {
        DTWODQ(constant_one, 0.0, 1.0, zero_limit, one_limit, 0.0, 1e-17, 6, result, errest);
        const std::vector<size_t> starts = message_starts();
        ASSERT_EQ(starts.size(), static_cast<size_t>(4 + call));
        EXPECT_EQ(texts()[starts.back()].rfind(" *** WARNING  ERROR 2 from DTWODQ.  ", 0), 0u);
        EXPECT_EQ(message_body(starts.back()), kRoundoff);
    }
}

// An allocator that refuses one request and keeps count.
int g_requests = 0;
int g_refuse = 0;
int g_live = 0;
void* test_allocate(std::size_t bytes) {
    ++g_requests;
    if (g_requests == g_refuse) return nullptr;
    ++g_live;
    return std::malloc(bytes);
}
void test_release(void* p) {
    --g_live;
    std::free(p);
}

int g_f_calls = 0;
double counting_one(const double&, const double&) {
    ++g_f_calls;
    return 1.0;
}

TEST_F(DtwodqMessages, StorageFailureIsTerminal) {
    for (int refuse = 1; refuse <= 7; ++refuse) {
        SCOPED_TRACE(refuse);
        TearDown();
        SetUp();
        g_requests = 0;
        g_refuse = refuse;
        g_live = 0;
        g_f_calls = 0;
        set_work_allocator(test_allocate, test_release);
        double result = 3.0;
        double errest = 4.0;
        DTWODQ(counting_one, 0.0, 1.0, zero_limit, one_limit, 0.0, 0.01, 6, result, errest);
        set_work_allocator(nullptr, nullptr);
        EXPECT_EQ(g_requests, 7); // every request is made
        EXPECT_EQ(g_live, 0);     // every granted one is released
        EXPECT_EQ(g_f_calls, 0);
        EXPECT_EQ(result, 3.0);
        EXPECT_EQ(errest, 4.0);
        const std::vector<std::string> expected = {
            "",
            // 39 characters of message fit after the 17-character header.
            " *** TERMINAL ERROR 2 from DTWODQ.  The required storage cannot be",
            " ***          allocated.  The workspace allocation is based on MAXSUB = 250.",
        };
        EXPECT_EQ(texts(), expected);
        EXPECT_EQ(stop_count(), 1u);
    }
    // Granted storage is released on the normal path too.
    g_requests = 0;
    g_refuse = 0;
    g_live = 0;
    set_work_allocator(test_allocate, test_release);
    double result = 0.0;
    double errest = 0.0;
    DTWODQ(counting_one, 0.0, 1.0, zero_limit, one_limit, 0.0, 0.01, 6, result, errest);
    set_work_allocator(nullptr, nullptr);
    EXPECT_EQ(g_requests, 7);
    EXPECT_EQ(g_live, 0);
    EXPECT_NEAR(result, 1.0, 1e-14);
}

// A routine that records a WARNING from inside a callback (once per test).
bool g_reported = false;
void report_from_callback() {
    if (g_reported) return;
    g_reported = true;
    E1PSH("FUSER");
    E1MES(3, 9, "Inside the callback.");
    E1POP("FUSER");
}
double reporting_f(const double& x, const double& y) {
    report_from_callback();
    return x * y;
}
double reporting_g(const double&) {
    report_from_callback();
    return 0.0;
}
double plain_f(const double& x, const double& y) {
    return x * y;
}

// F runs as user code: its own error is printed when its routine returns. G does not: the error
// travels up and is printed when DTWODQ returns to the program.
TEST_F(DtwodqMessages, OnlyTheIntegrandRunsAsUserCode) {
    double result = 0.0;
    double errest = 0.0;
    g_reported = false;
    DTWODQ(reporting_f, 0.0, 1.0, zero_limit, one_limit, 0.0, 0.01, 6, result, errest);
    std::vector<std::string> heads = message_heads();
    ASSERT_EQ(heads.size(), 1u);
    EXPECT_EQ(heads[0].rfind(" *** WARNING  ERROR 9 from FUSER.  Inside the callback.", 0), 0u);

    TearDown();
    SetUp();
    g_reported = false;
    DTWODQ(plain_f, 0.0, 1.0, reporting_g, one_limit, 0.0, 0.01, 6, result, errest);
    heads = message_heads();
    ASSERT_EQ(heads.size(), 1u);
    EXPECT_EQ(heads[0].rfind(" *** WARNING  ERROR 9 from DTWODQ.  Inside the callback.", 0), 0u);
    EXPECT_NEAR(result, 0.25, 1e-14);
}

} // namespace
