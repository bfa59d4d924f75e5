// "Save results...": the drawn curve written as CSV, safely, and read back exactly.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "app/menu_callbacks.h"
#include "model/curve_construction.h"
#include "model/model_state.h"
#include "model/plot.h"
#include "shell_fixture.h"
#include "window/graph/file_save.h"
#include "window/kernel/window_program.h"

namespace {

std::string g_path;
int answer_path(const char*, const char*, char* path, int size) {
    if (g_path.empty()) return 0;
    std::snprintf(path, static_cast<size_t>(size), "%s", g_path.c_str());
    return 1;
}

std::string g_box;
int record_box(const char* text, const char*, int) {
    g_box = text;
    return 1;
}

struct Csv {
    std::vector<std::string> comments;
    std::string header;
    std::vector<double> H, B;
};

// A number of the file, read without regard to the locale: the application object switches the
// process to the user's locale, where strtod may expect a decimal comma.
double read_number(const std::string& text) {
    double value = std::nan("");
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

Csv read_csv(const std::string& path) {
    QFile f(QString::fromStdString(path));
    Csv csv;
    if (!f.open(QIODevice::ReadOnly)) return csv;
    std::istringstream in(f.readAll().toStdString());
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("#", 0) == 0) {
            csv.comments.push_back(line);
        } else if (csv.header.empty()) {
            csv.header = line;
        } else {
            const size_t comma = line.find(',');
            csv.H.push_back(read_number(line.substr(0, comma)));
            csv.B.push_back(read_number(line.substr(comma + 1)));
        }
    }
    return csv;
}

class SaveResults : public WorkspaceShellTest {
  protected:
    void SetUp() override {
        WorkspaceShellTest::SetUp();
        set_save_file_answer(answer_path);
        set_message_box_answer(record_box);
        g_box.clear();
        // Two moves, as two right clicks would make them.
        for (double h : {0.5, -0.2}) {
            g_model.Hn = h;
            construct_to_hn(g_model);
            draw_new_points(g_model);
        }
    }
    void TearDown() override {
        set_save_file_answer(nullptr);
        set_message_box_answer(nullptr);
        g_path.clear();
        WorkspaceShellTest::TearDown();
    }
    void save() {
        int32_t state = 0;
        on_save_results(state);
    }
};

TEST_F(SaveResults, RoundTripsTheDrawnCurveBitForBit) {
    QTemporaryDir dir;
    g_path = (dir.path() + "/curve results.csv").toStdString();
    save();
    ASSERT_TRUE(g_box.empty()) << g_box;
    const Csv csv = read_csv(g_path);
    EXPECT_EQ(csv.header, "H,B");
    ASSERT_EQ(static_cast<int>(csv.H.size()), g_model.Ndrawn + 1);
    for (int i = 0; i <= g_model.Ndrawn; ++i) {
        ASSERT_EQ(csv.H[i], g_model.Hcurve[i]) << i;
        ASSERT_EQ(csv.B[i], g_model.Bcurve[i]) << i;
    }
    // The comments name Hc, Kmax, the start state and the number of points.
    ASSERT_EQ(csv.comments.size(), 4u);
    EXPECT_EQ(csv.comments[0], "# Hc = 0.40000000596046448");
    EXPECT_EQ(csv.comments[1], "# Kmax = 3.2385880947113037");
    EXPECT_NE(csv.comments[2].find("negative"), std::string::npos);
    EXPECT_EQ(csv.comments[3], "# points = " + std::to_string(g_model.Ndrawn + 1));
}

TEST_F(SaveResults, CancelWritesNothing) {
    QTemporaryDir dir;
    g_path.clear();
    save();
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    EXPECT_TRUE(g_box.empty());
}

TEST_F(SaveResults, AnUnwritableFolderIsReportedAndLeavesNoFile) {
    QTemporaryDir dir;
    g_path = (dir.path() + "/no such folder/curve.csv").toStdString();
    save();
    EXPECT_NE(g_box.find("could not be saved"), std::string::npos);
    EXPECT_NE(g_box.find(g_path), std::string::npos);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(g_path)));
}

} // namespace
