// The closed-form-inner density families against an independent, slow integration of their
// values over the triangles in the switching fields themselves.
#include <gtest/gtest.h>

#include <boost/math/quadrature/gauss.hpp>
#include <boost/math/quadrature/gauss_kronrod.hpp>

#include <algorithm>
#include <cmath>
#include <string>
#include <thread>
#include <vector>

#include "model/density_families.h"
#include "model/density_terms.h"
#include "model/everett_triangle.h"
#include "model/simd_level.h"

namespace {

using Rule = boost::math::quadrature::gauss_kronrod<double, 61>;

// The integral of f over [lo, hi] cut at the given fields and at distances width / 4 * 4^k from
// each: every piece is at most three times as long as its distance from the nearest feature, so
// one 61-point rule application integrates it to rounding.
template <class F>
double cut_integral(const F& f, double lo, double hi, const std::vector<double>& features,
                    double width) {
    std::vector<double> cuts{lo, hi};
    for (const double c : features)
        for (double dist = 0.0; dist <= hi - lo; dist = dist == 0.0 ? width / 4 : 4 * dist)
            for (const double x : {c - dist, c + dist})
                if (lo < x && x < hi) cuts.push_back(x);
    std::sort(cuts.begin(), cuts.end());
    double sum = 0;
    for (size_t i = 0; i + 1 < cuts.size(); ++i)
        sum += Rule::integrate(f, cuts[i], cuts[i + 1], 0);
    return sum;
}

// The integral of d's value over lo <= beta <= alpha <= hi (mirror = false) or
// lo <= alpha <= beta <= hi (mirror = true): beta inside, cut where the coercive peaks
// (alpha - beta = 2 Hc) and the interaction peak (beta = -alpha) cross it; alpha outside, cut
// where those lines meet the triangle's edges and each other. width: the narrowest feature.
double reference(const Density& d, double lo, double hi, bool mirror,
                 const std::vector<double>& coercive_peaks, double width) {
    auto outer = [&](double alpha) {
        auto inner = [&](double beta) { return density_value(d, alpha, beta); };
        std::vector<double> cuts{-alpha};
        for (const double c : coercive_peaks)
            cuts.push_back(alpha + (mirror ? 2 : -2) * c);
        return mirror ? cut_integral(inner, alpha, hi, cuts, width)
                      : cut_integral(inner, lo, alpha, cuts, width);
    };
    std::vector<double> cuts{-lo, -hi, 0.0};
    for (const double c : coercive_peaks)
        for (const double s : {-1.0, 1.0}) {
            cuts.push_back(lo + s * 2 * c);
            cuts.push_back(hi + s * 2 * c);
            cuts.push_back(s * c);
        }
    return cut_integral(outer, lo, hi, cuts, width);
}

struct Member {
    const char* family;
    std::vector<double> parameters;
    std::vector<double> coercive_peaks; // fields where the coercive factor peaks, for the cuts
    double width;                       // the narrowest peak's width
};

Density density_of(const Member& m) {
    Density d{find_density_family(m.family), {}, 1.0, nullptr};
    for (size_t i = 0; i < m.parameters.size(); ++i)
        d.parameter[i] = m.parameters[i];
    density_normalise(d, 1.0);
    return d;
}

const Member kMembers[] = {
    {"lorentz2", {0.3, 0.1, 0.05}, {0.3}, 0.05},
    {"lorentz2", {0.02, 0.01, 0.005}, {0.02}, 0.005},
    {"lorentz2", {0.0, 0.2, 0.3}, {0.0}, 0.2},
    {"gauss", {0.2, 0.4, 0.05}, {0.2}, 0.05},
    {"gauss", {0.015, 0.3, 0.004}, {0.015}, 0.004},
    {"gauss", {0.5, 1.0, 0.2}, {0.5}, 0.2},
    {"lorentz2-mix", {0.3, 0.03, 0.01, 0.01, 0.4, 0.1, 0.05}, {0.03, 0.4}, 0.01},
    {"gauss-mix", {0.6, 0.02, 0.3, 0.01, 0.3, 0.5, 0.05}, {0.02, 0.3}, 0.005},
};

// Triangles between a and b: inside the saturation fields, through a peak, mirrored, far out.
const double kTriangles[][2] = {{-1.0, 1.0}, {-1.0, 0.31}, {0.4, -0.25}, {-0.03, 0.05},
                                {0.2, 0.9},  {0.9, 0.2},   {-3.0, 2.0},  {0.0, 1e-3}};

// Every family's triangle integrals, normalisation included, within 1e-12 of the reference,
// both forms of integration alike.
TEST(DensityFamilies, TrianglesMeetAnIndependentIntegration) {
    for (const Member& m : kMembers) {
        ASSERT_NE(find_density_family(m.family), nullptr) << m.family;
        const Density d = density_of(m);
        ASSERT_TRUE(std::isfinite(d.norm) && d.norm > 0) << m.family;
        for (const auto& t : kTriangles) {
            const double a = t[0];
            const double b = t[1];
            const double exact =
                (reference(d, std::min(a, b), std::max(a, b), b < a, m.coercive_peaks, m.width));
            const double up = everett_triangle(d, TriangleForm::ascending, a, b);
            const double down = everett_triangle(d, TriangleForm::descending, a, b);
            EXPECT_NEAR(up, exact, 1e-12)
                << m.family << " " << m.parameters[0] << " " << a << " -> " << b;
            EXPECT_EQ(up, down) << m.family << " " << a << " -> " << b;
        }
    }
}

// The log-normal family from a narrow to a very broad spread (the members fitted to real loops
// reach s = 2.3, whose coercive fields span 17 decades), and with an interaction field broader
// than most coercive fields (a population fitted to a rock's loop), against its triangles
// integrated in ln h, where the coercive factor is a plain Gaussian: fine pieces of a 20-point
// rule, cut densely where the inner range's ends cross the interaction peak.
TEST(DensityFamilies, LogNormalTrianglesMeetAnIntegrationInLnH) {
    using Gauss20 = boost::math::quadrature::gauss<double, 20>;
    const double members[][3] = {{0.06, 0.01, 0.02},
                                 {0.05, 0.4, 0.002},
                                 {0.016, 2.3, 0.05},
                                 {0.1, 3.0, 0.4},
                                 {0.0245, 0.83, 0.184}};
    // Wide triangles, and narrow ones whose whole outer range lies near h = 0 (the inner
    // integral's series about h = 0 takes them): at the peak, beside it and off it.
    const double triangles[][2] = {{-1.0, 1.0},  {-1.0, 0.02},    {-1.0, 0.3},     {0.05, 0.6},
                                   {-1.0, 0.45}, {-0.002, 0.002}, {-0.01, -0.009}, {0.3, 0.302}};
    for (const auto& p : members) {
        Density d{find_density_family("gauss"), {p[0], p[1], p[2]}, 1.0, nullptr};
        const double S = M_SQRT2 * p[2];
        for (const auto& t : triangles) {
            const double lo = t[0], hi = t[1], H = 0.5 * (hi - lo);
            const auto f = [&](double v) {
                const double h = std::exp(v);
                const double z = (v - std::log(p[0])) / p[1];
                return std::exp(-0.5 * z * z) * std::sqrt(M_PI) * S *
                       (std::erf((hi - h) / S) - std::erf((lo + h) / S));
            };
            const double v0 = std::log(p[0]) - 9.0 * p[1], v1 = std::log(H);
            std::vector<double> cuts;
            const int n = static_cast<int>((v1 - v0) / std::min(p[1] / 4.0, 0.02)) + 1;
            for (int k = 0; k <= n; ++k)
                cuts.push_back(v0 + (v1 - v0) * k / n);
            for (const double c : {hi, -lo})
                for (double dist = S / 16; dist < 4.0; dist *= 1.5)
                    for (const double x : {c - dist, c + dist})
                        if (x > 0 && v0 < std::log(x) && std::log(x) < v1)
                            cuts.push_back(std::log(x));
            std::sort(cuts.begin(), cuts.end());
            double exact = 0.0;
            for (size_t k = 0; k + 1 < cuts.size(); ++k)
                exact += Gauss20::integrate(f, cuts[k], cuts[k + 1]);
            // In units of the density's mass, as B is.
            const double mass = gauss_term_mass(gauss_term(p));
            const double got = everett_triangle(d, TriangleForm::ascending, lo, hi);
            EXPECT_NEAR(got / mass, exact / mass, 1e-12) << "s " << p[1] << " " << lo << " " << hi;
        }
    }
}

// Densities that differ in one parameter each, their triangles taken in turn on one thread (which
// keeps what a density's triangles share), give the bits each gives on a thread of its own: wide
// triangles and narrow ones of nearly the same width, densities of nearly the same interaction
// width, and one density again after four others. Each value alone is taken on a thread of its
// own.
TEST(DensityFamilies, TrianglesOfDensitiesInTurnAreThoseOfEachAlone) {
    const double members[][3] = {{0.02, 0.8, 0.1}, {0.02, 0.8, 0.103}, {0.03, 0.8, 0.1},
                                 {0.02, 0.9, 0.1}, {0.2, 0.5, 0.05},   {0.02, 0.8, 0.1}};
    const double triangles[][2] = {{-1.0, 0.3}, {-0.05, 0.05}, {-0.05, 0.051}};
    double alone[6][3];
    for (int m = 0; m < 6; ++m)
        for (int k = 0; k < 3; ++k)
            std::thread([&] {
                const Density d{find_density_family("gauss"),
                                {members[m][0], members[m][1], members[m][2]},
                                1.0,
                                nullptr};
                alone[m][k] =
                    everett_triangle(d, TriangleForm::ascending, triangles[k][0], triangles[k][1]);
            }).join();
    // Each density's triangles in turn, then each triangle's densities in turn.
    for (int i = 0; i < 2 * 6 * 3; ++i) {
        const int m = i < 18 ? i / 3 : i % 6;
        const int k = i < 18 ? i % 3 : (i - 18) / 6;
        const Density d{find_density_family("gauss"),
                        {members[m][0], members[m][1], members[m][2]},
                        1.0,
                        nullptr};
        EXPECT_EQ(everett_triangle(d, TriangleForm::ascending, triangles[k][0], triangles[k][1]),
                  alone[m][k])
            << "member " << m << ", triangle " << k << ", step " << i;
    }
    // The same density under each vector build in turn: each build's own bits, not those kept
    // from the build before.
    const Density d{find_density_family("gauss"), {0.45, 2.07, 0.13}, 1.0, nullptr};
    const auto triangle = [&d] {
        return everett_triangle(d, TriangleForm::ascending, -0.37, 0.46);
    };
    const SimdLevel in_use = simd_level();
    for (const SimdLevel level : {kSimdBaseline, kSimdAvx2, kSimdAvx512, kSimdBaseline}) {
        if (!set_simd_level(level)) continue;
        double own = 0.0;
        std::thread([&] { own = triangle(); }).join();
        EXPECT_EQ(triangle(), own) << "level " << level;
    }
    set_simd_level(in_use);
}

// A mixture with all the weight on one member is that member, value for value.
TEST(DensityFamilies, AMixtureOfWeightOneIsItsFirstMember) {
    const Member pairs[][2] = {
        {{"lorentz2-mix", {1.0, 0.1, 0.05, 0.02, 0.5, 0.2, 0.1}, {}, 0},
         {"lorentz2", {0.1, 0.05, 0.02}, {}, 0}},
        {{"gauss-mix", {0.0, 0.5, 0.2, 0.1, 0.1, 0.3, 0.02}, {}, 0},
         {"gauss", {0.1, 0.3, 0.02}, {}, 0}},
    };
    for (const auto& pair : pairs) {
        const Density mix = density_of(pair[0]);
        const Density one = density_of(pair[1]);
        for (const double alpha : {-0.2, 0.05, 0.3})
            for (const double beta : {-0.5, -0.3, -0.25})
                EXPECT_NEAR(density_value(mix, alpha, beta) / density_value(one, alpha, beta), 1.0,
                            1e-12)
                    << pair[0].family << " at " << alpha << ", " << beta;
    }
}

// Each family refuses parameters outside its range with words naming the parameter.
TEST(DensityFamilies, OutOfRangeParametersAreRefused) {
    struct Case {
        const char* family;
        std::vector<double> parameters;
        const char* word; // part of the refusal, or null when accepted
    };
    const Case cases[] = {
        {"lorentz", {0.4}, nullptr},
        {"lorentz", {0.0005}, "0.001"},
        {"lorentz2", {0.1, 0.05, 0.02}, nullptr},
        {"lorentz2", {0.1, 0.0, 0.02}, "dHc"},
        {"lorentz2", {0.1, 0.05, NAN}, "dHu"},
        {"gauss", {-0.1, 0.3, 0.02}, "Hc0"},
        {"gauss", {0.1, 5.0, 0.02}, "s"},
        {"gauss-mix", {1.5, 0.1, 0.3, 0.02, 0.2, 0.3, 0.02}, "w"},
        {"lorentz2-mix", {0.5, 0.1, 0.05, 0.02, 0.2, 0.05, -1.0}, "dHu"},
    };
    for (const Case& c : cases) {
        const DensityFamily* f = find_density_family(c.family);
        ASSERT_NE(f, nullptr) << c.family;
        ASSERT_EQ(static_cast<int>(c.parameters.size()), f->parameter_count) << c.family;
        const char* why = f->check(c.parameters.data());
        if (!c.word)
            EXPECT_EQ(why, nullptr) << c.family << ": " << why;
        else
            EXPECT_NE(why ? std::string(why).find(c.word) : std::string::npos, std::string::npos)
                << c.family << " " << c.word;
    }
}

} // namespace
