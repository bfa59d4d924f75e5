// Gauss-Kronrod tables: every pair integrates the monomials exactly up to its degree, and every
// abscissa and weight is its defining value correctly rounded. Also the shortcuts of the error
// estimate.
#include "numerics/gk_rule.h"
#include "numerics/gk_rules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

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

// Every Gauss abscissa is the root of P_n correctly rounded (one Newton step in extended precision
// moves it by at most half an ulp), and so is every weight 2/((1-x^2) P_n'(x)^2).
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
            EXPECT_LE(std::fabs(root - x), 0.51L * ulp);
            const long double w = 2.0L / ((1.0L - root * root) * dp * dp);
            EXPECT_LE(std::fabs(w - t.wgs[j]), 0.51L * (std::nextafter(t.wgs[j], 2.0) - t.wgs[j]));
        }
        if (t.n % 2 == 1) {
            long double p;
            long double dp;
            legendre(t.n, 0.0L, p, dp);
            const long double w = 2.0L / (dp * dp);
            EXPECT_LE(std::fabs(w - t.wgs[pairs]),
                      0.51L * (std::nextafter(t.wgs[pairs], 2.0) - t.wgs[pairs]))
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
    }
    // Zero spread or zero difference, and values too small for the floor.
    const double cases[][3] = {{0.0, 1.0, 1.0}, {1e-3, 0.0, 1.0}, {1e-300, 1e-300, 1e-300}};
    for (const auto& c : cases)
        EXPECT_EQ(gk_error_estimate(c[0], c[1], c[2], eps, tiny),
                  error_estimate_in_full(c[0], c[1], c[2], eps, tiny));
}

} // namespace

namespace {

// An m-point Gauss-Legendre rule in extended precision (Newton from the usual cosine guesses).
void extended_gauss(int m, std::vector<long double>& x, std::vector<long double>& w) {
    const long double pi = 3.141592653589793238462643383279502884L;
    x.assign(m, 0.0L);
    w.assign(m, 0.0L);
    for (int i = 0; i < m; ++i) {
        long double r = std::cos(pi * (i + 0.75L) / (m + 0.5L));
        long double p = 0.0L;
        long double dp = 1.0L;
        for (int it = 0; it < 100; ++it) {
            legendre(m, r, p, dp);
            const long double step = p / dp;
            r -= step;
            if (std::fabs(step) < 1e-21L) break;
        }
        legendre(m, r, p, dp);
        x[i] = r;
        w[i] = 2.0L / ((1.0L - r * r) * dp * dp);
    }
}

long double legendre_value(int n, long double x) {
    long double p;
    long double dp;
    legendre(n, x, p, dp);
    return n == 0 ? 1.0L : p;
}

// Solves a (dense, small) system in place by Gaussian elimination with partial pivoting.
std::vector<long double> solve(std::vector<std::vector<long double>> a,
                               std::vector<long double> b) {
    const int n = static_cast<int>(b.size());
    for (int c = 0; c < n; ++c) {
        int piv = c;
        for (int r = c + 1; r < n; ++r)
            if (std::fabs(a[r][c]) > std::fabs(a[piv][c])) piv = r;
        std::swap(a[c], a[piv]);
        std::swap(b[c], b[piv]);
        for (int r = c + 1; r < n; ++r) {
            const long double f = a[r][c] / a[c][c];
            for (int k = c; k < n; ++k)
                a[r][k] -= f * a[c][k];
            b[r] -= f * b[c];
        }
    }
    std::vector<long double> x(n);
    for (int r = n - 1; r >= 0; --r) {
        long double s = b[r];
        for (int k = r + 1; k < n; ++k)
            s -= a[r][k] * x[k];
        x[r] = s / a[r][r];
    }
    return x;
}

// The added Kronrod abscissae are the zeros of the polynomial E of degree n+1 that is orthogonal
// to P_n P_k for k = 0..n: one Newton step on those conditions moves each by at most half an ulp.
// Every Kronrod weight is the correctly rounded integral of its Lagrange polynomial.
TEST(GkRules, KronrodPartMatchesItsDefinitionToTheLastDigit) {
    for (int k = 1; k <= 6; ++k) {
        const GkRuleTable t = gk_rule_table(k);
        const int n = t.n;
        // The n+1 added abscissae (odd 1-based positions, with their mirror images).
        std::vector<long double> added;
        for (int j = 0; j < n; ++j) {
            if (j % 2 == 0) {
                added.push_back(t.xk[j]);
                added.push_back(-static_cast<long double>(t.xk[j]));
            }
        }
        if (n % 2 == 0) added.push_back(0.0L);
        ASSERT_EQ(static_cast<int>(added.size()), n + 1);
        std::vector<long double> gx;
        std::vector<long double> gw;
        extended_gauss(2 * n + 2, gx, gw); // exact for degree 4n+3 >= (n+1) + n + n
        const int m = n + 1;
        std::vector<std::vector<long double>> jac(m, std::vector<long double>(m, 0.0L));
        std::vector<long double> res(m, 0.0L);
        for (size_t q = 0; q < gx.size(); ++q) {
            long double e = 1.0L;
            for (long double z : added)
                e *= gx[q] - z;
            const long double pn = legendre_value(n, gx[q]);
            for (int r = 0; r < m; ++r) {
                const long double base = gw[q] * pn * legendre_value(r, gx[q]);
                res[r] += base * e;
                for (int i = 0; i < m; ++i)
                    jac[r][i] -= base * e / (gx[q] - added[i]);
            }
        }
        for (long double& r : res)
            r = -r;
        const std::vector<long double> delta = solve(jac, res);
        for (int i = 0; i < m; ++i) {
            const double z = static_cast<double>(added[i]);
            const long double ulp = std::nextafter(std::fabs(z), 2.0) - std::fabs(z);
            EXPECT_LE(std::fabs(delta[i]), z == 0.0 ? 1e-18L : 0.51L * ulp)
                << "k=" << k << " node " << z << " moves by " << static_cast<double>(delta[i]);
        }
        // Weights: integral of the Lagrange polynomial of each non-negative node, with the
        // nodes refined in extended precision (Newton on P_n for the Gauss ones).
        std::vector<long double> exact(n + 1);
        for (int j = 0; j <= n; ++j) {
            if (j % 2 == 0) {
                exact[j] = added[j] + delta[j]; // added[j] is xk[j] for even j
            } else {
                long double p;
                long double dp;
                legendre(n, t.xk[j], p, dp);
                exact[j] = t.xk[j] - p / dp;
            }
        }
        exact[n] = 0.0L; // the centre, by symmetry
        std::vector<long double> all{0.0L};
        for (int j = 0; j < n; ++j) {
            all.push_back(exact[j]);
            all.push_back(-exact[j]);
        }
        for (int j = 0; j <= n; ++j) {
            const long double xj = exact[j];
            long double wsum = 0.0L;
            for (size_t q = 0; q < gx.size(); ++q) {
                long double l = 1.0L;
                for (long double z : all)
                    if (z != xj) l *= (gx[q] - z) / (xj - z);
                wsum += gw[q] * l;
            }
            const double w = t.wk[j];
            EXPECT_LE(std::fabs(wsum - w), 0.51L * (std::nextafter(w, 2.0) - w))
                << "k=" << k << " weight " << j;
        }
    }
}

} // namespace
