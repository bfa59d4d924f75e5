// The Everett function tabulated on the reversal curves: cubic Hermite pieces along the curves
// and blends between them.
#include "model/everett_table.h"

#include <algorithm>
#include <cmath>

namespace {

bool finite_all(const std::vector<double>& v) {
    for (const double x : v)
        if (!std::isfinite(x)) return false;
    return true;
}

} // namespace

bool everett_table_check(const EverettTable& e, std::string& why) {
    const size_t curves = e.Hr.size();
    if (curves < 2 || e.first.size() != curves + 1) {
        why = "has an Everett table of fewer than two curves";
        return false;
    }
    if (e.first.front() != 0 || e.first.back() != e.H.size() || e.M.size() != e.H.size() ||
        e.slope.size() != e.H.size()) {
        why = "has an Everett table whose node lists differ in length";
        return false;
    }
    if (!finite_all(e.Hr) || !finite_all(e.H) || !finite_all(e.M) || !finite_all(e.slope)) {
        why = "has an Everett table with a value that is not a finite number";
        return false;
    }
    for (size_t k = 0; k < curves; ++k) {
        if (k > 0 && !(e.Hr[k - 1] < e.Hr[k])) {
            why = "has an Everett table whose reversal fields do not ascend (curve " +
                  std::to_string(k + 1) + ")";
            return false;
        }
        if (e.first[k + 1] < e.first[k] + 2) {
            why = "has an Everett table curve of fewer than two nodes (curve " +
                  std::to_string(k + 1) + ")";
            return false;
        }
        for (size_t i = e.first[k] + 1; i < e.first[k + 1]; ++i)
            if (!(e.H[i - 1] < e.H[i])) {
                why = "has an Everett table curve whose fields do not ascend (curve " +
                      std::to_string(k + 1) + ")";
                return false;
            }
    }
    return true;
}

double everett_hermite(const double* x, const double* y, const double* slope, size_t n, double at) {
    if (at <= x[0]) return y[0];
    if (at >= x[n - 1]) return y[n - 1];
    const size_t i = static_cast<size_t>(std::upper_bound(x, x + n, at) - x - 1);
    const double h = x[i + 1] - x[i];
    const double t = (at - x[i]) / h;
    const double t2 = t * t, t3 = t2 * t;
    return (2 * t3 - 3 * t2 + 1) * y[i] + (t3 - 2 * t2 + t) * h * slope[i] +
           (-2 * t3 + 3 * t2) * y[i + 1] + (t3 - t2) * h * slope[i + 1];
}

double everett_curve_moment(const EverettTable& everett, size_t k, double H) {
    const size_t from = everett.first[k];
    return everett_hermite(&everett.H[from], &everett.M[from], &everett.slope[from],
                           everett.first[k + 1] - from, H);
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
