// A measured FORC set of laboratory size (300 curves, about 80,000 points) read from plain
// columns, drift-corrected, smoothed with SF 3 and drawn as a PNG diagram.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "measure/series_reader.h"
#include "forc/forc_distribution.h"
#include "forc/forc_drift.h"
#include "forc/forc_from_curves.h"
#include "forc/forc_table.h"
#include "picture/forc_diagram.h"

namespace {

constexpr int kCurves = 300;
constexpr int kFields = 534; // fields across the whole range: 300 curves hold ~80,000 points

// Writes the set once: smooth curves whose distribution has one peak, 0.6 wide in both fields.
std::string forc_file() {
    static const std::string path = [] {
        const std::string p = "/tmp/bench_forc_80000.csv";
        std::FILE* f = std::fopen(p.c_str(), "wb");
        std::fputs("Hr,H,M\n", f);
        for (int i = 0; i < kCurves; ++i) {
            const double Hr = -0.3 + 0.6 * i / (kCurves - 1);
            for (int j = 0; j < kFields; ++j) {
                const double H = -0.3 + 0.6 * j / (kFields - 1);
                if (H < Hr) continue;
                std::fprintf(f, "%.9g,%.9g,%.9g\n", Hr, H,
                             std::tanh(20 * (H - 0.05)) - std::tanh(20 * (Hr + 0.05)) * 0.5);
            }
        }
        std::fclose(f);
        return p;
    }();
    return path;
}

void BM_forc_measured_300_curves(benchmark::State& state) {
    const std::string path = forc_file();
    const std::string picture = "/tmp/bench_forc_80000.png";
    size_t points = 0;
    for (auto _ : state) {
        ForcCurves curves;
        std::string error;
        if (!read_forc_file(path, curves, error)) state.SkipWithError(error.c_str());
        // Plain columns carry no calibration: a steady one, drifting by 1 %, stands in.
        for (size_t k = 0; k < curves.curves.size(); ++k) {
            curves.curves[k].has_calibration = true;
            curves.curves[k].Mcal = 1.0 + 0.01 * k / kCurves;
        }
        forc_correct_drift(curves, error);
        ForcTable table;
        if (!forc_table_from_curves(curves, table, error)) state.SkipWithError(error.c_str());
        ForcGrid grid;
        forc_distribution_coercive(table, 3, 400, grid);
        ForcDiagramText text;
        text.title = "bench";
        text.sf = 3;
        if (!write_forc_diagram(picture, grid, text, error)) state.SkipWithError(error.c_str());
        points = table.H.size();
    }
    state.counters["points"] = static_cast<double>(points);
}
BENCHMARK(BM_forc_measured_300_curves)->Unit(benchmark::kMillisecond);

} // namespace
