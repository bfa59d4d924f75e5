// The lane vectors never cross a function boundary that the baseline build keeps: every function
// taking or returning one is inlined into a rule function, so the ABI note does not apply.
#pragma GCC diagnostic ignored "-Wpsabi"

#include "model/lorentz_lanes.h"

#include "numerics/gk_rules.h"

#include <algorithm>
#include <cmath>
#include <limits>

#if defined(__GNUC__) && defined(__x86_64__)
#include <immintrin.h>
#endif

namespace {

// Four or eight doubles, one per inner integral. +, -, * and / act lane by lane and each lane
// rounds as the scalar operation does (the build contracts nothing into fused multiply-adds), so
// a lane holds the bits the one-at-a-time code computes. The baseline build splits each
// operation into SSE2 halves, the AVX2 build does four lanes in one instruction and the AVX-512
// build eight.
typedef double Lanes4 __attribute__((vector_size(4 * sizeof(double))));
typedef long long LaneBits4 __attribute__((vector_size(4 * sizeof(double))));
typedef double Lanes8 __attribute__((vector_size(8 * sizeof(double))));
typedef long long LaneBits8 __attribute__((vector_size(8 * sizeof(double))));

// fabs of every lane: the sign bits cleared.
template <class V, class Bits> struct LaneAbs {
    V operator()(const V& v) const { return (V)((Bits)v & (Bits{} + 0x7fffffffffffffffLL)); }
};

// fabs of lanes known to hold +0 or positive numbers: the lanes themselves.
template <class V> struct NonNegativeAbs {
    const V& operator()(const V& v) const { return v; }
};

// Bit m set where lane m holds a <= b (lanes_le) or a < b (lanes_lt); clear where either is NaN.
inline unsigned lane_bits(const LaneBits4& c) {
    unsigned r = 0;
    for (int m = 0; m < 4; ++m)
        r |= static_cast<unsigned>(c[m] & 1) << m;
    return r;
}
inline unsigned lanes_le(const Lanes4& a, const Lanes4& b) {
    return lane_bits(a <= b);
}
inline unsigned lanes_lt(const Lanes4& a, const Lanes4& b) {
    return lane_bits(a < b);
}
#if defined(__GNUC__) && defined(__x86_64__)
__attribute__((target("avx512f"))) inline unsigned lanes_le(const Lanes8& a, const Lanes8& b) {
    return _mm512_cmp_pd_mask(a, b, _CMP_LE_OQ);
}
__attribute__((target("avx512f"))) inline unsigned lanes_lt(const Lanes8& a, const Lanes8& b) {
    return _mm512_cmp_pd_mask(a, b, _CMP_LT_OQ);
}
#endif

// Where the rounding-floor test below trusts its quotient-free arithmetic: every product it
// forms of three such numbers stays normal.
constexpr double kFloorTestLeast = 0x1p-300;
constexpr double kFloorTestMost = 0x1p300;

// The estimates from the lanes' complete sums s and deviation sums devsum, with the bits of
// gk_sums_finish. gk_error_estimate divides and takes a root, and with the divider still busy
// with the rule's quotients every lane would wait for it. Its usual answer for a smooth
// integrand, the rounding floor 50 eps absint, is instead established for all lanes at once with
// multiplications only; the other lanes call it. With d2 = RN(200 diff) it returns the floor when
// absint > floor_from, 0 < q = RN(d2 / devint) < 1 and B = RN(RN(RN(RN(devint q) s) c) + tiny) is
// at most the floor, s = RN(sqrt(q)), c = 1 + 2^-40. The lanes test instead, each side rounded,
//   d2 <= devint (1 - 2^-20),  d2^3 (1 + 2^-20) <= F^2 devint (1 - 2^-20),
//   F = (floor - tiny) (1 - 2^-25),  d2, devint and F in [kFloorTestLeast, kFloorTestMost],
// so that every rounding is relative, within u = 2^-53. The first gives q < 1 and q > 0; the
// second d2^1.5 / devint^0.5 < F (1 - 2^-21) < (floor - tiny) (1 - 2^-26), while the three
// products and q and s are each at most (1 + u) times exact, so the sum before B's last rounding
// is below c (1 + u)^6 (1 - 2^-26) (floor - tiny) + tiny < floor, and B <= floor. A zero diff
// (the two sums agree) skips the quotient, and the floor is the larger of it and diff.
template <class V, class Bits>
inline void lanes_estimates(const GkSums<V>& s, const V& devsum, const V& hl,
                            const LorentzLanes& ll, GkEstimate* out) {
    constexpr int W = sizeof(V) / sizeof(double);
    const LaneAbs<V, Bits> abs;
    const V ahl = abs(hl);
    const V result = s.kronrod * hl;
    const V absint = s.absint * ahl;
    const V devint = devsum * ahl;
    const V diff = abs((s.kronrod - s.gauss) * hl);
    const V floor = (50.0 * ll.eps) * absint;
    const V d2 = 200.0 * diff;
    const V f = (floor - ll.tiny) * (1.0 - 0x1p-25);
    const V least = V{} + kFloorTestLeast;
    const V most = V{} + kFloorTestMost;
    const unsigned below_floor =
        lanes_le(least, d2) & lanes_le(d2, most) & lanes_le(least, devint) &
        lanes_le(devint, most) & lanes_le(least, f) & lanes_le(f, most) &
        lanes_le(d2, devint * (1.0 - 0x1p-20)) &
        lanes_le(d2 * d2 * d2 * (1.0 + 0x1p-20), f * f * devint * (1.0 - 0x1p-20));
    const unsigned floor_lanes =
        lanes_lt(V{} + ll.floor_from, absint) & (below_floor | lanes_le(diff, V{}));
    for (int m = 0; m < W; ++m) {
        GkEstimate& o = out[m];
        o.result = result[m];
        o.absint = absint[m];
        o.devint = devint[m];
        o.aerr = (floor_lanes >> m) & 1u
                     ? floor[m]
                     : gk_error_estimate(diff[m], devint[m], absint[m], ll.eps, ll.tiny);
    }
}

// q = v / scale lane by lane, by division; numerator_over divides too.
template <class V> struct DividedQuotient {
    double scale;
    void operator()(const V& v, V& q) const { q = v / scale; }
    void numerator_over(double numerator, const V& d, V& f, bool) const { f = numerator / d; }
};

// One value of this many pairs, where a build can, divides beside the divider (see
// FusedQuotient8): the divider and the other units then finish at about the same time.
constexpr int kBesideDividerEvery = 2;

// The values and sums of one subgroup of W = sizeof(V) / sizeof(double) inner integrals, kept
// from the rule's first pass to its second.
template <int K, class V> struct LaneGroup {
    V hl;               // half-lengths (b - a) / 2
    V fmid;             // values at the centres
    V f1[GkPair<K>::n]; // values at mid - off of the p-th pair visited
    V f2[GkPair<K>::n]; // values at mid + off
    GkSums<V> sums;     // the complete sums
};

// Work that a first pass carries along, one step after its centre value and one after each pair
// of values: none, or the deviations of the subgroup before.
struct NothingBeside {
    void start() {}
    void step(int) {}
};

template <int K, class V, class Bits> struct DeviationsBeside {
    const LaneGroup<K, V>& group; // a subgroup whose first pass is complete
    GkDevint<V> devint;           // its deviation sum so far

    void start() { gk_devint_start<K>(group.sums, group.fmid, LaneAbs<V, Bits>{}, devint); }
    void step(int j) { gk_devint_add<K>(j, group.f1, group.f2, LaneAbs<V, Bits>{}, devint); }
};

// The first pass of rule pair K over the inner integrals of the W lanes, lane m at the outer node
// x[m] over [a[m], b[m]], with quotient(v, q) giving v / scale in every lane to the bit: every
// value and the sums, into g. The points, values and sums are those of gk_rule_lockstep_k,
// operation for operation, and the integrand is the one LorentzProduct describes. Its numerator is
// finite and +0 or positive, and its scale, nodes and ends are finite, so every value is +0 or
// positive (each factor 1 + t^2 is at least 1, or infinite) and the sum of magnitudes is the
// Kronrod sum itself.
template <int K, class V, class Bits, class Quotient, class Beside>
inline void first_pass(const LorentzLanes& ll, const Quotient& quotient, const double* x,
                       const double* a, const double* b, LaneGroup<K, V>& g, Beside& beside) {
    const LorentzProduct& lp = ll.lp;
    using R = GkPair<K>;
    constexpr int n = R::n;
    constexpr int W = sizeof(V) / sizeof(double);
    constexpr GkPairOrder<K> pair_index = gk_pair_order<K>();

    V lo;
    V hi;
    V outer; // the outer factor of each lane's node
    for (int m = 0; m < W; ++m) {
        lo[m] = a[m];
        hi[m] = b[m];
        outer[m] = lorentz_outer_factor(lp, x[m]);
    }
    const V mid = 0.5 * (lo + hi);
    g.hl = 0.5 * (hi - lo);
    auto value = [&](const V& y, V& f, bool beside_divider) {
        V t;
        quotient(y, t);
        t = t + lp.inner_shift;
        quotient.numerator_over(lp.numerator, outer * (1.0 + t * t), f, beside_divider);
    };

    // The sums follow the values pair by pair, so that their additions run while the divider
    // works on the next values.
    const NonNegativeAbs<V> value_abs;
    value(mid, g.fmid, false);
    gk_sums_start<K>(g.fmid, value_abs, g.sums);
    beside.start();
#pragma GCC unroll 32
    for (int p = 0; p < n; ++p) {
        const V off = g.hl * R::xk[pair_index.of[p]];
        value(mid - off, g.f1[p], false);
        value(mid + off, g.f2[p], p % kBesideDividerEvery == kBesideDividerEvery - 1);
        gk_sums_add_pair<K>(p, g.f1[p], g.f2[p], value_abs, g.sums);
        beside.step(p);
    }
}

// Rule pair K over `subgroups` consecutive subgroups of W lanes, estimate m in out[m]. The second
// pass of each subgroup (its deviations, which need the complete Kronrod sum) runs beside the
// first pass of the next, whose values wait for the divider, instead of after it with the
// divider idle.
template <int K, class V, class Bits, class Quotient>
inline void rule_subgroups(const LorentzLanes& ll, const Quotient& quotient, int subgroups,
                           const double* x, const double* a, const double* b, GkEstimate* out) {
    constexpr int W = sizeof(V) / sizeof(double);
    LaneGroup<K, V> g[2];
    NothingBeside nothing;
    first_pass<K, V, Bits>(ll, quotient, x, a, b, g[0], nothing);
    for (int s = 1; s < subgroups; ++s) {
        const LaneGroup<K, V>& done = g[(s - 1) & 1];
        DeviationsBeside<K, V, Bits> deviations{done, {}};
        first_pass<K, V, Bits>(ll, quotient, x + s * W, a + s * W, b + s * W, g[s & 1], deviations);
        lanes_estimates<V, Bits>(done.sums, deviations.devint.sum, done.hl, ll, out + (s - 1) * W);
    }
    const LaneGroup<K, V>& last = g[(subgroups - 1) & 1];
    const V devsum = gk_sums_devint<K>(last.sums, last.fmid, last.f1, last.f2, LaneAbs<V, Bits>{});
    lanes_estimates<V, Bits>(last.sums, devsum, last.hl, ll, out + (subgroups - 1) * W);
}

// The smallest and largest |scale|, and the largest |v|, for which the fused quotient's proof
// holds: no product, quotient or residual of the sequence leaves the normal range, so every
// rounding is a rounding to 53 bits. |v| must also be zero or at least 2^-900.
constexpr double kFusedScaleMin = 0x1p-100;
constexpr double kFusedScaleMax = 0x1p100;
constexpr double kFusedValueMax = 0x1p900;

// What the nodes and ends of a group allow, one bit per lane.
struct GroupChecks {
    unsigned finite;  // the node and both ends are finite
    unsigned covered; // the fused quotient divides every point of the rule on [a, b] exactly
};

// The checks of the W lanes at x, a and b. The points are mid and mid -+ RN(hl xk) with
// 0 < xk < 1; when mid and hl are each zero or at least 2^-800, every point is zero or a multiple
// of 2^-860 (far above 2^-900), and |mid| + |hl| at most 2^899 keeps every point below
// kFusedValueMax. NaN and infinities fail the tests. Tested in vectors without branches: a branch
// or a scalar comparison per lane cost more than all the tests.
template <class V, class Bits>
inline GroupChecks group_checks(const double* x, const double* a, const double* b) {
    constexpr int W = sizeof(V) / sizeof(double);
    constexpr double kLeast = 0x1p-800;
    V xv;
    V lo;
    V hi;
    for (int m = 0; m < W; ++m) {
        xv[m] = x[m];
        lo[m] = a[m];
        hi[m] = b[m];
    }
    const LaneAbs<V, Bits> abs;
    const V largest = V{} + std::numeric_limits<double>::max();
    const V least = V{} + kLeast;
    const V mid = abs(0.5 * (lo + hi));
    const V hl = abs(0.5 * (hi - lo));
    return {lanes_le(abs(xv), largest) & lanes_le(abs(lo), largest) & lanes_le(abs(hi), largest),
            (lanes_le(mid, V{}) | lanes_le(least, mid)) &
                (lanes_le(hl, V{}) | lanes_le(least, hl)) &
                lanes_le(mid + hl, V{} + 0.5 * kFusedValueMax)};
}

// The two halves' checks as one group's.
inline GroupChecks joined(const GroupChecks& low, const GroupChecks& high) {
    return {low.finite | high.finite << 4, low.covered | high.covered << 4};
}

constexpr unsigned kAllLanes = (1u << kRuleLanes) - 1;

// The checks of group g of kRuleLanes lanes.
inline GroupChecks checks_of_group(int g, const double* x, const double* a, const double* b) {
    const int m = g * kRuleLanes;
    return joined(group_checks<Lanes4, LaneBits4>(x + m, a + m, b + m),
                  group_checks<Lanes4, LaneBits4>(x + m + 4, a + m + 4, b + m + 4));
}

// The rule builds: each applies rule pair K to `groups` consecutive groups of kRuleLanes inner
// integrals whose nodes and ends are all finite (else a NaN value could arise, whose sign the
// lanes' sum of magnitudes would not clear); the fused builds also need groups the fused quotient
// covers. The baseline and AVX2 builds take a group as two subgroups of four lanes.
template <int K>
__attribute__((flatten)) void rule_baseline(const LorentzLanes& ll, int groups, const double* x,
                                            const double* a, const double* b, GkEstimate* out) {
    const DividedQuotient<Lanes4> quotient{ll.lp.scale};
    rule_subgroups<K, Lanes4, LaneBits4>(ll, quotient, 2 * groups, x, a, b, out);
}

#if defined(__GNUC__) && defined(__x86_64__)
#define GK_RULE_LANES_FUSED 1

// q = v / scale lane by lane without a division, to the bit, for |scale| and |v| within the
// bounds above: the divider delivers a quotient every cycle and a half at best, and this
// sequence of one multiplication and three fused multiply-adds runs beside it on the adders.
// With z + zl = 1/scale to about 2^-105 (inverse_of_scale),
//   q1 = RN(v z + RN(v zl)) is within 1/2 ulp plus 2^-50 ulp of v / scale: faithful;
//   q  = RN(q1 + r z), r = v - q1 scale (exact, q1 being faithful), is RN(v / scale) by
//        Markstein's theorem (z within 1/2 ulp of 1/scale, q1 within 1 ulp of the quotient).
// A zero v gives +0 whatever its sign; the integrand only squares the quotient plus its shift.
struct FusedQuotient4 {
    __m256d scale;   // the divisor in every lane
    __m256d inverse; // z in every lane
    __m256d tail;    // zl in every lane

