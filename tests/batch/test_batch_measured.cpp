// metrics on measured instrument files, run as a program: the report of one loop against the
// instrument software's own figures, a folder as one table, and the answers to bad input; fit
// reading a pipe once, and --out kept safe.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tests/batch/tool_run.h"
#include "tests/support/measured_data.h"

namespace {

// "name,value,unit" lines by name: value and unit (a quoted value is not expected here).
std::map<std::string, std::pair<std::string, std::string>> report(const std::string& text) {
    std::map<std::string, std::pair<std::string, std::string>> r;
    std::stringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        const size_t a = line.find(','), b = line.rfind(',');
        if (a == std::string::npos || a == b) continue;
        r[line.substr(0, a)] = {line.substr(a + 1, b - a - 1), line.substr(b + 1)};
    }
    return r;
}

double number(const std::map<std::string, std::pair<std::string, std::string>>& r,
              const std::string& name) {
    const auto it = r.find(name);
    if (it == r.end()) {
        ADD_FAILURE() << "no " << name;
        return std::nan("");
    }
    return std::strtod(it->second.first.c_str(), nullptr);
}

void write_bytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string copy_measured(const std::string& name, const std::string& folder) {
    const std::string to = folder + "/" + name;
    write_bytes(to, read_file(measured_file(name)));
    return to;
}

TEST(MeasuredMetrics, HeaderSlopeGivesTheInstrumentsFiguresWithUnits) {
    const ToolRun r = run_tool(
        {"metrics", "--loop", measured_file("micromag_vsm_loop_BB-1.txt"), "--slope", "file"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, r.out.find('\n')), "name,value,unit");
    const auto v = report(r.out);
    for (const char* name : {"Ms", "Mr", "Bc"}) {
        const double header = number(v, std::string("header_") + name);
        EXPECT_NEAR(number(v, name) / header, 1.0, 0.02) << name;
    }
    EXPECT_EQ(v.at("Bc").second, "T");
    EXPECT_EQ(v.at("Ms").second, "A m^2");
    EXPECT_EQ(v.at("chi_hf").second, "A m^2/T");
    EXPECT_EQ(v.at("loop_area").second, "J");
    EXPECT_EQ(v.at("slope_correction").first, "file");
    EXPECT_EQ(number(v, "points_read"), 1002);
    EXPECT_EQ(number(v, "branches"), 2);
    EXPECT_EQ(number(v, "set_aside_segments"), 0);
    // The fitted slope of the same loop is the header's to within 1 %.
    const ToolRun automatic =
        run_tool({"metrics", "--loop", measured_file("micromag_vsm_loop_BB-1.txt")});
    ASSERT_EQ(automatic.status, 0) << automatic.err;
    const auto a = report(automatic.out);
    EXPECT_EQ(a.at("slope_correction").first, "linear");
    EXPECT_NEAR(number(a, "chi_hf") / number(a, "header_slope"), 1.0, 0.01);
    EXPECT_NEAR(number(a, "Bc") / number(a, "header_Bc"), 1.0, 0.02);
    // Without a slope correction Bc is far too small: the diamagnetic slope hides it.
    const ToolRun none = run_tool(
        {"metrics", "--loop", measured_file("micromag_vsm_loop_BB-1.txt"), "--slope", "none"});
    EXPECT_LT(number(report(none.out), "Bc"), 0.6 * number(a, "header_Bc"));
}

TEST(MeasuredMetrics, VirginCurveAndHalfLoopAreSetAsideAndCounted) {
    const ToolRun r = run_tool({"metrics", "--loop", measured_file("ppms_vsm_loop.dat")});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto v = report(r.out);
    EXPECT_EQ(number(v, "points_read"), 4864);
    EXPECT_EQ(number(v, "branches"), 4);
    EXPECT_EQ(number(v, "set_aside_segments"), 2);
    EXPECT_EQ(number(v, "jitter_turns_absorbed"), 1);
    EXPECT_EQ(v.at("field_column").first, "Magnetic Field (Oe)");
    EXPECT_EQ(v.at("field_column").second, "Oe");
    // A 14 T loop: the largest field in tesla.
    EXPECT_NEAR(number(v, "field_max"), 14.0, 0.01);
}

