// Gauss-Kronrod tables: every pair integrates the monomials exactly up to its degree, and the
// Gauss part agrees with the Legendre polynomial to the last digit.
#include "numerics/gk_rule.h"
#include "numerics/gk_rules.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

const double kEps = std::ldexp(1.0, -52);

// Integral of x^d over [-1, 1] by the table (Kronrod or Gauss part), in extended precision so
// that only the rounding of the table entries shows. bound receives the sum of |terms|.
long double kronrod_moment(const GkRuleTable& t, int d, long double& bound) {
    long double s = 0.0L;
    bound = 0.0L;
    for (int j = 0; j <= t.n; ++j) {
        const long double x = t.xk[j];
        const long double p = std::pow(x, d);
        const long double term =
            (j == t.n) ? t.wk[j] * (d == 0 ? 1.0L : 0.0L) : t.wk[j] * (p + std::pow(-x, d));
        s += term;
        bound += std::fabs(term);
    }
    return s;
}

long double gauss_moment(const GkRuleTable& t, int d, long double& bound) {
    long double s = 0.0L;
    bound = 0.0L;
    const int pairs = t.n / 2;
    for (int j = 0; j < pairs; ++j) {
        const long double x = t.xk[2 * j + 1];
        const long double term = t.wgs[j] * (std::pow(x, d) + std::pow(-x, d));
        s += term;
        bound += std::fabs(term);
    }
    if (t.n % 2 == 1 && d == 0) {
        s += t.wgs[pairs];
        bound += t.wgs[pairs];
    }
    return s;
}

long double exact_moment(int d) {
    return (d % 2 == 1) ? 0.0L : 2.0L / (d + 1);
}

// Allowed deviation for degree d: each entry carries up to half an ulp, a power x^d multiplies
// the node's error by d.
long double tolerance(int d, long double bound) {
    return (d + 2) * kEps * bound;
}

TEST(GkRules, TablesHaveTheDocumentedShape) {
    const int gauss_points[] = {7, 10, 15, 20, 25, 30};
    for (int k = 1; k <= 6; ++k) {
        SCOPED_TRACE(k);
        const GkRuleTable t = gk_rule_table(k);
        ASSERT_EQ(t.n, gauss_points[k - 1]);
        EXPECT_EQ(t.xk[t.n], 0.0);
        for (int j = 0; j < t.n; ++j) {
            EXPECT_GT(t.xk[j], t.xk[j + 1]);
            EXPECT_GT(t.wk[j], 0.0);
        }
        EXPECT_LT(t.xk[0], 1.0);
    }
    EXPECT_EQ(gk_rule_table(0).n, 0);
    EXPECT_EQ(gk_rule_table(7).xk, nullptr);
}

TEST(GkRules, KronrodRuleIsExactUpToDegree3nPlus1) {
    for (int k = 1; k <= 6; ++k) {
        const GkRuleTable t = gk_rule_table(k);
        for (int d = 0; d <= 3 * t.n + 1; ++d) {
            SCOPED_TRACE(testing::Message() << "k=" << k << " d=" << d);
            long double bound;
            const long double m = kronrod_moment(t, d, bound);
            EXPECT_LE(std::fabs(m - exact_moment(d)), tolerance(d, bound));
        }
    }
}

TEST(GkRules, GaussRuleIsExactUpToDegree2nMinus1) {
    for (int k = 1; k <= 6; ++k) {
        const GkRuleTable t = gk_rule_table(k);
        for (int d = 0; d <= 2 * t.n - 1; ++d) {
            SCOPED_TRACE(testing::Message() << "k=" << k << " d=" << d);
            long double bound;
            const long double m = gauss_moment(t, d, bound);
            EXPECT_LE(std::fabs(m - exact_moment(d)), tolerance(d, bound));
        }
    }
}

// P_n and its derivative at x by the three-term recurrence, in extended precision.
void legendre(int n, long double x, long double& p, long double& dp) {
    long double p0 = 1.0L;
    long double p1 = x;
    for (int m = 1; m < n; ++m) {
        const long double p2 = ((2 * m + 1) * x * p1 - m * p0) / (m + 1);
        p0 = p1;
        p1 = p2;
    }
    p = p1;
    dp = n * (x * p1 - p0) / (x * x - 1.0L);
}