    __attribute__((target("avx2,fma"))) void operator()(const Lanes4& v, Lanes4& q) const {
        const __m256d q1 = _mm256_fmadd_pd(v, inverse, _mm256_mul_pd(v, tail));
        const __m256d r = _mm256_fnmadd_pd(q1, scale, v);
        q = _mm256_fmadd_pd(r, inverse, q1);
    }
    void numerator_over(double numerator, const Lanes4& d, Lanes4& f, bool) const {
        f = numerator / d;
    }
};

// The same sequence on eight lanes.
struct FusedQuotient8 {
    __m512d scale;   // the divisor in every lane
    __m512d inverse; // z in every lane
    __m512d tail;    // zl in every lane

    __attribute__((target("avx512f"))) void operator()(const Lanes8& v, Lanes8& q) const {
        const __m512d q1 = _mm512_fmadd_pd(v, inverse, _mm512_mul_pd(v, tail));
        const __m512d r = _mm512_fnmadd_pd(q1, scale, v);
        q = _mm512_fmadd_pd(r, inverse, q1);
    }

    // f = numerator / d lane by lane, to the bit. beside_divider computes it on the adders: a
    // reciprocal to 14 bits refined by two Newton steps to about 2^-56, a quotient and one
    // correction, which leaves q1 within 1/2 ulp plus a hair; q1 is taken where the residual
    // numerator - q1 d (one rounding) is below d times half an ulp of q1 - then q1 is the
    // correctly rounded quotient, a quotient never lying on a midpoint - and q1 is not a power
    // of two (whose lower neighbour is closer). Other lanes, which random tests of millions of
    // quotients never met, divide. A zero, subnormal, infinite or NaN q1 fails the test.
    __attribute__((target("avx512f"))) void numerator_over(double numerator, const Lanes8& d,
                                                           Lanes8& f, bool beside_divider) const {
        const __m512d num = _mm512_set1_pd(numerator);
        if (!beside_divider) {
            f = _mm512_div_pd(num, d);
            return;
        }
        const __m512d one = _mm512_set1_pd(1.0);
        __m512d y = _mm512_maskz_rcp14_pd(0xff, d);
        __m512d e = _mm512_fnmadd_pd(d, y, one);
        y = _mm512_fmadd_pd(e, y, y);
        e = _mm512_fnmadd_pd(d, y, one);
        y = _mm512_fmadd_pd(e, y, y);
        const __m512d q0 = _mm512_mul_pd(num, y);
        const __m512d r0 = _mm512_fnmadd_pd(q0, d, num);
        const __m512d q1 = _mm512_fmadd_pd(r0, y, q0);
        const __m512d r1 = _mm512_fnmadd_pd(q1, d, num);
        const __m512i bits = _mm512_castpd_si512(q1);
        const __m512d scale_of_q1 =
            _mm512_castsi512_pd(_mm512_and_si512(bits, _mm512_set1_epi64(0x7ff0000000000000LL)));
        const __m512d bound =
            _mm512_mul_pd(_mm512_mul_pd(scale_of_q1, _mm512_set1_pd(0x1p-53)), _mm512_abs_pd(d));
        const __mmask8 ok = _mm512_cmp_pd_mask(_mm512_abs_pd(r1), bound, _CMP_LT_OQ) &
                            _mm512_test_epi64_mask(bits, _mm512_set1_epi64(0x000fffffffffffffLL));
        f = ok == 0xff ? q1 : _mm512_mask_div_pd(q1, static_cast<__mmask8>(~ok), num, d);
    }
};

// 1/scale as z + zl: z = RN(1/scale), and zl = RN((1 - scale z) z), the residual 1 - scale z being
// exact for a correctly rounded reciprocal; zl is within a few ulps of 1/scale - z.
struct InverseOfScale {
    double head; // z
    double tail; // zl
};

__attribute__((target("avx2,fma"))) InverseOfScale inverse_of_scale(double scale) {
    const double z = 1.0 / scale;
    return {z, __builtin_fma(-scale, z, 1.0) * z};
}

template <int K>
__attribute__((target("avx2,fma"), flatten)) void rule_avx2(const LorentzLanes& ll, int groups,
                                                            const double* x, const double* a,
                                                            const double* b, GkEstimate* out) {
    const FusedQuotient4 quotient{_mm256_set1_pd(ll.lp.scale), _mm256_set1_pd(ll.inverse),
                                  _mm256_set1_pd(ll.inverse_tail)};
    rule_subgroups<K, Lanes4, LaneBits4>(ll, quotient, 2 * groups, x, a, b, out);
}

template <int K>
__attribute__((target("avx512f"), flatten)) void rule_avx512(const LorentzLanes& ll, int groups,
                                                             const double* x, const double* a,
                                                             const double* b, GkEstimate* out) {
    const FusedQuotient8 quotient{_mm512_set1_pd(ll.lp.scale), _mm512_set1_pd(ll.inverse),
                                  _mm512_set1_pd(ll.inverse_tail)};
    rule_subgroups<K, Lanes8, LaneBits8>(ll, quotient, groups, x, a, b, out);
}
#endif

using RuleLanes = void (*)(const LorentzLanes&, int, const double*, const double*, const double*,
                           GkEstimate*);

// The build of rule pair K for ll (fused), or the baseline build.
template <int K> RuleLanes rule_for(const LorentzLanes& ll, bool fused) {
#ifdef GK_RULE_LANES_FUSED
    static_assert(kRuleLanes == 8, "two subgroups of four or one of eight");
    if (fused) return ll.level == kSimdAvx512 ? rule_avx512<K> : rule_avx2<K>;
#else
    (void)ll;
    (void)fused;
#endif
    return rule_baseline<K>;
}

RuleLanes rule_for(int K, const LorentzLanes& ll, bool fused) {
    switch (K) {
    case 1:
        return rule_for<1>(ll, fused);
    case 2:
        return rule_for<2>(ll, fused);
    case 3:
        return rule_for<3>(ll, fused);
    case 4:
        return rule_for<4>(ll, fused);
    case 5:
        return rule_for<5>(ll, fused);
    default:
        return rule_for<6>(ll, fused);
    }
}

// y -> the integrand at an outer node whose factor is outer, one value at a time.
struct LorentzOneAtATime {
    const LorentzProduct& lp;
    double outer; // the outer factor of the node

