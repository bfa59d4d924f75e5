// A fit of the log-normal family and the reversible part to a 1000-point loop made from known
// parameters (no noise), as fit --model gauss runs it; and fit --model FAMILY on a real
// 1,091-point loop (micromag_vsm_loop_BB-1.txt: a paramagnetic rock, Bc 17 mT at 1 T), reading
// and preparing the file included.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "app/batch/batch_options.h"
#include "app/batch/fit_material_command.h"
#include "app/batch/material_fit.h"
#include "model/density_families.h"
#include "model/everett_triangle.h"

namespace {

FitLoop made_loop() {
    Density d{find_density_family("gauss"), {0.08, 0.35, 0.03}, 1.0, nullptr};
    density_normalise(d, 1.0);
    FitLoop loop;
    // 500 fields down from +1 to -1, 500 back up.
    for (int k = 0; k < 500; ++k)
        loop.h.push_back(1.0 - 2.0 * k / 499.0);
    for (int k = 1; k <= 500; ++k)
        loop.h.push_back(-1.0 + 2.0 * k / 500.0);
    std::vector<double> m;
    irreversible_along(d, loop.h, m);
    for (size_t i = 0; i < m.size(); ++i)
        loop.M.push_back(2.0 * (m[i] + 0.05 * loop.h[i]));
    loop.Hs = 1.0;
    loop.Bc = 0.1;
    loop.Mr = 1.9;
    loop.Ms = 2.1;
    loop.slope = 0.1;
    return loop;
}

void FitThousandPoints(benchmark::State& state) {
    const FitLoop loop = made_loop();
    for (auto _ : state) {
        const MaterialFit fit = fit_material(*find_density_family("gauss"), loop);
        benchmark::DoNotOptimize(fit.rss);
        state.counters["iterations"] = fit.iterations;
    }
}
BENCHMARK(FitThousandPoints)->Unit(benchmark::kMillisecond)->Iterations(3);

void FitRockLoop(benchmark::State& state) {
    BatchOptions options;
    options.command = "fit";
    options.fit_family = kAutoFamilies[state.range(0)];
    options.loop_path = std::string(HYSTERESIS_MEASURED_DIR) + "/micromag_vsm_loop_BB-1.txt";
    state.SetLabel(options.fit_family);
    std::FILE* out = std::fopen("/dev/null", "w");
    std::string error;
    for (auto _ : state)
        if (run_material_fit(options, out, error) != 0) state.SkipWithError(error.c_str());
    std::fclose(out);
}
BENCHMARK(FitRockLoop)->DenseRange(0, kAutoFamilyCount - 1)->Unit(benchmark::kMillisecond);

} // namespace
