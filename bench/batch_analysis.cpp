// Cost of the batch tool's loop analysis: fitting a measured loop of the start-up Hc (required:
// well under a second), reading a long loop file, and 50 x 50 reversal curves with their
// distribution.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

#include "app/batch/batch_options.h"
#include "app/batch/batch_run.h"
#include "app/batch/fit_command.h"
#include "app/batch/forc_command.h"
#include "app/batch/metrics_command.h"
#include "model/state_sequences.h"

namespace {

std::string scratch_path(const char* name) {
    return "/tmp/hysteresis_bench_" + std::to_string(getpid()) + "_" + name;
}

ModelState& model() {
    static ModelState* m = [] {
        auto* s = new ModelState;
        reset_to_program_start(*s);
        set_startup_parameters(*s);
        return s;
    }();
    return *m;
}

std::FILE* null_output() {
    static std::FILE* f = std::fopen("/dev/null", "w");
    return f;
}

void BM_fit_startup_loop(benchmark::State& state) {
    // The start-up limiting loop in laboratory units (A/m, T).
    ModelState& m = model();
    batch_set_parameter(m, kStartupHc);
    open_workspace_reset(m);
    const std::string path = scratch_path("fit.csv");
    std::FILE* f = std::fopen(path.c_str(), "w");
    std::fputs("H,B\n", f);
    for (int k = 1; k <= m.Nmaj + 1; ++k)
        std::fprintf(f, "%.17g,%.17g\n", m.Hmaj[k] * 800.0, m.Bmaj[k] * 1.6);
    std::fclose(f);

    BatchOptions options;
    options.command = "fit";
    options.loop_path = path;
    std::string error;
    for (auto _ : state) {
        if (run_fit(options, m, null_output(), error) != kBatchOk)
            state.SkipWithError(error.c_str());
    }
    std::remove(path.c_str());
}
BENCHMARK(BM_fit_startup_loop)->Unit(benchmark::kMillisecond);

void BM_metrics_long_file(benchmark::State& state) {
    const int64_t points = state.range(0);
    const std::string path = scratch_path("long.csv");
    std::FILE* f = std::fopen(path.c_str(), "w");
    for (int64_t i = 0; i < points; ++i) {
        const bool rising = i < points / 2;
        const double t = double(rising ? i : i - points / 2) / (points / 2);
        const double H = rising ? -1.0 + 2.0 * t : 1.0 - 2.0 * t - 1e-9;
        std::fprintf(f, "%.9g,%.9g\n", H * 800.0,
                     1.6 * std::tanh(4.0 * (H + (rising ? -0.3 : 0.3))));
    }
    std::fclose(f);
    LoopMetrics metrics{};
    double H_abs_max = 0.0;
    std::string error;
    for (auto _ : state) {
        if (!measure_loop_file(path, metrics, H_abs_max, error)) state.SkipWithError(error.c_str());
        benchmark::DoNotOptimize(metrics.area);
    }
    state.SetItemsProcessed(state.iterations() * points);
    std::remove(path.c_str());
}
BENCHMARK(BM_metrics_long_file)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_forc_50_with_density(benchmark::State& state) {
    BatchOptions options;
    options.command = "forc";
    options.Hc = 0.4;
    options.reversals = 50;
    options.points = 50;
    options.density = true;
    std::string error;
    for (auto _ : state)
        run_forc(options, model(), null_output(), error);
}
BENCHMARK(BM_forc_50_with_density)->Unit(benchmark::kMillisecond);

} // namespace
