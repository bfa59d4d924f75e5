// Cost of one Everett triangle of each closed-form-inner density family, averaged over the
// triangles of a limiting loop's rising branch (-1 to each of 101 fields across [-1, 1]), and of
// the Lorentzian below Hc = 0.05 on the same triangles; then the members fitted to a real loop
// (micromag_vsm_loop_BB-1.txt, 1 T, Bc 17 mT), broad ones; and the same with every triangle of a
// density met for the first time.
#include <benchmark/benchmark.h>

#include <vector>

#include "model/density_families.h"
#include "model/density_lorentz.h"
#include "model/everett_triangle.h"

namespace {

struct Member {
    const char* family;
    std::vector<double> parameters;
    const char* label;
};

const Member kMembers[] = {
    {"lorentz2", {0.1, 0.05, 0.03}, "lorentz2"},
    {"gauss", {0.05, 0.4, 0.02}, "gauss"},
    {"lorentz2-mix", {0.4, 0.02, 0.01, 0.01, 0.2, 0.1, 0.05}, "lorentz2-mix"},
    {"gauss-mix", {0.4, 0.02, 0.3, 0.01, 0.2, 0.4, 0.05}, "gauss-mix"},
    {"lorentz", {0.01}, "lorentz"},
    {"lorentz2", {0.0, 0.0145, 0.069}, "lorentz2 BB-1"},
    {"gauss", {0.016, 2.31, 0.049}, "gauss BB-1"},
    {"gauss-mix", {0.273, 0.0079, 0.927, 0.0423, 0.0245, 0.831, 0.184}, "gauss-mix BB-1"},
};

// The member's density, every parameter times 1 + scale (weights and spreads too: a density a hair
// apart, not the same one at another field scale).
Density density_of(const Member& m, double scale) {
    Density d{find_density_family(m.family), {}, 1.0, nullptr};
    for (size_t i = 0; i < m.parameters.size(); ++i)
        d.parameter[i] = m.parameters[i] * (1.0 + scale);
    density_normalise(d, 1.0);
    return d;
}

void Triangle(benchmark::State& state) {
    const Member& m = kMembers[state.range(0)];
    const Density d = density_of(m, 0.0);
    state.SetLabel(m.label);
    for (auto _ : state) {
        double sum = 0.0;
        for (int k = 0; k <= 100; ++k)
            sum += everett_triangle(d, TriangleForm::ascending, -1.0, -1.0 + 0.02 * k);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * 101);
}
BENCHMARK(Triangle)->DenseRange(0, 7);

// The same triangles, each of a density met for the first time: five copies of the member a hair
// apart in turn, more than a thread keeps the shared moments of.
void TriangleFirst(benchmark::State& state) {
    const Member& m = kMembers[state.range(0)];
    Density d[5];
    for (int j = 0; j < 5; ++j)
        d[j] = density_of(m, 1e-12 * j);
    state.SetLabel(m.label);
    for (auto _ : state) {
        double sum = 0.0;
        for (int k = 0; k <= 100; ++k)
            sum += everett_triangle(d[k % 5], TriangleForm::ascending, -1.0, -1.0 + 0.02 * k);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * 101);
}
BENCHMARK(TriangleFirst)->DenseRange(0, 7);

} // namespace
