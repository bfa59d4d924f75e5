// Results, counts, call order and run-time messages of the two-dimensional quadrature.
#include "numerics/dtwodq_template.h"
#include "numerics/quadrature_workspace.h"
#include "test_dtwodq_fixture.h"
#include "tests/support/reference_data.h"

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using DtwodqResults = DtwodqTest;

// Workspace of DT2ODQ for the tests.
struct Work {
    int maxsub;
    std::vector<double> xl, xr, sr, se, work;
    std::vector<int> io, iw;
    explicit Work(int m) : maxsub(m), xl(m), xr(m), sr(m), se(m), work(4 * m), io(m), iw(m) {}
};

struct Outcome {
    double result = -99.0;
    double errest = -99.0;
    int ncalls = -1;
    int nsubs = -1;
};

Outcome run_dt2odq(Integrand2 f, double a, double b, LimitFunction g, LimitFunction h,
                   double errabs, double errrel, int irule, Work& w) {
    Outcome o;
    DT2ODQ(f, a, b, g, h, errabs, errrel, irule, o.result, o.errest, w.maxsub, o.ncalls, o.nsubs,
           w.xl.data(), w.xr.data(), w.sr.data(), w.se.data(), w.io.data(), w.work.data(),
           w.iw.data());
    return o;
}

int g_calls = 0;
double g_constant = 1.0;

double constant_f(const double&, const double&) {
    ++g_calls;
    return g_constant;
}
double zero_f(const double&, const double&) {
    ++g_calls;
    return 0.0;
}
double zero_limit(const double&) {
    return 0.0;
}
double one_limit(const double&) {
    return 1.0;
}
double identity_limit(const double& x) {
    return x;
}

// The Lorentzian density of the hysteresis model with the start-up constants.
const double kHc = 0.4000000059604645;
const double kKmax = 3.2385880947113037;
double density(double alpha, double beta, double kmax) {
    const double u = alpha / kHc - 0.5;
    const double v = beta / kHc + 0.5;
    return kmax / ((1.0 + u * u) * (1.0 + v * v));
}
double ascending_f(const double& x, const double& y) {
    return density(x, y, kKmax);
}
double unit_density(const double& x, const double& y) {
    return density(x, y, 1.0);
}
double minus_one(const double&) {
    return -1.0;
}

TEST_F(DtwodqResults, EmptyIntervalGivesZeroWithoutIntegrating) {
    for (double a : {0.0, 0.5, -3.25}) {
        SCOPED_TRACE(a);
        g_calls = 0;
        double result = 5.0;
        double errest = 5.0;
        DTWODQ(constant_f, a, a, zero_limit, one_limit, 0.0, 0.01, 6, result, errest);
        EXPECT_EQ(result, 0.0);
        EXPECT_EQ(errest, 0.0);
        EXPECT_EQ(g_calls, 0);
        Work w(10);
        const Outcome o = run_dt2odq(constant_f, a, a, zero_limit, one_limit, 0.0, 0.01, 1, w);
        EXPECT_EQ(o.result, 0.0);
        EXPECT_EQ(o.errest, 0.0);
        EXPECT_EQ(o.ncalls, 0);
        EXPECT_EQ(o.nsubs, 0);
        EXPECT_EQ(g_calls, 0);
    }
    EXPECT_TRUE(texts().empty());
    EXPECT_EQ(stop_count(), 0u);
}

TEST_F(DtwodqResults, ConstantIntegrandCounts) {
    for (int irule = 1; irule <= 6; ++irule) {
        SCOPED_TRACE(irule);
        g_constant = 2.5;
        g_calls = 0;
        Work w(20);
        const Outcome o =
            run_dt2odq(constant_f, 0.0, 2.0, zero_limit, one_limit, 0.0, 0.01, irule, w);
        const int points = irule == 1 ? 15 : 10 * irule + 1;
        EXPECT_NEAR(o.result, 5.0, 1e-14);
        EXPECT_EQ(o.nsubs, 1);
        // One outer application over points nodes, each an inner application of points
        // evaluations; the outer count carries the last inner count before its own formula.
        EXPECT_EQ(g_calls, points * points);
        const int inner = points;
        EXPECT_EQ(o.ncalls, irule == 1 ? 30 * inner + 15 : (10 * irule + 1) * (2 * inner + 1));
    }
    EXPECT_TRUE(texts().empty());
}

TEST_F(DtwodqResults, ZeroInnerIntegralStopsAtOnce) {
    g_calls = 0;
    Work w(30);
    const Outcome o = run_dt2odq(zero_f, -1.0, 1.0, zero_limit, one_limit, 0.0, 0.01, 6, w);
    EXPECT_EQ(o.result, 0.0);
    EXPECT_EQ(o.errest, 0.0);
    EXPECT_EQ(o.nsubs, 1);
    EXPECT_EQ(g_calls, 61 * 61);
    EXPECT_TRUE(texts().empty());
}

TEST_F(DtwodqResults, ReversedOuterLimitsChangeTheSign) {
    for (int irule : {1, 6}) {
        SCOPED_TRACE(irule);
        double up = 0.0;
        double up_err = 0.0;
        double down = 0.0;
        double down_err = 0.0;
        // Smooth: one outer application each way, so the sums are the same up to the sign.
        DTWODQ(ascending_f, -1.0, 0.0, minus_one, identity_limit, 0.0, 0.01, irule, up, up_err);
        DTWODQ(ascending_f, 0.0, -1.0, minus_one, identity_limit, 0.0, 0.01, irule, down, down_err);
        EXPECT_GT(up, 0.0);
        EXPECT_EQ(down, -up);
        EXPECT_EQ(down_err, up_err);
        // With a tight tolerance the outer integral bisects; the sign still follows B - A.
        DTWODQ(ascending_f, -1.0, 0.5, minus_one, identity_limit, 0.0, 1e-12, irule, up, up_err);
        DTWODQ(ascending_f, 0.5, -1.0, minus_one, identity_limit, 0.0, 1e-12, irule, down,
               down_err);
        EXPECT_NEAR(down, -up, 1e-12 * std::fabs(up));
    }
}