TEST(MeasuredMetrics, AFolderIsOneTableWithARowPerLoopAndSpecimen) {
    const std::string folder = temporary_path("specimens");
    mkdir(folder.c_str(), 0755);
    copy_measured("micromag_vsm_loop_BB-1.txt", folder);
    copy_measured("magic25_hysteresis_table.dat", folder);
    write_bytes(folder + "/broken.csv", std::string("\xFF\xFEH\0,\0B\0\n\0", 10));
    const ToolRun r = run_tool({"metrics", "--loop", folder, "--drift"});
    EXPECT_EQ(r.status, 1) << r.err; // one file failed
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
    std::stringstream in(r.out);
    std::string line;
    std::vector<std::string> rows;
    std::getline(in, line);
    EXPECT_EQ(line.substr(0, 30), "file,specimen,loop,format,stat");
    while (std::getline(in, line))
        rows.push_back(line);
    // The broken file, eight MagIC specimens, one MicroMag loop, in file-name order.
    ASSERT_EQ(rows.size(), 10u) << r.out;
    EXPECT_NE(rows[0].find("broken.csv"), std::string::npos);
    EXPECT_NE(rows[0].find(",error,"), std::string::npos);
    EXPECT_NE(rows[0].find("not a text file"), std::string::npos);
    for (size_t k = 1; k < rows.size(); ++k)
        EXPECT_NE(rows[k].find(",ok,"), std::string::npos) << rows[k];
    EXPECT_NE(rows[1].find("IS06a-1"), std::string::npos);
    EXPECT_NE(rows[9].find("micromag_vsm_loop_BB-1.txt"), std::string::npos);
    for (const char* name :
         {"broken.csv", "magic25_hysteresis_table.dat", "micromag_vsm_loop_BB-1.txt"})
        std::remove((folder + "/" + name).c_str());
    rmdir(folder.c_str());
}

struct BadMeasured {
    const char* name;
    std::string bytes;              // the file's content
    std::vector<std::string> extra; // more arguments
    const char* words;              // words of the one line on standard error
};

void PrintTo(const BadMeasured& c, std::ostream* os) {
    *os << c.name;
}

class MeasuredBadInput : public ::testing::TestWithParam<BadMeasured> {};

TEST_P(MeasuredBadInput, ExitsTwoWithOneLineNamingTheFile) {
    const BadMeasured c = GetParam();
    const std::string path = temporary_path(std::string("bad_") + c.name);
    write_bytes(path, c.bytes);
    std::vector<std::string> args = {"metrics", "--loop", path};
    args.insert(args.end(), c.extra.begin(), c.extra.end());
    const ToolRun r = run_tool(args);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    ASSERT_FALSE(r.err.empty());
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
    EXPECT_NE(r.err.find(path), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(c.words), std::string::npos) << r.err;
    std::remove(path.c_str());
}

const std::string kUnitLoop = "H (mT),M (emu)\n1000,1\n0,0.5\n-1000,-1\n0,-0.5\n1000,1\n";

INSTANTIATE_TEST_SUITE_P(
    Files, MeasuredBadInput,
    ::testing::Values(
        BadMeasured{"empty", "", {}, "empty"},
        BadMeasured{"utf16", std::string("\xFE\xFF\0H\0,\0B\n", 9), {}, "line 1: not a text file"},
        BadMeasured{"binary", std::string("H (T),M (emu)\n1,\0\0\0\n", 20), {}, "line 2: a NUL"},
        BadMeasured{"one_branch", "H (T),M (emu)\n-1,-1\n0,0\n1,1\n", {}, "one branch"},
        BadMeasured{"named_twice", "H (T),H (T),M (emu)\n1,1,1\n", {}, "named twice"},
        BadMeasured{"unknown_unit", "H (T),M (furlong)\n1,1\n", {}, "unknown unit"},
        BadMeasured{"nan", "H (T),M (emu)\n1,nan\n", {}, "line 2: not a finite"},
        BadMeasured{"infinite", "H (T)\tM (emu)\n1\t1e999\n", {}, "line 2: not a finite"},
        BadMeasured{"too_few_for_a_slope", kUnitLoop, {"--slope", "auto"}, "too few points"},
        BadMeasured{"no_slope_in_the_header", kUnitLoop, {"--slope", "file"}, "no slope"}));

