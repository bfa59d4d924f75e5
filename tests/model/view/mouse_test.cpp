// The mouse handler driven by real mouse events on the headless workspace widget.
#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QWidget>

#include "model/model_seams.h"
#include "model/model_state.h"
#include "model/plot.h"
#include "window/kernel/child_window.h"
#include "workspace_fixture.h"

namespace {

class MouseTest : public WorkspaceTest {
  protected:
    // Sends one mouse event to the window's widget at surface pixel (x, y) (not scrolled): to
    // the viewport that shows the surface when the widget scrolls.
    void send(QEvent::Type type, Qt::MouseButton button, int x, int y) {
        QWidget* view = window->view;
        ASSERT_NE(view, nullptr);
        if (auto* area = qobject_cast<QAbstractScrollArea*>(view)) view = area->viewport();
        const QPointF local(x, y);
        QMouseEvent event(type, local, view->mapToGlobal(local), button,
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::MouseButtons(button),
                          Qt::NoModifier);
        QApplication::sendEvent(view, &event);
        QApplication::processEvents();
    }
    void left_click(int x, int y) {
        send(QEvent::MouseButtonPress, Qt::LeftButton, x, y);
        send(QEvent::MouseButtonRelease, Qt::LeftButton, x, y);
    }
    void right_click(int x, int y) {
        send(QEvent::MouseButtonPress, Qt::RightButton, x, y);
        send(QEvent::MouseButtonRelease, Qt::RightButton, x, y);
    }
    void move(int x, int y) { send(QEvent::MouseMove, Qt::NoButton, x, y); }
};

} // namespace

TEST_F(MouseTest, LeftClickOnTheLeftEdgeSetsHmin) {
    g_model.Hn = 0.3;
    left_click(g_model.PlotLeft, 300);
    EXPECT_EQ(g_model.Hn, g_model.Hmin);
    EXPECT_EQ(g_model.MarkerX, g_model.PlotLeft - 3);
}

TEST_F(MouseTest, LeftClickOnTheRightEdgeSetsHmaxUpToRounding) {
    left_click(g_model.PlotRight, g_model.PlotBottom);
    EXPECT_NEAR(g_model.Hn, g_model.Hmax, 1e-12);
}

TEST_F(MouseTest, LeftClickOutsideThePlotChangesNothing) {
    const QImage before = snapshot();
    const struct {
        int x, y;
    } outside[] = {{g_model.PlotLeft - 1, 300},
                   {g_model.PlotRight + 1, 300},
                   {400, g_model.PlotTop - 1},
                   {400, g_model.PlotBottom + 1}};
    for (const auto& p : outside) {
        left_click(p.x, p.y);
        EXPECT_EQ(g_model.Hn, -1.0) << p.x << "," << p.y;
        EXPECT_EQ(g_model.MarkerX, 64);
    }
    EXPECT_EQ(snapshot(), before);
}

TEST_F(MouseTest, TwoLeftClicksLeaveOneMarker) {
    left_click(300, 200);
    left_click(700, 400);
    EXPECT_DOUBLE_EQ(g_model.Hn, (700 - 67) * g_model.HperPixel + g_model.Hmin);
    const QImage clicked = snapshot();
    // A full redraw draws exactly one marker, at Hn's column.
    redraw_plot(g_model);
    EXPECT_EQ(g_model.MarkerX, 700 - 3);
    EXPECT_EQ(snapshot(), clicked);
    EXPECT_EQ(count_colour(clicked, kCyan, 297, 100, 303, 600), 0);
}

TEST_F(MouseTest, ReadoutAtTheTopLeftCornerShowsHminAndBmax) {
    move(g_model.PlotLeft, g_model.PlotTop);
    expect_text_at(snapshot(), "H=-1.000000     B= 1.000000    ", 200, 636);
}

