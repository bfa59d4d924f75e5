// fit --model FAMILY|auto on measured loops.
#include "app/batch/fit_material_command.h"

#include <cmath>
#include <cstdio>
#include <vector>

#include "app/batch/batch_common.h"
#include "app/batch/material_fit.h"
#include "measure/loop_assembly.h"
#include "measure/loop_corrections.h"
#include "measure/loop_figures.h"
#include "measure/measured_series.h"
#include "measure/series_reader.h"
#include "measure/measure_units.h"
#include "model/density_families.h"
#include "picture/loop_picture.h"

const char* const kAutoFamilies[] = {"lorentz2", "gauss", "lorentz2-mix", "gauss-mix"};
const int kAutoFamilyCount = 4;

namespace {

// The high-field ends where slopes are fitted and Ms measured.
constexpr double kHighFraction = 0.7;

// One full loop of a series, and its slope-corrected figures.
struct PreparedLoop {
    FitLoop fit;                // the loop in the solver's form
    std::vector<double> H;      // fields, in the series' unit
    int64_t turn = 0;           // index of the turning point
    double slope = 0.0;         // the high-field slope the R^2 and the figures are taken without
    bool drift_removed = false; // --drift: a moment drift linear in measurement order removed
    double drift = 0.0;         // its closure gap, M units
    bool centred = false;       // --centre: field and moment offsets removed
    LoopOffsets offsets;        // those offsets
    LoopFigures figures;        // figures of the slope-corrected loop
};

// The first full loop of series, corrected as options ask (drift, centring) in the order metrics
// takes: on the slope-corrected loop, the moments fitted then corrected alike.
bool prepare(const MeasuredSeries& series, const BatchOptions& options, PreparedLoop& p,
             std::string& reason) {
    AssembledSeries as;
    assemble_series(series.H.data(), series.M.data(), static_cast<int64_t>(series.H.size()), as);
    if (as.loops.empty()) {
        reason = "no full loop (two branches across the field range)";
        return false;
    }
    const FieldRun& r1 = as.runs[as.loops[0].first_run];
    const FieldRun& r2 = as.runs[as.loops[0].first_run + 1];
    p.H.assign(as.H.begin() + r1.first, as.H.begin() + r2.last + 1);
    std::vector<double> M(as.M.begin() + r1.first, as.M.begin() + r2.last + 1);
    p.turn = r1.last - r1.first;
    const int64_t count = static_cast<int64_t>(p.H.size());
    SlopeFit slope;
    std::string why;
    p.slope = fit_high_field_slope(p.H.data(), M.data(), count, kHighFraction, slope, why)
                  ? slope.chi
                  : 0.0;
    std::vector<double> corrected = M;
    remove_slope(p.H.data(), corrected.data(), count, p.slope);
    if (options.drift) {
        const std::vector<double> before = corrected;
        p.drift = remove_drift(corrected.data(), count);
        p.drift_removed = true;
        for (int64_t k = 0; k < count; ++k)
            M[k] += corrected[k] - before[k];
    }
    if (options.centre) {
        if (!centre_loop(p.H.data(), corrected.data(), count, p.turn, p.offsets, reason))
            return false;
        p.centred = true;
        // The moments with the slope: their field moved by the field offset too.
        for (double& m : M)
            m -= p.offsets.M_offset + p.slope * p.offsets.H_offset;
    }
    if (!compute_loop_figures(p.H.data(), corrected.data(), count, p.turn, kHighFraction, p.figures,
                              reason))
        return false;
    double Hs = 0.0;
    for (const double H : p.H)
        Hs = std::fmax(Hs, std::fabs(H));
    p.fit.Hs = Hs;
    p.fit.h.resize(p.H.size());
    for (size_t i = 0; i < p.H.size(); ++i)
        p.fit.h[i] = p.H[i] / Hs;
    p.fit.M = M;
    p.fit.Bc = p.figures.Bc;
    p.fit.Mr = p.figures.Mr;
    p.fit.Ms = p.figures.Ms + p.slope * Hs;
    p.fit.slope = p.slope;
    return true;
}

// Figures of a fit against the slope-corrected loop.
struct FitFiguresOut {
    double r2 = 0.0;     // 1 - rss / (total squares of the slope-corrected loop)
    double rms = 0.0;    // rms residual, M units
    bool closed = false; // the fitted loop has its figures
    LoopFigures figures; // figures of the slope-corrected fitted loop
};

FitFiguresOut judge(const PreparedLoop& p, const MaterialFit& f) {
    FitFiguresOut o;
    const size_t n = p.H.size();
    std::vector<double> measured(n), model(n);
    double mean = 0.0;
    for (size_t i = 0; i < n; ++i) {
        measured[i] = p.fit.M[i] - p.slope * p.H[i];
        model[i] = f.model[i] - p.slope * p.H[i];
        mean += measured[i] / static_cast<double>(n);
    }
    double total = 0.0;
    for (size_t i = 0; i < n; ++i)
        total += (measured[i] - mean) * (measured[i] - mean);
    o.r2 = 1.0 - f.rss / total;
    o.rms = std::sqrt(f.rss / static_cast<double>(n));
    std::string why;
    o.closed = compute_loop_figures(p.H.data(), model.data(), static_cast<int64_t>(n), p.turn,
                                    kHighFraction, o.figures, why);
    return o;
}

// A number, or an empty cell where there is none: NaN never reaches the output.
std::string cell(const char* format, double value) {
    if (!std::isfinite(value)) return "";
    char text[48];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

void print_fit(std::FILE* out, const MaterialFit& f, const FitFiguresOut& j,
               const PreparedLoop& p) {
    const DensityFamily& fam = *f.family;
    std::fprintf(out, "family,%s\n", fam.name);
    const char* reversible[] = {"Bs", "chi", "amplitude", "field"};
    for (size_t k = 0; k < f.parameters.size(); ++k) {
        const char* name = static_cast<int>(k) < fam.parameter_count
                               ? fam.parameters[k].name
                               : reversible[k - fam.parameter_count];
        std::fprintf(out, "%s,%s,%s\n", name, cell("%.10g", f.parameters[k]).c_str(),
                     cell("%.3g", f.errors[k]).c_str());
    }
    std::fprintf(out, "Hs,%s\nr_squared,%s\nrms_residual,%s\naic,%s\niterations,%d\n",
                 cell("%.10g", p.fit.Hs).c_str(), cell("%.8f", j.r2).c_str(),
                 cell("%.6g", j.rms).c_str(), cell("%.6g", f.aic).c_str(), f.iterations);
    const double nan = std::nan("");
    std::fprintf(
        out, "Bc,%s,%s\nMr,%s,%s\nMs,%s,%s\n", cell("%.6g", p.figures.Bc).c_str(),
        cell("%.6g", j.closed ? j.figures.Bc : nan).c_str(), cell("%.6g", p.figures.Mr).c_str(),
        cell("%.6g", j.closed ? j.figures.Mr : nan).c_str(), cell("%.6g", p.figures.Ms).c_str(),
        cell("%.6g", j.closed ? j.figures.Ms : nan).c_str());
    if (p.drift_removed) std::fprintf(out, "drift_removed,%s\n", cell("%.6g", p.drift).c_str());
    if (p.centred)
        std::fprintf(out, "field_offset,%s\nmoment_offset,%s\n",
                     cell("%.6g", p.offsets.H_offset).c_str(),
                     cell("%.6g", p.offsets.M_offset).c_str());
}

// The picture of the fitted loop: both curves without the high-field slope the figures are
// taken without, fields in mT when they are in T.
LoopPicture picture_of(const PreparedLoop& p, const MaterialFit& f, const FitFiguresOut& j,
                       const MeasuredSeries& series, const std::string& path) {
    LoopPicture pic;
    const size_t slash = path.find_last_of('/');
    pic.title = batch_shown(slash == std::string::npos ? path : path.substr(slash + 1)) +
                (series.specimen.empty() ? "" : " (" + batch_shown(series.specimen) + ")") + ": " +
                f.family->name;
    const std::string& fu = series.field_unit.reported;
    const std::string& mu = series.moment_unit.reported;
    const bool tesla = fu == kFieldUnitSI;
    pic.field_scale = tesla ? 1000.0 : 1.0;
    pic.field_label = "field" + (tesla ? std::string(" (mT)") : fu.empty() ? "" : " (" + fu + ")");
    pic.moment_label = "moment - high-field slope" + (mu.empty() ? "" : " (" + mu + ")");
    const std::string field_unit = tesla ? " mT" : fu.empty() ? "" : " " + fu;
    const std::string moment_unit = mu.empty() ? "" : " " + mu;
    const double nan = std::nan("");
    char line[240];
    std::snprintf(
        line, sizeof line, "R^2 %.5f   Bc %.4g / %.4g%s   Mr %.4g / %.4g%s (measured / fitted)",
        j.r2, p.figures.Bc * pic.field_scale, j.closed ? j.figures.Bc * pic.field_scale : nan,
        field_unit.c_str(), p.figures.Mr, j.closed ? j.figures.Mr : nan, moment_unit.c_str());
    pic.subtitle = line;
    pic.H = p.H;
    pic.M.resize(p.H.size());
    pic.fitted.resize(p.H.size());
    for (size_t i = 0; i < p.H.size(); ++i) {
        pic.M[i] = p.fit.M[i] - p.slope * p.H[i];
        pic.fitted[i] = f.model[i] - p.slope * p.H[i];
    }
    return pic;
}

} // namespace

int run_material_fit(const BatchOptions& options, std::FILE* out, std::string& error) {
    std::vector<MeasuredSeries> series;
    int64_t skipped = 0;
    if (!read_series_file(options.loop_path, options.columns, series, skipped, error))
        return kBatchBadUsage;
    std::vector<const DensityFamily*> families;
    if (options.fit_family == "auto") {
        for (int k = 0; k < kAutoFamilyCount; ++k)
            families.push_back(find_density_family(kAutoFamilies[k]));
    } else {
        families.push_back(find_density_family(options.fit_family.c_str()));
    }
    int status = kBatchOk;
    for (size_t s = 0; s < series.size(); ++s) {
        PreparedLoop p;
        std::string reason;
        if (!prepare(series[s], options, p, reason)) {
            if (series.size() == 1) {
                error = batch_shown(options.loop_path) + ": " + reason;
                return kBatchBadUsage;
            }
            std::fprintf(out, "specimen,%s\nskipped,%s\n", batch_shown(series[s].specimen).c_str(),
                         reason.c_str());
            continue;
        }
        if (series.size() > 1)
            std::fprintf(out, "specimen,%s\n", batch_shown(series[s].specimen).c_str());
        MaterialFit best;
        FitFiguresOut best_judge;
        for (const DensityFamily* f : families) {
            const MaterialFit fit = fit_material(*f, p.fit);
            if (!fit.ok) {
                std::fprintf(out, "family,%s\nwarning,%s\n", f->name, fit.warning.c_str());
                continue;
            }
            const FitFiguresOut j = judge(p, fit);
            if (families.size() > 1)
                std::fprintf(out, "r_squared_%s,%s\n", f->name, cell("%.8f", j.r2).c_str());
            if (!best.ok || fit.aic < best.aic) {
                best = fit;
                best_judge = j;
            }
        }
        if (!best.ok) continue;
        print_fit(out, best, best_judge, p);
        if (!best.warning.empty())
            std::fprintf(stderr, "hysteresis-batch: warning: %s: %s\n",
                         batch_shown(options.loop_path).c_str(), best.warning.c_str());
        if (!options.out_path.empty() && s == 0) {
            // The loop fitted, measured and fitted moments at each of its fields.
            std::string text = "H,M,M_fitted\n";
            char line[96];
            for (size_t i = 0; i < p.H.size(); ++i) {
                std::snprintf(line, sizeof line, "%.17g,%.17g,%.17g\n", p.H[i], p.fit.M[i],
                              best.model[i]);
                text += line;
            }
            std::FILE* f = std::fopen(options.out_path.c_str(), "w");
            const bool written = f && std::fwrite(text.data(), 1, text.size(), f) == text.size();
            if (f && std::fclose(f) != 0) f = nullptr;
            if (!written || !f) {
                error = "cannot write " + batch_shown(options.out_path);
                return kBatchStopped;
            }
        }
        if (!options.picture_path.empty() && s == 0 &&
            !write_loop_picture(options.picture_path,
                                picture_of(p, best, best_judge, series[s], options.loop_path),
                                error))
            return kBatchStopped;
        if (!options.out_model_path.empty() && s == 0) {
            ModelFile model;
            model.family = best.family->name;
            model.parameters.assign(best.parameters.begin(),
                                    best.parameters.begin() + best.family->parameter_count);
            model.errors.assign(best.errors.begin(),
                                best.errors.begin() + best.family->parameter_count);
            for (double& e : model.errors)
                if (!std::isfinite(e)) e = 0.0;
            const std::string& fu = series[s].field_unit.reported;
            const std::string& mu = series[s].moment_unit.reported;
            model.field_unit = fu.empty() ? "1" : fu;
            model.moment_unit = mu.empty() ? "1" : mu;
            model.Hs = p.fit.Hs;
            model.Bs = best.Bs;
            model.reversible = best.reversible;
            model.source = options.loop_path;
            model.fit.present = true;
            model.fit.r2 = best_judge.r2;
            model.fit.rms = best_judge.rms / best.Bs;
            model.fit.points = static_cast<long>(p.H.size());
            model.fit.aic = best.aic;
            model.fit.warning = best.warning;
            std::string why;
            if (!model_file_write(model, options.out_model_path, why)) {
                error = batch_shown(why);
                return kBatchStopped;
            }
        }
    }
    return status;
}
