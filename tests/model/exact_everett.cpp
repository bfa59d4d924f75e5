// Everett integrals in closed inner form, and B over a curve's reversal history with them.
#include "exact_everett.h"

#include <boost/math/quadrature/gauss_kronrod.hpp>

#include <algorithm>
#include <cmath>

namespace {

// Integral of f over [a, b] (either order), cut at the peak fields and at distances Hc/16 * 4^k
// from them. The integrand's poles lie Hc away from the real axis at the peaks, so every piece
// is at most three times as long as its distance from the nearest pole, and one 61-point
// Gauss-Kronrod application integrates it to rounding (the estimate is not needed).
template <class F> double outer_integral(const F& f, double Hc, double a, double b) {
    if (a == b) return 0.0;
    const double lo = std::min(a, b);
    const double hi = std::max(a, b);
    std::vector<double> cuts{lo, hi};
    for (const double peak : {-0.5 * Hc, 0.5 * Hc})
        for (double dist = 0.0; dist <= hi - lo; dist = dist == 0.0 ? Hc / 16 : 4 * dist)
            for (const double c : {peak - dist, peak + dist})
                if (lo < c && c < hi) cuts.push_back(c);
    std::sort(cuts.begin(), cuts.end());
    double sum = 0.0;
    for (size_t i = 0; i + 1 < cuts.size(); ++i)
        sum += boost::math::quadrature::gauss_kronrod<double, 61>::integrate(f, cuts[i],
                                                                             cuts[i + 1], 0);
    return a < b ? sum : -sum;
}

} // namespace

double exact_ascending(const ExactDensity& d, double a, double b) {
    const double Hc = d.Hc;
    const double low = std::atan(a / Hc + 0.5);
    auto f = [&](double x) {
        const double t = x / Hc - 0.5;
        // Integral over y from a to x of 1 / (1 + (y/Hc + 0.5)^2).
        const double inner = Hc * (std::atan(x / Hc + 0.5) - low);
        return d.Kmax * inner / (1.0 + t * t);
    };
    return outer_integral(f, Hc, a, b);
}

double exact_descending(const ExactDensity& d, double a, double b) {
    const double Hc = d.Hc;
    const double high = std::atan(b / Hc - 0.5);
    auto f = [&](double x) {
        const double t = x / Hc + 0.5;
        // Integral over y from x to b of 1 / (1 + (y/Hc - 0.5)^2).
        const double inner = Hc * (high - std::atan(x / Hc - 0.5));
        return d.Kmax * inner / (1.0 + t * t);
    };
    return outer_integral(f, Hc, a, b);
}

double exact_kmax(double Hc) {
    return 2.0 / exact_ascending(ExactDensity{Hc, 1.0}, -1.0, 1.0);
}

std::vector<double> exact_curve(const ExactDensity& d, const std::vector<double>& H, double B0,
                                int dir0) {
    std::vector<double> B(H.size());
    if (H.empty()) return B;
    std::vector<double> Hrev{H[0]};
    std::vector<double> Brev{B0};
    int dir = dir0;
    B[0] = B0;
    for (size_t i = 1; i < H.size(); ++i) {
        const double step = H[i] - H[i - 1];
        if (step * dir < 0) { // the field turned: the previous point is a reversal
            dir = -dir;
            Hrev.push_back(H[i - 1]);
            Brev.push_back(B[i - 1]);
        }
        // Wipe out every minor loop the field has closed.
        while (Hrev.size() >= 3 && dir * Hrev[Hrev.size() - 2] <= dir * H[i]) {
            Hrev.resize(Hrev.size() - 2);
            Brev.resize(Brev.size() - 2);
        }
        const double a = Hrev.back();
        const double R = dir > 0 ? exact_ascending(d, a, H[i]) : exact_descending(d, H[i], a);
        B[i] = Brev.back() + dir * R;
    }
    return B;
}
