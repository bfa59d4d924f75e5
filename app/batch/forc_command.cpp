// The forc command: reversal curves from positive saturation and their mixed second difference.
#include "app/batch/forc_command.h"

#include <cmath>
#include <limits>
#include <vector>

#include "app/batch/batch_common.h"
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

namespace {

int parse_forc_option(int argc, const char* const* argv, int& i, BatchOptions& options,
                      std::string& error) {
    const int hc = batch_parse_hc(argc, argv, i, options, error);
    if (hc != kOptionUnknown) return hc;
    const std::string arg = argv[i];
    if (arg == "--reversals" || arg == "--points") {
        std::string value;
        if (!batch_option_value(argc, argv, i, value, error)) return kOptionRefused;
        int32_t& count = arg == "--reversals" ? options.reversals : options.points;
        if (!batch_read_int32(value, count) || count < kForcGridMin || count > kForcGridMax) {
            error = "invalid " + arg + " '" + batch_shown(value) +
                    "': expected a whole number from " + std::to_string(kForcGridMin) + " to " +
                    std::to_string(kForcGridMax);
            return kOptionRefused;
        }
        return kOptionTaken;
    }
    if (arg == "--density") {
        options.density = true;
        return kOptionTaken;
    }
    return kOptionUnknown;
}

bool check_forc_options(BatchOptions& options, std::string& error) {
    if (options.reversals == 0) {
        error = "forc needs --reversals N";
        return false;
    }
    if (options.points == 0) options.points = options.reversals;
    return true;
}

int run_forc_command(const BatchOptions& options, ModelState& m, std::FILE* out, std::string&) {
    return run_forc(options, m, out);
}

} // namespace

int run_forc(const BatchOptions& options, ModelState& m, std::FILE* out) {
    const int32_t N = options.reversals;
    const int32_t M = options.points;
    batch_set_parameter(m, options.Hc);

    // Every curve first, so that the distribution can look at the neighbouring curves.
    std::vector<double> B(static_cast<size_t>(N) * M, kNaN);
    std::vector<double> B_reversal(N, kNaN);
    std::vector<int32_t> first(N, 0);
    // Long runs tell their progress on standard error, a tenth at a time.
    const bool long_run = static_cast<int64_t>(N) * M > kForcQuietPoints;
    for (int32_t i = 0; i < N; ++i) {
        const double Hr = forc_grid_field(N, i);
        first[i] = first_field_at_or_above(Hr, M);
        compute_forc_curve(m, Hr, M, first[i], B.data() + static_cast<size_t>(i) * M,
                           B_reversal[i]);
        if (long_run && (10 * (i + 1)) / N != (10 * i) / N) {
            std::fprintf(stderr, "hysteresis-batch: forc: %d of %d curves\n", i + 1, N);
            std::fflush(stderr);
        }
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

const BatchCommandRow kForcCommand = {
    "forc",
    "  forc --hc HC --reversals N [--points M] [--density]\n"
    "                    print first-order reversal curves: from positive saturation\n"
    "                    down to each of N reversal fields Hr evenly spaced in [-1, 1],\n"
    "                    then back up through the fields of an even grid of M fields\n"
    "                    (default N) in [-1, 1] lying above Hr; CSV \"Hr,H,B\", each\n"
    "                    curve starting with its reversal point. --density adds the\n"
    "                    column rho = -1/2 d2B/(dHr dH) by central differences (nan\n"
    "                    where a neighbour is missing: at the edges and next to H = Hr).\n"
    "                    Cost: about N x M / 2 Everett integrals; 100 x 100 takes\n"
    "                    seconds, 1000 x 1000 minutes (a note on standard error gives\n"
    "                    the progress of runs of more than 40000 points)\n",
    parse_forc_option,
    check_forc_options,
    run_forc_command,
};
