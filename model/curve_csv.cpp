#include "model/curve_csv.h"

#include <cstdio>

namespace {

void append(std::string& out, const char* text) { out += text; }

void append_number(std::string& out, double v) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17g", v);
    out += buf;
}

} // namespace

void format_points_csv(const ModelState& m, const double* H, const double* B, int count,
                       std::string& out) {
    if (count < 0) count = 0;
    char line[160];
    std::snprintf(line, sizeof line, "# Hc = %.17g\n", m.Hc);
    append(out, line);
    std::snprintf(line, sizeof line, "# Kmax = %.17g\n", m.Kmax);
    append(out, line);
    std::snprintf(line, sizeof line, "# start = %s saturation (Ho = %.17g)\n",
                  m.Ho > 0 ? "positive" : "negative", m.Ho);
    append(out, line);
    std::snprintf(line, sizeof line, "# points = %d\n", count);
    append(out, line);
    append(out, "H,B\n");
    out.reserve(out.size() + static_cast<size_t>(count) * 48);
    for (int i = 0; i < count; ++i) {
        append_number(out, H[i]);
        out += ',';
        append_number(out, B[i]);
        out += '\n';
    }
}

void format_curve_csv(const ModelState& m, std::string& out) {
    int count = m.Ndrawn + 1;
    if (count < 0) count = 0;
    if (count > kCurveSlots) count = kCurveSlots;
    format_points_csv(m, m.Hcurve, m.Bcurve, count, out);
}
