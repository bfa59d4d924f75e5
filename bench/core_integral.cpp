// Cost of one Everett-type integral (the Lorentzian density over the triangle
// -1 <= beta <= alpha <= 0, rule pair 6, relative tolerance 0.01 in single precision) against the
// cost of the same number of bare density evaluations, and the same integral entered with the
// upper AVX halves in use, as after toolkit code that returns without clearing them.
#include "numerics/dtwodq.h"
#include "numerics/dtwodq_template.h"
#include "numerics/error_facility.h"
#include "numerics/vector_state.h"

#include <benchmark/benchmark.h>

#include <utility>
#include <vector>

namespace {

// Distribution parameters as the model holds them at start-up (run-time values, as there).
double g_hc = 0.4000000059604645;
double g_kmax = 3.2385880947113037;

// The bench's own copy of the density P(alpha, beta): two Lorentz factors, centred at Hc/2 and
// -Hc/2, each of half-width Hc.
inline double density(double alpha, double beta) {
    const double u = alpha / g_hc - 0.5;
    const double v = beta / g_hc + 0.5;
    return g_kmax / ((1.0 + u * u) * (1.0 + v * v));
}

const double kLower = -1.0;
const double kUpper = 0.0;
const double kErrabs = 0.0;
const double kErrrel = 0.009999999776482582; // 0.01 in single precision
const int kRule = 6;

double ascending_f(const double& x, const double& y) {
    return density(x, y);
}
double lower_limit(const double&) {
    return kLower;
}
double upper_limit(const double& x) {
    return x;
}

// The (alpha, beta) points one integral evaluates, in the order of evaluation.
std::vector<std::pair<double, double>>& nodes() {
    static std::vector<std::pair<double, double>> v;
    if (v.empty()) {
        double r = 0.0;
        double e = 0.0;
        dtwodq_t(
            [](const double& x, const double& y) {
                v.push_back({x, y});
                return density(x, y);
            },
            kLower, kUpper, [](const double&) { return kLower; }, [](const double& x) { return x; },
            kErrabs, kErrrel, kRule, r, e);
    }
    return v;
}

void set_counters(benchmark::State& state) {
    state.counters["evals"] = static_cast<double>(nodes().size());
    state.counters["ns_per_eval"] = benchmark::Counter(
        static_cast<double>(nodes().size()),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// The integral through the inlined template instance, as the model calls it.
void BM_EverettIntegralInlined(benchmark::State& state) {
    reset_error_facility();
    for (auto _ : state) {
        double r = 0.0;
        double e = 0.0;
        dtwodq_t([](const double& x, const double& y) { return density(x, y); }, kLower, kUpper,
                 [](const double&) { return kLower; }, [](const double& x) { return x; }, kErrabs,
                 kErrrel, kRule, r, e);
        benchmark::DoNotOptimize(r);
    }
    set_counters(state);
}
BENCHMARK(BM_EverettIntegralInlined)->Unit(benchmark::kMicrosecond);

// The same through the function-pointer entry point.
void BM_EverettIntegralFunctionPointers(benchmark::State& state) {
    reset_error_facility();
    for (auto _ : state) {
        double r = 0.0;
        double e = 0.0;
        DTWODQ(ascending_f, kLower, kUpper, lower_limit, upper_limit, kErrabs, kErrrel, kRule, r,
               e);
        benchmark::DoNotOptimize(r);
    }
    set_counters(state);
}
BENCHMARK(BM_EverettIntegralFunctionPointers)->Unit(benchmark::kMicrosecond);

// Leaves non-zero upper halves in ymm0 where the processor has AVX, as a toolkit routine that
// returns without VZEROUPPER does (the Qt 6.4 string hash with 256-bit AES instructions, for one).
void dirty_upper_state() {
#if defined(__GNUC__) && defined(__x86_64__)
    static const float one = 1.0f;
    if (avx_supported()) __asm__ volatile("vbroadcastss %0, %%ymm0" : : "m"(one) : "xmm0");
#endif
}

// The inlined integral entered with the upper halves in use before every call: it must cost what
// BM_EverettIntegralInlined costs (the quadrature clears them on entry; without that it took
// about 3.5 times as long on the 2-core Ice Lake server). "dirty_before" is the share of calls
// that really began in that state (0 where the processor cannot show it).
void BM_EverettIntegralAfterDirtyUpperState(benchmark::State& state) {
    reset_error_facility();
    double dirty = 0.0;
    for (auto _ : state) {
        dirty_upper_state();
        if (upper_vector_state_in_use()) dirty += 1.0;
        double r = 0.0;
        double e = 0.0;
        dtwodq_t([](const double& x, const double& y) { return density(x, y); }, kLower, kUpper,
                 [](const double&) { return kLower; }, [](const double& x) { return x; }, kErrabs,
                 kErrrel, kRule, r, e);
        benchmark::DoNotOptimize(r);
    }
    set_counters(state);
    state.counters["dirty_before"] = dirty / static_cast<double>(state.iterations());
}
BENCHMARK(BM_EverettIntegralAfterDirtyUpperState)->Unit(benchmark::kMicrosecond);

// The density at the very points one integral uses, summed in order, nothing else.
void BM_BareDensityEvaluations(benchmark::State& state) {
    const std::vector<std::pair<double, double>>& v = nodes();
    for (auto _ : state) {
        double s = 0.0;
        for (const auto& p : v)
            s += density(p.first, p.second);
        benchmark::DoNotOptimize(s);
    }
    set_counters(state);
}
BENCHMARK(BM_BareDensityEvaluations)->Unit(benchmark::kMicrosecond);

} // namespace
