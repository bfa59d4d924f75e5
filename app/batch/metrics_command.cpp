// The metrics command: the loop's characteristic numbers as name,value lines.
#include "app/batch/metrics_command.h"

#include <cmath>

#include "app/batch/batch_common.h"
#include "app/batch/loop_reader.h"
#include "app/batch/measured_metrics.h"
#include "model/state_sequences.h"

bool measure_loop_reader(LoopReader& reader, LoopMetrics& metrics, double& H_abs_max,
                         std::string& error, bool* not_two_runs) {
    if (not_two_runs) *not_two_runs = false;
    const std::string& path = reader.path;
    LoopAccumulator loop;
    loop_begin(loop);
    double H = 0.0, B = 0.0;
    int got = 0;
    while ((got = loop_reader_next(reader, H, B, error)) > 0) {
        const int added = loop_add_point(loop, H, B);
        if (added != kLoopPointOk && not_two_runs) *not_two_runs = true;
        if (added == kLoopRepeatedField) {
            error = path + " line " + std::to_string(reader.line) +
                    ": the field repeats the previous point's";
            break;
        }
        if (added == kLoopThirdRun) {
            error = path + " line " + std::to_string(reader.line) +
                    ": the field turns a second time; a loop has one rising and one falling "
                    "branch, each with its fields in order";
            break;
        }
    }
    if (got != 0) return false;
    if (reader.points == 0) {
        error = path + ": no points";
        return false;
    }
    std::string reason;
    if (!loop_finish(loop, metrics, reason)) {
        error = path + ": " + reason;
        return false;
    }
    H_abs_max = std::fmax(std::fabs(metrics.H_max), std::fabs(metrics.H_min));
    return true;
}

bool measure_loop_file(const std::string& path, LoopMetrics& metrics, double& H_abs_max,
                       std::string& error, bool* not_two_runs) {
    if (not_two_runs) *not_two_runs = false;
    LoopReader reader;
    if (!loop_reader_open(reader, path, error)) return false;
    const bool ok = measure_loop_reader(reader, metrics, H_abs_max, error, not_two_runs);
    loop_reader_close(reader);
    return ok;
}

bool measure_points(const double* H, const double* B, int count, double H_scale, double B_scale,
                    LoopMetrics& metrics, std::string& error) {
    LoopAccumulator loop;
    loop_begin(loop);
    for (int i = 0; i < count; ++i) {
        if (loop_add_point(loop, H[i] * H_scale, B[i] * B_scale) != kLoopPointOk) {
            error = "the loop's fields are not two monotone branches";
            return false;
        }
    }
    return loop_finish(loop, metrics, error);
}

namespace {

int parse_metrics_option(int argc, const char* const* argv, int& i, BatchOptions& options,
                         std::string& error) {
    const int hc = batch_parse_hc(argc, argv, i, options, error);
    if (hc != kOptionUnknown) return hc;
    const std::string arg = argv[i];
    std::string value;
    if (arg == "--loop") {
        if (!batch_option_value(argc, argv, i, value, error)) return kOptionRefused;
        if (value.empty()) {
            error = "invalid --loop '': expected a file name";
            return kOptionRefused;
        }
        if (options.loop_path.empty()) options.loop_path = value;
        options.loop_paths.push_back(value);
        return kOptionTaken;
    }
    if (arg == "--slope") {
        if (!batch_option_value(argc, argv, i, value, error)) return kOptionRefused;
        options.slope_given = true;
        if (value == "auto") {
            options.slope = SlopeChoice::automatic;
        } else if (value == "none") {
            options.slope = SlopeChoice::none;
        } else if (value == "file") {
            options.slope = SlopeChoice::file;
        } else if (batch_read_real(value, options.slope_value)) {
            options.slope = SlopeChoice::value;
        } else {
            error = "invalid --slope '" + batch_shown(value) +
                    "': expected auto, none, file or a number (A m^2 per T)";
            return kOptionRefused;
        }
        return kOptionTaken;
    }
    if (arg == "--high-field") {
        if (!batch_option_value(argc, argv, i, value, error)) return kOptionRefused;
        if (!batch_read_real(value, options.high_fraction) || !(options.high_fraction > 0.0) ||
            !(options.high_fraction < 1.0)) {
            error = "invalid --high-field '" + batch_shown(value) +
                    "': expected a fraction of the largest field between 0 and 1";
            return kOptionRefused;
        }
        return kOptionTaken;
    }
    if (arg == "--columns") {
        if (!batch_option_value(argc, argv, i, options.columns, error)) return kOptionRefused;
        if (options.columns.find(',') == std::string::npos) {
            error = "invalid --columns '" + batch_shown(options.columns) +
                    "': expected FIELD,MOMENT (names or numbers from 1)";
            return kOptionRefused;
        }
        return kOptionTaken;
    }
    if (batch_parse_loop_correction(arg, options)) return kOptionTaken;
    // More files after --loop.
    if (!options.loop_paths.empty() && !batch_looks_like_option(arg) && !arg.empty()) {
        options.loop_paths.push_back(arg);
        return kOptionTaken;
    }
    return kOptionUnknown;
}

bool check_metrics_options(BatchOptions& options, std::string& error) {
    if (options.hc_given && !options.loop_path.empty()) {
        error = "metrics takes either --hc or --loop, not both";
        return false;
    }
    const bool measured_options = options.slope_given || options.drift || options.centre ||
                                  !options.columns.empty() || options.high_fraction > 0.0;
    if (measured_options && options.loop_paths.empty()) {
        error = "--slope, --drift, --centre, --columns and --high-field need --loop FILE";
        return false;
    }
    return true;
}

} // namespace

