// The batch tool, run as a program: its output against the reference curves and its exits.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/batch/tool_run.h"
#include "tests/support/reference_data.h"

namespace {

std::string reference_path(const std::string& name) {
    return reference_file(name);
}

void expect_same_curve(const std::string& output, const std::string& reference_file) {
    const std::string ref_text = read_file(reference_path(reference_file));
    ASSERT_FALSE(ref_text.empty()) << "cannot read " << reference_file;
    std::string header, ref_header;
    const auto rows = csv_rows(output, header);
    const auto ref = csv_rows(ref_text, ref_header);
    EXPECT_EQ(header, "H,B");
    EXPECT_EQ(header, ref_header);
    ASSERT_EQ(rows.size(), ref.size()) << reference_file;
    for (size_t i = 0; i < rows.size(); ++i) {
        ASSERT_EQ(rows[i].size(), 2u) << i;
        for (int j = 0; j < 2; ++j) {
            const double scale = std::fmax(1.0, std::fabs(ref[i][j]));
            ASSERT_LE(std::fabs(rows[i][j] - ref[i][j]) / scale, 1e-13)
                << reference_file << " row " << i << " column " << j;
        }
    }
}

struct CurveCase {
    const char* reference;         // the reference file
    std::vector<std::string> args; // the tool's arguments
};

// Names the case after its reference file in test listings.
void PrintTo(const CurveCase& c, std::ostream* os) {
    *os << c.reference;
}

class BatchCurve : public ::testing::TestWithParam<CurveCase> {};

TEST_P(BatchCurve, OutputEqualsTheReference) {
    const ToolRun r = run_tool(GetParam().args);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    expect_same_curve(r.out, GetParam().reference);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, BatchCurve,
    ::testing::Values(
        CurveCase{"curve_wipe_out.csv", {"curve", "to:0.5", "to:0", "to:0.7"}},
        CurveCase{"curve_cycles.csv",
                  {"curve", "--hc", "0.4000000059604645", "to:0.2", "cycle:0.8:2"}},
        CurveCase{"curve_spiral.csv", {"curve", "to:0", "spiral:1:1"}},
        CurveCase{"curve_zero_step.csv",
                  {"curve", "--plot-width", "916", "--h-axis", "-1:1", "to:0.5", "to:0.5", "to:0"}},
        CurveCase{"curve_start_positive.csv", {"curve", "--start", "pos", "to:-0.3", "to:0.4"}},
        CurveCase{"major_loop_hc0.4.csv", {"major", "--hc", "0.4000000059604645"}}));

TEST(Batch, KmaxIsTheStartupFactorOnlyForTheStartupHc) {
    const ToolRun startup = run_tool({"kmax", "--hc", "0.4000000059604645"});
    EXPECT_EQ(startup.status, 0);
    EXPECT_EQ(startup.out, "3.2385880947113037\n");
    // Every other Hc is computed; the reference lists the computed values.
    std::string header;
    const auto ref = csv_rows(read_file(reference_path("kmax.csv")), header);
    ASSERT_GE(ref.size(), 2u);
    for (size_t i = 1; i < ref.size(); ++i) {
        char hc[40];
        std::snprintf(hc, sizeof hc, "%.17g", ref[i][0]);
        const ToolRun r = run_tool({"kmax", "--hc", hc});
        EXPECT_EQ(r.status, 0) << hc;
        EXPECT_NEAR(std::strtod(r.out.c_str(), nullptr) / ref[i][1], 1.0, 1e-13) << hc;
    }
}

TEST(Batch, PlotWidthSetsTheStepOfShortMoves) {
    // -1:1 over 64 pixels: a move of 0.5 spans 16 columns, so 16 steps instead of 300.
    const ToolRun r = run_tool({"curve", "--plot-width", "64", "to:-0.5"});
    EXPECT_EQ(r.status, 0);
    std::string header;
    const auto rows = csv_rows(r.out, header);
    ASSERT_EQ(rows.size(), 17u);
    EXPECT_EQ(rows[1][0], -1.0 + 0.03125);
}

TEST(Batch, HelpDescribesEveryCommandAndStep) {
    const ToolRun r = run_tool({"--help"});
    EXPECT_EQ(r.status, 0);
    for (const char* word :
         {"kmax", "major", "curve", "--hc", "--start", "--plot-width", "--h-axis", "to:HN",
          "cycle:HN:N", "spiral:HN:N", "Exit status", "metrics", "forc", "fit", "--loop",
          "--reversals", "--points", "--density", "--out"})
        EXPECT_NE(r.out.find(word), std::string::npos) << word;
}

TEST(Batch, InvalidArgumentsExitTwoWithOneLine) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"plot"},
        {"kmax", "--hc"},
        {"kmax", "--hc", "0"},
        {"kmax", "--hc", "1"},
        {"kmax", "--hc", "0.00099999"},
        {"kmax", "--hc", "-0.5"},
        {"kmax", "--hc", "abc"},
        {"kmax", "--hc", "nan"},
        {"kmax", "--hc", "0.4x"},
        {"kmax", "--start", "pos"},
        {"major", "to:0.5"},
        {"curve", "--verbose"},
        {"curve", "--start", "up"},
        {"curve", "--plot-width", "0"},
        {"curve", "--plot-width", "12.5"},
        {"curve", "--h-axis", "1:1"},
        {"curve", "--h-axis", "1:-1"},
        {"curve", "--h-axis", "-2000:1"},
        {"curve", "--h-axis", "0.5"},
        {"curve", "to"},
        {"curve", "to:"},
        {"curve", "to:abc"},
        {"curve", "to:1e999"},
        {"curve", "to:inf"},
        {"curve", "to:1000.5"},
        {"curve", "to:0.5:3"},
        {"curve", "cycle:0.5"},
        {"curve", "cycle:0.5:x"},
        {"curve", "cycle:0.5:2147483648"},
        {"curve", "spiral::2"},
        {"curve", "jump:0.5"},
    };
    for (const auto& args : cases) {
        std::string shown;
        for (const auto& a : args)
            shown += a + " ";
        const ToolRun r = run_tool(args);
        EXPECT_EQ(r.status, 2) << shown;
        EXPECT_EQ(r.out, "") << shown;
        ASSERT_FALSE(r.err.empty()) << shown;
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << shown << ": " << r.err;
    }
}

