// The one-dimensional adaptive integrator: single-application cases, evaluation counts, clamped
// keys, the limit, the precision stop at a jump, and the partial ordering of the error list.
#include "numerics/integrate_adaptive.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <functional>
#include <vector>

namespace {

const double kEps = std::ldexp(1.0, -52);

// A plain integrand object for the engine, counting its evaluations.
struct Plain {
    std::function<double(double)> fn; // the integrand
    int evaluations = 0;              // calls of fn so far

    double single(double x) {
        ++evaluations;
        return fn(x);
    }
    void values(const double* x, double* fx, int count) {
        for (int i = 0; i < count; ++i)
            fx[i] = fn(x[i]);
        evaluations += count;
    }
    int rule_count() const { return 0; }
};

// Lists of one integration, owned by the test.
struct Lists {
    std::vector<double> lo, hi, val, est;
    std::vector<int> order;
    explicit Lists(int limit)
        : lo(limit, -7.0), hi(limit, -7.0), val(limit, -7.0), est(limit, -7.0), order(limit, -7) {}
    AdaptiveLists view() {
        return AdaptiveLists{lo.data(), hi.data(), val.data(), est.data(), order.data()};
    }
};

int points_of(int k) {
    return k == 1 ? 15 : 10 * k + 1;
}

TEST(GkAdaptive, ConstantIntegrandNeedsOneApplication) {
    for (int key = 1; key <= 6; ++key) {
        for (double c : {1.0, -3.5, 0.1}) {
            SCOPED_TRACE(testing::Message() << "key=" << key << " c=" << c);
            Plain f{[c](double) { return c; }};
            Lists w(50);
            const AdaptiveResult r = integrate_adaptive(f, 0.0, 1.0, 0.0, 0.01, key, 50, w.view());
            EXPECT_EQ(r.code, ADAPTIVE_OK);
            EXPECT_EQ(r.last, 1);
            EXPECT_EQ(r.count, points_of(key));
            EXPECT_EQ(f.evaluations, r.count);
            EXPECT_NEAR(r.result, c, 4 * kEps * std::fabs(c));
            // The rounding floor: 50 eps times the integral of |f|.
            EXPECT_EQ(r.aerr, 50.0 * kEps * std::fabs(r.result));
            EXPECT_EQ(w.order[0], 1);
            EXPECT_EQ(w.lo[0], 0.0);
            EXPECT_EQ(w.hi[0], 1.0);
            EXPECT_EQ(w.val[0], r.result);
            EXPECT_EQ(w.est[0], r.aerr);

            Plain g{[c](double) { return c; }};
            const GkEstimate e = gk_rule(key, g, 0.0, 1.0);
            EXPECT_LE(e.devint, 4 * kEps * std::fabs(c)); // no spread, up to table rounding
            EXPECT_EQ(e.result, r.result);
        }
    }
}

TEST(GkAdaptive, KeysOutsideTheRangeAreClamped) {
    struct Case {
        int key;
        int same_as;
    };
    const Case cases[] = {{0, 1}, {-5, 1}, {7, 6}, {9, 6}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        Plain f{[](double x) { return std::exp(x) * std::sin(3 * x); }};
        Plain g{f.fn};
        Lists w1(100);
        Lists w2(100);
        const AdaptiveResult r1 =
            integrate_adaptive(f, 0.0, 2.0, 0.0, 1e-10, c.key, 100, w1.view());
        const AdaptiveResult r2 =
            integrate_adaptive(g, 0.0, 2.0, 0.0, 1e-10, c.same_as, 100, w2.view());
        EXPECT_EQ(r1.result, r2.result);
        EXPECT_EQ(r1.aerr, r2.aerr);
        EXPECT_EQ(r1.count, r2.count);
        EXPECT_EQ(r1.last, r2.last);
    }
}

// The count formula in terms of actual evaluations: every bisection costs two applications.
TEST(GkAdaptive, CountIsTheNumberOfEvaluations) {
    for (int key = 1; key <= 6; ++key) {
        SCOPED_TRACE(key);
        Plain f{[](double x) { return 1.0 / (1e-3 + x * x); }};
        Lists w(200);
        const AdaptiveResult r = integrate_adaptive(f, -1.0, 1.0, 0.0, 1e-9, key, 200, w.view());
        EXPECT_EQ(r.code, ADAPTIVE_OK);
        EXPECT_GT(r.last, 1);
        EXPECT_EQ(r.count, f.evaluations);
        EXPECT_EQ(r.count, points_of(key) * (2 * r.last - 1));
        const double exact = 2.0 / std::sqrt(1e-3) * std::atan(1.0 / std::sqrt(1e-3));
        EXPECT_NEAR(r.result, exact, 1e-9 * exact);
        EXPECT_LE(std::fabs(r.result - exact), r.aerr);
        // The result is the plain sum of the subinterval integrals, in list order.
        double sum = 0.0;
        for (int i = 0; i < r.last; ++i)
            sum += w.val[i];
        EXPECT_EQ(sum, r.result);
    }
}

// An integrand that stands for an integral over another variable, as the outer integration of the
// two-dimensional quadrature: every rule application adds the count of an inner integration.
struct Nested {
    int inner; // evaluations one inner integration reports

