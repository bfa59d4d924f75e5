// Model files through the tool: curve --model in the file's units, fit --model returning the
// parameters of a loop made from known ones, and bad model files refused with one line.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <cairo.h>

#include "picture/loop_picture.h"
#include "tests/support/measured_data.h"
#include "tool_run.h"

namespace {

void write_text(const std::string& path, const std::string& text) {
    std::FILE* f = std::fopen(path.c_str(), "w");
    ASSERT_NE(f, nullptr) << path;
    std::fputs(text.c_str(), f);
    std::fclose(f);
}

std::string model_text(const std::string& family, const std::string& parameters, double Hs,
                       double Bs, const std::string& reversible) {
    return "{\"format\": \"hysteresis-model\", \"version\": 1, \"family\": \"" + family +
           "\", \"parameters\": {" + parameters +
           "}, \"units\": {\"H\": \"T\", \"B\": \"A m^2\"}, " + "\"Hs\": " + std::to_string(Hs) +
           ", \"Bs\": " + std::to_string(Bs) + ", \"reversible\": {" + reversible + "}}";
}

double langevin(double x) {
    return std::fabs(x) < 1e-3 ? x / 3.0 : 1.0 / std::tanh(x) - 1.0 / x;
}

// The same material in the model's own units and in a file's (Hs = 2 T, Bs = 3 A m^2, a
// reversible part): every field twice, every moment 3 (B + reversible part).
TEST(ModelFiles, CurveComputesInTheFileUnits) {
    const std::string unit = temporary_path("unit.json");
    const std::string scaled = temporary_path("scaled.json");
    const std::string p = "\"Hc0\": 0.1, \"dHc\": 0.05, \"dHu\": 0.03";
    write_text(unit, model_text("lorentz2", p, 1.0, 1.0, ""));
    write_text(scaled, model_text("lorentz2", p, 2.0, 3.0,
                                  "\"chi\": 0.2, \"amplitude\": 0.1, \"field\": 0.3"));
    const ToolRun a = run_tool({"curve", "--model", unit, "to:0.5", "to:-0.25"});
    const ToolRun b = run_tool({"curve", "--model", scaled, "to:1", "to:-0.5"});
    ASSERT_EQ(a.status, 0) << a.err;
    ASSERT_EQ(b.status, 0) << b.err;
    std::string header;
    const auto ra = csv_rows(a.out, header);
    const auto rb = csv_rows(b.out, header);
    ASSERT_EQ(ra.size(), rb.size());
    ASSERT_GT(ra.size(), 100u);
    for (size_t i = 0; i < ra.size(); ++i) {
        const double h = ra[i][0];
        EXPECT_NEAR(rb[i][0], 2.0 * h, 1e-12) << i;
        EXPECT_NEAR(rb[i][1], 3.0 * (ra[i][1] + 0.2 * h + 0.1 * langevin(h / 0.3)), 1e-9) << i;
    }
    // From negative saturation the curve starts at B = -1 in the model's units.
    EXPECT_DOUBLE_EQ(ra[0][1], -1.0);
}

// The points (H, B) of a loop made by curve --model from a family's member (parameters as JSON
// members), in a file's units (Hs 1.5 T, Bs 2 A m^2) with a reversible part: from negative
// saturation up to 1.5 T and back. Empty when the tool fails.
std::vector<std::vector<double>> made_loop(const std::string& family,
                                           const std::string& parameters) {
    const std::string truth = temporary_path("truth.json");
    write_text(truth, model_text(family, parameters, 1.5, 2.0,
                                 "\"chi\": 0.05, \"amplitude\": 0.1, \"field\": 0.2"));
    const ToolRun made =
        run_tool({"curve", "--model", truth, "--plot-width", "150", "to:1.5", "to:-1.5"});
    EXPECT_EQ(made.status, 0) << made.err;
    if (made.status != 0) return {};
    std::string header;
    return csv_rows(made.out, header);
}

// A loop made by curve --model from known parameters, with 1 % seeded noise, gives them back,
// for every family: the coercive fields within 2 %, each within three standard errors, and the
// coercive width of a one-population family within 5 % (a mixture's widths are loosely fixed by
// a loop, and their standard errors say so).
TEST(ModelFiles, FitReturnsTheParametersOfALoopMadeFromThem) {
    struct Truth {
        const char* name;
        double value;
        double bound; // largest relative deviation
    };
    struct Case {
        const char* family;
        const char* parameters;
        std::vector<Truth> truth;
    };
    const double loose = HUGE_VAL; // only the standard error bounds it
    const Case cases[] = {
        {"gauss",
         "\"Hc0\": 0.08, \"s\": 0.35, \"dHu\": 0.03",
         {{"Hc0", 0.08, 0.02}, {"s", 0.35, 0.05}}},
        {"lorentz2",
         "\"Hc0\": 0.1, \"dHc\": 0.04, \"dHu\": 0.02",
         {{"Hc0", 0.1, 0.02}, {"dHc", 0.04, 0.05}}},
        {"lorentz2-mix",
         "\"w\": 0.4, \"Hc1\": 0.05, \"dHc1\": 0.02, \"dHu1\": 0.02, \"Hc2\": 0.25, "
         "\"dHc2\": 0.08, \"dHu2\": 0.04",
         {{"Hc1", 0.05, 0.02}, {"Hc2", 0.25, 0.02}, {"dHc1", 0.02, loose}, {"dHc2", 0.08, loose}}},
        {"gauss-mix",
         "\"w\": 0.4, \"Hc1\": 0.05, \"s1\": 0.3, \"dHu1\": 0.02, \"Hc2\": 0.25, \"s2\": 0.3, "
         "\"dHu2\": 0.04",
         {{"Hc1", 0.05, 0.02}, {"Hc2", 0.25, 0.02}, {"s1", 0.3, loose}, {"s2", 0.3, loose}}},
    };
    for (const Case& c : cases) {
        const auto rows = made_loop(c.family, c.parameters);
        ASSERT_FALSE(rows.empty()) << c.family;
        std::mt19937 rng(17);
        std::normal_distribution<double> noise(0.0, 0.01 * 2.0);
        std::ostringstream loop;
        loop.precision(17);
        loop << "H,B\n";
        for (const auto& r : rows)
            loop << r[0] << "," << r[1] + noise(rng) << "\n";
        const std::string loop_path = temporary_path("noisy.csv");
        write_text(loop_path, loop.str());
        const ToolRun fit = run_tool({"fit", "--model", c.family, "--loop", loop_path});
        ASSERT_EQ(fit.status, 0) << fit.err;
        for (const auto& [name, value, bound] : c.truth) {
            const size_t at = fit.out.find(std::string("\n") + name + ",");
            ASSERT_NE(at, std::string::npos) << c.family << " " << name << "\n" << fit.out;
            double got = 0, error = 0;
            ASSERT_EQ(std::sscanf(fit.out.c_str() + at + 1 + std::string(name).size() + 1,
                                  "%lf,%lf", &got, &error),
                      2);
            EXPECT_NEAR(got / value, 1.0, bound) << c.family << " " << name;
            EXPECT_LE(std::fabs(got - value), 3.0 * error) << c.family << " " << name;
        }
    }
}

// The first figure on a "name,..." line of the tool's output; NaN when there is none.
double figure(const std::string& out, const std::string& name, int column) {
    const size_t at = ("\n" + out).find("\n" + name + ",");
    if (at == std::string::npos) return NAN;
    std::istringstream line(out.substr(at + name.size() + 1));
    std::string cell;
    for (int k = 0; k <= column; ++k)
        if (!std::getline(line, cell, ',')) return NAN;
    return std::stod(cell);
}

// A mixture on a paramagnetic rock loop (at 1 T its slope carries five times the irreversible
// moment): the reversible part's slope and curvature trade with the populations' height along a
// valley of the cost that the solver must not crawl through. The fit converges, and its
// coercive field and remanence lie within 10 % of the loop's (whose branches, 7 % apart at 1 T,
// show drift that no closed history follows).
TEST(ModelFiles, AMixtureFitsAParamagneticRockLoop) {
    const ToolRun fit = run_tool(
        {"fit", "--model", "gauss-mix", "--loop", measured_file("micromag_vsm_loop_BB-1.txt")});
    ASSERT_EQ(fit.status, 0) << fit.err;
    EXPECT_EQ(fit.err.find("without converging"), std::string::npos) << fit.err;
    EXPECT_GE(figure(fit.out, "r_squared", 0), 0.9995) << fit.out;
    for (const char* name : {"Bc", "Mr"})
        EXPECT_NEAR(figure(fit.out, name, 1) / figure(fit.out, name, 0), 1.0, 0.1) << name << "\n"
                                                                                   << fit.out;
}

// A loop made from known parameters, then distorted as instruments distort it: a moment drift
// linear in measurement order (the loop open by 5 % of Bs), or field and moment offsets. fit
// --drift or --centre removes the distortion before the fit: the coercive field comes back
// within 2 %, the fit meets the corrected loop, and what was removed is printed.
TEST(ModelFiles, FitCorrectsDriftAndOffsetsFirst) {
    struct Case {
        const char* option;
        double drift;        // added to the last point's moment, in proportion before it
        double field_offset; // added to every field
        double moment_offset;
        const char* printed; // the figure that reports the correction
        double removed;      // its value
    };
    const Case cases[] = {
        {"--drift", 0.1, 0.0, 0.0, "drift_removed", 0.1},
        {"--centre", 0.0, 0.03, 0.2, "field_offset", 0.03},
    };
    const auto rows = made_loop("lorentz2", "\"Hc0\": 0.1, \"dHc\": 0.04, \"dHu\": 0.02");
    ASSERT_FALSE(rows.empty());
    for (const Case& c : cases) {
        std::ostringstream loop;
        loop.precision(17);
        loop << "H,B\n";
        for (size_t k = 0; k < rows.size(); ++k)
            loop << rows[k][0] + c.field_offset << ","
                 << rows[k][1] + c.moment_offset +
                        c.drift * static_cast<double>(k) / static_cast<double>(rows.size() - 1)
                 << "\n";
        const std::string path = temporary_path("distorted.csv");
        write_text(path, loop.str());
        const ToolRun fit = run_tool({"fit", "--model", "lorentz2", c.option, "--loop", path});
        ASSERT_EQ(fit.status, 0) << c.option << ": " << fit.err;
        EXPECT_NEAR(figure(fit.out, "Hc0", 0), 0.1, 0.002) << c.option << "\n" << fit.out;
        EXPECT_GE(figure(fit.out, "r_squared", 0), 0.9999) << c.option << "\n" << fit.out;
        EXPECT_NEAR(figure(fit.out, c.printed, 0), c.removed, 0.02 * c.removed) << c.option << "\n"
                                                                                << fit.out;
    }
    // The limiting loop's fit has nothing to correct with.
    const ToolRun refused = run_tool({"fit", "--drift", "--loop", temporary_path("distorted.csv")});
    EXPECT_EQ(refused.status, 2);
}

// fit --picture draws the measured loop (blue dots) and the fit (a red line) over it; a name
// that is not .png or .svg, or the Lorentzian's fit, is refused with one line.
TEST(ModelFiles, FitDrawsTheMeasuredAndFittedLoops) {
    const std::string truth = temporary_path("picture_truth.json");
    write_text(truth,
               model_text("lorentz2", "\"Hc0\": 0.2, \"dHc\": 0.05, \"dHu\": 0.03", 1.0, 1.0, ""));
    const ToolRun made =
        run_tool({"curve", "--model", truth, "--plot-width", "100", "to:1", "to:-1"});
    ASSERT_EQ(made.status, 0) << made.err;
    // Points 2 % of Bs off the model either side, so that the fit's line leaves them in view.
    std::string header;
    std::ostringstream text;
    text << "H,B\n";
    int k = 0;
    for (const auto& r : csv_rows(made.out, header))
        text << r[0] << "," << r[1] + (k++ % 2 ? 0.02 : -0.02) << "\n";
    const std::string loop = temporary_path("picture_loop.csv");
    write_text(loop, text.str());
    const std::string picture = temporary_path("fit_picture.png");
    std::remove(picture.c_str());
    const ToolRun fit =
        run_tool({"fit", "--model", "lorentz2", "--loop", loop, "--picture", picture});
    ASSERT_EQ(fit.status, 0) << fit.err;
    cairo_surface_t* image = cairo_image_surface_create_from_png(picture.c_str());
    ASSERT_EQ(cairo_surface_status(image), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(cairo_image_surface_get_width(image), kLoopPictureWidth);
    EXPECT_EQ(cairo_image_surface_get_height(image), kLoopPictureHeight);
    // Pixels of the measured points' blue and of the fit's red, in the plot's two halves below
    // the legend (the fit covers most of the points it meets).
    int blue[2] = {0, 0}, red[2] = {0, 0};
    const unsigned char* data = cairo_image_surface_get_data(image);
    const int stride = cairo_image_surface_get_stride(image);
    for (int y = 120; y < kLoopPictureHeight; ++y)
        for (int x = 0; x < kLoopPictureWidth; ++x) {
            const uint32_t px = *reinterpret_cast<const uint32_t*>(data + y * stride + 4 * x);
            const int r = (px >> 16) & 255, g = (px >> 8) & 255, b = px & 255;
            const int half = x < kLoopPictureWidth / 2 ? 0 : 1;
            if (b > 150 && r < 80) ++blue[half];
            if (r > 150 && b < 80 && g < 80) ++red[half];
        }
    cairo_surface_destroy(image);
    for (int half : {0, 1}) {
        EXPECT_GT(blue[half], 50) << "measured points in half " << half;
        EXPECT_GT(red[half], 50) << "fitted line in half " << half;
    }
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"fit", "--model", "gauss", "--loop", loop, "--picture", "a.jpg"},
          std::vector<std::string>{"fit", "--loop", loop, "--picture", picture}}) {
        const ToolRun refused = run_tool(args);
        EXPECT_EQ(refused.status, 2) << args[3];
        EXPECT_EQ(std::count(refused.err.begin(), refused.err.end(), '\n'), 1) << refused.err;
    }
}

