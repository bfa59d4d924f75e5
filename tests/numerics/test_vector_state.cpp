// The upper AVX halves are clean after clear_upper_vector_state and after every two-dimensional
// quadrature, whatever state the caller left, and clearing them changes no result.
#include "numerics/dtwodq.h"
#include "numerics/vector_state.h"
#include "test_dtwodq_fixture.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

// Leaves non-zero upper halves in ymm0, as toolkit code that returns without VZEROUPPER does.
// VBROADCASTSS faults without AVX, so it runs only where the quadrature's own check allows
// VZEROUPPER.
void dirty_upper_state() {
#if defined(__GNUC__) && defined(__x86_64__)
    static const float one = 1.0f;
    if (avx_supported()) __asm__ volatile("vbroadcastss %0, %%ymm0" : : "m"(one) : "xmm0");
#endif
}

// Why the dirty state cannot be observed here, or empty when it can: the processor must have AVX
// and report which state components are in use.
std::string why_unobservable() {
    if (!avx_supported()) return "the processor or the system has no AVX";
    dirty_upper_state();
    const bool seen = upper_vector_state_in_use();
    clear_upper_vector_state();
    return seen ? "" : "the processor does not report the AVX state in use (no XGETBV with ECX=1)";
}

double lorentz_f(const double& x, const double& y) {
    const double u = x / 0.4 - 0.5;
    const double v = y / 0.4 + 0.5;
    return 3.2385880947113037 / ((1.0 + u * u) * (1.0 + v * v));
}
double minus_one(const double&) {
    return -1.0;
}
double identity(const double& x) {
    return x;
}

struct Integral {
    double result = -99.0;
    double errest = -99.0;
};

enum class Entry { Dtwodq, Dt2odq };

Integral integrate(Entry entry) {
    Integral r;
    const double a = -1.0, b = 0.5, errabs = 0.0, errrel = static_cast<double>(0.01f);
    const int rule = 6;
    if (entry == Entry::Dtwodq) {
        DTWODQ(lorentz_f, a, b, minus_one, identity, errabs, errrel, rule, r.result, r.errest);
    } else {
        const int maxsub = 250;
        int ncalls = 0, nsubs = 0;
        std::vector<double> xl(maxsub), xr(maxsub), sr(maxsub), se(maxsub), work(4 * maxsub);
        std::vector<int> io(maxsub), iw(maxsub);
        DT2ODQ(lorentz_f, a, b, minus_one, identity, errabs, errrel, rule, r.result, r.errest,
               maxsub, ncalls, nsubs, xl.data(), xr.data(), sr.data(), se.data(), io.data(),
               work.data(), iw.data());
    }
    return r;
}

bool same_bits(double x, double y) {
    return std::memcmp(&x, &y, sizeof x) == 0;
}

TEST(VectorState, ClearLeavesTheUpperHalvesFree) {
    const std::string why = why_unobservable();
    if (!why.empty()) GTEST_SKIP() << why;
    dirty_upper_state();
    ASSERT_TRUE(upper_vector_state_in_use());
    clear_upper_vector_state();
    EXPECT_FALSE(upper_vector_state_in_use());
}

TEST(VectorState, ClearKeepsTheLowerHalves) {
    // A double in a register survives the clearing (the compiler may keep it in xmm0..15).
    volatile double kept = 0.1234567890123;
    double x = kept * 3.0;
    clear_upper_vector_state();
    EXPECT_TRUE(same_bits(x, kept * 3.0));
}

class VectorStateQuadrature : public DtwodqTest, public ::testing::WithParamInterface<Entry> {};

TEST_P(VectorStateQuadrature, ReturnsWithCleanUpperHalvesAndTheSameBits) {
    const std::string why = why_unobservable();
    if (!why.empty()) GTEST_SKIP() << why;
    const Integral clean = integrate(GetParam());
    dirty_upper_state();
    ASSERT_TRUE(upper_vector_state_in_use());
    const Integral dirty = integrate(GetParam());
    EXPECT_FALSE(upper_vector_state_in_use());
    EXPECT_TRUE(same_bits(clean.result, dirty.result)) << clean.result << " " << dirty.result;
    EXPECT_TRUE(same_bits(clean.errest, dirty.errest));
    EXPECT_GT(clean.result, 0.0);
}

INSTANTIATE_TEST_SUITE_P(BothEntries, VectorStateQuadrature,
                         ::testing::Values(Entry::Dtwodq, Entry::Dt2odq));

} // namespace