    static double at(double x) { return x < 1.0 / 3.0 ? 0.0 : 1.0; }
    double single(double x) { return at(x); }
    void values(const double* x, double* fx, int count) {
        for (int i = 0; i < count; ++i)
            fx[i] = at(x[i]);
    }
    int rule_count() const { return inner; }
};

// The outer count adds the inner count after every rule application and one per bisection, then
// applies the formula; what no 32-bit integer can hold comes out as the largest one.
TEST(GkAdaptive, NestedCountIsExactOrTheLargestInteger) {
    struct Case {
        int key;
        int inner;
        int limit;
    };
    const Case cases[] = {
        {6, 61, 20},             // small: exact
        {1, 1000000, 20},        // 30c + 15 still fits
        {6, 1000000, 20},        // c fits, the formula does not
        {2, 50000000, 40},       // c close to the limit, the formula far beyond
        {1, 70000000, 31},       // the sum c itself passes the largest integer
        {6, INT_MAX, 3},         // the first addition alone reaches it
        {3, INT_MAX / 2 + 1, 2}, // one bisection makes the sum pass it
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "key=" << c.key << " inner=" << c.inner);
        Nested f{c.inner};
        Lists w(c.limit);
        const AdaptiveResult r =
            integrate_adaptive(f, 0.0, 1.0, 0.0, 1e-17, c.key, c.limit, w.view());
        ASSERT_GT(r.last, 1);
        const long long sum = static_cast<long long>(c.inner) * r.last + (r.last - 1);
        const long long formula = c.key == 1 ? 30 * sum + 15 : (10LL * c.key + 1) * (2 * sum + 1);
        EXPECT_EQ(r.count, std::min<long long>(formula, INT_MAX));
    }
}

TEST(GkAdaptive, LimitOneStopsAfterTheFirstApplication) {
    Plain f{[](double x) { return std::sqrt(x); }};
    Lists w(1);
    const AdaptiveResult r = integrate_adaptive(f, 0.0, 1.0, 0.0, 1e-12, 2, 1, w.view());
    EXPECT_EQ(r.code, ADAPTIVE_LIMIT);
    EXPECT_EQ(r.last, 1);
    EXPECT_EQ(r.count, 21);
    EXPECT_EQ(w.val[0], r.result);
}

// A smooth integrand asked for more than the rounding allows: once the pieces sit on the rounding
// floor, bisection no longer changes the sum or lowers the estimate, and the counters of
// unproductive bisections end the run with the roundoff code, well before the limit.
TEST(GkAdaptive, UnproductiveBisectionsEndWithRoundoffCode) {
    for (int key = 1; key <= 6; ++key) {
        SCOPED_TRACE(key);
        Plain f{[](double x) { return 1.0 / (1.0 + 100.0 * x * x); }};
        Lists w(500);
        const AdaptiveResult r = integrate_adaptive(f, -1.0, 1.0, 0.0, 1e-17, key, 500, w.view());
        EXPECT_EQ(r.code, ADAPTIVE_ROUNDOFF);
        // Not the first-application test: bisections happened, and at least six of them.
        EXPECT_GE(r.last, 7);
        EXPECT_LT(r.last, 100);
        EXPECT_NEAR(r.result, 0.2 * std::atan(10.0), 1e-14);
        // The running total of the estimates (kept by updates, so only close to their sum).
        double esttot = 0.0;
        for (int i = 0; i < r.last; ++i)
            esttot += w.est[i];
        EXPECT_NEAR(r.aerr, esttot, 0.05 * esttot);
    }
}

