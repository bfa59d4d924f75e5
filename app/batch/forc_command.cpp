// The forc command: reversal curves from positive saturation and their mixed second difference.
#include "app/batch/forc_command.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <vector>

#include "app/batch/batch_common.h"
#include "app/batch/batch_model.h"
#include "app/batch/forc_input.h"
#include "forc/forc_distribution.h"
#include "forc/forc_regression.h"
#include "forc/forc_table.h"
#include "measure/measure_units.h"
#include "picture/forc_diagram.h"
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
        // No estimate: an empty cell rather than a number that is not one.
        std::fprintf(out, "%.17g,%.17g,%.17g,\n", Hr, H, B);
    } else {
        std::fprintf(out, "%.17g,%.17g,%.17g,%.17g\n", Hr, H, B, rho);
    }
}

// rho at (Hr, H) of the table, NaN where the fit is refused.
double density_at(const ForcTable& table, int32_t sf, double Hr, double H) {
    double rho = kNaN;
    return forc_rho_at(table, sf, Hr, H, rho) ? rho : kNaN;
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

namespace {

int parse_forc_option(int argc, const char* const* argv, int& i, BatchOptions& options,
                      std::string& error) {
    const int hc = batch_parse_hc(argc, argv, i, options, error);
    if (hc != kOptionUnknown) return hc;
    const int model = batch_parse_model_file(argc, argv, i, options, error);
    if (model != kOptionUnknown) return model;
    const std::string arg = argv[i];
    std::string value;
    if (arg == "--reversals" || arg == "--points") {
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
    if (arg == "--measured" || arg == "--picture") {
        std::string& path = arg == "--measured" ? options.measured_path : options.picture_path;
        if (!batch_option_value(argc, argv, i, path, error)) return kOptionRefused;
        if (path.empty()) {
            error = "invalid " + arg + " '': expected a file name";
            return kOptionRefused;
        }
        if (arg == "--picture" && !forc_diagram_path_ok(path)) {
            error =
                "invalid --picture '" + batch_shown(path) + "': the name must end in .png or .svg";
            return kOptionRefused;
        }
        return kOptionTaken;
    }
    const int input = parse_forc_input_option(argc, argv, i, options, error);
    if (input != kOptionUnknown) return input;
    return kOptionUnknown;
}

bool check_forc_options(BatchOptions& options, std::string& error) {
    if (options.drift && options.no_drift) {
        error = "forc takes either --drift or --no-drift, not both";
        return false;
    }
    if (!options.measured_path.empty()) {
        if (options.hc_given || options.reversals != 0 || options.points != 0 || options.density ||
            !options.model_path.empty()) {
            error = "forc --measured takes none of --hc, --model, --reversals, --points and "
                    "--density";
            return false;
        }
        return true;
    }
    if (!batch_check_model_file(options, error)) return false;
    if (options.drift || options.no_drift) {
        error = "--drift and --no-drift apply to forc --measured";
        return false;
    }
    if (options.reversals == 0) {
        error = "forc needs --reversals N or --measured FILE";
        return false;
    }
    if (options.points == 0) options.points = options.reversals;
    return true;
}

// The file's name without its folders, for the diagram's title.
std::string base_name(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The diagram of table drawn to the picture, and its figures as "name,value" lines on out: the
// peak is the largest rho clear of the ridge at Bc = 0, placed by forc_grid_peak.
int draw_and_summarise(const ForcTable& table, int32_t sf, ForcDiagramText text,
                       const std::string& picture, std::FILE* out, std::string& error) {
    // The peak and the colour scale leave out the ridge of reversible magnetisation at Bc = 0.
    ForcGrid grid;
    forc_diagram_grid(table, sf, grid, text);
    if (!write_forc_diagram(picture, grid, text, error)) return kBatchStopped;
    ForcPeak peak;
    forc_grid_peak(grid, text.scale_from, forc_peak_reach(table, sf, grid), peak);
    std::fprintf(out, "name,value\ncurves,%zu\npoints,%zu\nstep_Hr,%.17g\nstep_H,%.17g\nsf,%d\n",
                 forc_table_curves(table), table.H.size(), table.step_Hr, table.step_H, sf);
    std::fprintf(out, "grid_step,%.17g\n", grid.dx);
    if (peak.found)
        std::fprintf(out, "peak_Bc,%.17g\npeak_Bu,%.17g\npeak_rho,%.17g\n", peak.x, peak.y,
                     peak.rho);
    return kBatchOk;
}

int run_forc_measured(const BatchOptions& options, std::FILE* out, std::string& error) {
    const std::string& path = options.measured_path;
    ForcCurves curves;
    ForcTable table;
    bool correct = false;
    if (!load_forc_input(options, path, curves, table, correct, error)) return kBatchBadUsage;
    const int32_t sf = forc_smoothing_of(options);
    const std::string& field_unit = curves.field_unit.reported;
    const std::string& moment_unit = curves.moment_unit.reported;
    if (!options.picture_path.empty())
        return draw_and_summarise(table, sf,
                                  forc_diagram_text(base_name(path), sf, field_unit, moment_unit),
                                  options.picture_path, out, error);

    ForcGrid grid;
    forc_distribution_fields(table, sf, grid);
    std::fprintf(out, "# %s: %zu curves, %zu points, SF %d, %s\n", base_name(path).c_str(),
                 forc_table_curves(table), table.H.size(), sf,
                 correct ? "drift corrected" : "no drift correction");
    if (!field_unit.empty() || !moment_unit.empty())
        std::fprintf(out, "# fields in %s, rho in %s\n",
                     field_unit.empty() ? "the file's unit" : field_unit.c_str(),
                     forc_diagram_text("", sf, field_unit, moment_unit).value_unit.c_str());
    std::fputs("Hr,H,Bc,Bu,rho\n", out);
    for (int32_t j = 0; j < grid.rows; ++j) {
        const double Hr = grid.y0 + j * grid.dy;
        for (int32_t i = 0; i < grid.columns; ++i) {
            const double H = grid.x0 + i * grid.dx, rho = forc_grid_at(grid, i, j);
            if (std::isfinite(rho))
                std::fprintf(out, "%.17g,%.17g,%.17g,%.17g,%.17g\n", Hr, H, 0.5 * (H - Hr),
                             0.5 * (H + Hr), rho);
        }
    }
    return kBatchOk;
}

int run_forc_command(const BatchOptions& options, ModelState& m, std::FILE* out,
                     std::string& error) {
    if (!options.measured_path.empty()) return run_forc_measured(options, out, error);
    return run_forc(options, m, out, error);
}

} // namespace

int run_forc(const BatchOptions& options, ModelState& m, std::FILE* out, std::string& error) {
    const int32_t N = options.reversals;
    const int32_t M = options.points;
    const int32_t sf = forc_smoothing_of(options);
    const bool with_model = !options.model_path.empty();
    if (with_model) {
        if (!batch_set_model(m, options.model, error)) return kBatchBadUsage;
    } else {
        batch_set_parameter(m, options.Hc);
    }
    // Fields, moments and the distribution in the model file's units (identities without one).
    const ModelFile unit_model;
    const ModelFile& units = with_model ? options.model : unit_model;
    const double rho_scale = units.Bs / (units.Hs * units.Hs);
    auto row_out = [&](double Hr, double H, double B, double rho) {
        print_row(out, batch_field_out(units, Hr), batch_field_out(units, H),
                  batch_moment_out(units, H, B), options.density, rho * rho_scale);
    };

    // Every curve first, so that the distribution can look at the neighbouring curves.
    std::vector<double> B(static_cast<size_t>(N) * M, kNaN);
    std::vector<double> B_reversal(N, kNaN);
    std::vector<int32_t> first(N, 0);
    ForcTable table;
    std::vector<double> H_curve, B_curve;
    // Long runs tell their progress on standard error, a tenth at a time.
    const bool long_run = static_cast<int64_t>(N) * M > kForcQuietPoints;
    for (int32_t i = 0; i < N; ++i) {
        const double Hr = forc_grid_field(N, i);
        first[i] = first_field_at_or_above(Hr, M);
        double* row = B.data() + static_cast<size_t>(i) * M;
        compute_forc_curve(m, Hr, M, first[i], row, B_reversal[i]);
        // The table holds what is printed: the reversal point, then the grid fields above it.
        H_curve.clear();
        B_curve.clear();
        if (!(first[i] < M && forc_grid_field(M, first[i]) == Hr)) {
            H_curve.push_back(Hr);
            B_curve.push_back(B_reversal[i]);
        }
        for (int32_t j = first[i]; j < M; ++j) {
            H_curve.push_back(forc_grid_field(M, j));
            B_curve.push_back(row[j]);
        }
        forc_table_add_curve(table, Hr, H_curve.data(), B_curve.data(), H_curve.size());
        if (long_run && (10 * (i + 1)) / N != (10 * i) / N) {
            std::fprintf(stderr, "hysteresis-batch: forc: %d of %d curves\n", i + 1, N);
            std::fflush(stderr);
        }
    }
    const bool smoothed = options.density || !options.picture_path.empty();
    if (smoothed && (!forc_table_finish(table, error) || !forc_check_smoothing(table, sf, error)))
        return kBatchBadUsage;
    if (!options.picture_path.empty()) {
        char title[96];
        if (with_model)
            std::snprintf(title, sizeof title, "Preisach model, %s", units.family.c_str());
        else
            std::snprintf(title, sizeof title, "Preisach model, Hc = %.6g", options.Hc);
        return draw_and_summarise(table, sf, forc_diagram_text(title, sf, "", ""),
                                  options.picture_path, out, error);
    }
    if (options.density) forc_regression_prepare();

    std::fputs(options.density ? "Hr,H,B,rho\n" : "Hr,H,B\n", out);
    for (int32_t i = 0; i < N; ++i) {
        const double Hr = forc_grid_field(N, i);
        const double* row = B.data() + static_cast<size_t>(i) * M;
        int32_t j = first[i];
        if (j < M && forc_grid_field(M, j) == Hr) {
            // The reversal point is a grid node: print it once, as the node.
        } else {
            row_out(Hr, Hr, B_reversal[i], options.density ? density_at(table, sf, Hr, Hr) : kNaN);
        }
        for (; j < M; ++j) {
            const double H = forc_grid_field(M, j);
            row_out(Hr, H, row[j], options.density ? density_at(table, sf, Hr, H) : kNaN);
        }
    }
    return kBatchOk;
}

const BatchCommandRow kForcCommand = {
    "forc",
    "  forc --hc HC --reversals N [--points M] [--density] [--sf SF] [--picture FILE]\n"
    "                    print first-order reversal curves: from positive saturation\n"
    "                    down to each of N reversal fields Hr evenly spaced in [-1, 1],\n"
    "                    then back up through the fields of an even grid of M fields\n"
    "                    (default N) in [-1, 1] lying above Hr; CSV \"Hr,H,B\", each\n"
    "                    curve starting with its reversal point. --density adds the\n"
    "                    column rho = -1/2 d2B/(dHr dH), the mixed coefficient of a\n"
    "                    weighted quadratic fitted over the (2 SF + 1)^2 neighbouring\n"
    "                    points (SF from 1 to 50, default 3; below its reversal field a\n"
    "                    curve counts as constant); the cell is empty where the points\n"
    "                    around cannot fix the fit. Cost: about N x M / 2 Everett\n"
    "                    integrals; 100 x 100 takes seconds, 1000 x 1000 minutes (a note\n"
    "                    on standard error gives the progress of runs of more than 40000\n"
    "                    points)\n"
    "  forc --model FILE --reversals N [--points M] [--density] [--sf SF] [--picture FILE]\n"
    "                    the same with the material of a model file: the fields span\n"
    "                    [-Hs, Hs] of the file, all values in its units\n"
    "  forc --measured FILE [--sf SF] [--drift | --no-drift] [--picture FILE2]\n"
    "                    the FORC distribution of measured curves (a MicroMag FORC\n"
    "                    file, or plain \"Hr,H,M\" columns with a curve for each Hr, in\n"
    "                    the file's units) by the same regression, in SI for MicroMag,\n"
    "                    on the grid of the measurement's median steps: comment lines,\n"
    "                    then CSV \"Hr,H,Bc,Bu,rho\" with Bc = (H - Hr)/2, Bu = (H + Hr)/2,\n"
    "                    for every node inside the measured region. The drift is\n"
    "                    corrected from the calibration points when every curve has one\n"
    "                    (--drift demands it, --no-drift skips it).\n"
    "                    --picture draws the FORC diagram (Bc across, Bu up, mT for\n"
    "                    fields in T) to FILE2 (.png or .svg) and prints \"name,value\"\n"
    "                    lines instead: curves, points, steps, SF and the peak.\n"
    "                    A file with one curve, a curve of one point (but the one of\n"
    "                    the highest Hr, where a measurement starts),\n"
    "                    a reversal field above its curve, a value that is not a finite\n"
    "                    number, missing calibration points with --drift, or an SF\n"
    "                    too large for the grid: exit status 2, nothing written.\n",
    parse_forc_option,
    check_forc_options,
    run_forc_command,
};
