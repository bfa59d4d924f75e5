// The fit command: a grid over Hc, Brent's method between the best neighbours, the fitted loop.
#include "app/batch/fit_command.h"

#include <boost/math/tools/minima.hpp>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <unistd.h>

#include "app/batch/batch_common.h"
#include "app/batch/fit_material_command.h"
#include "app/batch/loop_metrics.h"
#include "app/batch/loop_moments.h"
#include "app/batch/loop_reader.h"
#include "app/batch/metrics_command.h"
#include "app/batch/output_file.h"
#include "model/curve_csv.h"
#include "model/density_families.h"
#include "model/density_lorentz.h"
#include "model/model_file.h"
#include "model/model_limits.h"
#include "model/state_sequences.h"
#include "picture/picture_file.h"

namespace {

// Brent's method stops when Hc is known to about 2^(1 - kFitBits) of itself.
constexpr int kFitBits = 24;
// Most limiting loops the minimisation may compute after the scan.
constexpr std::uintmax_t kFitMaxIterations = 100;

// Opens the workspace of Hc on m: Kmax and the limiting loop, exactly as "major" computes them.
void compute_limiting_loop(ModelState& m, double Hc) {
    batch_set_parameter(m, Hc);
    open_workspace_reset(m);
}

// Second reading of the (already checked) points: every point into the sums of its branch. The
// first point waits for the first step, which tells its branch.
bool sum_loop_points(LoopReader& reader, LoopMoments& moments, int64_t expected, double B_scale,
                     std::string& error) {
    if (!loop_reader_rewind(reader, error)) return false;
    LoopAccumulator loop;
    loop_begin(loop);
    double H = 0.0, B = 0.0, H_first = 0.0, B_first = 0.0;
    int got = 0;
    while ((got = loop_reader_next(reader, H, B, error)) > 0) {
        if (loop_add_point(loop, H, B) != kLoopPointOk) {
            error =
                reader.path + " line " + std::to_string(reader.line) + ": changed while being read";
            return false;
        }
        const int branch = loop_branch_of_last_point(loop);
        if (loop.points == 1) {
            H_first = H;
            B_first = B;
            continue;
        }
        // Inductions divided by their scale, so that no sum of squares can overflow.
        if (loop.points == 2) loop_moments_add(moments, branch, H_first, B_first / B_scale);
        loop_moments_add(moments, branch, H, B / B_scale);
    }
    if (got != 0) return false;
    if (reader.points != expected || !loop_reader_unchanged(reader)) {
        error = reader.path + ": changed while being read";
        return false;
    }
    return true;
}

int parse_fit_option(int argc, const char* const* argv, int& i, BatchOptions& options,
                     std::string& error) {
    const std::string arg = argv[i];
    if (arg == "--columns") {
        if (!batch_option_value(argc, argv, i, options.columns, error)) return kOptionRefused;
        return kOptionTaken;
    }
    if (batch_parse_loop_correction(arg, options)) return kOptionTaken;
    std::string* path = arg == "--loop"        ? &options.loop_path
                        : arg == "--out"       ? &options.out_path
                        : arg == "--out-model" ? &options.out_model_path
                        : arg == "--picture"   ? &options.picture_path
                        : arg == "--model"     ? &options.fit_family
                                               : nullptr;
    if (!path) return kOptionUnknown;
    if (!batch_option_value(argc, argv, i, *path, error)) return kOptionRefused;
    if (path->empty()) {
        error = "invalid " + arg + " '': expected a file name";
        return kOptionRefused;
    }
    return kOptionTaken;
}

bool check_fit_options(BatchOptions& options, std::string& error) {
    if (options.loop_path.empty()) {
        error = "fit needs --loop FILE";
        return false;
    }
    const std::string& family = options.fit_family;
    if (!options.picture_path.empty() && (family.empty() || family == "lorentz")) {
        error = "--picture draws the fit of --model lorentz2, gauss, lorentz2-mix, gauss-mix or "
                "auto";
        return false;
    }
    if ((options.drift || options.centre) && (family.empty() || family == "lorentz")) {
        error = "--drift and --centre correct the measured loop of fit --model lorentz2, gauss, "
                "lorentz2-mix, gauss-mix or auto";
        return false;
    }
    if (!options.picture_path.empty() && !picture_path_ok(options.picture_path)) {
        error = "invalid --picture '" + batch_shown(options.picture_path) +
                "': the name must end in .png or .svg";
        return false;
    }
    // The measured family is a table from reversal curves (identify), not a formula to fit.
    if (!family.empty() && family != "auto" && family != "lorentz" &&
        (!find_density_family(family.c_str()) || family == kMeasuredFamily)) {
        error = "invalid --model '" + batch_shown(family) +
                "': expected lorentz, lorentz2, gauss, lorentz2-mix, gauss-mix or auto";
        return false;
    }
    return true;
}

} // namespace

