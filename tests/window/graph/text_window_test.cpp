// Text output on a window's character grid: CR/LF, wrapping, scrolling, the store.
#include "graph_test_util.h"
#include "text/output_unit.h"
#include "window/graph/graphics.h"
#include "window/graph/text_grid.h"
#include "window/graph/text_window.h"
#include "window/kernel/standard_commands.h"
#include "window/kernel/window_hooks.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <atomic>
#include <cstring>
#include <string>
#include <thread>

namespace {

constexpr uint32_t kBlack = 0xFF000000u;
constexpr uint32_t kWhite = 0xFFFFFFFFu;

std::string stored(ChildWindow* cw) {
    std::lock_guard<std::mutex> hold(cw->lock);
    return text_store_all(graphics_of(cw).text);
}

std::string row_text(ChildWindow* cw, int row) {
    std::lock_guard<std::mutex> hold(cw->lock);
    return text_store_text(graphics_of(cw).text, row, 1, row, graphics_of(cw).text.text_cols);
}

struct Grid {
    int rows, cols, cw, ch, cursor_row, cursor_col;
};

Grid grid(ChildWindow* cw) {
    std::lock_guard<std::mutex> hold(cw->lock);
    const TextState& t = graphics_of(cw).text;
    return {t.text_rows, t.text_cols, t.cell_width, t.cell_height, t.cursor_row, t.cursor_col};
}

int text(int unit, const std::string& s) {
    return write_unit_text(unit, s.data(), static_cast<int>(s.size()));
}

// The pixels of one cell (1-based row and column).
QImage cell(ChildWindow* cw, int row, int col) {
    Grid g = grid(cw);
    return surface_copy(cw).copy((col - 1) * g.cw, (row - 1) * g.ch, g.cw, g.ch);
}

TEST(TextWindow, CarriageReturnOverwritesTheRow) {
    UnitWindow w(41);
    UnitWindow ref(42);
    ASSERT_EQ(text(41, "AB\rC"), 1);
    EXPECT_EQ(row_text(w.cw, 1), "CB");
    Grid g = grid(w.cw);
    EXPECT_EQ(g.cursor_row, 1);
    EXPECT_EQ(g.cursor_col, 2);
    // The cells show what writing "CB" directly shows.
    text(42, "CB");
    EXPECT_EQ(cell(w.cw, 1, 1), cell(ref.cw, 1, 1));
    EXPECT_EQ(cell(w.cw, 1, 2), cell(ref.cw, 1, 2));
}

TEST(TextWindow, NewWindowShowsWhiteOnBlack) {
    UnitWindow w(43);
    text(43, "M");
    QImage c = cell(w.cw, 1, 1);
    int white = 0;
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x) {
            uint32_t p = c.pixel(x, y);
            EXPECT_TRUE(p == kWhite || p == kBlack);
            white += p == kWhite;
        }
    EXPECT_GT(white, 5);
}

TEST(TextWindow, RecordsStandOnLinesOfTheirOwn) {
    UnitWindow w(44);
    write_unit_record(44, "first", 5);
    write_unit_record(44, "", 0); // an empty record is one blank
    write_unit_record(44, "third", 5);
    EXPECT_EQ(stored(w.cw), "first\n\nthird");
    Grid g = grid(w.cw);
    EXPECT_EQ(g.cursor_row, 4);
    EXPECT_EQ(g.cursor_col, 1);
}

TEST(TextWindow, OneLineMoreThanTheRowsScrollsByOneRow) {
    UnitWindow w(45);
    Grid g = grid(w.cw);
    ASSERT_GT(g.rows, 2);
    for (int i = 1; i <= g.rows; ++i) {
        std::string line = "line " + std::to_string(i);
        if (i < g.rows) line += "\r\n";
        text(45, line);
    }
    QImage before = surface_copy(w.cw);
    EXPECT_EQ(row_text(w.cw, 1), "line 1");
    text(45, "\r\nline " + std::to_string(g.rows + 1));
    QImage after = surface_copy(w.cw);
    EXPECT_EQ(row_text(w.cw, 1), "line 2");
    EXPECT_EQ(row_text(w.cw, g.rows), "line " + std::to_string(g.rows + 1));
    std::string all = stored(w.cw);
    EXPECT_EQ(all.find("line 1\n"), std::string::npos);
    EXPECT_EQ(all.rfind("line 2", 0), 0u);
    // Exactly one row: row r now shows what row r + 1 showed.
    const int h = g.ch;
    for (int r = 0; r + 2 < g.rows; ++r)
        EXPECT_EQ(after.copy(0, r * h, after.width(), h),
                  before.copy(0, (r + 1) * h, before.width(), h))
            << r;
    EXPECT_EQ(grid(w.cw).cursor_row, g.rows);
}

