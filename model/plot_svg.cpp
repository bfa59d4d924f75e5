// The plot written as SVG shapes.
#include "model/plot_svg.h"

#include <cmath>
#include <cstdio>
#include <vector>

#include "model/plot_legend.h"
#include "text/number_format.h"

namespace {

// Colours of the palette entries the plot uses.
constexpr const char* kBlack = "#000000";
constexpr const char* kGreen = "#008000";
constexpr const char* kCyan = "#008080";
constexpr const char* kRed = "#ff0000";
constexpr const char* kBlue = "#0000ff";
// The 0xCCCC line style: two pixels on, two off.
constexpr const char* kDotted = "2,2";
// Tick labels are F8.2: eight characters.
constexpr int kTickLabelLength = 8;
// The workspace font's cell is 14 pixels high; a text's baseline lies about 11 below its top.
constexpr int kBaseline = 11;

std::string number(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.3f", v);
    return buf;
}

// Text with &, < and > escaped.
std::string escaped(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else
            out += c;
    }
    return out;
}

void line(std::string& out, double x1, double y1, double x2, double y2, const char* colour,
          bool dotted) {
    out += "<line x1=\"" + number(x1) + "\" y1=\"" + number(y1) + "\" x2=\"" + number(x2) +
           "\" y2=\"" + number(y2) + "\" stroke=\"" + colour + "\"";
    if (dotted) out += std::string(" stroke-dasharray=\"") + kDotted + "\"";
    out += "/>\n";
}

// A text with its cell's top-left corner at (x, y), blanks kept.
void text(std::string& out, double x, double y, const std::string& s) {
    out += "<text x=\"" + number(x) + "\" y=\"" + number(y + kBaseline) +
           "\" xml:space=\"preserve\">" + escaped(s) + "</text>\n";
}

void tick_label(std::string& out, double value, double x, double y) {
    char buf[kTickLabelLength];
    format_real(buf, kTickLabelLength, "(F8.2)", value);
    text(out, x, y, std::string(buf, kTickLabelLength));
}

// A polyline through points first..last of H and B, mapped onto the plot; finite points only.
void polyline(std::string& out, const ModelState& m, const double* H, const double* B,
              int32_t first, int32_t last, const char* colour, bool dotted) {
    out +=
        std::string("<polyline clip-path=\"url(#plot)\" fill=\"none\" stroke=\"") + colour + "\"";
    if (dotted) out += std::string(" stroke-dasharray=\"") + kDotted + "\"";
    out += " points=\"";
    bool any = false;
    for (int32_t i = first; i <= last; ++i) {
        const double x = m.PlotLeft + (H[i] - m.Hmin) / m.HperPixel;
        const double y = m.PlotTop + (m.Bmax - B[i]) / m.BperPixel;
        if (!std::isfinite(x) || !std::isfinite(y)) continue;
        if (any) out += ' ';
        out += number(x) + "," + number(y);
        any = true;
    }
    out += "\"/>\n";
}

} // namespace