TEST(MeasuredBadInput, AFolderWithNothingReadableExitsTwo) {
    const std::string folder = temporary_path("nothing");
    mkdir(folder.c_str(), 0755);
    const ToolRun empty = run_tool({"metrics", "--loop", folder});
    EXPECT_EQ(empty.status, 2);
    EXPECT_EQ(empty.out, "");
    EXPECT_NE(empty.err.find("no files"), std::string::npos) << empty.err;
    write_bytes(folder + "/zeros.dat", std::string(64, '\0'));
    const ToolRun zeros = run_tool({"metrics", "--loop", folder});
    EXPECT_EQ(zeros.status, 2);
    EXPECT_EQ(zeros.out, "");
    EXPECT_EQ(zeros.err.find('\n'), zeros.err.size() - 1) << zeros.err;
    std::remove((folder + "/zeros.dat").c_str());
    rmdir(folder.c_str());
}

// ---- fit: one reading, safe output ----

int shell(const std::string& command) {
    const int raw = std::system(command.c_str());
    return raw != -1 && WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

TEST(FitInput, APipeIsReadOnce) {
    const std::string exe = std::string("'") + HYSTERESIS_BATCH_EXE + "'";
    const std::string out = temporary_path("pipe_fit.out");
    ASSERT_EQ(shell(exe + " major --hc 0.3 | " + exe + " fit --loop /dev/stdin >'" + out + "'"), 0);
    std::stringstream in(read_file(out));
    std::string line;
    std::getline(in, line);
    ASSERT_EQ(line.substr(0, 3), "Hc,");
    EXPECT_NEAR(std::strtod(line.c_str() + 3, nullptr), 0.3, 1e-6);
    std::getline(in, line);
    std::getline(in, line);
    EXPECT_NEAR(std::strtod(line.c_str() + 3, nullptr), 1.0, 1e-6) << line; // Bs
}

TEST(FitOutput, NeverTheLoopItselfAndLinksKeepTheirTarget) {
    const std::string loop = temporary_path("own_loop.csv");
    const std::string major = run_tool({"major", "--hc", "0.3"}).out;
    write_bytes(loop, major);
    const ToolRun same = run_tool({"fit", "--loop", loop, "--out", loop});
    EXPECT_EQ(same.status, 2);
    EXPECT_NE(same.err.find("measured loop itself"), std::string::npos) << same.err;
    EXPECT_EQ(read_file(loop), major);

    const std::string target = temporary_path("fit_target.csv");
    const std::string link = temporary_path("fit_link.csv");
    write_bytes(target, "old\n");
    chmod(target.c_str(), 0640);
    std::remove(link.c_str());
    ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
    const ToolRun through = run_tool({"fit", "--loop", loop, "--out", link});
    ASSERT_EQ(through.status, 0) << through.err;
    struct stat st {};
    ASSERT_EQ(lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    ASSERT_EQ(stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(read_file(target).substr(0, 4), "H,B\n");
    std::remove(link.c_str());
    std::remove(target.c_str());
    std::remove(loop.c_str());
}

TEST(LoopFiles, TheLineLimitIsTheSameWithCrLfAndANulByteIsRefused) {
    // "1,000...0001": 255 characters before the line end.
    const std::string body =
        "H,B\n-1,-1\n0,-0.5\n1," + std::string(252, '0') + "1\n0,0.5\n-1,-0.9\n";
    std::string crlf;
    for (const char c : body)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    const std::string lf_path = temporary_path("limit_lf.csv");
    const std::string crlf_path = temporary_path("limit_crlf.csv");
    write_bytes(lf_path, body);
    write_bytes(crlf_path, crlf);
    const ToolRun lf = run_tool({"metrics", "--loop", lf_path});
    const ToolRun cr = run_tool({"metrics", "--loop", crlf_path});
    EXPECT_EQ(lf.status, 0) << lf.err;
    EXPECT_EQ(cr.status, 0) << cr.err;
    EXPECT_EQ(lf.out, cr.out);
    // /dev/zero never ends: the first NUL byte refuses it.
    const ToolRun zero = run_tool({"metrics", "--loop", "/dev/zero"});
    EXPECT_EQ(zero.status, 2);
    EXPECT_NE(zero.err.find("not a text file"), std::string::npos) << zero.err;
    std::remove(lf_path.c_str());
    std::remove(crlf_path.c_str());
}

TEST(Arguments, ANewlineInAnArgumentStaysOnOneLine) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"kmax", "--hc", "0.4\nx"},
          std::vector<std::string>{"curve", "to:0.5\n"}, std::vector<std::string>{"plot\nx"}}) {
        const ToolRun r = run_tool(args);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
    }
}

} // namespace