TEST_F(MouseTest, ReadoutIsRoundedToSinglePrecision) {
    // One pixel inside the corner: H = -1 + 2/916 and B = 1 - 2/608, in G13.7 (no room for the
    // zero before the point of a negative value below one).
    move(g_model.PlotLeft + 1, g_model.PlotTop + 1);
    expect_text_at(snapshot(), "H=-.9978166     B=0.9967105    ", 200, 636);
}

TEST_F(MouseTest, ReadoutIsBlankAfterLeavingThePlot) {
    move(500, 300);
    EXPECT_GT(count_colour(snapshot(), kBlack, 200, 636, 510, 656), 0);
    move(g_model.PlotLeft - 1, 300);
    EXPECT_EQ(count_colour(snapshot(), kWhite, 200, 636, 510, 656), 311 * 21);
}

TEST_F(MouseTest, RightClickDrawsTheCurveInRed) {
    left_click(700, 300);
    const double hn = g_model.Hn;
    right_click(10, 10); // the position plays no part
    EXPECT_EQ(g_model.Hcur, hn);
    EXPECT_EQ(g_model.Nnew, 0);
    EXPECT_GT(g_model.Ndrawn, 0);
    const QImage img = snapshot();
    EXPECT_GT(count_colour(img, kRed, 67, 8, 983, 616), 300);
    EXPECT_EQ(count_colour(img, kRed, 0, 0, 66, 767), 0);
}

bool g_started_under_wait_cursor = false; // the construction began with the wait cursor shown

void look_at_cursor() {
    const QCursor* c = QGuiApplication::overrideCursor();
    g_started_under_wait_cursor = c && c->shape() == Qt::WaitCursor;
}

TEST_F(MouseTest, RightClickConstructsUnderTheWaitCursor) {
    left_click(700, 300);
    g_started_under_wait_cursor = false;
    set_construction_started(look_at_cursor);
    right_click(10, 10);
    set_construction_started(nullptr);
    EXPECT_TRUE(g_started_under_wait_cursor);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(MouseTest, MovingTheMarkerOffTheCurveLeavesNoTrace) {
    // The curve ends on the marker's column, and its first point lies on the marker's line.
    left_click(700, 300);
    right_click(700, 300);
    left_click(300, 200);
    const QImage clicked = snapshot();
    // Nothing of the old marker is left where the curve or the limiting loop (drawn again by the
    // first construction) crossed it: only the plot's own colours remain around its column.
    int others = 0;
    for (int y = 0; y < kSurfaceHeight; ++y)
        for (int x = 694; x <= 706; ++x) {
            const uint32_t c = rgb_at(clicked, x, y);
            if (c != kWhite && c != kBlack && c != kGreen && c != kRed) ++others;
        }
    EXPECT_EQ(others, 0);
    // The picture is the one a full redraw gives, which draws the marker last.
    redraw_plot(g_model);
    EXPECT_EQ(snapshot(), clicked);
}

TEST_F(MouseTest, SecondRightClickAppendsTenCopiesOfTheCurrentPoint) {
    left_click(700, 300);
    right_click(700, 300);
    const int32_t drawn = g_model.Ndrawn;
    right_click(700, 300);
    EXPECT_EQ(g_model.Ndrawn, drawn + 10);
    for (int i = drawn + 1; i <= drawn + 10; ++i) {
        EXPECT_EQ(g_model.Hcurve[i], g_model.Hcurve[drawn]);
        EXPECT_EQ(g_model.Bcurve[i], g_model.Bcurve[drawn]);
    }
}

TEST_F(MouseTest, OtherEventsAreIgnored) {
    const QImage before = snapshot();
    const double hn = g_model.Hn;
    send(QEvent::MouseButtonPress, Qt::MiddleButton, 500, 300);
    send(QEvent::MouseButtonDblClick, Qt::LeftButton, 500, 300);
    EXPECT_EQ(g_model.Hn, hn);
    EXPECT_EQ(snapshot(), before);
}
