// A headless workspace window of 1024 x 768 surface pixels with the plot drawn, for the plot and
// mouse tests. Interface thread (the test's main thread) only.
#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <cstdint>
#include <string>

struct ChildWindow;

// Surface size of the test workspace.
constexpr int kSurfaceWidth = 1024;
constexpr int kSurfaceHeight = 768;

// RGB values of the palette entries the plot uses.
constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kGreen = 0x008000;
constexpr uint32_t kCyan = 0x008080;
constexpr uint32_t kRed = 0xFF0000;
constexpr uint32_t kWhite = 0xFFFFFF;
// The marker drawn in XOR mode over the white background.
constexpr uint32_t kWhiteXorCyan = 0xFFFFFF ^ 0x008080;

// Opens unit 10 as the workspace with the limiting loop of the start-up Hc, sizes the plot from
// the surface, draws it and registers the mouse handler. File item 3 is a grayed stand-in for
// "Save results...".
class WorkspaceTest : public ::testing::Test {
  public:
    static void SetUpTestSuite();
    // The text drawn in black with the workspace font at (x, y) on a white surface of the same
    // size, in a scratch window: what a label should look like.
    static QImage reference_text(const std::string& text, int x, int y);

  protected:
    void SetUp() override;
    void TearDown() override;

    // A copy of the workspace surface.
    QImage snapshot() const;

    ChildWindow* window = nullptr; // the workspace window
};

// RGB of one pixel.
uint32_t rgb_at(const QImage& image, int x, int y);

// Number of pixels of a colour in the rectangle (inclusive corners, clipped to the image).
int count_colour(const QImage& image, uint32_t rgb, int x1, int y1, int x2, int y2);

// Checks that the text drawn at (x, y) on the plot looks like the reference rendering: within
// the text's cells, cut to the rectangle (x1, y1)-(x2, y2) where other figures stay out, the
// black pixels are the same.
void expect_text_at(const QImage& plot, const std::string& text, int x, int y, int x1 = 0,
                    int y1 = 0, int x2 = 1 << 20, int y2 = 1 << 20);
