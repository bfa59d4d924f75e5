// The Everett function tabulated on the reversal curves: monotone cubics along the curves
// (slopes by GSL's Steffen interpolation) and blends between them.
#include "forc/everett_table.h"

#include <algorithm>
#include <cmath>

#include <gsl/gsl_errno.h>
#include <gsl/gsl_interp.h>

namespace {

// Fills the slopes of nodes x[0..n-1], y: Steffen's monotone cubic for three nodes or more, the
// chord for two.
void monotone_slopes(const double* x, const double* y, size_t n, double* slope) {
    if (n == 2) {
        slope[0] = slope[1] = (y[1] - y[0]) / (x[1] - x[0]);
        return;
    }
    gsl_set_error_handler_off();
    gsl_interp* interp = gsl_interp_alloc(gsl_interp_steffen, n);
    gsl_interp_accel* accel = gsl_interp_accel_alloc();
    gsl_interp_init(interp, x, y, n);
    for (size_t i = 0; i < n; ++i)
        slope[i] = gsl_interp_eval_deriv(interp, x, y, x[i], accel);
    gsl_interp_accel_free(accel);
    gsl_interp_free(interp);
}

} // namespace

bool everett_table_build(const ForcTable& table, EverettTable& everett, std::string& error) {
    everett = EverettTable{};
    everett.first.push_back(0);
    for (size_t k = 0; k < forc_table_curves(table); ++k) {
        const size_t from = everett.H.size();
        // Repeated fields (a turning point measured twice) become one node with the mean moment.
        for (size_t p = table.first[k]; p < table.first[k + 1];) {
            size_t q = p;
            double sum = 0.0;
            while (q < table.first[k + 1] && table.H[q] == table.H[p])
                sum += table.M[q++];
            everett.H.push_back(table.H[p]);
            everett.M.push_back(sum / static_cast<double>(q - p));
            p = q;
        }
        const size_t n = everett.H.size() - from;
        if (n < 2) {
            // A curve of a single field (the first of a measurement) carries no Everett values.
            everett.H.resize(from);
            everett.M.resize(from);
            continue;
        }
        everett.slope.resize(everett.H.size());
        monotone_slopes(&everett.H[from], &everett.M[from], n, &everett.slope[from]);
        everett.Hr.push_back(table.Hr[k]);
        everett.first.push_back(everett.H.size());
        everett.M_reversal.push_back(
            everett_curve_moment(everett, everett.Hr.size() - 1, table.Hr[k]));
    }
    if (everett.Hr.size() < 2) {
        error = "fewer than two curves with two distinct fields";
        return false;
    }
    everett.slope_reversal.resize(everett.Hr.size());
    monotone_slopes(everett.Hr.data(), everett.M_reversal.data(), everett.Hr.size(),
                    everett.slope_reversal.data());
    return true;
}

namespace {

// The cubic Hermite through nodes x[0..n-1] (ascending), y, slopes at x, held at the ends.
double hermite(const double* x, const double* y, const double* slope, size_t n, double at) {
    if (at <= x[0]) return y[0];
    if (at >= x[n - 1]) return y[n - 1];
    const size_t i = static_cast<size_t>(std::upper_bound(x, x + n, at) - x - 1);
    const double h = x[i + 1] - x[i];
    const double t = (at - x[i]) / h;
    const double t2 = t * t, t3 = t2 * t;
    return (2 * t3 - 3 * t2 + 1) * y[i] + (t3 - 2 * t2 + t) * h * slope[i] +
           (-2 * t3 + 3 * t2) * y[i + 1] + (t3 - t2) * h * slope[i + 1];
}

} // namespace

double everett_curve_moment(const EverettTable& everett, size_t k, double H) {
    const size_t from = everett.first[k];
    return hermite(&everett.H[from], &everett.M[from], &everett.slope[from],
                   everett.first[k + 1] - from, H);
}

double everett_upper_branch(const EverettTable& everett, double Hr) {
    return hermite(everett.Hr.data(), everett.M_reversal.data(), everett.slope_reversal.data(),
                   everett.Hr.size(), Hr);
}

namespace {

// E of curve k at distance d >= 0 above its reversal field.
double curve_everett(const EverettTable& everett, size_t k, double d) {
    const double Hr = everett.Hr[k];
    return 0.5 * (everett_curve_moment(everett, k, Hr + d) - everett_curve_moment(everett, k, Hr));
}

} // namespace

double everett_value(const EverettTable& everett, double alpha, double beta) {
    if (alpha <= beta) return 0.0;
    const size_t curves = everett.Hr.size();
    const double d = alpha - beta;
    if (beta <= everett.Hr.front()) return curve_everett(everett, 0, d);
    if (beta >= everett.Hr.back()) return curve_everett(everett, curves - 1, d);
    const size_t k = static_cast<size_t>(
        std::upper_bound(everett.Hr.begin(), everett.Hr.end(), beta) - everett.Hr.begin() - 1);
    const double w = (beta - everett.Hr[k]) / (everett.Hr[k + 1] - everett.Hr[k]);
    return (1.0 - w) * curve_everett(everett, k, d) + w * curve_everett(everett, k + 1, d);
}

double everett_forc_moment(const EverettTable& everett, double Hr, double H) {
    return everett_upper_branch(everett, Hr) + 2.0 * everett_value(everett, H, Hr);
}
