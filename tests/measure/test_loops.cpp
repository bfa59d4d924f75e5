// Loop assembly, corrections and figures on synthetic loops whose true values are known: the
// tolerance of real measurements (plateaus, jitter, a virgin curve, extra half loops) and each
// correction recovering what was added.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "measure/loop_analysis.h"
#include "measure/loop_assembly.h"
#include "measure/loop_corrections.h"
#include "measure/loop_figures.h"

namespace {

// A loop with coercive field Bc and saturation moment Ms: the falling branch
// Ms tanh((H + Bc) / w), the rising one Ms tanh((H - Bc) / w).
struct Shape {
    double Ms = 2e-6;
    double Bc = 0.02;
    double w = 0.05;
    double chi = 0.0;   // slope added
    double alpha = 0.0; // approach-to-saturation term alpha |H|^-2 added (odd in H)
};

double branch(const Shape& s, double H, int direction) {
    const double m = s.Ms * std::tanh((H - direction * s.Bc) / s.w);
    // The approach term where the fit looks (|H| >= 0.5), fading towards the origin.
    const double a = std::fabs(H);
    const double approach = (a >= 0.5 ? s.alpha / (a * a) : s.alpha / 0.25 * std::pow(a / 0.5, 3)) *
                            (H > 0.0 ? 1.0 : -1.0);
    return m + s.chi * H + approach;
}

// Points from H_from to H_to (n steps) on the branch of the direction of travel.
void sweep(const Shape& s, double H_from, double H_to, int n, std::vector<double>& H,
           std::vector<double>& M) {
    const int direction = H_to > H_from ? 1 : -1;
    for (int k = 0; k <= n; ++k) {
        if (k == 0 && !H.empty()) continue; // the turning point once
        const double h = H_from + (H_to - H_from) * k / n;
        H.push_back(h);
        M.push_back(branch(s, h, direction));
    }
}

TEST(Assembly, PlateausJitterVirginCurveAndHalfLoopsAreSetAside) {
    const Shape s;
    std::vector<double> H, M;
    sweep(s, 0.0, 1.0, 100, H, M); // virgin curve (stands in)
    // A plateau of three repeated fields at the top turning point.
    H.push_back(1.0);
    M.push_back(M.back() * 1.001);
    H.push_back(1.0);
    M.push_back(M.back());
    sweep(s, 1.0, -1.0, 200, H, M);
    // Jitter at the bottom: the field steps back a little, then on down past the turn.
    H.push_back(-0.995);
    M.push_back(M.back());
    H.push_back(-1.002);
    M.push_back(M.back());
    sweep(s, -1.0, 1.0, 200, H, M);
    sweep(s, 1.0, 0.3, 70, H, M); // an extra half loop
    AssembledSeries a;
    assemble_series(H.data(), M.data(), static_cast<int64_t>(H.size()), a);
    EXPECT_EQ(a.merged_points, 2);
    EXPECT_EQ(a.jitter_turns, 1);
    ASSERT_EQ(a.runs.size(), 4u);
    ASSERT_EQ(a.loops.size(), 1u);
    EXPECT_EQ(a.loops[0].first_run, 1);
    EXPECT_EQ(a.set_aside_runs, 2);
    EXPECT_EQ(a.set_aside_points, 100 + 70);
    // The loop's figures are those of the shape.
    MeasuredSeries series;
    LoopReport r;
    std::string reason;
    ASSERT_TRUE(analyse_loop(series, a, 0, LoopRequest{}, r, reason)) << reason;
    EXPECT_NEAR(r.figures.Bc, s.Bc, 1e-4);
    EXPECT_NEAR(r.figures.Mr, s.Ms * std::tanh(s.Bc / s.w), 1e-9);
}

TEST(Assembly, OneBranchIsNoLoop) {
    const Shape s;
    std::vector<double> H, M;
    sweep(s, -1.0, 1.0, 50, H, M);
    AssembledSeries a;
    assemble_series(H.data(), M.data(), static_cast<int64_t>(H.size()), a);
    LoopReport r;
    std::string reason;
    EXPECT_FALSE(analyse_loop(MeasuredSeries{}, a, 0, LoopRequest{}, r, reason));
    EXPECT_NE(reason.find("one branch"), std::string::npos) << reason;
}

std::vector<double> loop_H, loop_M;

void make_loop(const Shape& s, int n = 400) {
    loop_H.clear();
    loop_M.clear();
    sweep(s, 1.0, -1.0, n, loop_H, loop_M);
    sweep(s, -1.0, 1.0, n, loop_H, loop_M);
}

LoopReport analyse(const LoopRequest& request, MeasuredSeries series = MeasuredSeries{}) {
    AssembledSeries a;
    assemble_series(loop_H.data(), loop_M.data(), static_cast<int64_t>(loop_H.size()), a);
    LoopReport r;
    std::string reason;
    EXPECT_TRUE(analyse_loop(series, a, 0, request, r, reason)) << reason;
    return r;
}

struct SlopeCase {
    const char* name;
    double chi;           // slope added
    double alpha;         // approach term added
    SlopeSource expected; // the form the fit chooses
    double tolerance;     // relative, on chi
};

void PrintTo(const SlopeCase& c, std::ostream* os) {
    *os << c.name;
}

class Slope : public ::testing::TestWithParam<SlopeCase> {};

TEST_P(Slope, AutomaticFitRecoversTheSlopeAndTheFigures) {
    const SlopeCase c = GetParam();
    Shape s;
    s.w = 0.02;
    s.chi = c.chi;
    s.alpha = c.alpha;
    make_loop(s);
    LoopRequest request;
    request.slope = SlopeChoice::automatic;
    const LoopReport r = analyse(request);
    EXPECT_EQ(r.slope.source, c.expected);
    EXPECT_NEAR(r.slope.chi, c.chi, c.tolerance * std::fabs(c.chi));
    EXPECT_NEAR(r.figures.Ms, s.Ms, 0.02 * s.Ms);
    EXPECT_NEAR(r.figures.Bc, s.Bc, 0.02 * s.Bc);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, Slope,
    ::testing::Values(SlopeCase{"paramagnetic", 5e-6, 0.0, SlopeSource::linear, 1e-6},
                      SlopeCase{"diamagnetic", -3e-6, 0.0, SlopeSource::linear, 1e-6},
                      SlopeCase{"approach_to_saturation", 2e-6, -1e-7, SlopeSource::saturation,
                                0.02}));

TEST(Slope, TooFewHighFieldPointsIsRefused) {
    make_loop(Shape{}, 6);
    AssembledSeries a;
    assemble_series(loop_H.data(), loop_M.data(), static_cast<int64_t>(loop_H.size()), a);
    LoopRequest request;
    request.slope = SlopeChoice::automatic;
    LoopReport r;
    std::string reason;
    EXPECT_FALSE(analyse_loop(MeasuredSeries{}, a, 0, request, r, reason));
    EXPECT_NE(reason.find("too few points"), std::string::npos) << reason;
}

TEST(Slope, FileAndGivenSlopesAreRemovedAsStated) {
    Shape s;
    s.chi = 4e-6;
    make_loop(s);
    MeasuredSeries series;
    series.figures.has_slope = true;
    series.figures.slope = 4e-6;
    LoopRequest request;
    request.slope = SlopeChoice::file;
    EXPECT_EQ(analyse(request, series).slope.source, SlopeSource::header);
    EXPECT_NEAR(analyse(request, series).figures.Ms, s.Ms, 0.01 * s.Ms);
    request.slope = SlopeChoice::value;
    request.slope_value = 4e-6;
    EXPECT_NEAR(analyse(request).figures.Bc, s.Bc, 0.01 * s.Bc);
    // No slope in the header: refused.
    request.slope = SlopeChoice::file;
    AssembledSeries a;
    assemble_series(loop_H.data(), loop_M.data(), static_cast<int64_t>(loop_H.size()), a);
    LoopReport r;
    std::string reason;
    EXPECT_FALSE(analyse_loop(MeasuredSeries{}, a, 0, request, r, reason));
}

TEST(Drift, RemovedDriftClosesTheLoopAndRestoresItsFigures) {
    const Shape s;
    make_loop(s);
    const LoopReport clean = analyse(LoopRequest{});
    const double gap = 0.05 * s.Ms;
    for (size_t k = 0; k < loop_M.size(); ++k)
        loop_M[k] += gap * static_cast<double>(k) / static_cast<double>(loop_M.size() - 1);
    LoopRequest request;
    const LoopReport drifting = analyse(request);
    EXPECT_NEAR(drifting.closure_gap, gap, 1e-15);
    request.drift = true;
    const LoopReport corrected = analyse(request);
    EXPECT_TRUE(corrected.drift_removed);
    EXPECT_NEAR(corrected.drift, gap, 1e-15);
    EXPECT_NEAR(corrected.figures.Mr, clean.figures.Mr, 1e-12);
    EXPECT_NEAR(corrected.figures.area, clean.figures.area, 1e-6 * clean.figures.area);
    // The reported gap is the measurement's, before the correction.
    EXPECT_NEAR(corrected.figures.closure_gap, gap, 1e-15);
}

TEST(Centring, OffsetsAreFoundAndRemoved) {
    const Shape s;
    make_loop(s);
    const LoopReport clean = analyse(LoopRequest{});
    for (size_t k = 0; k < loop_H.size(); ++k) {
        loop_H[k] += 0.004;
        loop_M[k] += 1e-7;
    }
    LoopRequest request;
    request.centre = true;
    const LoopReport r = analyse(request);
    // Within what linear interpolation between points (steps of 0.005) allows.
    EXPECT_NEAR(r.offsets.H_offset, 0.004, 2e-4);
    EXPECT_NEAR(r.offsets.M_offset, 1e-7, 5e-9);
    EXPECT_NEAR(r.figures.Bc_ascending, -r.figures.Bc_descending, 1e-12);
    EXPECT_NEAR(r.figures.Mr_ascending, -r.figures.Mr_descending, 1e-18);
    EXPECT_NEAR(r.figures.Bc, clean.figures.Bc, 2e-4);
}

TEST(Figures, AreaAndShapeOfALoopWithKnownArea) {
    // A parallelogram-like loop: branches M = Ms tanh((H -+ Bc)/w) with small w is nearly a
    // rectangle of width 2 Bc and height 2 Ms: area 4 Ms Bc, shape ln(1) = 0.
    Shape s;
    s.w = 1e-4;
    make_loop(s, 20000);
    const LoopReport r = analyse(LoopRequest{});
    EXPECT_NEAR(r.figures.area, 4.0 * s.Ms * s.Bc, 1e-3 * 4.0 * s.Ms * s.Bc);
    EXPECT_NEAR(r.figures.shape, 0.0, 2e-3);
    EXPECT_NEAR(r.figures.Mr_Ms, 1.0, 1e-3);
}

TEST(Figures, HugeMomentsGiveFiniteFiguresOrARefusal) {
    Shape s;
    s.Ms = 1e300;
    make_loop(s);
    const LoopReport r = analyse(LoopRequest{});
    EXPECT_TRUE(std::isfinite(r.figures.Ms));
    EXPECT_NEAR(r.figures.Bc, 0.02, 1e-4);
    EXPECT_NEAR(r.figures.Mr_Ms, std::tanh(0.02 / 0.05), 1e-3);
    // The area (1e300 T A m^2 and more) would overflow: refused, not printed as inf.
    s.Ms = 1.7e308;
    make_loop(s);
    AssembledSeries a;
    assemble_series(loop_H.data(), loop_M.data(), static_cast<int64_t>(loop_H.size()), a);
    LoopReport big;
    std::string reason;
    if (analyse_loop(MeasuredSeries{}, a, 0, LoopRequest{}, big, reason)) {
        EXPECT_TRUE(std::isfinite(big.figures.Ms) && std::isfinite(big.figures.area));
    } else {
        EXPECT_NE(reason.find("not finite"), std::string::npos) << reason;
    }
}

} // namespace
