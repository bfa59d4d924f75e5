// Running a checked batch request on the model as the program would, and its usage text.
#include "app/batch/batch_run.h"

#include "app/batch/fit_command.h"
#include "app/batch/forc_command.h"
#include "app/batch/metrics_command.h"

#include "model/curve_construction.h"
#include "model/density_lorentz.h"
#include "model/curve_csv.h"
#include "model/execute_cycles.h"
#include "model/plot_geometry.h"
#include "model/preisach.h"
#include "model/state_sequences.h"

#include <string>

namespace {

// The points first..last in the format of "Save results...", without its comment lines.
void print_points(std::FILE* out, const double* H, const double* B, int32_t first, int32_t last) {
    std::string text;
    format_point_lines(H + first, B + first, last - first + 1, text);
    std::fwrite(text.data(), 1, text.size(), out);
}

// Runs one step as the program would: a right click, or an Execute of the reversal dialog.
void run_step(ModelState& m, const BatchStep& step) {
    m.Hn = step.Hn;
    if (step.cycle_mode == kCycleSingle) {
        construct_to_hn(m);
        commit_new_points(m);
        return;
    }
    m.Ncyc = step.Ncyc;
    m.CycleMode = step.cycle_mode;
    execute_cycles(m, nullptr);
}

int run_curve(const BatchOptions& options, ModelState& m, std::FILE* out) {
    batch_set_parameter(m, options.Hc);
    open_workspace_reset(m);
    apply_axes(m, options.Hmin, options.Hmax, m.Bmin, m.Bmax);
    // The pixel scale a full redraw of a plot this wide would set.
    m.HperPixel = field_per_pixel(options.Hmin, options.Hmax, options.plot_width);
    if (options.start_positive) apply_settings(m, m.Smem, m.Amem, false);

    int status = kBatchOk;
    for (const BatchStep& step : options.steps) {
        run_step(m, step);
        if (m.met == kMetStopped) {
            status = kBatchStopped;
            break;
        }
    }
    print_points(out, m.Hcurve, m.Bcurve, 0, m.Ndrawn);
    return status;
}

} // namespace

void batch_set_parameter(ModelState& m, double Hc) {
    open_workspace_saturation(m);
    m.density = lorentz_density(Hc, kStartupKmax);
    if (Hc != kStartupHc) compute_kmax(m);
}

int run_batch(const BatchOptions& options, ModelState& m, std::FILE* out, std::string& error) {
    switch (options.command) {
    case BatchCommand::help:
        std::fputs(batch_usage(), out);
        return kBatchOk;
    case BatchCommand::kmax:
        batch_set_parameter(m, options.Hc);
        std::fprintf(out, "%.17g\n", m.density.norm);
        return kBatchOk;
    case BatchCommand::major:
        batch_set_parameter(m, options.Hc);
        open_workspace_reset(m);
        print_points(out, m.Hmaj, m.Bmaj, 1, m.Nmaj + 1);
        return kBatchOk;
    case BatchCommand::curve:
        return run_curve(options, m, out);
    case BatchCommand::metrics:
        return run_metrics(options, m, out, error);
    case BatchCommand::forc:
        return run_forc(options, m, out);
    case BatchCommand::fit:
        return run_fit(options, m, out, error);
    }
    return kBatchBadUsage;
}

