// Rule applications run side by side give the bits of single applications, and the quadrature
// that runs its inner integrals that way gives the bits, counts and messages of the one that
// does not.
#include "numerics/dtwodq_template.h"
#include "numerics/gk_rule.h"
#include "test_dtwodq_fixture.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

namespace {

using GkLockstep = DtwodqTest;

// A one-dimensional integrand with a parameter, counting its evaluations.
struct Curve {
    double c;      // position of a peak
    int calls = 0; // evaluations so far

    double at(double x) const { return std::exp(x) / (1e-3 + (x - c) * (x - c)) - 3.0 * x; }
    double single(double x) {
        ++calls;
        return at(x);
    }
    void values(const double* x, double* fx, int count) {
        for (int i = 0; i < count; ++i)
            fx[i] = at(x[i]);
        calls += count;
    }
    int rule_count() const { return 0; }
};

bool same_bits(const GkEstimate& x, const GkEstimate& y) {
    return std::memcmp(&x.result, &y.result, sizeof(double)) == 0 &&
           std::memcmp(&x.aerr, &y.aerr, sizeof(double)) == 0 &&
           std::memcmp(&x.absint, &y.absint, sizeof(double)) == 0 &&
           std::memcmp(&x.devint, &y.devint, sizeof(double)) == 0;
}

// Intervals of the lockstep members: wide and narrow, reversed, around the peak and away from it.
const double kIntervals[][2] = {{-1.0, 1.0}, {0.3, 0.31}, {2.0, -0.5}, {-0.7, -0.2}, {0.1, 5.0}};
const double kPeaks[] = {0.0, 0.305, 0.5, -0.45, 3.0};

template <int K, int M> void expect_members_match_single_rules() {
    SCOPED_TRACE(testing::Message() << "K=" << K << " M=" << M);
    const double eps = DMACH(4);
    const double tiny = DMACH(1);
    Curve together[M] = {};
    Curve* fp[M];
    double a[M];
    double b[M];
    for (int m = 0; m < M; ++m) {
        together[m].c = kPeaks[m];
        fp[m] = &together[m];
        a[m] = kIntervals[m][0];
        b[m] = kIntervals[m][1];
    }
    GkEstimate out[M];
    gk_rule_lockstep_k<K, M>(fp, a, b, eps, tiny, out);
    for (int m = 0; m < M; ++m) {
        Curve alone{kPeaks[m]};
        const GkEstimate e = gk_rule_k<K>(alone, a[m], b[m], eps, tiny);
        EXPECT_TRUE(same_bits(e, out[m])) << "member " << m << ": " << e.result << " "
                                          << out[m].result << " " << e.aerr << " " << out[m].aerr;
        EXPECT_EQ(together[m].calls, alone.calls) << "member " << m;
        EXPECT_EQ(alone.calls, 2 * GkPair<K>::n + 1);
    }
}

template <int K> void expect_all_group_sizes() {
    expect_members_match_single_rules<K, 1>();
    expect_members_match_single_rules<K, 2>();
    expect_members_match_single_rules<K, 3>();
    expect_members_match_single_rules<K, 4>();
    expect_members_match_single_rules<K, 5>();
}

TEST(GkRuleLockstep, EveryMemberHasTheBitsOfItsSingleApplication) {
    expect_all_group_sizes<1>();
    expect_all_group_sizes<2>();
    expect_all_group_sizes<3>();
    expect_all_group_sizes<4>();
    expect_all_group_sizes<5>();
    expect_all_group_sizes<6>();
}

// Integrands of the quadrature comparison: smooth, and one whose inner integrals need bisections
// near the diagonal ridge.
double smooth_f(const double& x, const double& y) {
    return 3.2 /
           ((1.0 + (x / 0.4 - 0.5) * (x / 0.4 - 0.5)) * (1.0 + (y / 0.4 + 0.5) * (y / 0.4 + 0.5)));
}
double ridge_f(const double& x, const double& y) {
    return 1.0 / (1e-4 + (x - y - 0.05) * (x - y - 0.05)) + x * y;
}
double step_f(const double&, const double& y) {
    return y < -0.3 ? 0.0 : 1.0;
}
double minus_one(const double&) {
    return -1.0;
}
double same(const double& x) {
    return x;
}

// Everything DT2ODQ hands back.
struct Outcome {
    double result = -99.0;
    double errest = -99.0;
    int ncalls = -1;
    int nsubs = -1;
    std::vector<double> lists;        // XLEFT, XRIGHT, SUBRES, SUBERR, WORK
    std::vector<int> orders;          // IORDER, IWORK
    std::vector<std::string> printed; // records the facility wrote
};

template <class Call> Outcome run(int maxsub, Call call) {
    Outcome o;
    std::vector<double> xl(maxsub), xr(maxsub), sr(maxsub), se(maxsub), work(4 * maxsub);
    std::vector<int> io(maxsub), iw(maxsub);
    capture().lines.clear();
    call(o, xl.data(), xr.data(), sr.data(), se.data(), io.data(), work.data(), iw.data());
    for (const CapturedLine& line : capture().lines)
        o.printed.push_back(line.text);
    for (const std::vector<double>* v : {&xl, &xr, &sr, &se, &work})
        o.lists.insert(o.lists.end(), v->begin(), v->end());
    o.orders = io;
    o.orders.insert(o.orders.end(), iw.begin(), iw.end());
    return o;
}

struct Case {
    Integrand2 f;
    int irule;
    int maxsub;    // a small value makes inner integrations stop at their limit, with messages
    double errrel; // relative tolerance
    bool reports;  // the facility prints messages: the comparison of the records is not empty
};

TEST_F(GkLockstep, QuadratureMatchesTheNodeByNodeInstance) {
    const Case cases[] = {
        {smooth_f, 6, 500, 0.009999999776482582, false},
        {smooth_f, 1, 500, 1e-6, false},
        {smooth_f, 3, 500, 1e-9, false},
        {ridge_f, 6, 500, 1e-6, false},
        {ridge_f, 2, 500, 1e-8, false},
        {ridge_f, 5, 3, 1e-8, true},
        {step_f, 3, 3, 1e-7, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "irule " << c.irule << " maxsub " << c.maxsub);
        const Integrand2 f = c.f;
        Outcome pointers = run(c.maxsub, [&](Outcome& o, double* xl, double* xr, double* sr,
                                             double* se, int* io, double* work, int* iw) {
            DT2ODQ(f, -1.0, 0.0, minus_one, same, 0.0, c.errrel, c.irule, o.result, o.errest,
                   c.maxsub, o.ncalls, o.nsubs, xl, xr, sr, se, io, work, iw);
        });
        reset_quadrature_flags();
        Outcome objects = run(c.maxsub, [&](Outcome& o, double* xl, double* xr, double* sr,
                                            double* se, int* io, double* work, int* iw) {
            dt2odq_t([f](const double& x, const double& y) { return f(x, y); }, -1.0, 0.0,
                     [](const double&) { return -1.0; }, [](const double& x) { return x; }, 0.0,
                     c.errrel, c.irule, o.result, o.errest, c.maxsub, o.ncalls, o.nsubs, xl, xr, sr,
                     se, io, work, iw);
        });
        reset_quadrature_flags();
        EXPECT_EQ(pointers.printed.empty(), !c.reports);
        EXPECT_EQ(std::memcmp(&pointers.result, &objects.result, sizeof(double)), 0)
            << pointers.result << " " << objects.result;
        EXPECT_EQ(std::memcmp(&pointers.errest, &objects.errest, sizeof(double)), 0);
        EXPECT_EQ(pointers.ncalls, objects.ncalls);
        EXPECT_EQ(pointers.nsubs, objects.nsubs);
        EXPECT_EQ(pointers.lists, objects.lists);
        EXPECT_EQ(pointers.orders, objects.orders);
        EXPECT_EQ(pointers.printed, objects.printed);
    }
}

// Inner integrations that hit their limit report from the shared lists; the lockstep leaves the
// lists and the report exactly as the node-by-node integration does.
TEST_F(GkLockstep, InnerLimitReportMatchesTheNodeByNodeInstance) {
    const int maxsub = 3;
    Outcome pointers = run(maxsub, [&](Outcome& o, double* xl, double* xr, double* sr, double* se,
                                       int* io, double* work, int* iw) {
        DT2ODQ(step_f, 0.0, 1e6, minus_one, same, 1e-7, 0.0, 3, o.result, o.errest, maxsub,
               o.ncalls, o.nsubs, xl, xr, sr, se, io, work, iw);
    });
    reset_quadrature_flags();
    Outcome objects = run(maxsub, [&](Outcome& o, double* xl, double* xr, double* sr, double* se,
                                      int* io, double* work, int* iw) {
        dt2odq_t([](const double& x, const double& y) { return step_f(x, y); }, 0.0, 1e6,
                 [](const double&) { return -1.0; }, [](const double& x) { return x; }, 1e-7, 0.0,
                 3, o.result, o.errest, maxsub, o.ncalls, o.nsubs, xl, xr, sr, se, io, work, iw);
    });
    EXPECT_FALSE(pointers.printed.empty());
    EXPECT_EQ(std::memcmp(&pointers.result, &objects.result, sizeof(double)), 0);
    EXPECT_EQ(std::memcmp(&pointers.errest, &objects.errest, sizeof(double)), 0);
    EXPECT_EQ(pointers.ncalls, objects.ncalls);
    EXPECT_EQ(pointers.lists, objects.lists);
    EXPECT_EQ(pointers.orders, objects.orders);
    EXPECT_EQ(pointers.printed, objects.printed);
}

// The same points are evaluated, each as often, whichever way the inner integrals run.
std::vector<std::pair<double, double>> g_points;
double recording_f(const double& x, const double& y) {
    g_points.push_back({x, y});
    return ridge_f(x, y);
}

TEST_F(GkLockstep, TheSamePointsAreEvaluated) {
    g_points.clear();
    double r = 0.0;
    double e = 0.0;
    DTWODQ(recording_f, -1.0, 0.0, minus_one, same, 0.0, 1e-6, 6, r, e);
    std::vector<std::pair<double, double>> node_by_node = g_points;
    g_points.clear();
    dtwodq_t([](const double& x, const double& y) { return recording_f(x, y); }, -1.0, 0.0,
             [](const double&) { return -1.0; }, [](const double& x) { return x; }, 0.0, 1e-6, 6, r,
             e);
    std::vector<std::pair<double, double>> lockstep = g_points;
    ASSERT_GT(node_by_node.size(), 61u * 61u);
    std::sort(node_by_node.begin(), node_by_node.end());
    std::sort(lockstep.begin(), lockstep.end());
    EXPECT_EQ(node_by_node, lockstep);
}

} // namespace