TEST(GkAdaptive, NegativeTolerancesGiveCodeSix) {
    Plain f{[](double x) { return x; }};
    Lists w(10);
    const AdaptiveResult r = integrate_adaptive(f, 0.0, 1.0, -1.0, -1.0, 1, 10, w.view());
    EXPECT_EQ(r.code, ADAPTIVE_INVALID);
    EXPECT_EQ(r.count, 0);
    EXPECT_EQ(r.last, 0);
    EXPECT_EQ(r.result, 0.0);
    EXPECT_EQ(r.aerr, 0.0);
    EXPECT_EQ(f.evaluations, 0);
    EXPECT_EQ(w.lo[0], 0.0);
    EXPECT_EQ(w.hi[0], 1.0);
    // One negative tolerance is fine.
    const AdaptiveResult r2 = integrate_adaptive(f, 0.0, 1.0, -1.0, 0.01, 1, 10, w.view());
    EXPECT_EQ(r2.code, ADAPTIVE_OK);
}

TEST(GkAdaptive, NoRoomInTheListsIsRefused) {
    Plain f{[](double x) { return x; }};
    const AdaptiveResult r = integrate_adaptive(
        f, 0.0, 1.0, 0.0, 0.01, 1, 0, AdaptiveLists{nullptr, nullptr, nullptr, nullptr, nullptr});
    EXPECT_EQ(r.code, ADAPTIVE_INVALID);
    EXPECT_EQ(f.evaluations, 0);
}

TEST(GkAdaptive, ReversedIntervalNegatesTheResult) {
    for (int key = 1; key <= 6; ++key) {
        Plain f{[](double x) { return std::cos(x); }};
        Plain g{f.fn};
        Lists w1(10);
        Lists w2(10);
        const AdaptiveResult up = integrate_adaptive(f, 0.0, 1.0, 0.0, 1e-8, key, 10, w1.view());
        const AdaptiveResult down = integrate_adaptive(g, 1.0, 0.0, 0.0, 1e-8, key, 10, w2.view());
        EXPECT_EQ(down.result, -up.result) << key;
        EXPECT_EQ(down.aerr, up.aerr) << key;
        EXPECT_GE(up.aerr, 0.0);
    }
}

// A jump inside the interval with a tolerance that cannot be met: bisection closes in on the
// jump until the subinterval is too small for its position.
TEST(GkAdaptive, JumpEndsWithPrecisionCode) {
    const double jump = 1.0 / 3.0;
    for (int key : {1, 6}) {
        SCOPED_TRACE(key);
        Plain f{[jump](double x) { return x < jump ? 0.0 : 1.0; }};
        Lists w(250);
        const AdaptiveResult r = integrate_adaptive(f, 0.0, 1.0, 0.0, 1e-17, key, 250, w.view());
        ASSERT_EQ(r.code, ADAPTIVE_PRECISION);
        ASSERT_LT(r.last, 250);
        const int head = w.order[0] - 1;
        EXPECT_LE(w.lo[head], jump);
        EXPECT_GE(w.hi[head], jump);
        // The interval bisected last was too narrow relative to its position.
        const double width = w.hi[head] - w.lo[head];
        EXPECT_LE(width, 4 * (1000.0 * key * kEps) * jump);
        EXPECT_NEAR(r.result, 1.0 - jump, r.aerr + 1e-15);
    }
}

std::vector<int> sorted_numbers(const std::vector<int>& order, int count) {
    std::vector<int> v(order.begin(), order.begin() + count);
    std::sort(v.begin(), v.end());
    return v;
}