TEST(Batch, AcceptedEdgesOfTheRanges) {
    EXPECT_EQ(run_tool({"kmax", "--hc", "0.001"}).status, 0);
    EXPECT_EQ(run_tool({"curve", "--h-axis", "-1000:1000", "to:1000", "to:-1000"}).status, 0);
    const ToolRun none = run_tool({"curve", "cycle:0.5:-3"});
    EXPECT_EQ(none.status, 0);
    EXPECT_EQ(none.out, "H,B\n-1,-1\n");
}

TEST(Batch, RefusedHcUsesTheWordsOfTheParameterDialog) {
    const struct {
        const char* hc;
        const char* words;
    } cases[] = {{"0.0005", "Hc must be at least 0.001"},
                 {"1e-300", "Hc must be at least 0.001"},
                 {"0", "must be 0<Hc<1"},
                 {"1", "must be 0<Hc<1"}};
    for (const auto& c : cases) {
        const ToolRun r = run_tool({"kmax", "--hc", c.hc});
        EXPECT_EQ(r.status, 2) << c.hc;
        EXPECT_EQ(r.err,
                  std::string("hysteresis-batch: invalid --hc '") + c.hc + "': " + c.words + "\n")
            << c.hc;
    }
}

TEST(Batch, NumericalStopExitsOneAndKeepsThePoints) {
    // Every leg spans less than a pixel (10 steps); the 1002nd spiral leg would need the 1001st
    // nested reversal.
    const ToolRun r = run_tool(
        {"curve", "--plot-width", "1", "--h-axis", "-1000:1000", "to:0", "spiral:1:501", "to:0.5"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, " Too many nested reversals: construction stopped\n");
    std::string header;
    const auto rows = csv_rows(r.out, header);
    EXPECT_EQ(header, "H,B");
    EXPECT_EQ(rows.size(), 1u + 10 + 1001 * 10);
}

TEST(Batch, OutputThatCannotBeWrittenExitsOneWithAMessage) {
    if (std::FILE* full = std::fopen("/dev/full", "w"))
        std::fclose(full);
    else
        GTEST_SKIP() << "no /dev/full to write to";
    const std::string err =
        ::testing::TempDir() + "batch_full_" + std::to_string(getpid()) + ".err";
    // Small and large outputs: one that stays in the stream's buffer, one that overflows it.
    for (const char* args : {"kmax", "major", "curve to:0.5 to:-0.5 to:0.5"}) {
        const std::string command =
            std::string("'") + HYSTERESIS_BATCH_EXE + "' " + args + " >/dev/full 2>'" + err + "'";
        const int raw = std::system(command.c_str());
        ASSERT_TRUE(raw != -1 && WIFEXITED(raw)) << args;
        EXPECT_EQ(WEXITSTATUS(raw), 1) << args;
        EXPECT_EQ(read_file(err), "hysteresis-batch: cannot write the output\n") << args;
    }
}

} // namespace
