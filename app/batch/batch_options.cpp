// Reading the batch tool's command line: commands, options and steps, each value checked.
#include "app/batch/batch_options.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "model/model_limits.h"
#include "model/model_state.h"
#include "model/plot_geometry.h"

namespace {

// A whole argument as one finite real number, nothing before or after it.
bool read_real(const std::string& text, double& value) {
    if (text.empty() || std::isspace(static_cast<unsigned char>(text[0]))) return false;
    char* end = nullptr;
    errno = 0;
    const double v = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size() || errno == ERANGE || !std::isfinite(v)) return false;
    value = v;
    return true;
}

// A whole argument as one 32-bit integer.
bool read_int32(const std::string& text, int32_t& value) {
    if (text.empty() || std::isspace(static_cast<unsigned char>(text[0]))) return false;
    char* end = nullptr;
    errno = 0;
    const long long v = std::strtoll(text.c_str(), &end, 10);
    if (end != text.c_str() + text.size() || errno == ERANGE || v < INT32_MIN || v > INT32_MAX)
        return false;
    value = static_cast<int32_t>(v);
    return true;
}

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
    step = BatchStep{kCycleSingle, 0.0, 0};
    if (kind == "to" && parts.size() == 2) {
        step.cycle_mode = kCycleSingle;
    } else if ((kind == "cycle" || kind == "spiral") && parts.size() == 3) {
        step.cycle_mode = kind == "cycle" ? kCycleAlternating : kCycleSpiral;
        if (!read_int32(parts[2], step.Ncyc)) {
            error = "invalid number of cycles in step '" + text + "': not a 32-bit integer";
            return false;
        }
    } else {
        error = "malformed step '" + text + "': expected to:HN, cycle:HN:N or spiral:HN:N";
        return false;
    }
    if (!read_real(parts[1], step.Hn)) {
        error = "invalid field in step '" + text + "': not a number";
        return false;
    }
    if (!field_in_range(step.Hn)) {
        error = "field out of range in step '" + text + "': |HN| must not exceed 1000";
        return false;
    }
    return true;
}

// The value after an option, or an error when the option ends the line.
bool option_value(int argc, const char* const* argv, int& i, std::string& value,
                  std::string& error) {
    if (i + 1 >= argc) {
        error = std::string("option ") + argv[i] + " needs a value";
        return false;
    }
    value = argv[++i];
    return true;
}

} // namespace

bool parse_batch_options(int argc, const char* const* argv, BatchOptions& options,
                         std::string& error) {
    options = BatchOptions{};
    options.Hc = kStartupHc;
    options.plot_width = plot_width_for_surface(kDefaultSurfaceWidth);
    if (argc < 2) {
        error = "no command given: expected kmax, major, curve, metrics, forc or fit (see --help)";
        return false;
    }
    const std::string command = argv[1];
    if (command == "--help" || command == "-h" || command == "help") {
        options.command = BatchCommand::help;
        return true;
    }
    if (command == "kmax") {
        options.command = BatchCommand::kmax;
    } else if (command == "major") {
        options.command = BatchCommand::major;
    } else if (command == "curve") {
        options.command = BatchCommand::curve;
    } else if (command == "metrics") {
        options.command = BatchCommand::metrics;
    } else if (command == "forc") {
        options.command = BatchCommand::forc;
    } else if (command == "fit") {
        options.command = BatchCommand::fit;
    } else {
        error = "unknown command '" + command +
                "': expected kmax, major, curve, metrics, forc or fit (see --help)";
        return false;
    }
    const bool curve = options.command == BatchCommand::curve;
    const bool metrics = options.command == BatchCommand::metrics;
    const bool forc = options.command == BatchCommand::forc;
    const bool fit = options.command == BatchCommand::fit;
    bool hc_given = false;

    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        std::string value;
        if (arg == "--help" || arg == "-h") {
            options.command = BatchCommand::help;
            return true;
        }
        if (arg == "--hc" && !fit) {
            hc_given = true;
            if (!option_value(argc, argv, i, value, error)) return false;
            if (!read_real(value, options.Hc)) {
                error = "invalid --hc '" + value + "': not a number";
                return false;
            }
            if (const char* refusal = hc_refusal(check_range(ModelQuantity::Hc, options.Hc))) {
                error = "invalid --hc '" + value + "': " + refusal;
                return false;
            }
        } else if (curve && arg == "--start") {
            if (!option_value(argc, argv, i, value, error)) return false;
            if (value != "neg" && value != "pos") {
                error = "invalid --start '" + value + "': expected neg or pos";
                return false;
            }
            options.start_positive = value == "pos";
        } else if (curve && arg == "--plot-width") {
            if (!option_value(argc, argv, i, value, error)) return false;
            if (!read_int32(value, options.plot_width) || options.plot_width < 1) {
                error =
                    "invalid --plot-width '" + value + "': expected a whole number of pixels >= 1";
                return false;
            }
        } else if (curve && arg == "--h-axis") {
            if (!option_value(argc, argv, i, value, error)) return false;
            const std::vector<std::string> parts = split_colons(value);
            if (parts.size() != 2 || !read_real(parts[0], options.Hmin) ||
                !read_real(parts[1], options.Hmax)) {
                error = "invalid --h-axis '" + value + "': expected MIN:MAX";
                return false;
            }
            if (!field_in_range(options.Hmin) || !field_in_range(options.Hmax) ||
                !(options.Hmin < options.Hmax)) {
                error =
                    "invalid --h-axis '" + value + "': need MIN < MAX, both within -1000 and 1000";
                return false;
            }
        } else if ((metrics || fit) && arg == "--loop") {
            if (!option_value(argc, argv, i, options.loop_path, error)) return false;
            if (options.loop_path.empty()) {
                error = "invalid --loop '': expected a file name";
                return false;
            }
        } else if (fit && arg == "--out") {
            if (!option_value(argc, argv, i, options.out_path, error)) return false;
            if (options.out_path.empty()) {
                error = "invalid --out '': expected a file name";
                return false;
            }
        } else if (forc && (arg == "--reversals" || arg == "--points")) {
            if (!option_value(argc, argv, i, value, error)) return false;
            int32_t& count = arg == "--reversals" ? options.reversals : options.points;
            if (!read_int32(value, count) || count < kForcGridMin || count > kForcGridMax) {
                error = "invalid " + arg + " '" + value + "': expected a whole number from " +
                        std::to_string(kForcGridMin) + " to " + std::to_string(kForcGridMax);
                return false;
            }
        } else if (forc && arg == "--density") {
            options.density = true;
        } else if (arg.size() > 1 && arg[0] == '-' &&
                   !std::isdigit(static_cast<unsigned char>(arg[1]))) {
            error = "unknown option '" + arg + "' for " + command + " (see --help)";
            return false;
        } else if (curve) {
            BatchStep step;
            if (!parse_step(arg, step, error)) return false;
            options.steps.push_back(step);
        } else {
            error = "unexpected argument '" + arg + "' for " + command + " (see --help)";
            return false;
        }
    }
    if (metrics && hc_given && !options.loop_path.empty()) {
        error = "metrics takes either --hc or --loop, not both";
        return false;
    }
    if (fit && options.loop_path.empty()) {
        error = "fit needs --loop FILE";
        return false;
    }
    if (forc && options.reversals == 0) {
        error = "forc needs --reversals N";
        return false;
    }
    if (forc && options.points == 0) options.points = options.reversals;
    return true;
}
