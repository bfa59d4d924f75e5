// Saving a window's surface as a BMP file, writing files safely, and printing one page.
#include "window/graph/bitmap_file.h"
#include "window/graph/file_save.h"
#include "window/graph/graphics_data.h"
#include "window/graph/palette.h"
#include "window/graph/save_window.h"
#include "window/kernel/child_window.h"
#include "window/kernel/window_program.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <csignal>
#include <cstring>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

uint32_t le32(const QByteArray& b, int at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(b[at + i]);
    return v;
}
uint16_t le16(const QByteArray& b, int at) {
    return static_cast<uint16_t>(static_cast<unsigned char>(b[at]) |
                                 (static_cast<unsigned char>(b[at + 1]) << 8));
}

// A surface with a few palette colours at known places.
QImage sample_surface(int w, int h, const uint32_t* palette) {
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, palette[(x * 7 + y * 3) % 16]);
    return img;
}

// Decodes a BMP written by encode_bmp back to an image (any of the four depths).
QImage decode(const QByteArray& f) {
    const int offset = static_cast<int>(le32(f, 10));
    const int w = static_cast<int>(le32(f, 18)), h = static_cast<int>(le32(f, 22));
    const int bits = le16(f, 28);
    const int64_t row = bmp_row_bytes(bits, w);
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        const unsigned char* r =
            reinterpret_cast<const unsigned char*>(f.constData()) + offset + (h - 1 - y) * row;
        for (int x = 0; x < w; ++x) {
            if (bits == 24) {
                img.setPixel(x, y, qRgb(r[3 * x + 2], r[3 * x + 1], r[3 * x]));
                continue;
            }
            int idx = bits == 8   ? r[x]
                      : bits == 4 ? ((x % 2) ? r[x / 2] & 15 : r[x / 2] >> 4)
                                  : (r[x / 8] >> (7 - x % 8)) & 1;
            const unsigned char* e =
                reinterpret_cast<const unsigned char*>(f.constData()) + 54 + 4 * idx;
            img.setPixel(x, y, qRgb(e[2], e[1], e[0]));
        }
    }
    return img;
}

struct DepthCase {
    int display_bits, file_bits, header;
};

TEST(BitmapFile, DepthSizesAndHeaders) {
    const DepthCase cases[] = {{1, 1, 62},   {2, 4, 118},  {4, 4, 118},  {5, 8, 1078},
                               {8, 8, 1078}, {16, 24, 54}, {24, 24, 54}, {32, 24, 54}};
    uint32_t palette[256];
    fill_default_palette(palette, 16);
    for (const DepthCase& c : cases) {
        SCOPED_TRACE(c.display_bits);
        ASSERT_EQ(bmp_file_bits(c.display_bits), c.file_bits);
        ASSERT_EQ(bmp_header_bytes(c.file_bits), c.header);
        for (int w : {1, 2, 3, 5, 31, 33, 101}) {
            const QByteArray f = encode_bmp(sample_surface(w, 7, palette), c.file_bits, palette);
            const int64_t row = bmp_row_bytes(c.file_bits, w);
            EXPECT_EQ(row % 4, 0);
            EXPECT_GE(row * 8, int64_t{w} * c.file_bits);
            EXPECT_LT(row * 8, int64_t{w} * c.file_bits + 32);
            ASSERT_EQ(f.size(), c.header + 7 * row);
            EXPECT_EQ(f[0], 'B');
            EXPECT_EQ(f[1], 'M');
            EXPECT_EQ(le32(f, 2), static_cast<uint32_t>(f.size()));
            EXPECT_EQ(le32(f, 10), static_cast<uint32_t>(c.header));
            EXPECT_EQ(le32(f, 14), 40u);
            EXPECT_EQ(le16(f, 28), c.file_bits);
        }
    }
}

TEST(BitmapFile, ScreenSizedWindowGives24BitFileOfTheStatedSize) {
    QImage img(1024, 768, QImage::Format_RGB32);
    img.fill(Qt::black);
    const QByteArray f = encode_bmp(img, bmp_file_bits(32), nullptr);
    EXPECT_EQ(f.size(), 54 + 768 * 3072);
}

TEST(BitmapFile, ReadBackEqualsTheSurfaceAtEveryDepth) {
    uint32_t palette[256];
    fill_default_palette(palette, 16);
    for (int bits : {4, 8, 24}) {
        SCOPED_TRACE(bits);
        const QImage img = sample_surface(37, 11, palette);
        EXPECT_EQ(decode(encode_bmp(img, bits, palette)), img);
    }
    // Two colours: black and white survive a 1-bit file.
    uint32_t bw[256];
    fill_default_palette(bw, 2);
    QImage img(19, 5, QImage::Format_RGB32);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 19; ++x)
            img.setPixel(x, y, ((x + y) % 3) ? bw[1] : bw[0]);
    EXPECT_EQ(decode(encode_bmp(img, 1, bw)), img);
}

