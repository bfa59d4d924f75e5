// "Save results...": the drawn curve written as CSV, safely, and read back exactly.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <mutex>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "app/menu_callbacks.h"
#include "app/menu_state.h"
#include "model/curve_construction.h"
#include "model/model_state.h"
#include "model/plot.h"
#include "shell_driver.h"
#include "shell_fixture.h"
#include "window/graph/file_save.h"
#include "window/graph/graphics_data.h"
#include "window/kernel/child_window.h"
#include "window/kernel/menus.h"
#include "window/kernel/window_table.h"
#include "window/kernel/units.h"
#include "window/kernel/window_program.h"

namespace {

std::string g_path;
int answer_path(const char*, const char*, char* path, int size) {
    if (g_path.empty()) return 0;
    std::snprintf(path, static_cast<size_t>(size), "%s", g_path.c_str());
    return 1;
}

std::string g_box;
int g_box_answer = 1; // what the recorded box answers
int record_box(const char* text, const char*, int) {
    g_box = text;
    return g_box_answer;
}

int g_ended = 0; // times the process would have ended
void record_end(int) {
    ++g_ended;
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
        g_box_answer = 1;
        // Two moves, as two right clicks would make them.
        for (double h : {0.5, -0.2}) {
            g_model.Hn = h;
            construct_to_hn(g_model);
            draw_new_points(g_model);
        }
    }
    void TearDown() override {
        set_process_end(nullptr);
        set_save_file_answer(nullptr);
        // Back to the suite's answer (main.cpp): No, never a box shown.
        set_message_box_answer([](const char*, const char*, int) { return kAnswerNo; });
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

TEST_F(SaveResults, EndingWithAnUnsavedCurveAsksFirst) {
    struct Row {
        int answer;     // the question's button: 6 "Save results...", 7 "Discard", 2 "Cancel"
        bool name_file; // the save dialog is given a file name (else it is cancelled)
        bool ends;      // the process ends
        bool written;   // the curve is in the file
    };
    const Row rows[] = {
        {kAnswerCancel, true, false, false},
        {kAnswerNo, true, true, false},
        {kAnswerYes, false, false, false},
        {kAnswerYes, true, true, true},
    };
    set_process_end(record_end);
    for (const Row& row : rows) {
        QTemporaryDir dir;
        g_path = row.name_file ? (dir.path() + "/at the end.csv").toStdString() : "";
        g_box.clear();
        g_box_answer = row.answer;
        g_ended = 0;
        request_process_end();
        EXPECT_NE(g_box.find("The curve has not been saved"), std::string::npos) << row.answer;
        EXPECT_EQ(g_ended, row.ends ? 1 : 0) << row.answer;
        EXPECT_EQ(QFile::exists(QString::fromStdString(g_path)), row.written) << row.answer;
        if (row.written) {
            EXPECT_EQ(read_csv(g_path).H.size(), size_t(g_model.Ndrawn + 1));
        }
    }
    // Saved: the end asks nothing more.
    g_box.clear();
    g_ended = 0;
    request_process_end();
    EXPECT_TRUE(g_box.empty()) << g_box;
    EXPECT_EQ(g_ended, 1);
}

TEST_F(SaveResults, ClosingTheWorkspaceAsksAndSaveResultsFollowsIt) {
    ASSERT_EQ(menu_item_flags(kFileMenu, app_menu_item(AppCommand::save_results)) & 1, 0);
    g_box_answer = kAnswerCancel;
    close_workspace();
    EXPECT_NE(g_box.find("The curve has not been saved"), std::string::npos);
    EXPECT_NE(window_handle_for_unit(10), 0);
    g_box_answer = kAnswerNo;
    close_workspace();
    EXPECT_EQ(window_handle_for_unit(10), 0);
    // The closed workspace's curve cannot be saved any more.
    EXPECT_EQ(menu_item_flags(kFileMenu, app_menu_item(AppCommand::save_results)) & 1, 1);
}

// The workspace's picture as PNG (the surface's own pixels) and as SVG (the same plot as shapes),
// both read back.
TEST_F(SaveResults, PngAndSvgPicturesReadBack) {
    QTemporaryDir dir;
    g_path = (dir.path() + "/workspace.png").toStdString();
    int32_t state = 0;
    on_save_png(state);
    ASSERT_TRUE(g_box.empty()) << g_box;
    QImage png(QString::fromStdString(g_path));
    ASSERT_FALSE(png.isNull());
    QImage surface;
    {
        ChildWindow* cw = window_for_unit(10);
        ASSERT_NE(cw, nullptr);
        std::lock_guard<WindowMutex> hold(cw->lock);
        surface = graphics_of(cw).gfx.surface.copy();
    }
    EXPECT_EQ(png.convertToFormat(QImage::Format_RGB32),
              surface.convertToFormat(QImage::Format_RGB32));

    g_path = (dir.path() + "/workspace.svg").toStdString();
    on_save_svg(state);
    ASSERT_TRUE(g_box.empty()) << g_box;
    QFile f(QString::fromStdString(g_path));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&f);
    std::vector<std::string> strokes;
    std::vector<int> point_counts;
    std::string texts;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        if (xml.name() == QStringLiteral("svg")) {
            EXPECT_EQ(xml.attributes().value("width").toInt(), surface.width());
            EXPECT_EQ(xml.attributes().value("height").toInt(), surface.height());
        } else if (xml.name() == QStringLiteral("polyline")) {
            strokes.push_back(xml.attributes().value("stroke").toString().toStdString());
            point_counts.push_back(static_cast<int>(
                xml.attributes().value("points").toString().split(' ', Qt::SkipEmptyParts).size()));
        } else if (xml.name() == QStringLiteral("text")) {
            texts += xml.readElementText().toStdString() + "|";
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    ASSERT_EQ(strokes.size(), 2u);
    EXPECT_EQ(strokes[0], "#008000");
    EXPECT_EQ(point_counts[0], g_model.Nmaj + 1);
    EXPECT_EQ(strokes[1], "#ff0000");
    EXPECT_EQ(point_counts[1], g_model.Ndrawn + 1);
    for (const char* t : {"limiting loop", "curve", "|H|", "|B|", "   -1.00", "Hn="})
        EXPECT_NE(texts.find(t), std::string::npos) << t;
}

} // namespace