// For each outer node: H, then G, then the inner integral's evaluations of F at that node.
struct Event {
    char what; // 'H', 'G' or 'F'
    double x;  // the outer variable
};
std::vector<Event> g_events;
double logging_f(const double& x, const double& y) {
    g_events.push_back({'F', x});
    return x * y;
}
double logging_g(const double& x) {
    g_events.push_back({'G', x});
    return 0.0;
}
double logging_h(const double& x) {
    g_events.push_back({'H', x});
    return 1.0 + x;
}

TEST_F(DtwodqResults, LimitsAreEvaluatedUpperFirstAtEveryNode) {
    g_events.clear();
    double result = 0.0;
    double errest = 0.0;
    DTWODQ(logging_f, 0.0, 1.0, logging_g, logging_h, 0.0, 0.1, 1, result, errest);
    ASSERT_FALSE(g_events.empty());
    size_t i = 0;
    int nodes = 0;
    while (i < g_events.size()) {
        ASSERT_EQ(g_events[i].what, 'H') << i;
        ASSERT_LT(i + 1, g_events.size());
        EXPECT_EQ(g_events[i + 1].what, 'G');
        EXPECT_EQ(g_events[i + 1].x, g_events[i].x);
        size_t j = i + 2;
        while (j < g_events.size() && g_events[j].what == 'F') {
            EXPECT_EQ(g_events[j].x, g_events[i].x);
            ++j;
        }
        EXPECT_GE(j - i - 2, 15u);
        ++nodes;
        i = j;
    }
    EXPECT_EQ(nodes % 15, 0);
    // The first node is the centre of [0, 1].
    EXPECT_EQ(g_events[0].x, 0.5);
    // integral of x*y over 0 <= y <= 1 + x, 0 <= x <= 1
    EXPECT_NEAR(result, 17.0 / 24.0, 1e-12);
}

// The instance over function pointers and an instance with inlined lambdas give the same bits.
TEST_F(DtwodqResults, TemplateInstanceMatchesFunctionPointers) {
    struct Triangle {
        double a, b;
    };
    const Triangle cases[] = {{-1.0, 1.0}, {-1.0, 0.0}, {-0.3, 0.7}, {0.2, -0.6}};
    for (const Triangle& t : cases) {
        SCOPED_TRACE(testing::Message() << t.a << " " << t.b);
        static double s_a;
        s_a = t.a;
        double r1 = 0.0;
        double e1 = 0.0;
        DTWODQ(
            ascending_f, t.a, t.b, [](const double&) { return s_a; }, identity_limit, 0.0,
            0.009999999776482582, 6, r1, e1);
        const double a = t.a;
        double r2 = 0.0;
        double e2 = 0.0;
        dtwodq_t([](const double& x, const double& y) { return density(x, y, kKmax); }, t.a, t.b,
                 [a](const double&) { return a; }, [](const double& x) { return x; }, 0.0,
                 0.009999999776482582, 6, r2, e2);
        EXPECT_EQ(r1, r2);
        EXPECT_EQ(e1, e2);
        EXPECT_NE(r1, 0.0);
    }
}

// Rows of a reference file (two numbers per line after the header).
std::vector<std::pair<double, double>> read_pairs(const std::string& name) {
    std::vector<std::pair<double, double>> rows;
    std::ifstream in(reference_file(name));
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
        std::istringstream s(line);
        std::string a;
        std::string b;
        if (std::getline(s, a, ',') && std::getline(s, b))
            rows.push_back({std::strtod(a.c_str(), nullptr), std::strtod(b.c_str(), nullptr)});
    }
    return rows;
}

// The normalisation of the density (the whole triangle between -1 and 1 holds 2) against an
// independent implementation of the same algorithm.
TEST_F(DtwodqResults, NormalisationAgreesWithTheReference) {
    const auto rows = read_pairs("kmax.csv");
    ASSERT_FALSE(rows.empty()) << "cannot read " << reference_file("kmax.csv");
    const auto& row = rows.front(); // Hc = 0.4000000059604645
    ASSERT_EQ(row.first, kHc);
    double integral = 0.0;
    double errest = 0.0;
    DTWODQ(unit_density, -1.0, 1.0, minus_one, identity_limit, 0.0, 0.009999999776482582, 6,
           integral, errest);
    const double kmax = 2.0 / integral;
    EXPECT_NEAR(kmax, row.second, 1e-13 * row.second);
    EXPECT_TRUE(texts().empty());
}

// The rising half of the limiting loop: B = T(-1, H) - 1 with H stepped by 0.02.
TEST_F(DtwodqResults, RisingBranchAgreesWithTheReference) {
    const auto rows = read_pairs("major_loop_hc0.4.csv");
    ASSERT_GE(rows.size(), 101u) << "cannot read " << reference_file("major_loop_hc0.4.csv");
    double h = -1.0;
    for (int k = 2; k <= 101; ++k) {
        h = h + 0.02;
        double r = 0.0;
        double e = 0.0;
        DTWODQ(ascending_f, -1.0, h, minus_one, identity_limit, 0.0, 0.009999999776482582, 6, r, e);
        const double b = r - 1.0;
        ASSERT_EQ(rows[k - 1].first, h) << k;
        EXPECT_NEAR(b, rows[k - 1].second, 1e-13 * std::fabs(rows[k - 1].second) + 1e-15) << k;
    }
}

} // namespace