// The Gauss abscissae are the roots of P_n to within an ulp (one Newton step moves each by less
// than one unit in its last place) and the Gauss weights are 2/((1-x^2) P_n'(x)^2).
TEST(GkRules, GaussPartMatchesLegendreRootsToTheLastDigit) {
    for (int k = 1; k <= 6; ++k) {
        const GkRuleTable t = gk_rule_table(k);
        const int pairs = t.n / 2;
        for (int j = 0; j < pairs; ++j) {
            SCOPED_TRACE(testing::Message() << "k=" << k << " j=" << j);
            const double x = t.xk[2 * j + 1];
            long double p;
            long double dp;
            legendre(t.n, x, p, dp);
            const long double root = x - p / dp;
            legendre(t.n, root, p, dp);
            const long double ulp = std::nextafter(x, 2.0) - x;
            EXPECT_LE(std::fabs(root - x), ulp);
            const long double w = 2.0L / ((1.0L - root * root) * dp * dp);
            EXPECT_LE(std::fabs(w - t.wgs[j]), 2 * (std::nextafter(t.wgs[j], 2.0) - t.wgs[j]));
        }
        if (t.n % 2 == 1) {
            long double p;
            long double dp;
            legendre(t.n, 0.0L, p, dp);
            const long double w = 2.0L / (dp * dp);
            EXPECT_LE(std::fabs(w - t.wgs[pairs]),
                      2 * (std::nextafter(t.wgs[pairs], 2.0) - t.wgs[pairs]))
                << "k=" << k;
        }
    }
}

} // namespace

namespace {

// The error estimate as written out, with the power always taken.
double error_estimate_in_full(double diff, double devint, double absint, double eps, double tiny) {
    double aerr = diff;
    if (devint != 0.0 && aerr != 0.0)
        aerr = devint * std::min(1.0, std::pow(200.0 * aerr / devint, 1.5));
    if (absint > tiny / (50.0 * eps)) aerr = std::max(50.0 * eps * absint, aerr);
    return aerr;
}

// The shortcuts around the power give the same bits over a wide spread of inputs, most of all
// near the points where the shortcuts switch.
TEST(GkRules, ErrorEstimateShortcutsKeepTheBits) {
    const double eps = std::ldexp(1.0, -52);
    const double tiny = std::ldexp(1.0, -1022);
    unsigned long long seed = 88172645463325252ull;
    auto next = [&seed]() {
        seed ^= seed << 13;
        seed ^= seed >> 7;
        seed ^= seed << 17;
        return static_cast<double>(seed >> 11) * 0x1p-53; // [0, 1)
    };
    int checked = 0;
    for (int i = 0; i < 200000; ++i) {
        const double absint = std::ldexp(0.5 + next(), static_cast<int>(next() * 40) - 20);
        const double devint = absint * next();
        // Differences from far below the rounding floor to far above the spread.
        double diff = devint * std::ldexp(next(), -static_cast<int>(next() * 60));
        if (i % 4 == 0) {
            // Close to where the floor takes over: devint (200 diff/devint)^1.5 = floor.
            const double floor = 50.0 * eps * absint;
            const double q = std::cbrt((floor / devint) * (floor / devint));
            diff = q * devint / 200.0 * (1.0 + (next() - 0.5) * 1e-6);
        } else if (i % 4 == 1) {
            diff = devint / 200.0 * (1.0 + (next() - 0.5) * 1e-12); // q near 1
        }
        const double a = gk_error_estimate(diff, devint, absint, eps, tiny);
        const double b = error_estimate_in_full(diff, devint, absint, eps, tiny);
        ASSERT_EQ(a, b) << diff << " " << devint << " " << absint;
        ++checked;
    }
    EXPECT_EQ(checked, 200000);
    // Zero spread or zero difference, and values too small for the floor.
    const double cases[][3] = {{0.0, 1.0, 1.0}, {1e-3, 0.0, 1.0}, {1e-300, 1e-300, 1e-300}};
    for (const auto& c : cases)
        EXPECT_EQ(gk_error_estimate(c[0], c[1], c[2], eps, tiny),
                  error_estimate_in_full(c[0], c[1], c[2], eps, tiny));
}

} // namespace
