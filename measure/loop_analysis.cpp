// Assembling, correcting and measuring one loop.
#include "measure/loop_analysis.h"

#include <cmath>
#include <vector>

bool analyse_loop(const MeasuredSeries& series, const AssembledSeries& s, int loop,
                  const LoopRequest& request, LoopReport& report, std::string& reason) {
    report = LoopReport{};
    report.loop = loop;
    report.loops = static_cast<int>(s.loops.size());
    if (s.loops.empty()) {
        if (s.runs.size() < 2)
            reason = "not a loop: one branch only (the field only " +
                     std::string(s.runs.empty() || s.runs[0].direction > 0 ? "rises)" : "falls)");
        else
            reason = "no full loop: no rising and falling branch that both span the field range";
        return false;
    }
    if (loop < 0 || loop >= report.loops) {
        reason = "no loop number " + std::to_string(loop + 1);
        return false;
    }
    const FieldRun& a = s.runs[s.loops[loop].first_run];
    const FieldRun& b = s.runs[s.loops[loop].first_run + 1];
    std::vector<double> H(s.H.begin() + a.first, s.H.begin() + b.last + 1);
    std::vector<double> M(s.M.begin() + a.first, s.M.begin() + b.last + 1);
    const int64_t count = static_cast<int64_t>(H.size());
    const int64_t turn = a.last - a.first;

    switch (request.slope) {
    case SlopeChoice::none:
        break;
    case SlopeChoice::automatic:
        if (!fit_high_field_slope(H.data(), M.data(), count, request.high_fraction, report.slope,
                                  reason))
            return false;
        break;
    case SlopeChoice::file:
        if (!series.figures.has_slope) {
            reason = "--slope file: the file's header states no slope correction";
            return false;
        }
        report.slope.source = SlopeSource::header;
        report.slope.chi = series.figures.slope;
        break;
    case SlopeChoice::value:
        report.slope.source = SlopeSource::given;
        report.slope.chi = request.slope_value;
        break;
    }
    if (report.slope.source != SlopeSource::none)
        remove_slope(H.data(), M.data(), count, report.slope.chi);
    report.closure_gap = M[count - 1] - M[0];
    if (request.drift) {
        report.drift = remove_drift(M.data(), count);
        report.drift_removed = true;
    }
    if (request.centre) {
        if (!centre_loop(H.data(), M.data(), count, turn, report.offsets, reason)) return false;
        report.centred = true;
    }
    if (!compute_loop_figures(H.data(), M.data(), count, turn, request.high_fraction,
                              report.figures, reason))
        return false;
    // In the approach-to-saturation form the high-field moments still carry the approach term:
    // the saturation moment is the fit's asymptote.
    if (report.slope.source == SlopeSource::saturation) {
        report.figures.Ms = report.slope.Ms;
        report.figures.Mr_Ms = report.figures.Mr / report.figures.Ms;
        report.figures.shape =
            std::log(report.figures.area / (4.0 * report.figures.Ms * report.figures.Bc));
        if (!std::isfinite(report.figures.shape)) report.figures.shape = std::nan("");
    }
    // The closure gap is a property of the measurement, not of the drift correction.
    report.figures.closure_gap = report.closure_gap;
    return true;
}