int run_fit(const BatchOptions& options, ModelState& m, std::FILE* out, std::string& error) {
    if (same_file(options.out_path, options.loop_path)) {
        error = "--out '" + batch_shown(options.out_path) +
                "' is the measured loop itself: it would be overwritten";
        return kBatchBadUsage;
    }
    if (!options.fit_family.empty() && options.fit_family != "lorentz")
        return run_material_fit(options, out, error);
    LoopMetrics measured{};
    double Hs = 0.0;
    // One open file for both readings: a pipe's points are kept from the first, and a regular
    // file that changes in between is refused.
    LoopReader reader;
    if (!loop_reader_open(reader, options.loop_path, error)) return kBatchBadUsage;
    if (!measure_loop_reader(reader, measured, Hs, error)) {
        loop_reader_close(reader);
        return kBatchBadUsage;
    }
    const int64_t point_count = reader.points;

    // The node fields do not depend on Hc; any limiting loop provides them.
    compute_limiting_loop(m, kStartupHc);
    LoopMoments moments;
    loop_moments_begin(moments, m, Hs);
    double B_scale =
        std::fmax(std::fmax(std::fabs(measured.B_at_H_max), std::fabs(measured.B_at_H_min)),
                  std::fmax(std::fabs(measured.remanence_ascending),
                            std::fabs(measured.remanence_descending)));
    if (!(B_scale > 0.0) || !std::isfinite(B_scale)) B_scale = 1.0;
    const bool summed = sum_loop_points(reader, moments, point_count, B_scale, error);
    loop_reader_close(reader);
    if (!summed) return kBatchBadUsage;

    int loops = 1;
    auto sse_of = [&m, &moments, &loops](double Hc) {
        compute_limiting_loop(m, Hc);
        ++loops;
        return loop_moments_fit(moments, m).sse;
    };

    // A logarithmic grid of Hc over the accepted range. The search starts at the grid point
    // nearest the Hc whose limiting loop has about the measured coercive field (about 0.75 Hc in
    // units of Hs over most of the range) and walks downhill to a grid point whose neighbours
    // fit worse; Brent's method then minimises between those neighbours. Small Hc cost the most
    // (the density is narrow), so a loop that needs none computes none.
    const double Hc_low = kSmallestHc;
    const double Hc_high = std::nextafter(kHcBound, 0.0);
    double grid[kFitGridPoints];
    double grid_sse[kFitGridPoints];
    bool done[kFitGridPoints] = {};
    for (int k = 0; k < kFitGridPoints; ++k)
        grid[k] = k == kFitGridPoints - 1
                      ? Hc_high
                      : Hc_low * std::pow(Hc_high / Hc_low, double(k) / (kFitGridPoints - 1));
    auto sse_at = [&](int k) {
        if (!done[k]) {
            grid_sse[k] = sse_of(grid[k]);
            done[k] = true;
        }
        return grid_sse[k];
    };
    // A loop run the wrong way round has a negative mean coercive field; its size still guides.
    const double guess = std::fabs(measured.coercive_mean) / Hs / 0.75;
    int best = kFitGridPoints - 1;
    if (guess > 0.0)
        for (int k = 0; k < kFitGridPoints; ++k)
            if (std::fabs(std::log(grid[k] / guess)) < std::fabs(std::log(grid[best] / guess)))
                best = k;
    for (;;) {
        const double here = sse_at(best);
        if (best > 0 && sse_at(best - 1) < here) {
            --best;
        } else if (best < kFitGridPoints - 1 && sse_at(best + 1) < here) {
            ++best;
        } else {
            break;
        }
    }
    const double lower = grid[best > 0 ? best - 1 : 0];
    const double upper = grid[best < kFitGridPoints - 1 ? best + 1 : kFitGridPoints - 1];
    std::uintmax_t iterations = kFitMaxIterations;
    const std::pair<double, double> found =
        boost::math::tools::brent_find_minima(sse_of, lower, upper, kFitBits, iterations);
    const double Hc = found.second <= grid_sse[best] ? found.first : grid[best];

    compute_limiting_loop(m, Hc);
    ++loops;
    LoopFit fit = loop_moments_fit(moments, m);
    fit.Bs *= B_scale;
    fit.rms *= B_scale;
    if (!std::isfinite(fit.Bs) || !std::isfinite(fit.rms) || !std::isfinite(fit.r_squared)) {
        error = options.loop_path + ": the fit's figures are not finite numbers";
        return kBatchBadUsage;
    }
    LoopMetrics fitted{};
    std::string reason;
    const bool fitted_closed =
        measure_points(m.Hmaj + 1, m.Bmaj + 1, m.Nmaj + 1, Hs, fit.Bs, fitted, reason);

    if (!options.out_path.empty()) {
        std::string text;
        std::unique_ptr<double[]> H(new double[m.Nmaj + 1]), B(new double[m.Nmaj + 1]);
        for (int k = 0; k <= m.Nmaj; ++k) {
            H[k] = m.Hmaj[k + 1] * Hs;
            B[k] = m.Bmaj[k + 1] * fit.Bs;
        }
        format_point_lines(H.get(), B.get(), m.Nmaj + 1, text);
        if (!write_output_file(options.out_path, text, error)) return kBatchBadUsage;
    }

    std::fprintf(out, "Hc,%.17g\nHs,%.17g\nBs,%.17g\nrms_residual,%.17g\nr_squared,%.17g\n", Hc, Hs,
                 fit.Bs, fit.rms, fit.r_squared);
    std::fprintf(out, "limiting_loops,%d\n", loops);
    for (int i = 0; i < kLoopMetricCount; ++i) {
        std::fprintf(out, "%s,%.17g,", loop_metric_name(i), loop_metric_value(measured, i));
        // A fitted loop that does not cross both axes has no such figure: an empty cell.
        const double v = loop_metric_value(fitted, i);
        if (fitted_closed && std::isfinite(v))
            std::fprintf(out, "%.17g\n", v);
        else
            std::fputs("\n", out);
    }
    if (!options.out_model_path.empty()) {
        ModelFile model;
        model.family = kLorentzFamily.name;
        model.parameters = {Hc};
        model.Hs = Hs;
        model.Bs = fit.Bs;
        model.source = options.loop_path;
        model.fit.present = true;
        model.fit.r2 = fit.r_squared;
        model.fit.rms = fit.rms / fit.Bs;
        model.fit.points = static_cast<long>(point_count);
        std::string why;
        if (!model_file_write(model, options.out_model_path, why)) {
            error = batch_shown(why);
            return kBatchStopped;
        }
    }
    if (!(fit.r_squared >= kFitGoodRSquared))
        std::fprintf(stderr,
                     "hysteresis-batch: warning: R^2 = %.4f is below %.2f: no Hc in the accepted "
                     "range fits this loop well\n",
                     fit.r_squared, kFitGoodRSquared);
    return kBatchOk;
}

