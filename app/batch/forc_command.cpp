// The forc command: reversal curves from positive saturation and their mixed second difference.
#include "app/batch/forc_command.h"

#include <cmath>
#include <limits>
#include <vector>

#include "app/batch/batch_run.h"
#include "model/preisach.h"
#include "model/reversal_history.h"
#include "model/state_sequences.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The lowest grid index whose field is at or above Hr.
int32_t first_field_at_or_above(double Hr, int32_t points) {
    int32_t j = 0;
    while (j < points - 1 && forc_grid_field(points, j) < Hr)
        ++j;
    return j;
}

void print_row(std::FILE* out, double Hr, double H, double B, bool density, double rho) {
    if (!density) {
        std::fprintf(out, "%.17g,%.17g,%.17g\n", Hr, H, B);
    } else if (std::isnan(rho)) {
        std::fprintf(out, "%.17g,%.17g,%.17g,nan\n", Hr, H, B);
    } else {
        std::fprintf(out, "%.17g,%.17g,%.17g,%.17g\n", Hr, H, B, rho);
    }
}

} // namespace

double forc_grid_field(int32_t count, int32_t index) {
    if (index == count - 1) return 1.0;
    return -1.0 + 2.0 * index / (count - 1);
}

void compute_forc_curve(ModelState& m, double Hr, int32_t points, int32_t first, double* B,
                        double& B_reversal) {
    // Positive saturation, as the Settings "Ho = Hs" leave it, with no reversal yet.
    m.Krev = 0;
    apply_settings(m, m.Smem, m.Amem, false);
    B_reversal = everett_integral(m, Hr);
    // The stack is empty, so the reversal always has a slot.
    record_reversal(m, Hr, B_reversal);
    for (int32_t j = first; j < points; ++j) {
        const double H = forc_grid_field(points, j);
        // A field equal to Hr lies on the reversal point itself.
        B[j] = H == Hr ? B_reversal : everett_integral(m, H);
    }
}

double forc_density(const double* B, int32_t reversals, int32_t points, int32_t i, int32_t j) {
    if (i < 1 || i > reversals - 2 || j < 1 || j > points - 2) return kNaN;
    const double* lower = B + static_cast<size_t>(i - 1) * points;
    const double* upper = B + static_cast<size_t>(i + 1) * points;
    const double mixed = upper[j + 1] - upper[j - 1] - lower[j + 1] + lower[j - 1];
    if (std::isnan(mixed)) return kNaN;
    const double dHr = forc_grid_field(reversals, i + 1) - forc_grid_field(reversals, i - 1);
    const double dH = forc_grid_field(points, j + 1) - forc_grid_field(points, j - 1);
    return -0.5 * mixed / (dHr * dH);
}

int run_forc(const BatchOptions& options, ModelState& m, std::FILE* out) {
    const int32_t N = options.reversals;
    const int32_t M = options.points;
    batch_set_parameter(m, options.Hc);

    // Every curve first, so that the distribution can look at the neighbouring curves.
    std::vector<double> B(static_cast<size_t>(N) * M, kNaN);
    std::vector<double> B_reversal(N, kNaN);
    std::vector<int32_t> first(N, 0);
    for (int32_t i = 0; i < N; ++i) {
        const double Hr = forc_grid_field(N, i);
        first[i] = first_field_at_or_above(Hr, M);
        compute_forc_curve(m, Hr, M, first[i], B.data() + static_cast<size_t>(i) * M,
                           B_reversal[i]);
    }

    std::fputs(options.density ? "Hr,H,B,rho\n" : "Hr,H,B\n", out);
    for (int32_t i = 0; i < N; ++i) {
        const double Hr = forc_grid_field(N, i);
        const double* row = B.data() + static_cast<size_t>(i) * M;
        int32_t j = first[i];
        if (j < M && forc_grid_field(M, j) == Hr) {
            // The reversal point is a grid node: print it once, as the node.
        } else {
            print_row(out, Hr, Hr, B_reversal[i], options.density, kNaN);
        }
        for (; j < M; ++j)
            print_row(out, Hr, forc_grid_field(M, j), row[j], options.density,
                      options.density ? forc_density(B.data(), N, M, i, j) : kNaN);
    }
    return kBatchOk;
}