    double single(double y) {
        const double t = y / lp.scale + lp.inner_shift;
        return lp.numerator / (outer * (1.0 + t * t));
    }
    void values(const double* y, double* fy, int count) {
        for (int i = 0; i < count; ++i)
            fy[i] = single(y[i]);
    }
};

} // namespace

bool lorentz_lanes_apply(const LorentzProduct& lp) {
    return std::isfinite(lp.numerator) && !std::signbit(lp.numerator) && std::isfinite(lp.scale) &&
           lp.scale != 0.0;
}

LorentzLanes lorentz_lanes_prepare(const LorentzProduct& lp, double eps, double tiny) {
    LorentzLanes ll{lp, eps, tiny, tiny / (50.0 * eps), simd_level(), false, 0.0, 0.0};
#ifdef GK_RULE_LANES_FUSED
    const double s = std::fabs(lp.scale);
    if (ll.level != kSimdBaseline && s >= kFusedScaleMin && s <= kFusedScaleMax) {
        const InverseOfScale inv = inverse_of_scale(lp.scale);
        ll.fused = true;
        ll.inverse = inv.head;
        ll.inverse_tail = inv.tail;
    }
#endif
    return ll;
}

double lorentz_outer_factor(const LorentzProduct& lp, double x) {
    const double t = x / lp.scale + lp.outer_shift;
    return 1.0 + t * t;
}

