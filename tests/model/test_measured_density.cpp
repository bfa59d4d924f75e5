// The measured family on a table whose Everett function is known: reversal curves of the uniform
// density on the whole Preisach triangle, tabulated in a unit of field twice the model's. Through
// a model file and back it gives the closed-form curves of every history; bad tables in a model
// file are refused with one line.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <unistd.h>

#include <nlohmann/json.hpp>

#include "model/density_measured.h"
#include "model/everett_triangle.h"
#include "model/model_file.h"
#include "model/preisach.h"
#include "model/state_sequences.h"
#include "model_fixture.h"

namespace {

// Table fields per model field.
constexpr double kUnit = 2.0;

// The reversal curves of P = 1 on -1 <= beta <= alpha <= 1 in model units, with fields in units
// of 1 / kUnit and moments in units of 3 Bs: M(Hr, H) = M_up(Hr) + (H - Hr)^2 / 2 in model units,
// quadratic along each curve, so the cubic Hermite through exact slopes reproduces it, and E
// depends on H - Hr alone, so the blend between curves is exact too.
EverettTable uniform_table() {
    EverettTable t;
    t.first.push_back(0);
    for (int k = 0; k < 8; ++k) {
        const double Hr = -1.0 + 0.25 * k; // model units
        const double up = 1.0 - (1.0 - Hr) * (1.0 - Hr) / 2.0;
        for (int j = 0; Hr + 0.125 * j <= 1.0; ++j) {
            const double H = Hr + 0.125 * j;
            t.H.push_back(kUnit * H);
            t.M.push_back(3.0 * (up + (H - Hr) * (H - Hr) / 2.0));
            t.slope.push_back(3.0 * (H - Hr) / kUnit);
        }
        t.Hr.push_back(kUnit * Hr);
        t.first.push_back(t.H.size());
    }
    return t;
}

ModelFile uniform_model() {
    ModelFile m;
    m.family = kMeasuredFamily;
    m.field_unit = "T";
    m.moment_unit = "A m2";
    m.Hs = kUnit;
    m.Bs = 3.0;
    m.everett = uniform_table();
    return m;
}

// The rising branch of the limiting loop: -1 + (H + 1)^2 / 2.
double rising(double H) {
    return -1.0 + (H + 1.0) * (H + 1.0) / 2.0;
}

TEST(MeasuredDensity, AModelFileOfAKnownTableGivesTheClosedFormCurves) {
    const std::string path = ::testing::TempDir() + "uniform_measured.json";
    std::string error;
    ASSERT_TRUE(model_file_write(uniform_model(), path, error)) << error;
    ModelFile model;
    ASSERT_TRUE(model_file_read(path, model, error)) << error;
    const EverettTable expected = uniform_table();
    EXPECT_EQ(model.everett.Hr, expected.Hr);
    EXPECT_EQ(model.everett.first, expected.first);
    EXPECT_EQ(model.everett.H, expected.H);
    EXPECT_EQ(model.everett.M, expected.M);
    EXPECT_EQ(model.everett.slope, expected.slope);
    EXPECT_EQ(model.Hs, kUnit);
    EXPECT_EQ(model.Bs, 3.0);

    Density d;
    ASSERT_TRUE(model_file_density(model, d, error)) << error;
    EXPECT_EQ(d.data, &model.everett);
    EXPECT_NEAR(density_value(d, 0.3, -0.4), 1.0, 1e-9);
    EXPECT_EQ(d.family->peak_fields(d, nullptr), 0);

    ModelState& m = opened_workspace();
    const Density start = m.density;
    m.density = d;
    compute_kmax(m);
    open_workspace_reset(m);
    // The descending half from +1 reads E(1, beta): between two curves the blend at equal
    // distance reads the higher one past its end at 1, where a measured table is saturated (its
    // closure, forc/everett_build.h) but this one is not; so that half is known only above the
    // last reversal field, 0.75.
    for (int k = 1; k <= 201; ++k) {
        const double H = m.Hmaj[k];
        if (k <= 101 || H >= 0.75) {
            EXPECT_NEAR(m.Bmaj[k], k <= 101 ? rising(H) : -rising(-H), 1e-12) << "entry " << k;
        }
    }
    // Up to 0.3, down to -0.2, up to 0.1 (a minor loop), then up past 0.3: the reversal pair is
    // wiped out and the curve is back on the limiting loop.
    const struct {
        double Hn;
        double B;
    } steps[] = {
        {0.3, rising(0.3)},
        {-0.2, rising(0.3) - 0.5 * 0.5 / 2.0},
        {0.1, rising(0.3) - 0.5 * 0.5 / 2.0 + 0.3 * 0.3 / 2.0},
        {0.5, rising(0.5)},
        {1.0, 1.0},
    };
    for (const auto& s : steps) {
        right_click(m, s.Hn);
        EXPECT_NEAR(m.Bcur, s.B, 1e-12) << "after the move to " << s.Hn;
    }
    m.density = start;
}

// A whole-triangle look-up is all the family answers; a piece of a triangle is refused with NaN,
// and so is any triangle of a density without its table.
TEST(MeasuredDensity, PiecesOtherThanWholeTrianglesAreRefused) {
    const EverettTable table = uniform_table();
    Density d = measured_density(&table, kUnit);
    density_normalise(d, 1.0);
    EXPECT_NEAR(d.family->piece(d, TriangleForm::ascending, -0.5, 0.5, {false, -0.5, true, 0.0}),
                0.5, 1e-12);
    EXPECT_NEAR(d.family->piece(d, TriangleForm::descending, -0.5, 0.5, {true, 0.0, false, 0.5}),
                0.5, 1e-12);
    EXPECT_TRUE(
        std::isnan(d.family->piece(d, TriangleForm::ascending, -0.5, 0.5, {false, -0.9, true, 0})));
    EXPECT_TRUE(std::isnan(
        d.family->piece(d, TriangleForm::descending, -0.5, 0.5, {false, -0.5, false, 0.5})));
    d.data = nullptr;
    EXPECT_TRUE(
        std::isnan(d.family->piece(d, TriangleForm::ascending, -0.5, 0.5, {false, -0.5, true, 0})));
}

using Json = nlohmann::json;

struct BadTable {
    const char* what;                 // the fault
    std::function<void(Json&)> spoil; // puts it into the written file
};

void PrintTo(const BadTable& b, std::ostream* os) {
    *os << b.what;
}

class MeasuredModelFile : public ::testing::TestWithParam<BadTable> {};

TEST_P(MeasuredModelFile, ABadTableIsRefusedWithOneLine) {
    // Each fault runs as a test of its own, possibly beside another: a file of its own.
    const std::string path =
        ::testing::TempDir() + "bad_measured_" + std::to_string(::getpid()) + ".json";
    std::string error;
    ASSERT_TRUE(model_file_write(uniform_model(), path, error)) << error;
    Json j;
    {
        std::ifstream in(path);
        in >> j;
    }
    GetParam().spoil(j["everett"]);
    {
        std::ofstream out(path);
        out << j.dump(1);
    }
    ModelFile model;
    EXPECT_FALSE(model_file_read(path, model, error));
    EXPECT_NE(error.find(path), std::string::npos) << error;
    EXPECT_EQ(error.find('\n'), std::string::npos) << error;
    std::printf("%s: %s\n", GetParam().what, error.c_str());
}

INSTANTIATE_TEST_SUITE_P(
    Faults, MeasuredModelFile,
    ::testing::Values(
        BadTable{"node counts that do not add up", [](Json& e) { e["nodes"][0] = 3; }},
        BadTable{"a node count that is not whole", [](Json& e) { e["nodes"][0] = 16.5; }},
        BadTable{"reversal fields out of order",
                 [](Json& e) { std::swap(e["Hr"][0], e["Hr"][1]); }},
        BadTable{"fields out of order within a curve",
                 [](Json& e) { std::swap(e["H"][2], e["H"][3]); }},
        BadTable{"a curve of one node",
                 [](Json& e) {
                     const int n0 = e["nodes"][0];
                     e["nodes"][0] = 1;
                     e["nodes"][1] = e["nodes"][1].get<int>() + n0 - 1;
                 }},
        BadTable{"a moment that is not a number", [](Json& e) { e["M"][4] = "x"; }},
        BadTable{"a slope list too short", [](Json& e) { e["slope"].erase(0); }},
        BadTable{"one curve only",
                 [](Json& e) {
                     const int n0 = e["nodes"][0];
                     e["Hr"] = Json::array({e["Hr"][0]});
                     e["nodes"] = Json::array({n0});
                     for (const char* key : {"H", "M", "slope"})
                         e[key].erase(e[key].begin() + n0, e[key].end());
                 }},
        BadTable{"no table", [](Json& e) { e = Json::object(); }},
        BadTable{"an unknown key", [](Json& e) { e["grid"] = 1; }}));

} // namespace
