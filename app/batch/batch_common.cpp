// Exit statuses, option answers and small helpers shared by every command of the batch tool.
#include "app/batch/batch_common.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "app/batch/batch_options.h"
#include "model/density_lorentz.h"
#include "model/model_limits.h"
#include "model/preisach.h"
#include "model/state_sequences.h"

bool batch_read_real(const std::string& text, double& value) {
    if (text.empty() || std::isspace(static_cast<unsigned char>(text[0]))) return false;
    char* end = nullptr;
    errno = 0;
    const double v = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size() || errno == ERANGE || !std::isfinite(v)) return false;
    value = v;
    return true;
}

bool batch_read_int32(const std::string& text, int32_t& value) {
    if (text.empty() || std::isspace(static_cast<unsigned char>(text[0]))) return false;
    char* end = nullptr;
    errno = 0;
    const long long v = std::strtoll(text.c_str(), &end, 10);
    if (end != text.c_str() + text.size() || errno == ERANGE || v < INT32_MIN || v > INT32_MAX)
        return false;
    value = static_cast<int32_t>(v);
    return true;
}

bool batch_looks_like_option(const std::string& arg) {
    return arg.size() > 1 && arg[0] == '-' && !std::isdigit(static_cast<unsigned char>(arg[1]));
}

bool batch_option_value(int argc, const char* const* argv, int& i, std::string& value,
                        std::string& error) {
    if (i + 1 >= argc) {
        error = "option " + batch_shown(argv[i]) + " needs a value";
        return false;
    }
    value = argv[++i];
    return true;
}

std::string batch_shown(const std::string& text) {
    std::string shown;
    shown.reserve(text.size());
    for (const char c : text) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (c == '\n') {
            shown += "\\n";
        } else if (c == '\r') {
            shown += "\\r";
        } else if (c == '\t') {
            shown += "\\t";
        } else if (u < 0x20 || u == 0x7f) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02x", u);
            shown += escape;
        } else {
            shown += c;
        }
    }
    return shown;
}

bool batch_parse_loop_correction(const std::string& arg, BatchOptions& options) {
    if (arg == "--drift") {
        options.drift = true;
        return true;
    }
    if (arg == "--centre" || arg == "--center") {
        options.centre = true;
        return true;
    }
    return false;
}

int batch_parse_hc(int argc, const char* const* argv, int& i, BatchOptions& options,
                   std::string& error) {
    if (std::string(argv[i]) != "--hc") return kOptionUnknown;
    options.hc_given = true;
    std::string value;
    if (!batch_option_value(argc, argv, i, value, error)) return kOptionRefused;
    if (!batch_read_real(value, options.Hc)) {
        error = "invalid --hc '" + batch_shown(value) + "': not a number";
        return kOptionRefused;
    }
    if (const char* refusal = hc_refusal(check_range(ModelQuantity::Hc, options.Hc))) {
        error = "invalid --hc '" + batch_shown(value) + "': " + refusal;
        return kOptionRefused;
    }
    return kOptionTaken;
}

void batch_set_parameter(ModelState& m, double Hc) {
    open_workspace_saturation(m);
    m.density = lorentz_density(Hc, kStartupKmax);
    if (Hc != kStartupHc) compute_kmax(m);
}
