// The outer integrands of the coercive-times-interaction terms, as the kernels of
// model/outer_kernels.h.
#include "model/coercive_interaction.h"

#include <algorithm>
#include <cassert>

#include "model/outer_kernels.h"
#include "model/simd_level.h"
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
    const double faded = centre / reach();
    const double constant_end =
        lo <= -edge && hi >= edge ? std::fmin(H, std::fmin(-edge - lo, hi - edge)) : 0.0;
    const double series_end = std::fmin(H, kSeriesReach * S);
    if (series_end > constant_end && series_end > faded) {
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

// Most powers of the series: its bound at kSeriesReach scales falls below 1e-16 by the 50th.
constexpr int kSeriesTermsMost = 64;
// The series' reach in steps of the table of its powers.
constexpr int kSeriesSteps = 32;

// The Hermite recurrence's factors by power k, 2 / k and 2 (k - 2) / (k (k - 1)); the bound
// 2 (2 / sqrt(pi)) 1.0865 sqrt(2^(k-1) (k-1)!) / k! of the k-th coefficient over d^k (Cramer's
// bound on Hermite polynomials, for both ends); and the powers the series takes up to
// d = i kSeriesReach / kSeriesSteps scales: those whose bound times d^k times 2, the most of a
// moment E[k] (see series_moments), is 1e-16 or more.
namespace {

struct SeriesFactors {
    double a[kSeriesTermsMost], b[kSeriesTermsMost], bound[kSeriesTermsMost];
    int powers[kSeriesSteps + 1];
};
const SeriesFactors& series_factors() {
    static const SeriesFactors f = [] {
        SeriesFactors s{};
        s.bound[1] = 2.0 * M_2_SQRTPI * 1.0865;
        for (int k = 1; k < kSeriesTermsMost; ++k) {
            s.a[k] = 2.0 / k;
            s.b[k] = k > 1 ? 2.0 * (k - 2) / (k * (k - 1.0)) : 0.0;
            if (k > 1) s.bound[k] = s.bound[k - 1] * std::sqrt(2.0 * (k - 1)) / k;
        }
        for (int i = 0; i <= kSeriesSteps; ++i) {
            const double d = i * GaussTerm::kSeriesReach / kSeriesSteps;
            int K = 0;
            for (double dk = d; K + 1 < kSeriesTermsMost && 2.0 * s.bound[K + 1] * dk >= 1e-16;
                 dk *= d)
                ++K;
            assert(K + 1 < kSeriesTermsMost); // the bound fell below 1e-16 within the table
            s.powers[i] = K;
        }
        return s;
    }();
    return f;
}

// 1 / (x sqrt(pi)) times the asymptotic series of erfc(x) e^(x^2) in 1 / x^2, for
// x >= kErfcFar, where its first omitted term is below 1.2e-17 of it.
constexpr double kErfcFar = 20.0;
double scaled_erfc_far(double x) {
    const double r = 1.0 / (x * x);
    double sum = 0.0;
    for (int n = 7; n >= 1; --n) // the n-th term is -(2 n - 1) r / 2 times the one before
        sum = -(2 * n - 1) * 0.5 * r * (1.0 + sum);
    return (1.0 + sum) / (x * std::sqrt(M_PI));
}

// E[k] for k <= K: the integral of c(h) (h / x1)^k over [0, x1], over spread sqrt(pi / 2), at
// most 2, times d^k: e^(k s (k s / 2 - t1)) erfc((k s - t1) / sqrt 2) d^k with
// t1 = ln(x1 / centre) / s, the logarithm of d^k joining the exponent; from where erfc's argument
// reaches kErfcFar on (it grows with k), e^(-t1^2 / 2) d^k times the scaled erfc, as the
// exponent there would pass e^700.
void series_moments(const GaussTerm& t, double x1, double d, int K, double* E) {
    const double t1 = std::log(x1 / t.centre) / t.spread;
    const double ln_d = std::log(d);
    double arg[kSeriesTermsMost] = {}, expo[kSeriesTermsMost] = {}; // set up to K
    int near = 0;                                                   // the powers below it take erfc
    for (int k = 0; k <= K; ++k) {
        const double u = k * t.spread;
        // Clamped to the vector functions' fast paths: erfc is 2 below -kErfSaturated, and the
        // exponent, at most 28.3 u - u^2 / 2 < 400 where arg < kErfcFar, only underflows.
        arg[k] = std::max((u - t1) * M_SQRT1_2, -kErfSaturated);
        expo[k] = std::max(u * (0.5 * u - t1) + k * ln_d, kExpFloor);
        near += arg[k] < kErfcFar;
    }
    vector_erfc(arg, E, near);
    vector_exp(expo, expo, near);
    for (int k = 0; k < near; ++k)
        E[k] *= expo[k];
    if (near <= K) {
        double g = std::exp(-0.5 * t1 * t1 + near * ln_d); // e^(-t1^2 / 2) d^k
        for (int k = near; k <= K; ++k, g *= d)
            E[k] = g * scaled_erfc_far(arg[k]);
    }
}

// The moments of the terms whose series this thread took last. They depend on the term and x1
// only, and x1 is kSeriesReach S for every triangle more than that wide, so a curve's triangles,
// all of one density, share them: their error functions are spent once per term, not per
// triangle. The values are those series_moments gives, bit for bit. With them, the powers the
// series needs: E[k] is far below its most, 2, for a log-normal whose mass lies well below x1,
// and the last terms whose bound times E[k] falls below 5e-17 are left out.
struct KeptMoments {
    double centre, spread, width_i, x1; // the key; centre 0: unused
    int K;                              // E holds the powers up to K
    SimdLevel level;                    // the build whose vector functions gave E: bits differ
    int used;                           // the powers the series takes, at most K
    double E[kSeriesTermsMost];
};
constexpr int kKeptMoments = 4; // a mixture's two members, twice over

const KeptMoments& kept_moments(const GaussTerm& t, double x1, double d, int K) {
    thread_local KeptMoments kept[kKeptMoments];
    thread_local int next = 0;
    const SimdLevel level = simd_level();
    for (const KeptMoments& m : kept)
        if (m.centre == t.centre && m.spread == t.spread && m.width_i == t.width_i && m.x1 == x1 &&
            m.K == K && m.level == level)
            return m;
    KeptMoments& m = kept[next];
    next = (next + 1) % kKeptMoments;
    m.centre = t.centre, m.spread = t.spread, m.width_i = t.width_i, m.x1 = x1, m.K = K;
    m.level = level;
    series_moments(t, x1, d, K, m.E);
    const SeriesFactors& F = series_factors();
    int used = K;
    while (used > 0 && F.bound[used] * m.E[used] < 5e-17)
        --used;
    m.used = used;
    return m;
}

} // namespace

double gauss_series_head(const GaussTerm& t, double lo, double hi, double x1) {
    if (!(x1 > 0.0)) return 0.0; // an empty head
    const SeriesFactors& F = series_factors();
    const double S = M_SQRT2 * t.width_i;
    const double a = hi / S, b = lo / S, d = x1 / S;
    // An end whose error function stays saturated over [0, x1] (within erfc(6.8) = 1e-21) adds
    // nothing beyond the constant term.
    const bool use_a = std::fabs(a) - d < 6.8, use_b = std::fabs(b) - d < 6.8;
    // The powers the series takes: those of the table's next step at or above d.
    const int step = std::min(
        kSeriesSteps, static_cast<int>(std::ceil(d * (kSeriesSteps / GaussTerm::kSeriesReach))));
    const int K = F.powers[step];
    const KeptMoments& kept = kept_moments(t, x1, d, K);
    const double* E = kept.E;
    // The series: k = 0 the inner integral at h = 0, then (h / S)^k times
    // -(2 / sqrt(pi)) (q_k(a) e^(-a^2) + q_k(-b) e^(-b^2)), q_k = H_(k-1) / k!, the polynomials
    // run at a and -b side by side.
    using Pair = double __attribute__((vector_size(16)));
    const Pair x = {use_a ? a : 0.0, use_b ? -b : 0.0}; // |q_k| stays finite
    // The recurrence q_(k+1) = (2 / (k + 1)) x q_k - (2 (k - 1) / (k (k + 1))) q_(k-1), taken two
    // powers at a time, each from the same pair q_(k-1), q_k: the chain of dependent products
    // and differences, which bounds the loop's time, is half as long.
    const int powers = use_a || use_b ? kept.used : 0;
    Pair q1 = {0.0, 0.0}, q = {1.0, 1.0}; // q_(k-1), q_k at k = 1
    Pair odd = {0.0, 0.0}, even = {0.0, 0.0};
    if (powers >= 1) odd = q * E[1];
    int k = 1;
    for (; k + 2 <= powers; k += 2) {
        const Pair c1 = F.a[k + 1] * x, c2 = F.a[k + 2] * x;
        const Pair next = c1 * q - F.b[k + 1] * q1;
        const Pair after = (c2 * c1 - F.b[k + 2]) * q - (c2 * F.b[k + 1]) * q1;
        q1 = next;
        q = after;
        even += next * E[k + 1];
        odd += after * E[k + 2];
    }
    if (k + 1 <= powers) even += (F.a[k + 1] * x * q - F.b[k + 1] * q1) * E[k + 1];
    const Pair sums = odd + even;
    // erf(a) - erf(b) as erfc(b) - erfc(a), or where both lie below 0 as erfc(-a) - erfc(-b),
    // the difference of the smaller values; and the Gaussians at a and b, by the vector
    // functions (a pair of each), their arguments clamped to the fast paths as in the kernels.
    const bool reflected = a < 0.0;
    double v[4] = {reflected ? -a : b, reflected ? -b : a, -a * a, -b * b};
    for (int i = 0; i < 2; ++i) {
        v[i] = clamp_erfc(v[i]);
        v[i + 2] = std::max(v[i + 2], kExpFloor);
    }
    vector_erfc(v, v, 2);
    vector_exp(v + 2, v + 2, 2);
    const double ga = use_a ? v[2] : 0.0;
    const double gb = use_b ? v[3] : 0.0;
    double sum = (v[0] - v[1]) * E[0];
    sum -= M_2_SQRTPI * (ga * sums[0] + gb * sums[1]);
    return t.weight * 0.5 * std::sqrt(M_PI) * S * t.spread * std::sqrt(0.5 * M_PI) * sum;
}
