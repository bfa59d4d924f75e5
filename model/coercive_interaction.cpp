// The outer integrands of the coercive-times-interaction terms, as the kernels of
// model/outer_kernels.h.
#include "model/coercive_interaction.h"

#include <algorithm>
#include <cassert>

#include "model/outer_kernels.h"
#include "model/vector_math.h"

static_assert(kGradedNodesMost <= kOuterKernelNodesMost, "a rule's nodes go to a kernel at once");

void term_values(const LorentzTerm& t, double lo, double hi, double sign, const GradedRule& rule,
                 double* out, double* scratch) {
    assert(rule.log_runs == 0); // no log-normal feature, no piece in ln h
    // width_i (atan((hi - h) / width_i) - atan((lo + h) / width_i)) / (1 + ((sign h - centre) /
    // width_c)^2).
    const double s = 1.0 / t.width_i;
    const double r = 1.0 / t.width_c;
    const AtanOverLorentz f{t.weight * t.width_i, lo * s, s, hi * s, -s, -t.centre * r, sign * r};
    values(f, rule.x, rule.count, out, scratch);
}

void term_values(const GaussTerm& t, double lo, double hi, double sign, const GradedRule& rule,
                 double* out, double* scratch) {
    if (sign < 0) { // c(-h) = 0 for h >= 0
        for (int i = 0; i < rule.count; ++i)
            out[i] = 0.0;
        return;
    }
    // The interaction's integral is sqrt(pi) / 2 S (erf((hi - h) / S) - erf((lo + h) / S)),
    // S = sqrt(2) width_i.
    const double S = M_SQRT2 * t.width_i;
    const double s = 1.0 / S;
    const ErfOverLogNormal f{
        t.weight * 0.5 * std::sqrt(M_PI) * S, t.centre, t.spread, lo * s, s, hi * s, -s};
    // The nodes in x and those of the log runs, in turn.
    int i = 0;
    for (int r = 0; r <= rule.log_runs; ++r) {
        const int first = r < rule.log_runs ? rule.log_first[r] : rule.count;
        if (first > i) values(f, rule.x + i, first - i, out + i, scratch);
        if (r == rule.log_runs) break;
        const int n = rule.log_nodes[r];
        values_in_ln(f, rule.x + first, rule.t + first, n, out + first, scratch);
        i = first + n;
    }
}

double GaussTerm::head(double sign, double lo, double hi, double& x0) const {
    x0 = 0.0;
    if (sign < 0) return 0.0;
    const double S = M_SQRT2 * width_i;
    const double edge = kErfSaturated * S;
    const double H = 0.5 * (hi - lo);
    if (lo >= edge || hi <= -edge) {
        x0 = H; // the triangle misses the interaction peak
        return 0.0;
    }
    // Below the log-normal's range c holds 3.2e-14 of its mass: nothing to integrate.
    static_assert(kLogNormalReach == -5.0 * kSeriesLeast, "one exponential for both");
    const double least = std::exp(kSeriesLeast * spread);
    const double least2 = least * least;
    const double faded = centre * least2 * least2 * least;
    const double constant_end =
        lo <= -edge && hi >= edge ? std::fmin(H, std::fmin(-edge - lo, hi - edge)) : 0.0;
    const double series_end = std::fmin(H, kSeriesReach * S);
    if (series_end > constant_end && series_end > centre * least) {
        x0 = series_end;
        return gauss_series_head(*this, lo, hi, series_end);
    }
    x0 = constant_end;
    double closed = 0.0;
    if (constant_end > 0.0) {
        const double cdf = std::erfc(-std::log(x0 / centre) / (spread * M_SQRT2));
        closed = weight * std::sqrt(M_PI) * S * spread * std::sqrt(0.5 * M_PI) * cdf;
    }
    x0 = std::fmax(x0, std::fmin(H, faded));
    return closed;
}

// Most powers of the series: its bound at kSeriesReach scales falls below 1e-16 by the 25th.
constexpr int kSeriesTermsMost = 32;
// The series' reach in steps of the table of its powers.
constexpr int kSeriesSteps = 32;