// --- Writing files ------------------------------------------------------

QByteArray read_all(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return QByteArray("<missing>");
    return f.readAll();
}

TEST(SafeFile, WritesReplacesAndHandlesAwkwardNames) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const char* name : {"plain.bmp", "with spaces.bmp", "Größe ǅ 曲線.bmp"}) {
        SCOPED_TRACE(name);
        const std::string path = (dir.path() + "/" + QString::fromUtf8(name)).toStdString();
        char why[200];
        ASSERT_EQ(write_file_safely(path.c_str(), "first", 5, why, sizeof why), 1) << why;
        ASSERT_EQ(write_file_safely(path.c_str(), "second!", 7, why, sizeof why), 1) << why;
        EXPECT_EQ(read_all(QString::fromStdString(path)), QByteArray("second!"));
    }
    // Only the three files: no temporary left behind.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 3);
}

TEST(SafeFile, UnwritableFolderFailsWithAReasonAndLeavesNothing) {
    QTemporaryDir dir;
    const std::string blocker = (dir.path() + "/not-a-folder").toStdString();
    ASSERT_EQ(write_file_safely(blocker.c_str(), "x", 1, nullptr, 0), 1);
    const std::string inside = blocker + "/out.bmp";
    char why[200] = "";
    EXPECT_EQ(write_file_safely(inside.c_str(), "data", 4, why, sizeof why), 0);
    EXPECT_STRNE(why, "");
    EXPECT_EQ(write_file_safely("", "data", 4, why, sizeof why), 0);
    EXPECT_EQ(read_all(QString::fromStdString(blocker)), QByteArray("x"));
}

