// The lane rule gives, in every build the processor can run, the bits of the one-at-a-time rule
// on the same Lorentz-product integrand: over random and extreme intervals (infinite and NaN
// ends among them), scales and numerators, so that every exact quotient the builds use instead of a
// division is checked against the division across hundreds of thousands of points.
#include "numerics/gk_rule.h"
#include "model/lorentz_lanes.h"
#include "model/simd_level.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <utility>
#include <vector>

namespace {

// y -> the integrand at the outer node x, one value at a time, in the order of operations the
// model's density uses.
struct OneAtATime {
    LorentzProduct lp;
    double x;

    double at(double y) const {
        const double t = y / lp.scale + lp.inner_shift;
        return lp.numerator / (lorentz_outer_factor(lp, x) * (1.0 + t * t));
    }
    double single(double y) { return at(y); }
    void values(const double* y, double* fy, int count) {
        for (int i = 0; i < count; ++i)
            fy[i] = at(y[i]);
    }
};

bool same_bits(const GkEstimate& p, const GkEstimate& q) {
    return std::memcmp(&p, &q, sizeof(GkEstimate)) == 0;
}

class GkRuleLanes : public testing::Test {
  protected:
    void TearDown() override { set_simd_level(simd_level_for(nullptr)); }
};

TEST_F(GkRuleLanes, EveryBuildGivesTheOneAtATimeBits) {
    std::mt19937_64 random(20261208);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    auto log_uniform = [&](double lo, double hi) {
        return std::exp(std::log(lo) + (std::log(hi) - std::log(lo)) * unit(random));
    };
    // Interval ends: ordinary fields, huge and tiny ones, zero, and the ends of the range the
    // exact quotients accept and just beyond.
    const double inf = std::numeric_limits<double>::infinity();
    const double special[] = {
        0.0,      -0.0,    1e-300,   -1e-250, 0x1p-800,
        0x1p-801, 0x1p898, -0x1p898, 1e300,   8192.25,
        -1000.0,  1000.0,  inf,      -inf,    std::numeric_limits<double>::quiet_NaN()};
    const SimdLevel levels[] = {kSimdBaseline, kSimdAvx2, kSimdAvx512};
    int compared = 0;
    for (int round = 0; round < 400; ++round) {
        const int K = 1 + round % 6;
        LorentzProduct lp{log_uniform(1e-3, 1e3), log_uniform(1e-3, 1e6), -0.5, 0.5};
        if (round % 2 == 1) std::swap(lp.outer_shift, lp.inner_shift);
        if (round % 50 == 7) lp.scale = 0x1p-101; // beyond the exact quotients' scales
        if (round % 50 == 9) lp.scale = -lp.scale;
        if (round % 50 == 11) lp.numerator = 0.0;
        // One group, a short one, or several whose last may be short; the extreme ends go to
        // some lanes only, so that groups the builds take and groups they leave mix in a call.
        const int count = round % 9 == 4   ? 1 + round % kRuleLanes
                          : round % 3 == 1 ? kRuleLanesMost - round % 13
                                           : kRuleLanes;
        double x[kRuleLanesMost];
        double a[kRuleLanesMost];
        double b[kRuleLanesMost];
        for (int m = 0; m < count; ++m) {
            const double reach = log_uniform(1e-3, 1e4) * lp.scale;
            x[m] = (2.0 * unit(random) - 1.0) * reach;
            a[m] = (2.0 * unit(random) - 1.0) * reach;
            b[m] = round % 5 == 0 ? a[m] : (2.0 * unit(random) - 1.0) * reach;
            if (round % 7 == 3 && (m < kRuleLanes || m % 3 == 0))
                a[m] = special[(round + m) % std::size(special)];
        }
        // The machine's constants, then two epsilons on either side of the one at which the
        // first integral's error estimate becomes the rounding floor, found by bisection, so
        // that the lanes' test for the floor is checked where it is closest to failing.
        std::vector<std::pair<double, double>> constants{{DMACH(4), DMACH(1)}};
        OneAtATime first{lp, x[0]};
        auto at_floor = [&](double eps) {
            const GkEstimate e = gk_rule(K, first, a[0], b[0], eps, DMACH(1));
            return e.aerr == 50.0 * eps * e.absint;
        };
        if (!at_floor(1e-300) && at_floor(0.5)) {
            double lo = 1e-300;
            double hi = 0.5;
            for (int i = 0; i < 80; ++i) {
                const double mid = std::sqrt(lo) * std::sqrt(hi);
                (at_floor(mid) ? hi : lo) = mid;
            }
            constants.push_back({lo, DMACH(1)});
            constants.push_back({hi, DMACH(1)});
        }
        for (const auto& [eps, tiny] : constants) {
            GkEstimate expected[kRuleLanesMost];
            for (int m = 0; m < count; ++m) {
                OneAtATime f{lp, x[m]};
                expected[m] = gk_rule(K, f, a[m], b[m], eps, tiny);
            }
            for (SimdLevel level : levels) {
                if (!set_simd_level(level)) continue;
                GkEstimate got[kRuleLanesMost];
                lorentz_rule_lanes(K, lorentz_lanes_prepare(lp, eps, tiny), count, x, a, b, got);
                for (int m = 0; m < count; ++m) {
                    ++compared;
                    EXPECT_TRUE(same_bits(expected[m], got[m]))
                        << "round " << round << " level " << level << " eps " << eps << " lane "
                        << m << ": " << expected[m].aerr << " " << got[m].aerr;
                }
            }
        }
    }
    EXPECT_GT(compared, 3000);
}

} // namespace
