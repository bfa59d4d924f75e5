// The two-dimensional quadrature at the edges of its input: the largest MAXSUB a 32-bit integer
// allows (the inner lists lie MAXSUB apart in WORK, so their offsets and the message's look-up of
// an inner right end go past the 32-bit range; the lists are reserved address space, only the
// touched pages are real), and limits that are not finite numbers.
#include "test_dtwodq_fixture.h"

#include <sys/mman.h>

#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <string>

namespace {

using DtwodqLargeLimit = DtwodqTest;

// Address space for count elements of T, committed page by page as they are touched.
template <class T> struct Reserved {
    T* data = nullptr; // the first element, or null when the space could not be reserved
    std::size_t bytes; // size of the reservation
    explicit Reserved(std::size_t count) : bytes(count * sizeof(T)) {
        void* p = mmap(nullptr, bytes, PROT_READ | PROT_WRITE,
                       MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
        if (p != MAP_FAILED) data = static_cast<T*>(p);
    }
    ~Reserved() {
        if (data) munmap(data, bytes);
    }
    Reserved(const Reserved&) = delete;
    Reserved& operator=(const Reserved&) = delete;
};

const double kJump = 1.0 / 3.0;

// A step in y at 1/3: every inner integration closes in on it until its precision stop.
double step_in_y(const double&, const double& y) {
    return y < kJump ? 0.0 : 1.0;
}
double zero_limit(const double&) {
    return 0.0;
}
double one_limit(const double&) {
    return 1.0;
}

TEST_F(DtwodqLargeLimit, InnerListsBeyondTheIntegerRange) {
    const int maxsub = INT_MAX;
    const std::size_t m = static_cast<std::size_t>(maxsub);
    Reserved<double> xl(m), xr(m), sr(m), se(m), work(4 * m);
    Reserved<int> io(m), iw(m);
    if (!xl.data || !xr.data || !sr.data || !se.data || !work.data || !io.data || !iw.data)
        GTEST_SKIP() << "cannot reserve the address space";
    double result = 0.0;
    double errest = 0.0;
    int ncalls = 0;
    int nsubs = 0;
    // The outer tolerance is met at once; the inner one, divided by the span 1e6, is not.
    DT2ODQ(step_in_y, 0.0, 1e6, zero_limit, one_limit, 1e-7, 0.0, 6, result, errest, maxsub, ncalls,
           nsubs, xl.data, xr.data, sr.data, se.data, io.data, work.data, iw.data);
    EXPECT_NEAR(result, (1.0 - kJump) * 1e6, 1e-6);
    EXPECT_EQ(nsubs, 1);
    // The inner lists are where the layout puts them: the head interval's ends around the step,
    // its left end in the first block and its right end MAXSUB further on.
    const std::ptrdiff_t head = iw.data[0] - 1;
    ASSERT_GE(head, 0);
    const double left = work.data[head];
    const double right = work.data[static_cast<std::ptrdiff_t>(maxsub) + head];
    EXPECT_LT(left, kJump);
    EXPECT_GT(right, kJump);
    EXPECT_LT(right - left, 1e-9);
    // The one inner precision message names that same interval (every inner integration is the
    // same here).
    const std::vector<size_t> starts = message_starts();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(texts()[starts[0]].rfind(" *** WARNING  ERROR 3 from DT2ODQ.  ", 0), 0u);
    const std::string body = message_body(starts[0]);
    const size_t open = body.find('(');
    const size_t comma = body.find(',', open);
    ASSERT_NE(comma, std::string::npos) << body;
    // 16 significant digits are shown.
    EXPECT_NEAR(std::strtod(body.substr(open + 1, comma - open - 1).c_str(), nullptr), left,
                1e-15 * left);
    EXPECT_NEAR(std::strtod(body.substr(comma + 1).c_str(), nullptr), right, 1e-15 * right);
}

const double kNan = std::nan("");
const double kInf = HUGE_VAL;
double g_lower = 0.0; // what the lower y-limit returns
double g_upper = 1.0; // what the upper y-limit returns
double lower_value(const double&) {
    return g_lower;
}
double upper_value(const double&) {
    return g_upper;
}
double plain_f(const double& x, const double& y) {
    return x * y + 1.0;
}

// Limits that are not finite give no usable integral, but the integration ends within its
// limit, every list index it returns points into the lists, and nothing reads or writes
// outside them (the sanitizer build watches).
TEST_F(DtwodqLargeLimit, NonFiniteLimitsEndWithinTheLists) {
    struct Case {
        const char* what;
        double a, b, lower, upper;
    };
    const Case cases[] = {
        {"A NaN", kNan, 1.0, 0.0, 1.0},
        {"B NaN", 0.0, kNan, 0.0, 1.0},
        {"B infinite", 0.0, kInf, 0.0, 1.0},
        {"A and B infinite", -kInf, kInf, 0.0, 1.0},
        {"G NaN", 0.0, 1.0, kNan, 1.0},
        {"H infinite", 0.0, 1.0, 0.0, kInf},
        {"G and H infinite", 0.0, 1.0, -kInf, kInf},
    };
    const int maxsub = 6;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TearDown();
        SetUp();
        g_lower = c.lower;
        g_upper = c.upper;
        std::vector<double> xl(maxsub), xr(maxsub), sr(maxsub), se(maxsub), work(4 * maxsub);
        std::vector<int> io(maxsub), iw(maxsub);
        double result = 0.0;
        double errest = 0.0;
        int ncalls = -1;
        int nsubs = -1;
        DT2ODQ(plain_f, c.a, c.b, lower_value, upper_value, 0.0, 0.01, 2, result, errest, maxsub,
               ncalls, nsubs, xl.data(), xr.data(), sr.data(), se.data(), io.data(), work.data(),
               iw.data());
        ASSERT_GE(nsubs, 1);
        ASSERT_LE(nsubs, maxsub);
        EXPECT_GT(ncalls, 0);
        EXPECT_GE(io[0], 1);
        EXPECT_LE(io[0], nsubs);
        EXPECT_GE(iw[0], 1);
        EXPECT_LE(iw[0], maxsub);
    }
}

} // namespace
