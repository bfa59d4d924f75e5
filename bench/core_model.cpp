// Cost of the model's integrals: the normalisation, the limiting loop, one construction, a cyclic
// Execute of 10 cycles and the long Executes (cyclic 300, spiral 200), all without drawing.
#include <benchmark/benchmark.h>

#include "model/density_lorentz.h"
#include "model/curve_construction.h"
#include "model/execute_cycles.h"
#include "model/preisach.h"
#include "model/state_sequences.h"

namespace {

// An opened workspace with the start-up Hc and Kmax and the pixel scale of a 1024 x 768 window.
ModelState& workspace() {
    static ModelState* m = [] {
        auto* s = new ModelState;
        reset_to_program_start(*s);
        set_startup_parameters(*s);
        open_workspace_saturation(*s);
        open_workspace_reset(*s);
        s->HperPixel = 2.0 / 916;
        return s;
    }();
    return *m;
}

// Back to negative saturation without recomputing the limiting loop.
void back_to_start(ModelState& m) {
    m.Hcur = m.Hn = -1.0;
    m.Bcur = -1.0;
    m.Dir = 1.0;
    m.Krev = 0;
    m.Ndrawn = 0;
    m.Nnew = 0;
    m.dHprev = 3.0;
}

void BM_compute_kmax(benchmark::State& state) {
    ModelState& m = workspace();
    for (auto _ : state) {
        compute_kmax(m);
        benchmark::DoNotOptimize(m.density.norm);
    }
    set_startup_parameters(m);
}
BENCHMARK(BM_compute_kmax)->Unit(benchmark::kMicrosecond);

void BM_limiting_loop(benchmark::State& state) {
    ModelState& m = workspace();
    for (auto _ : state) {
        compute_major_loop(m);
        benchmark::DoNotOptimize(m.Bmaj[201]);
    }
    state.counters["integrals"] = 200;
}
BENCHMARK(BM_limiting_loop)->Unit(benchmark::kMillisecond);

void BM_construct_to_half(benchmark::State& state) {
    ModelState& m = workspace();
    for (auto _ : state) {
        back_to_start(m);
        m.Hn = 0.5;
        construct_to_hn(m);
        benchmark::DoNotOptimize(m.Bcur);
    }
    state.counters["points"] = m.Nnew;
    back_to_start(m);
}
BENCHMARK(BM_construct_to_half)->Unit(benchmark::kMillisecond);

// A long Execute from H = -0.5 on the limiting loop to Hn = 0.5: cyclic alteration (mode 1) or
// gradual spiral approach (mode 2) with Ncyc cycles, 2 Ncyc legs of 300 points each.
void long_execute(benchmark::State& state, int32_t mode, int32_t cycles) {
    ModelState& m = workspace();
    for (auto _ : state) {
        state.PauseTiming();
        back_to_start(m);
        m.Hn = -0.5;
        construct_to_hn(m);
        commit_new_points(m);
        m.Hn = 0.5;
        m.Ncyc = cycles;
        m.CycleMode = mode;
        state.ResumeTiming();
        execute_cycles(m, nullptr);
        benchmark::DoNotOptimize(m.Bcur);
    }
    state.counters["points"] = m.Ndrawn;
    if (m.Hcur != (mode == 1 ? -0.5 : 0.5)) state.SkipWithError("the Execute ended elsewhere");
    back_to_start(m);
}

void BM_cyclic_execute_10(benchmark::State& state) {
    long_execute(state, 1, 10);
}
BENCHMARK(BM_cyclic_execute_10)->Unit(benchmark::kMillisecond);

void BM_cyclic_execute_300(benchmark::State& state) {
    long_execute(state, 1, 300);
}
BENCHMARK(BM_cyclic_execute_300)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);

void BM_spiral_execute_200(benchmark::State& state) {
    long_execute(state, 2, 200);
}
BENCHMARK(BM_spiral_execute_200)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);

} // namespace