const char* batch_usage() {
    return "Usage: hysteresis-batch COMMAND [OPTIONS] [STEP...]\n"
           "\n"
           "Computes hysteresis curves of the Preisach model with a Lorentzian distribution,\n"
           "as the interactive program does, without any window.\n"
           "\n"
           "Commands:\n"
           "  kmax --hc HC      print the normalisation factor Kmax for the parameter HC\n"
           "  major --hc HC     print the limiting loop: the header \"H,B\" and 201 points\n"
           "  curve --hc HC [--start neg|pos] [--plot-width PIXELS] [--h-axis MIN:MAX] STEP...\n"
           "                    open a workspace (negative saturation, or positive with\n"
           "                    --start pos), run the steps in order and print the header\n"
           "                    \"H,B\" and every point of the curve from the start point on\n"
           "  metrics [--hc HC | --loop FILE]\n"
           "                    print the numbers of a closed loop as \"name,value\" lines:\n"
           "                    coercive fields (B = 0 crossings, linearly interpolated) of\n"
           "                    each branch and their mean, remanences (H = 0 crossings), the\n"
           "                    extreme fields and B there, and the loop area (the integral of\n"
           "                    H dB around the closed path: the loss per cycle and unit\n"
           "                    volume in the data's units); the loop is the limiting loop of\n"
           "                    HC (default) or the loop in FILE\n"
           "  forc --hc HC --reversals N [--points M] [--density]\n"
           "                    print first-order reversal curves: from positive saturation\n"
           "                    down to each of N reversal fields Hr evenly spaced in [-1, 1],\n"
           "                    then back up through the fields of an even grid of M fields\n"
           "                    (default N) in [-1, 1] lying above Hr; CSV \"Hr,H,B\", each\n"
           "                    curve starting with its reversal point. --density adds the\n"
           "                    column rho = -1/2 d2B/(dHr dH) by central differences (nan\n"
           "                    where a neighbour is missing: at the edges and next to H = Hr)\n"
           "  fit --loop FILE [--out FILE2]\n"
           "                    find the Hc and the induction scale Bs whose limiting loop\n"
           "                    best fits a measured symmetric major loop (least squares on B\n"
           "                    at the measured fields, the fields divided by the largest |H|,\n"
           "                    which is Hs; between its 201 points the limiting loop is the\n"
           "                    straight segment the program draws); prints Hc, Hs, Bs,\n"
           "                    rms_residual, r_squared and limiting_loops as \"name,value\"\n"
           "                    lines, then \"name,measured,fitted\" lines with the metrics of\n"
           "                    both loops; --out writes the fitted loop in the data's units\n"
           "                    to FILE2 (\"H,B\"). A warning goes to standard error when R^2\n"
           "                    is below 0.99.\n"
           "\n"
           "Options:\n"
           "  --hc HC           distribution parameter, 0.001 <= HC < 1; default the start-up\n"
           "                    value 0.4000000059604645, whose Kmax is the start-up factor\n"
           "                    3.2385880947113037 (any other HC computes Kmax). Below 0.001\n"
           "                    the quadrature leaves errors of 0.02 to 0.25 in B, and the\n"
           "                    loop is narrower than a pixel of the default axes (2/916)\n"
           "  --start neg|pos   start from negative (default) or positive saturation\n"
           "  --plot-width PIXELS  width of the plot area in pixels (default 916, the plot of\n"
           "                    a 1024 x 768 window); short moves step about one pixel\n"
           "  --h-axis MIN:MAX  H-axis bounds (default -1:1); H per pixel is\n"
           "                    (MAX - MIN) / PIXELS; MIN < MAX, both within -1000 and 1000\n"
           "  --reversals N, --points M  whole numbers from 2 to 1000\n"
           "  --help            print this text\n"
           "\n"
           "Steps (HN within -1000 and 1000, N any 32-bit integer):\n"
           "  to:HN             construct the curve to HN (a right click with Hn = HN)\n"
           "  cycle:HN:N        Execute with \"Cyclic alteration of H between Hc and Hn\":\n"
           "                    2N legs alternating between HN and the present field\n"
           "  spiral:HN:N       Execute with \"Gradual spiral approach to Hn\": 2N legs about\n"
           "                    HN with decreasing amplitude, the last ending on HN\n"
           "                    (N = 0 is a single move, a negative N no move)\n"
           "\n"
           "Loop files: the \"H,B\" format that Save results... and this tool write, in any\n"
           "units: lines starting with # are comments, the first other line may name the\n"
           "columns, every further line holds two finite numbers. The points run along one\n"
           "rising and one falling branch (in either order, no field repeated); the path is\n"
           "closed from the last point back to the first. Files are read as they stream, so\n"
           "their length costs time, not memory.\n"
           "\n"
           "Output: the result on standard output, numbers with 17 significant digits;\n"
           "numerical messages on standard error.\n"
           "\n"
           "Exit status: 0 done; 1 a numerical stop (the curve buffer of 300000 points or\n"
           "the 1000 nested reversals are exhausted: the points so far are printed), or a\n"
           "fatal error of the integration; 2 invalid arguments or a loop file that is not a\n"
           "closed loop (one line on standard error, nothing on standard output and nothing\n"
           "written to FILE2).\n"
           "\n"
           "Examples:\n"
           "  hysteresis-batch curve --hc 0.4 to:0.5 to:0 cycle:0.8:2 > curve.csv\n"
           "  hysteresis-batch metrics --loop measured.csv\n"
           "  hysteresis-batch forc --hc 0.4 --reversals 50 --density > forc.csv\n"
           "  hysteresis-batch fit --loop measured.csv --out fitted.csv\n";
}
