// Cost of reading and measuring measured loops: a long plain file with units through the reader,
// the loop assembly, the automatic slope fit and the figures (held in memory), and a real
// instrument file of each format.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "measure/loop_analysis.h"
#include "measure/loop_assembly.h"
#include "measure/series_reader.h"

namespace {

std::string scratch_path(const char* name) {
    return "/tmp/hysteresis_bench_" + std::to_string(getpid()) + "_" + name;
}

// Reads, assembles and measures every loop of the file; the number of loops measured.
int measure(const std::string& path, std::string& error) {
    std::vector<MeasuredSeries> series;
    int64_t skipped = 0;
    if (!read_series_file(path, "", series, skipped, error)) return -1;
    int loops = 0;
    for (const MeasuredSeries& s : series) {
        AssembledSeries a;
        assemble_series(s.H.data(), s.M.data(), static_cast<int64_t>(s.H.size()), a);
        LoopRequest request;
        request.slope = SlopeChoice::automatic;
        for (size_t k = 0; k < a.loops.size(); ++k) {
            LoopReport report;
            if (!analyse_loop(s, a, static_cast<int>(k), request, report, error)) return -1;
            benchmark::DoNotOptimize(report.figures.Bc);
            ++loops;
        }
    }
    return loops;
}

void BM_measured_plain_file(benchmark::State& state) {
    const int64_t points = state.range(0);
    const std::string path = scratch_path("measured.csv");
    std::FILE* f = std::fopen(path.c_str(), "w");
    std::fputs("Field (mT);Moment (emu)\n", f);
    for (int64_t i = 0; i < points; ++i) {
        const bool falling = i < points / 2;
        const double t = double(falling ? i : i - points / 2) / (points / 2);
        const double H = falling ? 1.0 - 2.0 * t : -1.0 + 2.0 * t + 1e-9;
        std::fprintf(f, "%.9g;%.9g\n", H * 1000.0,
                     1e-3 * std::tanh(4.0 * (H + (falling ? 0.3 : -0.3))) + 2e-4 * H);
    }
    std::fclose(f);
    std::string error;
    for (auto _ : state)
        if (measure(path, error) != 1) state.SkipWithError(error.c_str());
    state.SetItemsProcessed(state.iterations() * points);
    std::remove(path.c_str());
}
BENCHMARK(BM_measured_plain_file)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_measured_instrument_file(benchmark::State& state, const char* name) {
    const std::string path = std::string(HYSTERESIS_MEASURED_DIR) + "/" + name;
    std::string error;
    for (auto _ : state)
        if (measure(path, error) < 1) state.SkipWithError(error.c_str());
}
BENCHMARK_CAPTURE(BM_measured_instrument_file, micromag, "micromag_vsm_loop_BB-1.txt")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_measured_instrument_file, ppms, "ppms_vsm_loop.dat")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_measured_instrument_file, mpms3, "mpms3_loops_mvsh1.dat")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_measured_instrument_file, magic, "magic25_hysteresis_table.dat")
    ->Unit(benchmark::kMillisecond);

} // namespace
