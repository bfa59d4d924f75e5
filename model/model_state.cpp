// The single ModelState and its program-start values.
#include "model/model_state.h"

#include "model/density_lorentz.h"

#include <cstring>

// Zero-initialised in static storage (no 4.8 MB image in the binary); the program-start values
// are applied by the dynamic initialiser below, before main runs.
ModelState g_model;

namespace {

const bool g_program_start_applied = (reset_to_program_start(g_model), true);

} // namespace

void reset_to_program_start(ModelState& m) {
    std::memset(&m, 0, sizeof m);
    m.Smem = 0.125;
    m.Amem = 0.5;
    m.PlotLeft = 67;
    m.PlotTop = 8;
    m.density = lorentz_density(0.0, 0.0);
}

void set_startup_parameters(ModelState& m) {
    m.density = lorentz_density(kStartupHc, kStartupKmax);
}