bool format_plot_svg(const ModelState& m, int width, int height, std::string& out,
                     const MeasuredOverlay* measurement) {
    const bool measured = measurement != nullptr && overlay_shown(*measurement);
    out.clear();
    if (width <= 0 || height <= 0) return false;
    const double left = m.PlotLeft, top = m.PlotTop, right = m.PlotRight, bottom = m.PlotBottom;
    const std::string w = std::to_string(width), h = std::to_string(height);
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out +=
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + w + "\" height=\"" + h +
        "\" viewBox=\"0 0 " + w + " " + h +
        "\" font-family=\"Courier, monospace\" font-size=\"14\" shape-rendering=\"crispEdges\">\n";
    out += "<defs><clipPath id=\"plot\"><rect x=\"" + number(left) + "\" y=\"" + number(top) +
           "\" width=\"" + number(right - left + 1) + "\" height=\"" + number(bottom - top + 1) +
           "\"/></clipPath></defs>\n";
    out += "<rect width=\"" + w + "\" height=\"" + h + "\" fill=\"#ffffff\"/>\n";
    out += "<rect x=\"" + number(left) + "\" y=\"" + number(top) + "\" width=\"" +
           number(right - left) + "\" height=\"" + number(bottom - top) +
           "\" fill=\"none\" stroke=\"" + kBlack + "\"/>\n";
    out += std::string("<g fill=\"") + kBlack + "\">\n";
    tick_label(out, m.Bmax, 1, top - 5);
    for (int j = 1; j <= 3; ++j) {
        const double y = top + static_cast<int32_t>((m.PlotBottom - m.PlotTop) * j) / 4;
        line(out, left, y, right, y, kBlack, true);
        tick_label(out, m.Bmax - 0.25 * j * (m.Bmax - m.Bmin), 1, y - 5);
    }
    tick_label(out, m.Bmin, 1, bottom - 5);
    tick_label(out, m.Hmin, left - 43, bottom + 5);
    for (int j = 1; j <= 3; ++j) {
        const double x = left + static_cast<int32_t>((m.PlotRight - m.PlotLeft) * j) / 4;
        line(out, x, top, x, bottom, kBlack, true);
        tick_label(out, m.Hmin + 0.25 * j * (m.Hmax - m.Hmin), x - 43, bottom + 5);
    }
    tick_label(out, m.Hmax, right - 43, bottom + 5);
    text(out, right - 10, bottom - 12, "H");
    text(out, left + 2, top + 2, "B");
    char hn[16];
    format_label_real(hn, sizeof hn, "(a,G13.7)", "Hn=", m.Hn);
    text(out, 20, bottom + 20, std::string(hn, sizeof hn));
    const double legend = bottom + kLegendOffset;
    for (const LegendText& t : kLegendTexts)
        text(out, t.x, legend, t.text);
    if (measured) text(out, kLegendMeasurementText.x, legend, kLegendMeasurementText.text);
    out += "</g>\n";
    line(out, kLegendLoopSample[0], legend + kLegendSampleDrop, kLegendLoopSample[1],
         legend + kLegendSampleDrop, kGreen, true);
    line(out, kLegendCurveSample[0], legend + kLegendSampleDrop, kLegendCurveSample[1],
         legend + kLegendSampleDrop, kRed, false);
    if (measured)
        line(out, kLegendMeasurementSample[0], legend + kLegendSampleDrop,
             kLegendMeasurementSample[1], legend + kLegendSampleDrop, kBlue, false);

    if (m.HperPixel != 0.0 && m.BperPixel != 0.0) {
        // The limiting loop as drawn: its entries with the fine points between them.
        const int32_t last_major = m.Nmaj + 1 < kMajorSlots ? m.Nmaj + 1 : kMajorSlots - 1;
        std::vector<double> H = {m.Hmaj[1]}, B = {m.Bmaj[1]};
        for (int32_t j = 2, i = 0; j <= last_major; ++j) {
            for (; i < m.Nfine && i < kMajorFineSlots && m.Kfine[i] < j; ++i) {
                H.push_back(m.Hfine[i]);
                B.push_back(m.Bfine[i]);
            }
            H.push_back(m.Hmaj[j]);
            B.push_back(m.Bmaj[j]);
        }
        polyline(out, m, H.data(), B.data(), 0, static_cast<int32_t>(H.size()) - 1, kGreen, true);
        if (measured)
            for (const OverlayCurve& c : measurement->curves)
                polyline(out, m, c.H.data(), c.B.data(), 0, static_cast<int32_t>(c.H.size()) - 1,
                         kBlue, false);
        const int32_t drawn = m.Ndrawn < kCurveSlots ? m.Ndrawn : kCurveSlots - 1;
        if (drawn > 0) polyline(out, m, m.Hcurve, m.Bcurve, 0, drawn, kRed, false);
        const double x = left + (m.Hn - m.Hmin) / m.HperPixel;
        if (std::isfinite(x) && x >= left && x <= right) line(out, x, top, x, bottom, kCyan, true);
    }
    out += "</svg>\n";
    return true;
}