// A full disk, simulated by a file-size limit in a child process: the
// write fails, the old file stays whole and no temporary is left.
TEST(SafeFile, FullDiskKeepsTheOldFile) {
    QTemporaryDir dir;
    const std::string path = (dir.path() + "/curve.csv").toStdString();
    ASSERT_EQ(write_file_safely(path.c_str(), "old content", 11, nullptr, 0), 1);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        std::string big(1 << 20, 'x');
        const int ok = write_file_safely(path.c_str(), big.data(), big.size(), nullptr, 0);
        _exit(ok == 0 ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the write should have failed";
    EXPECT_EQ(read_all(QString::fromStdString(path)), QByteArray("old content"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

// --- The Save and Print commands ----------------------------------------

std::string g_answer_path;
std::string g_asked_extension;
int answer_with_path(const char*, const char* ext, char* path, int size) {
    g_asked_extension = ext;
    if (g_answer_path.empty()) return 0;
    std::snprintf(path, static_cast<size_t>(size), "%s", g_answer_path.c_str());
    return 1;
}

std::string g_box_text;
int record_box(const char* text, const char*, int) {
    g_box_text = text;
    return 1;
}

struct SaveCommand : ::testing::Test {
    ChildWindow cw;
    void SetUp() override {
        fill_default_palette(graphics_of(cw).gfx.palette, 16);
        graphics_of(cw).gfx.surface = sample_surface(64, 48, graphics_of(cw).gfx.palette);
        graphics_of(cw).gfx.bits_per_pixel = 32;
        set_save_file_answer(answer_with_path);
        set_message_box_answer(record_box);
        g_box_text.clear();
    }
    void TearDown() override {
        set_save_file_answer(nullptr);
        set_message_box_answer(nullptr);
        g_answer_path.clear();
    }
};

TEST_F(SaveCommand, CancelWritesNothing) {
    QTemporaryDir dir;
    g_answer_path.clear();
    EXPECT_EQ(save_window_image(&cw), 0);
    EXPECT_EQ(g_asked_extension, "bmp");
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    EXPECT_TRUE(g_box_text.empty());
}

TEST_F(SaveCommand, SavesTheWholeSurfaceAndReplacesAnOldFile) {
    QTemporaryDir dir;
    g_answer_path = (dir.path() + "/window.bmp").toStdString();
    ASSERT_EQ(save_window_image(&cw), 1);
    graphics_of(cw).gfx.surface.fill(Qt::white);
    ASSERT_EQ(save_window_image(&cw), 1);
    const QByteArray f = read_all(QString::fromStdString(g_answer_path));
    ASSERT_EQ(f.size(), 54 + 48 * bmp_row_bytes(24, 64));
    EXPECT_EQ(decode(f), graphics_of(cw).gfx.surface);
}

TEST_F(SaveCommand, AWindowWhoseUnitWasClosedCanStillBeSaved) {
    QTemporaryDir dir;
    g_answer_path = (dir.path() + "/kept.bmp").toStdString();
    cw.closed = true; // closed with KEEP: no more output, but still savable
    ASSERT_EQ(save_window_image(&cw), 1) << g_box_text;
    EXPECT_EQ(decode(read_all(QString::fromStdString(g_answer_path))), graphics_of(cw).gfx.surface);
}

TEST_F(SaveCommand, FailureSaysWhatFailedAndWhyAndTheProgramGoesOn) {
    QTemporaryDir dir;
    g_answer_path = (dir.path() + "/missing folder/window.bmp").toStdString();
    EXPECT_EQ(save_window_image(&cw), -1);
    EXPECT_EQ(g_box_text.rfind("The bitmap could not be saved to " + g_answer_path + ": ", 0), 0u)
        << g_box_text;
    EXPECT_GT(g_box_text.size(),
              ("The bitmap could not be saved to " + g_answer_path + ": ").size())
        << "the reason is missing";
    EXPECT_EQ(g_box_text.find("line"), std::string::npos) << "no source line in a user's message";
    EXPECT_FALSE(QFile::exists(QString::fromStdString(g_answer_path)));
}

TEST_F(SaveCommand, PrintsOnePageToAPdfWhenNoPrinterExists) {
    QTemporaryDir dir;
    g_answer_path = (dir.path() + "/page.pdf").toStdString();
    ASSERT_EQ(print_window_image(&cw), 1) << g_box_text;
    const QByteArray pdf = read_all(QString::fromStdString(g_answer_path));
    ASSERT_TRUE(pdf.startsWith("%PDF"));
    EXPECT_EQ(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") + pdf.count("/Type /Page "),
              1);
    EXPECT_EQ(g_asked_extension, "pdf");
}

TEST_F(SaveCommand, PrintCancelledAtTheFileDialogPrintsNothing) {
    g_answer_path.clear();
    EXPECT_EQ(print_window_image(&cw), 0);
    EXPECT_TRUE(g_box_text.empty());
}

TEST(PrintPage, WholeWidthAndTheAspectRatioInPhysicalUnits) {
    struct PageCase {
        double width;
        int sw, sh;
        double dpi_x, dpi_y, height;
    };
    const PageCase cases[] = {
        {4800, 1280, 1024, 600, 600, 3840}, // wider than high: proportionally less high
        {4800, 1024, 1280, 600, 600, 6000}, // higher than wide
        {2400, 200, 100, 300, 600, 2400},   // taller device pixels: twice as many rows
        {2400, 200, 100, 600, 300, 600},    {2400, 0, 100, 600, 600, 0}, // nothing to print
        {2400, 200, 100, 0, 600, 0},
    };
    for (const PageCase& c : cases)
        EXPECT_DOUBLE_EQ(print_height(c.width, c.sw, c.sh, c.dpi_x, c.dpi_y), c.height)
            << c.sw << "x" << c.sh << " at " << c.dpi_x << "x" << c.dpi_y;
}

// Presses "Cancel" in the "Printing" box as soon as the print command lets
// events through; false when the box or an enabled Cancel was not there.
bool g_cancel_pressed = false;
void press_cancel_when_shown() {
    QTimer::singleShot(0, [] {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QDialog*>(top);
            if (!box || !box->isVisible() || box->windowTitle() != "Printing") continue;
            for (QAbstractButton* b : box->findChildren<QAbstractButton*>()) {
                if (b->text() != "Cancel" || !b->isEnabled() || !box->isEnabled()) continue;
                b->click();
                g_cancel_pressed = true;
            }
        }
    });
}

TEST_F(SaveCommand, CancelInTheProgressBoxEndsTheJobWithoutOutput) {
    QTemporaryDir dir;
    g_answer_path = (dir.path() + "/cancelled.pdf").toStdString();
    g_cancel_pressed = false;
    press_cancel_when_shown();
    EXPECT_EQ(print_window_image(&cw), 0);
    EXPECT_TRUE(g_cancel_pressed) << "no usable Cancel button in the progress box";
    EXPECT_TRUE(g_box_text.empty()) << g_box_text;
    EXPECT_FALSE(QFile::exists(QString::fromStdString(g_answer_path)));
    QApplication::processEvents();
}

} // namespace
