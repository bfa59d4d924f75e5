// Formatting curve points as CSV lines with 17 significant digits.
#include "model/curve_csv.h"

#include <charconv>
#include <cstdint>

namespace {

void append(std::string& out, const char* text) {
    out += text;
}

// Seventeen significant digits in the form of "%.17g", but never with the decimal comma of the
// user's locale (the program runs with it): the file must read back anywhere.
void append_number(std::string& out, double v) {
    char buf[40];
    const std::to_chars_result r =
        std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 17);
    out.append(buf, r.ec == std::errc() ? r.ptr : buf);
}

void append_comment(std::string& out, const char* text, double v) {
    append(out, text);
    append_number(out, v);
    out += '\n';
}

} // namespace

void format_points_csv(const ModelState& m, const double* H, const double* B, int count,
                       std::string& out) {
    if (count < 0 || !H || !B) count = 0;
    // One line per parameter of the density, then its normalisation factor: "# Hc = " and
    // "# Kmax = " for the Lorentzian.
    const DensityFamily& family = *m.density.family;
    for (int i = 0; i < family.parameter_count; ++i)
        append_comment(out, ("# " + std::string(family.parameters[i].name) + " = ").c_str(),
                       m.density.parameter[i]);
    append_comment(out, ("# " + std::string(family.norm_name) + " = ").c_str(), m.density.norm);
    append(out, m.Ho > 0 ? "# start = positive saturation (Ho = "
                         : "# start = negative saturation (Ho = ");
    append_number(out, m.Ho);
    append(out, ")\n");
    append(out, "# points = ");
    append(out, std::to_string(count).c_str());
    out += '\n';
    format_point_lines(H, B, count, out);
}

void format_point_lines(const double* H, const double* B, int count, std::string& out) {
    if (count < 0 || !H || !B) count = 0;
    out += "H,B\n";
    out.reserve(out.size() + static_cast<size_t>(count) * 48);
    for (int i = 0; i < count; ++i) {
        append_number(out, H[i]);
        out += ',';
        append_number(out, B[i]);
        out += '\n';
    }
}

void format_curve_csv(const ModelState& m, std::string& out) {
    // In 64 bits: Ndrawn + 1 must not overflow whatever Ndrawn holds.
    int64_t count = static_cast<int64_t>(m.Ndrawn) + 1;
    if (count < 0) count = 0;
    if (count > kCurveSlots) count = kCurveSlots;
    format_points_csv(m, m.Hcurve, m.Bcurve, static_cast<int>(count), out);
}