int run_metrics(const BatchOptions& options, ModelState& m, std::FILE* out, std::string& error) {
    LoopMetrics metrics{};
    if (options.loop_path.empty()) {
        batch_set_parameter(m, options.Hc);
        open_workspace_reset(m);
        if (!measure_points(m.Hmaj + 1, m.Bmaj + 1, m.Nmaj + 1, 1.0, 1.0, metrics, error)) {
            // The limiting loop of a valid Hc always crosses both axes; this guards a damaged
            // integration.
            error = "the limiting loop is not a closed loop: " + error;
            return kBatchStopped;
        }
    } else if (options.loop_paths.size() == 1 &&
               is_program_loop_file(options, options.loop_paths[0])) {
        double H_abs_max = 0.0;
        bool not_two_runs = false;
        if (!measure_loop_file(options.loop_path, metrics, H_abs_max, error, &not_two_runs)) {
            // Repeated fields, jitter, a virgin curve or several loops: the measured-loop path
            // assembles them.
            if (!not_two_runs) return kBatchBadUsage;
            error.clear();
            return run_measured_metrics(options, out, error);
        }
    } else {
        return run_measured_metrics(options, out, error);
    }
    for (int i = 0; i < kLoopMetricCount; ++i)
        if (!std::isfinite(loop_metric_value(metrics, i))) {
            error =
                (options.loop_path.empty() ? std::string("the limiting loop") : options.loop_path) +
                ": the loop's " + loop_metric_name(i) +
                " is not a finite number (values too large)";
            return kBatchBadUsage;
        }
    print_loop_metrics(out, metrics);
    return kBatchOk;
}

const BatchCommandRow kMetricsCommand = {
    "metrics",
    "  metrics [--hc HC | --loop FILE|FOLDER... [--slope auto|none|file|VALUE] [--drift]\n"
    "          [--centre] [--columns FIELD,MOMENT] [--high-field FRACTION]]\n"
    "                    print the numbers of a closed loop as \"name,value\" lines:\n"
    "                    coercive fields (B = 0 crossings, linearly interpolated) of\n"
    "                    each branch and their mean, remanences (H = 0 crossings), the\n"
    "                    extreme fields and B there, and the loop area (the integral of\n"
    "                    H dB around the closed path: the loss per cycle and unit\n"
    "                    volume in the data's units); the loop is the limiting loop of\n"
    "                    HC (default) or the loop in FILE.\n"
    "                    Measured files (MicroMag 2900/3900 loops, Quantum Design .dat,\n"
    "                    MagIC 2.5 and 3.0 tables, plain columns: comma, semicolon, tab\n"
    "                    or blanks, names with units such as \"H (Oe)\", \"M (emu)\")\n"
    "                    are recognised from their content and read into SI (field as\n"
    "                    mu0 H in T, moment in A m^2). Their loops are assembled\n"
    "                    (repeated fields averaged, jitter of the field absorbed, a\n"
    "                    virgin curve and extra half loops set aside and counted) and\n"
    "                    corrected: --slope auto (the default for moments: a straight\n"
    "                    line, or the approach-to-saturation form where that fits\n"
    "                    significantly better, fitted above FRACTION, default 0.7, of\n"
    "                    the largest field), none, file (the slope the header states)\n"
    "                    or VALUE (A m^2 per T); --drift removes a moment drift linear\n"
    "                    in time that closes the loop; --centre removes the field and\n"
    "                    moment offsets. Prints \"name,value,unit\" lines with a header:\n"
    "                    Ms, Mr, Bc (each branch and mean), Mr_Ms, chi_hf, the\n"
    "                    corrections, loop_area (J), shape_parameter, closure_gap, the\n"
    "                    counts of points, branches and set-aside segments, and the\n"
    "                    header's own figures. --columns picks a plain file's field and\n"
    "                    moment columns by name or number. Several files, a folder, or a\n"
    "                    file of several specimens or loops print one CSV row per loop\n"
    "                    (a file that fails gets a row saying why, and exit status 1)\n",
    parse_metrics_option,
    check_metrics_options,
    run_metrics,
};