void lorentz_rule_lanes(int K, const LorentzLanes& ll, int count, const double* x, const double* a,
                   const double* b, GkEstimate* out) {
    const int groups = (count + kRuleLanes - 1) / kRuleLanes;
    if (count % kRuleLanes != 0) {
        // Lanes past count repeat the first integral, and their estimates are dropped.
        double xs[kRuleLanesMost];
        double as[kRuleLanesMost];
        double bs[kRuleLanesMost];
        for (int m = 0; m < groups * kRuleLanes; ++m) {
            const int from = m < count ? m : 0;
            xs[m] = x[from];
            as[m] = a[from];
            bs[m] = b[from];
        }
        GkEstimate all[kRuleLanesMost];
        lorentz_rule_lanes(K, ll, groups * kRuleLanes, xs, as, bs, all);
        std::copy(all, all + count, out);
        return;
    }
    // Every group the chosen build takes goes to it in one call, so that the groups overlap;
    // otherwise each group goes its own way: one value at a time when a node or an end is not
    // finite, divided when the fused quotient does not cover it.
    GroupChecks checks[kRuleLanesMost / kRuleLanes];
    bool all_fast = true;
    for (int g = 0; g < groups; ++g) {
        checks[g] = checks_of_group(g, x, a, b);
        all_fast &= checks[g].finite == kAllLanes && (!ll.fused || checks[g].covered == kAllLanes);
    }
    const RuleLanes fast = rule_for(K, ll, ll.fused);
    if (all_fast) {
        fast(ll, groups, x, a, b, out);
        return;
    }
    for (int g = 0; g < groups; ++g) {
        const int m0 = g * kRuleLanes;
        if (checks[g].finite != kAllLanes) {
            for (int m = m0; m < m0 + kRuleLanes; ++m) {
                LorentzOneAtATime f{ll.lp, lorentz_outer_factor(ll.lp, x[m])};
                out[m] = gk_rule(K, f, a[m], b[m], ll.eps, ll.tiny);
            }
        } else if (ll.fused && checks[g].covered != kAllLanes) {
            rule_for(K, ll, false)(ll, 1, x + m0, a + m0, b + m0, out + m0);
        } else {
            fast(ll, 1, x + m0, a + m0, b + m0, out + m0);
        }
    }
}
