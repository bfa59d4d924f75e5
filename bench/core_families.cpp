// Cost of one Everett triangle of each closed-form-inner density family, averaged over the
// triangles of a limiting loop's rising branch (-1 to each of 101 fields across [-1, 1]), and of
// the Lorentzian below Hc = 0.05 on the same triangles.
#include <benchmark/benchmark.h>

#include <vector>

#include "model/density_families.h"
#include "model/density_lorentz.h"
#include "model/everett_triangle.h"

namespace {

struct Member {
    const char* family;
    std::vector<double> parameters;
};

const Member kMembers[] = {
    {"lorentz2", {0.1, 0.05, 0.03}},
    {"gauss", {0.05, 0.4, 0.02}},
    {"lorentz2-mix", {0.4, 0.02, 0.01, 0.01, 0.2, 0.1, 0.05}},
    {"gauss-mix", {0.4, 0.02, 0.3, 0.01, 0.2, 0.4, 0.05}},
    {"lorentz", {0.01}},
};

void Triangle(benchmark::State& state) {
    const Member& m = kMembers[state.range(0)];
    Density d{find_density_family(m.family), {}, 1.0, nullptr};
    for (size_t i = 0; i < m.parameters.size(); ++i)
        d.parameter[i] = m.parameters[i];
    density_normalise(d, 1.0);
    state.SetLabel(m.family);
    for (auto _ : state) {
        double sum = 0.0;
        for (int k = 0; k <= 100; ++k)
            sum += everett_triangle(d, TriangleForm::ascending, -1.0, -1.0 + 0.02 * k);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * 101);
}
BENCHMARK(Triangle)->DenseRange(0, 4);

} // namespace
