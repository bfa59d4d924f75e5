// Running a checked batch request on the model as the program would, and its usage text.
#include "app/batch/batch_run.h"

#include "model/curve_construction.h"
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
    m.Hc = Hc;
    if (Hc == kStartupHc) {
        m.Kmax = kStartupKmax;
    } else {
        compute_kmax(m);
    }
}

int run_batch(const BatchOptions& options, ModelState& m, std::FILE* out) {
    switch (options.command) {
    case BatchCommand::help:
        std::fputs(batch_usage(), out);
        return kBatchOk;
    case BatchCommand::kmax:
        batch_set_parameter(m, options.Hc);
        std::fprintf(out, "%.17g\n", m.Kmax);
        return kBatchOk;
    case BatchCommand::major:
        batch_set_parameter(m, options.Hc);
        open_workspace_reset(m);
        print_points(out, m.Hmaj, m.Bmaj, 1, m.Nmaj + 1);
        return kBatchOk;
    case BatchCommand::curve:
        return run_curve(options, m, out);
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
           "Output: the result on standard output, numbers with 17 significant digits;\n"
           "numerical messages on standard error.\n"
           "\n"
           "Exit status: 0 done; 1 a numerical stop (the curve buffer of 300000 points or\n"
           "the 1000 nested reversals are exhausted: the points so far are printed), or a\n"
           "fatal error of the integration; 2 invalid arguments.\n"
           "\n"
           "Example:\n"
           "  hysteresis-batch curve --hc 0.4 to:0.5 to:0 cycle:0.8:2 > curve.csv\n";
}