// Drives reorder_errors as the integrator does, with synthetic estimates for the two halves of
// the bisected interval.
TEST(GkAdaptive, OrderingKeepsTheLargestEstimatesInFront) {
    for (int limit : {10, 11, 40}) {
        SCOPED_TRACE(limit);
        std::vector<double> est(limit, 0.0);
        std::vector<int> order(limit, 0);
        unsigned seed = 12345u + limit;
        auto next = [&seed]() {
            seed = seed * 1103515245u + 12345u;
            return static_cast<double>((seed >> 8) % 1000) / 1000.0;
        };
        est[0] = 1.0;
        order[0] = 1;
        int top = 1;
        double topest = est[0];
        int head = 1;
        for (int last = 2; last <= limit; ++last) {
            // As the integrator stores them: the half with the larger estimate keeps top.
            const double e1 = topest * next();
            const double e2 = topest * next();
            est[top - 1] = std::max(e1, e2);
            est[last - 1] = std::min(e1, e2);
            reorder_errors(limit, last, top, topest, est.data(), order.data(), head);
            const int jtop = last > limit / 2 + 2 ? limit + 3 - last : last;
            SCOPED_TRACE(testing::Message() << "last=" << last << " jtop=" << jtop);
            EXPECT_EQ(head, 1);
            EXPECT_EQ(top, order[0]);
            EXPECT_EQ(topest, est[top - 1]);
            // The first jtop places: distinct subinterval numbers in decreasing estimate order.
            for (int i = 1; i < jtop; ++i)
                EXPECT_GE(est[order[i - 1] - 1], est[order[i] - 1]) << "i=" << i;
            std::vector<int> now = sorted_numbers(order, jtop);
            EXPECT_TRUE(std::adjacent_find(now.begin(), now.end()) == now.end());
            EXPECT_GE(now.front(), 1);
            EXPECT_LE(now.back(), last);
            // Beyond limit/2 + 2 intervals drop out of the ordered part, but only those that
            // could not be reached before the limit: top still has the largest estimate.
            EXPECT_EQ(topest, *std::max_element(est.begin(), est.begin() + last));
        }
    }
}

// Beyond limit/2 + 2 only the first limit + 3 - last places are kept: with limit 6 and last 6
// that is 3 places, the new interval takes the third one whatever the estimates behind it, and
// the intervals pushed out of them are no longer listed in front.
TEST(GkAdaptive, OrderingIsCutBeyondHalfTheLimit) {
    struct Case {
        const char* what;
        double bisected;        // new estimate of interval 1, which was just bisected
        std::vector<int> front; // expected order(1..3)
        int top;                // expected next interval to bisect
    };
    const Case cases[] = {
        {"bisected interval still leads", 10.0, {1, 2, 6}, 1},
        {"bisected interval falls back", 5.0, {2, 1, 6}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const int limit = 6;
        // Intervals 2..5 with estimates 9, 8, 7, 6 behind interval 1; the new interval 6 has 1.
        std::vector<double> est{c.bisected, 9.0, 8.0, 7.0, 6.0, 1.0};
        std::vector<int> order{1, 2, 3, 4, 5, 0};
        int top = 1;
        double topest = 12.0;
        int head = 1;
        reorder_errors(limit, 6, top, topest, est.data(), order.data(), head);
        EXPECT_EQ(std::vector<int>(order.begin(), order.begin() + 3), c.front);
        EXPECT_EQ(top, c.top);
        EXPECT_EQ(topest, est[c.top - 1]);
        EXPECT_EQ(head, 1);
    }
}

// Equal estimates: both the re-inserted top and the new interval go before their equals.
TEST(GkAdaptive, TiesPutTheMovedIntervalsFirst) {
    const int limit = 20;
    // Intervals 1..4 with estimates 8, 5, 5, 3, ordered 1, 2, 3, 4; interval 1 was bisected and
    // now has 5; the new interval 5 has 3.
    std::vector<double> est{5.0, 5.0, 5.0, 3.0, 3.0};
    est.resize(limit, 0.0);
    std::vector<int> order{1, 2, 3, 4};
    order.resize(limit, 0);
    int top = 1;
    double topest = 8.0;
    int head = 1;
    reorder_errors(limit, 5, top, topest, est.data(), order.data(), head);
    EXPECT_EQ(order[0], 1);
    EXPECT_EQ(order[1], 2);
    EXPECT_EQ(order[2], 3);
    EXPECT_EQ(order[3], 5);
    EXPECT_EQ(order[4], 4);
    EXPECT_EQ(top, 1);
    EXPECT_EQ(topest, 5.0);
}

} // namespace