const BatchCommandRow kFitCommand = {
    "fit",
    "  fit --loop FILE [--out FILE2] [--out-model FILE3] [--model lorentz]\n"
    "                    find the Hc and the induction scale Bs whose limiting loop\n"
    "                    best fits a measured symmetric major loop (least squares on B\n"
    "                    at the measured fields, the fields divided by the largest |H|,\n"
    "                    which is Hs; between its 201 points the limiting loop is the\n"
    "                    straight segment the program draws); prints Hc, Hs, Bs,\n"
    "                    rms_residual, r_squared and limiting_loops as \"name,value\"\n"
    "                    lines, then \"name,measured,fitted\" lines with the metrics of\n"
    "                    both loops; --out writes the fitted loop in the data's units\n"
    "                    to FILE2 (\"H,B\"). A warning goes to standard error when R^2\n"
    "                    is below 0.99. --out-model writes the fitted Hc as a model\n"
    "                    file (FILE3).\n"
    "  fit --model lorentz2|gauss|lorentz2-mix|gauss-mix|auto --loop FILE [--columns H,M]\n"
    "      [--drift] [--centre] [--out FILE2] [--out-model FILE3] [--picture FILE4]\n"
    "                    fit the density family (auto: each, the best by Akaike's\n"
    "                    criterion, each one's R^2 printed) and the reversible part\n"
    "                    B = Bs (m_irr + chi h + amplitude L(h/field)), h = H/Hs, to the\n"
    "                    first full loop of each series of a measured file (any format\n"
    "                    metrics reads), at the measured fields along the measured\n"
    "                    history, by nonlinear least squares; prints each parameter with\n"
    "                    its standard error, R^2 against the slope-corrected loop and\n"
    "                    the measured and fitted Bc, Mr, Ms. --out writes \"H,M,M_fitted\":\n"
    "                    the loop fitted and the fit at its fields, --out-model the model\n"
    "                    file that curve --model and forc --model compute with, --picture\n"
    "                    the measured and fitted loops, less the high-field slope (.png or\n"
    "                    .svg); all three of the first series. --drift and --centre correct\n"
    "                    the loop as metrics does before the fit (and print what they\n"
    "                    removed: drift_removed, field_offset, moment_offset).\n",
    parse_fit_option,
    check_fit_options,
    run_fit,
};
