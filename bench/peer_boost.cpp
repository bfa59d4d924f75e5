// This program's triangle integral next to the best library peer measured, nested adaptive
// Gauss-Kronrod 61-point integration from Boost.Math, on the same 1,101 integrals of the start-up
// density in one process: the normalisation (Kmax), the 200 integrals of the limiting loop and
// the 900 of a three-leg curve (saturation to 0.5, down to -0.3, up to 1). Our integral runs
// in every build the processor supports; the closing lines print the time per integral of each
// and the ratio to the peer, with the evaluation counts and the largest difference of results.
#include <benchmark/benchmark.h>

#include <boost/math/quadrature/gauss_kronrod.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "model/lorentz_integrands.h"
#include "numerics/dtwodq_template.h"
#include "numerics/error_facility.h"
#include "model/simd_level.h"

namespace {

// The start-up distribution, as the model holds it.
const double kHc = 0.4000000059604645;
const double kKmax = 3.2385880947113037;
const double kErrrel = 0.009999999776482582; // 0.01 in single precision
const int kRule = 6;

// One triangle a <= beta <= alpha <= b: ascending (x = alpha from a to b, y from a to x) or
// descending (x = beta from a to b, y from x to b).
struct Triangle {
    bool ascending;
    double a;
    double b;
};

// The 1,101 integrals.
const std::vector<Triangle>& triangles() {
    static const std::vector<Triangle> t = [] {
        std::vector<Triangle> v;
        v.push_back({true, -1.0, 1.0});
        const double dHmaj = 0.02;
        double H = -1.0;
        for (int k = 0; k < 100; ++k) {
            H += dHmaj;
            v.push_back({true, -1.0, H});
        }
        for (int k = 0; k < 100; ++k) {
            H -= dHmaj;
            v.push_back({false, H, 1.0});
        }
        // Each leg has 300 steps of (end - start) / 300 from its start, the branch start.
        const double legs[][2] = {{-1.0, 0.5}, {0.5, -0.3}, {-0.3, 1.0}};
        for (const auto& leg : legs) {
            const double dH = (leg[1] - leg[0]) * (1.0 / 300.0);
            double h = leg[0];
            for (int i = 1; i <= 300; ++i) {
                h += dH;
                if (i == 300) h = leg[1];
                if (dH > 0)
                    v.push_back({true, leg[0], h});
                else
                    v.push_back({false, h, leg[0]});
            }
        }
        return v;
    }();
    return t;
}

double ours(const Triangle& t) {
    const LorentzDensity p{kHc, kKmax};
    double r = 0.0;
    double e = 0.0;
    if (t.ascending)
        dtwodq_t(Ascending{p}, t.a, t.b, Fixed{t.a}, Identity{}, 0.0, kErrrel, kRule, r, e);
    else
        dtwodq_t(Descending{p}, t.a, t.b, Identity{}, Fixed{t.b}, 0.0, kErrrel, kRule, r, e);
    return r;
}

// The peer with the tolerances of ours: the outer integral to half the relative tolerance, each
// inner one to that divided by the span. `count` (when not null) counts the evaluations.
double peer(const Triangle& t, long* count) {
    using GK = boost::math::quadrature::gauss_kronrod<double, 61>;
    const LorentzDensity p{kHc, kKmax};
    const double span = std::fabs(t.b - t.a);
    const double outer_tol = 0.5 * kErrrel;
    const double inner_tol = outer_tol / span;
    const unsigned depth = 15;
    auto inner = [&](double x) {
        if (t.ascending)
            return GK::integrate(
                [&](double y) {
                    if (count) ++*count;
                    return p(x, y);
                },
                t.a, x, depth, inner_tol);
        return GK::integrate(
            [&](double y) {
                if (count) ++*count;
                return p(y, x);
            },
            x, t.b, depth, inner_tol);
    };
    return GK::integrate(inner, t.a, t.b, depth, outer_tol);
}

const char* level_name(int level) {
    return level == kSimdAvx512 ? "avx512" : level == kSimdAvx2 ? "avx2" : "baseline";
}

void BM_Ours(benchmark::State& state) {
    const SimdLevel before = simd_level();
    if (!set_simd_level(static_cast<SimdLevel>(state.range(0)))) {
        state.SkipWithError("this processor cannot run that build");
        return;
    }
    reset_error_facility();
    const std::vector<Triangle>& v = triangles();
    for (auto _ : state)
        for (const Triangle& t : v)
            benchmark::DoNotOptimize(ours(t));
    state.SetLabel(level_name(static_cast<int>(state.range(0))));
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * v.size()));
    set_simd_level(before);
}
BENCHMARK(BM_Ours)
    ->DenseRange(kSimdBaseline, kSimdAvx512)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

void BM_BoostNestedGK61(benchmark::State& state) {
    const std::vector<Triangle>& v = triangles();
    for (auto _ : state)
        for (const Triangle& t : v)
            benchmark::DoNotOptimize(peer(t, nullptr));
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * v.size()));
}
BENCHMARK(BM_BoostNestedGK61)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

// Keeps the median CPU time of every benchmark besides printing it.
class Collector : public benchmark::ConsoleReporter {
  public:
    std::map<std::string, double> median_cpu; // name/args -> CPU time per iteration, ms

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs)
            if (r.aggregate_name == "median" && !r.error_occurred)
                median_cpu[r.run_name.function_name +
                           (r.run_name.args.empty() ? "" : "/" + r.run_name.args)] =
                    r.GetAdjustedCPUTime();
        ConsoleReporter::ReportRuns(runs);
    }
};

// Counts and agreement of the two on the same integrals.
void print_comparison() {
    long peer_evaluations = 0;
    long our_evaluations = 0;
    double worst = 0.0;
    for (const Triangle& t : triangles()) {
        const double b = peer(t, &peer_evaluations);
        const LorentzDensity p{kHc, kKmax};
        double r = 0.0;
        double e = 0.0;
        auto counted_asc = [&](const double& x, const double& y) {
            ++our_evaluations;
            return p(x, y);
        };
        auto counted_desc = [&](const double& x, const double& y) {
            ++our_evaluations;
            return p(y, x);
        };
        if (t.ascending)
            dtwodq_t(counted_asc, t.a, t.b, Fixed{t.a}, Identity{}, 0.0, kErrrel, kRule, r, e);
        else
            dtwodq_t(counted_desc, t.a, t.b, Identity{}, Fixed{t.b}, 0.0, kErrrel, kRule, r, e);
        if (b != 0.0) worst = std::max(worst, std::fabs(r - b) / std::fabs(b));
    }
    const double n = static_cast<double>(triangles().size());
    std::printf("integrals: %zu; evaluations per integral: ours %.0f, peer %.0f; largest relative "
                "difference %.2e\n",
                triangles().size(), our_evaluations / n, peer_evaluations / n, worst);
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    Collector reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    print_comparison();
    const double n = static_cast<double>(triangles().size());
    const auto peer_it = reporter.median_cpu.find("BM_BoostNestedGK61");
    for (int level = kSimdBaseline; level <= kSimdAvx512; ++level) {
        const auto it = reporter.median_cpu.find("BM_Ours/" + std::to_string(level));
        if (it == reporter.median_cpu.end()) continue;
        std::printf("ours (%s): %.2f us per integral", level_name(level), it->second * 1e3 / n);
        if (peer_it != reporter.median_cpu.end())
            std::printf("; peer %.2f us; ratio ours/peer %.3f", peer_it->second * 1e3 / n,
                        it->second / peer_it->second);
        std::printf("\n");
    }
    return 0;
}