// Files that are not model files, or not ones the tool can compute with: status 2, one line
// naming the file.
TEST(ModelFiles, BadModelFilesAreRefusedWithOneLine) {
    const std::string good_p = "\"Hc0\": 0.1, \"dHc\": 0.05, \"dHu\": 0.03";
    const std::string cases[] = {
        "not json at all",
        "{\"format\": \"something else\"}",
        "{\"format\": \"hysteresis-model\", \"version\": 2}",
        model_text("lorentz9", good_p, 1, 1, ""),
        model_text("lorentz2", "\"Hc0\": 0.1, \"dHc\": 0.05", 1, 1, ""),
        model_text("lorentz2", good_p + ", \"extra\": 1", 1, 1, ""),
        model_text("lorentz2", "\"Hc0\": 0.1, \"dHc\": -0.05, \"dHu\": 0.03", 1, 1, ""),
        model_text("lorentz2", good_p, -1, 1, ""),
        model_text("lorentz2", good_p, 1, 1, "\"field\": 0"),
        model_text("lorentz2", "\"Hc0\": \"0.1\", \"dHc\": 0.05, \"dHu\": 0.03", 1, 1, ""),
        "{\"format\": \"hysteresis-model\", \"version\": 1, \"family\": \"measured\", \"Hs\": 1, "
        "\"Bs\": 1, \"grid\": {\"alpha\": [0, 1], \"beta\": [0, 1], \"values\": [1, 2, 3, 4]}}",
    };
    const std::string path = temporary_path("bad.json");
    for (const std::string& text : cases) {
        write_text(path, text);
        for (const char* command : {"curve", "forc"}) {
            std::vector<std::string> args{command, "--model", path};
            if (std::string(command) == "forc") args.insert(args.end(), {"--reversals", "3"});
            const ToolRun r = run_tool(args);
            EXPECT_EQ(r.status, 2) << text;
            EXPECT_TRUE(r.out.empty()) << text;
            EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
            EXPECT_NE(r.err.find(path), std::string::npos) << r.err;
        }
    }
}

// Loops no family can be fitted to, and unknown families: status 2, one line, nothing printed.
TEST(ModelFiles, ImpossibleLoopsAreRefusedWithOneLine) {
    std::string branch = "H,B\n";
    for (int k = 0; k < 50; ++k)
        branch += std::to_string(-1 + 0.04 * k) + "," + std::to_string(-1 + 0.04 * k) + "\n";
    const std::string one_branch = temporary_path("one_branch.csv");
    write_text(one_branch, branch);
    const std::string not_a_number = temporary_path("nan.csv");
    write_text(not_a_number, "H,B\n1,nan\n");
    const std::vector<std::vector<std::string>> cases = {
        {"fit", "--model", "gauss", "--loop", one_branch},
        {"fit", "--model", "auto", "--loop", not_a_number},
        {"fit", "--model", "lorentz9", "--loop", one_branch},
        {"fit", "--model", "gauss", "--loop", temporary_path("absent.csv")},
    };
    for (const auto& args : cases) {
        const ToolRun r = run_tool(args);
        EXPECT_EQ(r.status, 2) << args[2] << " " << args[4];
        EXPECT_TRUE(r.out.empty()) << r.out;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
}

} // namespace
