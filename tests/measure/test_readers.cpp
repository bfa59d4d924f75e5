// The readers of measured files, each on a copy of a real instrument file: what they find in it
// (points, branches, set-aside segments, units to SI) and the header values they report.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "measure/loop_analysis.h"
#include "measure/loop_assembly.h"
#include "measure/series_reader.h"
#include "tests/support/measured_data.h"

namespace {

// What one file holds.
struct FileCase {
    const char* file;        // in tests/data/measured
    const char* format;      // the recognised format
    size_t series;           // series read (specimens of a MagIC table)
    size_t points;           // raw points of the first series
    int64_t skipped;         // rows passed over (no moment, other methods)
    size_t branches;         // runs of the field in the first series
    size_t loops;            // full loops in the first series
    int64_t set_aside;       // runs in no loop
    double H0, M0;           // the first point in SI (T, A m^2)
    const char* field_unit;  // as read
    const char* moment_unit; // as read
};

void PrintTo(const FileCase& c, std::ostream* os) {
    *os << c.file;
}

class MeasuredFile : public ::testing::TestWithParam<FileCase> {};

TEST_P(MeasuredFile, LoadsRawWithItsBranchesAndSetAsideSegments) {
    const FileCase c = GetParam();
    std::vector<MeasuredSeries> series;
    int64_t skipped = 0;
    std::string error;
    ASSERT_TRUE(read_series_file(measured_file(c.file), "", series, skipped, error)) << error;
    ASSERT_EQ(series.size(), c.series);
    const MeasuredSeries& s = series[0];
    EXPECT_EQ(s.format, c.format);
    EXPECT_EQ(s.H.size(), c.points);
    EXPECT_EQ(s.M.size(), c.points);
    EXPECT_EQ(skipped, c.skipped);
    EXPECT_EQ(s.field_unit.read, c.field_unit);
    EXPECT_EQ(s.moment_unit.read, c.moment_unit);
    EXPECT_EQ(s.field_unit.reported, "T");
    EXPECT_EQ(s.moment_unit.reported, "A m^2");
    EXPECT_DOUBLE_EQ(s.H[0], c.H0);
    EXPECT_DOUBLE_EQ(s.M[0], c.M0);
    AssembledSeries a;
    assemble_series(s.H.data(), s.M.data(), static_cast<int64_t>(s.H.size()), a);
    EXPECT_EQ(a.runs.size(), c.branches);
    EXPECT_EQ(a.loops.size(), c.loops);
    EXPECT_EQ(a.set_aside_runs, c.set_aside);
}

INSTANTIATE_TEST_SUITE_P(
    Instruments, MeasuredFile,
    ::testing::Values(
        // One loop from +1 T down and back; the raw columns, not the "Adjusted" copies.
        FileCase{"micromag_vsm_loop_BB-1.txt", "MicroMag, sectioned header", 1, 1002, 0, 2, 1, 0,
                 1.000762, 4.043382e-06, "Hybrid SI (T)", "Hybrid SI (Am2)"},
        // A virgin curve, the loop, jitter at -14 T and a last half loop; two rows without a
        // moment.
        FileCase{"ppms_vsm_loop.dat", "Quantum Design VSM", 1, 4864, 2, 4, 1, 2, 159.3925e-4,
                 -0.300012917328173e-3, "Oe", "emu"},
        // Six loops and a last falling branch.
        FileCase{"mpms3_loops_mvsh1.dat", "Quantum Design MPMS3 w/ AC", 1, 7305, 0, 13, 6, 1,
                 70000.375e-4, 0.736923587e-3, "Oe", "emu"},
        // Eight specimens' loops; the backfield rows (LP-IRM-DCD) are passed over.
        FileCase{"magic25_hysteresis_table.dat", "MagIC 2.5", 8, 283, 412, 2, 1, 0, 1.196, 62.98,
                 "T", "Am2"}));

// The header's own processing and characterisation values, in SI.
TEST(MicroMagLoop, ReportsTheHeadersSlopeAndCharacterisation) {
    std::vector<MeasuredSeries> series;
    int64_t skipped = 0;
    std::string error;
    ASSERT_TRUE(
        read_series_file(measured_file("micromag_vsm_loop_BB-1.txt"), "", series, skipped, error))
        << error;
    const HeaderFigures& f = series[0].figures;
    ASSERT_TRUE(f.has_slope && f.has_Ms && f.has_Mr && f.has_Bc && f.has_S_star);
    // "Slope correction -3.472838E-06" is the correction added: the slope removed is positive.
    EXPECT_DOUBLE_EQ(f.slope, 3.472838e-06);
    EXPECT_DOUBLE_EQ(f.Ms, 588.2238e-09);
    EXPECT_DOUBLE_EQ(f.Mr, 71.81955e-09);
    EXPECT_DOUBLE_EQ(f.Bc, 16.99361e-03);
    EXPECT_DOUBLE_EQ(f.S_star, -48.22769e-03);
}

// With the header's slope the figures are the instrument software's own, within 2 %.
TEST(MicroMagLoop, HeaderSlopeReproducesTheInstrumentsCharacterisation) {
    std::vector<MeasuredSeries> series;
    int64_t skipped = 0;
    std::string error;
    ASSERT_TRUE(
        read_series_file(measured_file("micromag_vsm_loop_BB-1.txt"), "", series, skipped, error));
    const MeasuredSeries& s = series[0];
    AssembledSeries a;
    assemble_series(s.H.data(), s.M.data(), static_cast<int64_t>(s.H.size()), a);
    LoopRequest request;
    request.slope = SlopeChoice::file;
    LoopReport report;
    ASSERT_TRUE(analyse_loop(s, a, 0, request, report, error)) << error;
    EXPECT_NEAR(report.figures.Ms / s.figures.Ms, 1.0, 0.02);
    EXPECT_NEAR(report.figures.Mr / s.figures.Mr, 1.0, 0.02);
    EXPECT_NEAR(report.figures.Bc / s.figures.Bc, 1.0, 0.02);
    // Without the slope the para/diamagnetic part hides the coercive field.
    request.slope = SlopeChoice::none;
    ASSERT_TRUE(analyse_loop(s, a, 0, request, report, error));
    EXPECT_LT(report.figures.Bc, 0.6 * s.figures.Bc);
}

// ---- reversal curves ----

struct ForcCase {
    const char* file;
    const char* format;
    size_t curves;     // the header's NCrv
    int64_t points;    // NData less one calibration point a curve
    double Hcal;       // the header's HCal
    double first_Hr;   // the first curve's reversal field
    double first_Mcal; // the first calibration point's moment
};

void PrintTo(const ForcCase& c, std::ostream* os) {
    *os << c.file;
}

class MeasuredForc : public ::testing::TestWithParam<ForcCase> {};

void expect_curves(const ForcCurves& f, const ForcCase& c) {
    EXPECT_EQ(f.format, c.format);
    ASSERT_EQ(f.curves.size(), c.curves);
    EXPECT_EQ(f.points, c.points);
    EXPECT_EQ(f.set_aside, 0);
    EXPECT_DOUBLE_EQ(f.Hcal, c.Hcal);
    for (const ForcCurve& curve : f.curves) {
        EXPECT_TRUE(curve.has_calibration);
        EXPECT_NEAR(curve.Hcal, c.Hcal, 0.05 * c.Hcal);
        ASSERT_FALSE(curve.H.empty());
        EXPECT_EQ(curve.Hr, curve.H[0]);
        for (size_t k = 1; k < curve.H.size(); ++k)
            EXPECT_GT(curve.H[k], curve.H[k - 1]);
    }
    EXPECT_DOUBLE_EQ(f.curves[0].Hr, c.first_Hr);
    EXPECT_DOUBLE_EQ(f.curves[0].Mcal, c.first_Mcal);
}

TEST_P(MeasuredForc, CurvesWithTheirCalibrationPoints) {
    const ForcCase c = GetParam();
    ForcCurves f;
    std::string error;
    ASSERT_TRUE(read_forc_file(measured_file(c.file), f, error)) << error;
    expect_curves(f, c);
}

TEST_P(MeasuredForc, SameCurvesWithoutBlankLinesBetweenSegments) {
    const ForcCase c = GetParam();
    std::ifstream in(measured_file(c.file), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    // Drop the blank lines after the header (the segments' separators).
    std::string all = text.str(), packed;
    const size_t data = all.find("NData");
    packed = all.substr(0, all.find('\n', data) + 1);
    std::stringstream rest(all.substr(packed.size()));
    std::string line;
    while (std::getline(rest, line))
        if (line != "\r" && !line.empty()) packed += line + "\n";
    const std::string path = ::testing::TempDir() + "packed_" + c.file;
    std::ofstream(path, std::ios::binary) << packed;
    ForcCurves f;
    std::string error;
    ASSERT_TRUE(read_forc_file(path, f, error)) << error;
    expect_curves(f, c);
    std::remove(path.c_str());
}

INSTANTIATE_TEST_SUITE_P(
    Instruments, MeasuredForc,
    ::testing::Values(ForcCase{"micromag_agm_forc_conventional.frc", "MicroMag FORC, legacy header",
                               120, 8514 - 120, 0.2350512, 0.1182822, 7.842043e-07},
                      ForcCase{"micromag_vsm_forc_UB199BF.frc", "MicroMag FORC, legacy header", 140,
                               15644 - 140, 0.2074818, 0.06884554, 9.187522e-05}));

TEST(PlainForc, CurvesAreTheRowsOfOneReversalField) {
    const std::string path = ::testing::TempDir() + "plain_forc.csv";
    std::ofstream(path)
        << "Hr (mT),H (mT),M (emu)\n-10,-10,-1\n-10,0,0\n-10,10,1\n0,0,0.5\n0,10,1\n";
    ForcCurves f;
    std::string error;
    ASSERT_TRUE(read_forc_file(path, f, error)) << error;
    ASSERT_EQ(f.curves.size(), 2u);
    EXPECT_DOUBLE_EQ(f.curves[0].Hr, -10e-3);
    EXPECT_EQ(f.curves[0].H.size(), 3u);
    EXPECT_DOUBLE_EQ(f.curves[1].M[1], 1e-3);
    EXPECT_FALSE(f.curves[1].has_calibration);
    std::remove(path.c_str());
}

} // namespace
