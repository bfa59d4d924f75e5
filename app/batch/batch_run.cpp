// The table of commands; dispatch and --help are derived from it.
#include "app/batch/batch_run.h"

#include "app/batch/curve_command.h"
#include "app/batch/fit_command.h"
#include "app/batch/forc_command.h"
#include "app/batch/identify_command.h"
#include "app/batch/kmax_command.h"
#include "app/batch/major_command.h"
#include "app/batch/metrics_command.h"
#include "model/model_state.h"
#include "model/plot_geometry.h"

namespace {

// Every command, in the order --help lists them. A new command is one more row here.
const BatchCommandRow* const kCommands[] = {
    &kKmaxCommand, &kMajorCommand, &kCurveCommand,    &kMetricsCommand,
    &kForcCommand, &kFitCommand,   &kIdentifyCommand,
};
constexpr int kCommandCount = static_cast<int>(sizeof kCommands / sizeof kCommands[0]);

// "a, b, c or d": the command names for messages.
std::string command_names() {
    std::string names;
    for (int k = 0; k < kCommandCount; ++k) {
        if (k > 0) names += k == kCommandCount - 1 ? " or " : ", ";
        names += kCommands[k]->name;
    }
    return names;
}

bool is_help(const std::string& arg) {
    return arg == "--help" || arg == "-h";
}

const char* const kUsageHead =
    "Usage: hysteresis-batch COMMAND [OPTIONS] [STEP...]\n"
    "\n"
    "Computes hysteresis curves of the Preisach model with a Lorentzian distribution,\n"
    "as the interactive program does, without any window.\n"
    "\n"
    "Commands:\n";

const char* const kUsageTail =
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

} // namespace

const BatchCommandRow* find_batch_command(const std::string& name) {
    for (const BatchCommandRow* row : kCommands)
        if (name == row->name) return row;
    return nullptr;
}

int batch_command_count() {
    return kCommandCount;
}

const BatchCommandRow& batch_command_at(int index) {
    return *kCommands[index];
}

bool parse_batch_options(int argc, const char* const* argv, BatchOptions& options,
                         std::string& error) {
    options = BatchOptions{};
    options.Hc = kStartupHc;
    options.plot_width = plot_width_for_surface(kDefaultSurfaceWidth);
    if (argc < 2) {
        error = "no command given: expected " + command_names() + " (see --help)";
        return false;
    }
    const std::string command = argv[1];
    if (is_help(command) || command == "help") {
        options.command = "help";
        return true;
    }
    const BatchCommandRow* row = find_batch_command(command);
    if (!row) {
        error = "unknown command '" + batch_shown(command) + "': expected " + command_names() +
                " (see --help)";
        return false;
    }
    options.command = row->name;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        if (is_help(arg)) {
            options.command = "help";
            return true;
        }
        const int answer = row->parse_option(argc, argv, i, options, error);
        if (answer == kOptionRefused) return false;
        if (answer == kOptionUnknown) {
            if (batch_looks_like_option(arg))
                error =
                    "unknown option '" + batch_shown(arg) + "' for " + command + " (see --help)";
            else
                error = "unexpected argument '" + batch_shown(arg) + "' for " + command +
                        " (see --help)";
            return false;
        }
    }
    return !row->check || row->check(options, error);
}

int run_batch(const BatchOptions& options, ModelState& m, std::FILE* out, std::string& error) {
    if (options.command == "help") {
        std::fputs(batch_usage().c_str(), out);
        return kBatchOk;
    }
    const BatchCommandRow* row = find_batch_command(options.command);
    if (!row) {
        error = "unknown command '" + batch_shown(options.command) + "'";
        return kBatchBadUsage;
    }
    return row->run(options, m, out, error);
}

const std::string& batch_usage() {
    static const std::string text = [] {
        std::string t = kUsageHead;
        for (const BatchCommandRow* row : kCommands)
            t += row->usage;
        return t + kUsageTail;
    }();
    return text;
}