TEST(TextWindow, WrapsAtTheLastColumn) {
    UnitWindow w(46);
    Grid g = grid(w.cw);
    std::string longer(static_cast<size_t>(g.cols + 3), 'x');
    text(46, longer);
    EXPECT_EQ(row_text(w.cw, 1), std::string(static_cast<size_t>(g.cols), 'x'));
    EXPECT_EQ(row_text(w.cw, 2), "xxx");
    Grid after = grid(w.cw);
    EXPECT_EQ(after.cursor_row, 2);
    EXPECT_EQ(after.cursor_col, 4);
    // A text ending exactly in the last column leaves the cursor on the next row.
    text(46, "\r\n" + std::string(static_cast<size_t>(g.cols), 'y'));
    after = grid(w.cw);
    EXPECT_EQ(after.cursor_row, 4);
    EXPECT_EQ(after.cursor_col, 1);
}

TEST(TextWindow, StandardOutputReachesTheDefaultWindow) {
    connect_standard_output();
    emit_line(6, "numerical message", 17);
    ChildWindow* def = window_for_unit(0);
    ASSERT_NE(def, nullptr);
    EXPECT_NE(stored(def).find("numerical message"), std::string::npos);
    // From a program thread as well.
    std::atomic<bool> done{false};
    std::thread program([&] {
        emit_line(0, "from the program", 16);
        done = true;
    });
    while (!done)
        QApplication::processEvents(); // the program thread may need the interface
    program.join();
    EXPECT_NE(stored(def).find("from the program"), std::string::npos);
    set_line_sink(nullptr);
}

TEST(TextWindow, ClearTextWindowForgetsItsRows) {
    UnitWindow w(47);
    text(47, "gone\r\nalso gone");
    clear_screen(2);
    EXPECT_EQ(stored(w.cw), "");
    EXPECT_EQ(count_not(surface_copy(w.cw), kBlack), 0);
    text(47, "new");
    EXPECT_EQ(row_text(w.cw, 1), "new");
}

TEST(TextWindow, ReadingALineOnAProgramThreadTakesTypedKeys) {
    UnitWindow w(48);
    char buf[32] = {};
    int n = -5;
    std::atomic<bool> done{false};
    std::thread reader([&] {
        n = read_unit_line(48, buf, sizeof buf);
        done = true;
    });
    // Wait until the read is pending, then type.
    for (int i = 0; i < 2000; ++i) {
        settle();
        std::lock_guard<std::mutex> hold(w.cw->lock);
        if (graphics_of(w.cw).text.read_pending) break;
    }
    for (const char* k : {"4", "2", "x", "\b", "\r"})
        window_hooks().key(w.cw, k);
    while (!done)
        QApplication::processEvents(); // the reader ends through the interface
    reader.join();
    EXPECT_EQ(n, 2);
    EXPECT_STREQ(buf, "42");
    EXPECT_FALSE(window_hooks().key(w.cw, "z")); // no read pending now: the kernel beeps
}

TEST(TextWindow, PastedTextFeedsReadsAndClearPasteDiscardsIt) {
    UnitWindow w(49);
    QGuiApplication::clipboard()->setText("17\n23\n");
    run_standard_command(kCmdPaste); // the active window is unit 49's
    {
        std::lock_guard<std::mutex> hold(w.cw->lock);
        EXPECT_EQ(graphics_of(w.cw).text.pasted, "17\n23\n");
    }
    char buf[16] = {};
    int n = -5;
    std::atomic<bool> done{false};
    std::thread reader([&] {
        n = read_unit_line(49, buf, sizeof buf);
        done = true;
    });
    while (!done)
        QApplication::processEvents();
    reader.join();
    EXPECT_EQ(n, 2);
    EXPECT_STREQ(buf, "17");
    EXPECT_EQ(row_text(w.cw, 1), "17"); // echoed
    run_standard_command(kCmdClearPaste);
    std::lock_guard<std::mutex> hold(w.cw->lock);
    EXPECT_TRUE(graphics_of(w.cw).text.pasted.empty());
}

} // namespace