// The Hermite recurrence's factors by power k, 2 / k and 2 (k - 2) / (k (k - 1)); and the powers
// the series takes up to d = i kSeriesReach / kSeriesSteps scales: where the bound
// 2 (2 / sqrt(pi)) 1.0865 sqrt(2^(k-1) (k-1)!) d^k / k! of the k-th coefficient (Cramer's bound on
// Hermite polynomials), times 2, the most of a moment E[k] (see gauss_series_head), falls below
// 1e-16.
struct SeriesFactors {
    double a[kSeriesTermsMost], b[kSeriesTermsMost];
    int powers[kSeriesSteps + 1];
};
static const SeriesFactors& series_factors() {
    static const SeriesFactors f = [] {
        SeriesFactors s{};
        for (int k = 1; k < kSeriesTermsMost; ++k) {
            s.a[k] = 2.0 / k;
            s.b[k] = k > 1 ? 2.0 * (k - 2) / (k * (k - 1.0)) : 0.0;
        }
        for (int i = 0; i <= kSeriesSteps; ++i) {
            const double d = i * GaussTerm::kSeriesReach / kSeriesSteps;
            int K = 0;
            for (double bound = 2.0 * 1.1284 * 1.0865 * d; 2.0 * bound >= 1e-16;) {
                ++K;
                bound *= std::sqrt(2.0 * K) / (K + 1) * d;
            }
            assert(K < kSeriesTermsMost);
            s.powers[i] = K;
        }
        return s;
    }();
    return f;
}

// 1 / (x sqrt(pi)) times the asymptotic series of erfc(x) e^(x^2) in 1 / x^2, for x >= 26, where
// its first omitted term is below 2e-13 of it (and erfc itself would underflow).
static double scaled_erfc_far(double x) {
    const double r = 1.0 / (x * x);
    return (1.0 + r * (-0.5 + r * (0.75 + r * (-1.875 + r * 6.5625)))) / (x * std::sqrt(M_PI));
}

double gauss_series_head(const GaussTerm& t, double lo, double hi, double x1) {
    const SeriesFactors& F = series_factors();
    const double S = M_SQRT2 * t.width_i;
    const double a = hi / S, b = lo / S, d = x1 / S;
    // An end whose error function stays saturated over [0, x1] (within erfc(6.8) = 1e-21) adds
    // nothing beyond the constant term.
    const bool use_a = std::fabs(a) - d < 6.8, use_b = std::fabs(b) - d < 6.8;
    // The powers the series takes: those of the table's next step at or above d.
    const int step = std::min(
        kSeriesSteps, static_cast<int>(std::ceil(d * (kSeriesSteps / GaussTerm::kSeriesReach))));
    const int K = use_a || use_b ? F.powers[step] : 0;
    // E[k] = integral of c(h) (h / x1)^k over [0, x1], over spread sqrt(pi / 2), at most 2:
    // e^(k s (k s / 2 - t1)) erfc((k s - t1) / sqrt 2), t1 = ln(x1 / centre) / s, or its scaled
    // form where erfc underflows (from there on, as the arguments grow with k). Taken here times
    // d^k, whose logarithm joins the exponent.
    const double t1 = std::log(x1 / t.centre) / t.spread;
    const double ln_d = std::log(d);
    double arg[kSeriesTermsMost] = {}, expo[kSeriesTermsMost] = {}; // set up to K
    int near = 0;                                                   // the powers below it take erfc
    for (int k = 0; k <= K; ++k) {
        const double u = k * t.spread;
        arg[k] = (u - t1) * M_SQRT1_2;
        expo[k] = u * (0.5 * u - t1) + k * ln_d;
        near += arg[k] < 26.0;
    }
    double E[kSeriesTermsMost];
    vector_erfc(arg, E, near);
    vector_exp(expo, expo, near);
    for (int k = 0; k < near; ++k)
        E[k] *= expo[k];
    if (near <= K) {
        double g = std::exp(-0.5 * t1 * t1 + near * ln_d); // e^(-t1^2 / 2) d^k
        for (int k = near; k <= K; ++k, g *= d)
            E[k] = g * scaled_erfc_far(arg[k]);
    }
    // The series: k = 0 the inner integral at h = 0, then (h / S)^k times
    // -(2 / sqrt(pi)) (q_k(a) e^(-a^2) + q_k(-b) e^(-b^2)), q_k = H_(k-1) / k!, the polynomials
    // run at a and -b side by side.
    typedef double Pair __attribute__((vector_size(16)));
    const Pair x = {use_a ? a : 0.0, use_b ? -b : 0.0};      // |q_k| stays finite
    Pair q1 = {0.0, 0.0}, q = {1.0, 1.0}, sums = {0.0, 0.0}; // q_(k-1), q_k at k = 1
    for (int k = 1; k <= K; ++k) {
        if (k > 1) {
            const Pair next = F.a[k] * x * q - F.b[k] * q1;
            q1 = q;
            q = next;
        }
        sums += q * E[k];
    }
    const double ga = use_a ? std::exp(-a * a) : 0.0;
    const double gb = use_b ? std::exp(-b * b) : 0.0;
    double sum = (std::erf(a) - std::erf(b)) * E[0];
    sum -= M_2_SQRTPI * (ga * sums[0] + gb * sums[1]);
    return t.weight * 0.5 * std::sqrt(M_PI) * S * t.spread * std::sqrt(0.5 * M_PI) * sum;
}
