// The curve command: its steps read from the command line and run as the program runs them.
#include "app/batch/curve_command.h"

#include <string>
#include <vector>

#include "app/batch/batch_common.h"
#include "app/batch/batch_model.h"
#include "model/curve_construction.h"
#include "model/curve_csv.h"
#include "model/execute_cycles.h"
#include "model/model_limits.h"
#include "model/plot_geometry.h"
#include "model/state_sequences.h"

namespace {

bool field_in_range(double H) {
    return check_range(ModelQuantity::field, H) == RangeCheck::accepted;
}

// Splits "a:b:c" at the colons.
std::vector<std::string> split_colons(const std::string& text) {
    std::vector<std::string> parts;
    size_t from = 0;
    for (;;) {
        const size_t at = text.find(':', from);
        parts.push_back(text.substr(from, at == std::string::npos ? std::string::npos : at - from));
        if (at == std::string::npos) return parts;
        from = at + 1;
    }
}

bool parse_step(const std::string& text, BatchStep& step, std::string& error) {
    const std::vector<std::string> parts = split_colons(text);
    const std::string& kind = parts[0];
    const std::string shown = batch_shown(text);
    step = BatchStep{kCycleSingle, 0.0, 0};
    if (kind == "to" && parts.size() == 2) {
        step.cycle_mode = kCycleSingle;
    } else if ((kind == "cycle" || kind == "spiral") && parts.size() == 3) {
        step.cycle_mode = kind == "cycle" ? kCycleAlternating : kCycleSpiral;
        if (!batch_read_int32(parts[2], step.Ncyc)) {
            error = "invalid number of cycles in step '" + shown + "': not a 32-bit integer";
            return false;
        }
    } else {
        error = "malformed step '" + shown + "': expected to:HN, cycle:HN:N or spiral:HN:N";
        return false;
    }
    if (!batch_read_real(parts[1], step.Hn)) {
        error = "invalid field in step '" + shown + "': not a number";
        return false;
    }
    if (!field_in_range(step.Hn)) {
        error = "field out of range in step '" + shown + "': |HN| must not exceed 1000";
        return false;
    }
    return true;
}

int parse_curve_option(int argc, const char* const* argv, int& i, BatchOptions& options,
                       std::string& error) {
    const int hc = batch_parse_hc(argc, argv, i, options, error);
    if (hc != kOptionUnknown) return hc;
    const int model = batch_parse_model_file(argc, argv, i, options, error);
    if (model != kOptionUnknown) return model;
    const std::string arg = argv[i];
    std::string value;
    if (arg == "--start") {
        if (!batch_option_value(argc, argv, i, value, error)) return kOptionRefused;
        if (value != "neg" && value != "pos") {
            error = "invalid --start '" + batch_shown(value) + "': expected neg or pos";
            return kOptionRefused;
        }
        options.start_positive = value == "pos";
        return kOptionTaken;
    }
    if (arg == "--plot-width") {
        if (!batch_option_value(argc, argv, i, value, error)) return kOptionRefused;
        if (!batch_read_int32(value, options.plot_width) || options.plot_width < 1) {
            error = "invalid --plot-width '" + batch_shown(value) +
                    "': expected a whole number of pixels >= 1";
            return kOptionRefused;
        }
        return kOptionTaken;
    }
    if (arg == "--h-axis") {
        if (!batch_option_value(argc, argv, i, value, error)) return kOptionRefused;
        const std::vector<std::string> parts = split_colons(value);
        if (parts.size() != 2 || !batch_read_real(parts[0], options.Hmin) ||
            !batch_read_real(parts[1], options.Hmax)) {
            error = "invalid --h-axis '" + batch_shown(value) + "': expected MIN:MAX";
            return kOptionRefused;
        }
        if (!field_in_range(options.Hmin) || !field_in_range(options.Hmax) ||
            !(options.Hmin < options.Hmax)) {
            error = "invalid --h-axis '" + batch_shown(value) +
                    "': need MIN < MAX, both within -1000 and 1000";
            return kOptionRefused;
        }
        return kOptionTaken;
    }
    if (batch_looks_like_option(arg)) return kOptionUnknown;
    BatchStep step;
    if (!parse_step(arg, step, error)) return kOptionRefused;
    options.steps.push_back(step);
    return kOptionTaken;
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

// The drawn curve in the model file's units.
void print_model_points(std::FILE* out, const ModelFile& model, const ModelState& m) {
    std::vector<double> H(m.Hcurve, m.Hcurve + m.Ndrawn + 1);
    std::vector<double> B(m.Bcurve, m.Bcurve + m.Ndrawn + 1);
    for (size_t k = 0; k < H.size(); ++k) {
        B[k] = batch_moment_out(model, H[k], B[k]);
        H[k] = batch_field_out(model, H[k]);
    }
    print_points(out, H.data(), B.data(), 0, m.Ndrawn);
}

int run_curve(const BatchOptions& options, ModelState& m, std::FILE* out, std::string& error) {
    const bool with_model = !options.model_path.empty();
    // With a model file the fields are in its unit: the model runs in units of its Hs.
    const double scale = with_model ? 1.0 / options.model.Hs : 1.0;
    std::vector<BatchStep> steps = options.steps;
    for (BatchStep& step : steps) {
        step.Hn *= scale;
        if (!field_in_range(step.Hn)) {
            error = "field out of range in a step: |HN| must not exceed 1000 Hs of the model";
            return kBatchBadUsage;
        }
    }
    if (with_model) {
        if (!batch_set_model(m, options.model, error)) return kBatchBadUsage;
    } else {
        batch_set_parameter(m, options.Hc);
    }
    open_workspace_reset(m);
    const double Hmin = options.Hmin * scale;
    const double Hmax = options.Hmax * scale;
    apply_axes(m, Hmin, Hmax, m.Bmin, m.Bmax);
    // The pixel scale a full redraw of a plot this wide would set.
    m.HperPixel = field_per_pixel(Hmin, Hmax, options.plot_width);
    if (options.start_positive) apply_settings(m, m.Smem, m.Amem, false);

    int status = kBatchOk;
    for (const BatchStep& step : steps) {
        run_step(m, step);
        if (m.met == kMetStopped) {
            status = kBatchStopped;
            break;
        }
    }
    if (with_model)
        print_model_points(out, options.model, m);
    else
        print_points(out, m.Hcurve, m.Bcurve, 0, m.Ndrawn);
    return status;
}

} // namespace

void print_points(std::FILE* out, const double* H, const double* B, int32_t first, int32_t last) {
    std::string text;
    format_point_lines(H + first, B + first, last - first + 1, text);
    std::fwrite(text.data(), 1, text.size(), out);
}

const BatchCommandRow kCurveCommand = {
    "curve",
    "  curve --hc HC [--start neg|pos] [--plot-width PIXELS] [--h-axis MIN:MAX] STEP...\n"
    "                    open a workspace (negative saturation, or positive with\n"
    "                    --start pos), run the steps in order and print the header\n"
    "                    \"H,B\" and every point of the curve from the start point on\n"
    "  curve --model FILE [--start neg|pos] [--plot-width PIXELS] [--h-axis MIN:MAX] STEP...\n"
    "                    the same with the material of a model file (fit --out-model):\n"
    "                    fields in the file's unit, B its moment with the reversible part\n",
    parse_curve_option,
    batch_check_model_file,
    run_curve,
};
