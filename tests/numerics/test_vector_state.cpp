// The upper AVX halves are clean after clear_upper_vector_state and after every two-dimensional
// quadrature, whatever state the caller left, and clearing them changes no result.
#include "numerics/dtwodq.h"
#include "numerics/vector_state.h"
#include "test_dtwodq_fixture.h"

#include <cstring>
#include <vector>

namespace {

// Leaves non-zero upper halves in ymm0, as toolkit code that returns without VZEROUPPER does.
// Only called where upper_vector_state_in_use can see the result, which implies AVX.
void dirty_upper_state() {
#if defined(__GNUC__) && defined(__x86_64__)
    static const float one = 1.0f;
    __asm__ volatile("vbroadcastss %0, %%ymm0" : : "m"(one) : "xmm0");
#endif
}

// Dirties the state and reports whether the processor shows it; tests skip where it cannot.
bool can_observe_dirty_state() {
    clear_upper_vector_state();
    if (upper_vector_state_in_use()) return false;
    dirty_upper_state();
    const bool seen = upper_vector_state_in_use();
    clear_upper_vector_state();
    return seen;
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
    if (!can_observe_dirty_state()) GTEST_SKIP() << "no AVX state to observe here";
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
    if (!can_observe_dirty_state()) GTEST_SKIP() << "no AVX state to observe here";
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
