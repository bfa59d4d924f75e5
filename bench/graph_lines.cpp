// Drawing speed of the window layer: a full plot redraw draws 300000 curve
// segments, so one segment must cost well under a microsecond or two.
#include "window/graph/graphics.h"
#include "window/graph/surface_ops.h"
#include "window/graph/text_window.h"
#include "window/kernel/units.h"
#include "window/graph/graph_setup.h"
#include "window/kernel/window_program.h"

#include <benchmark/benchmark.h>

#include <QApplication>

namespace {

// One curve point per segment, a few pixels apart, as the plot draws them.
double curve_h(int i) {
    return -1.0 + 2.0 * (i % 1000) / 1000.0;
}

// The engine alone on a 1024 x 768 surface: 300000 segments in window coordinates.
void BM_EngineSegments(benchmark::State& state) {
    SurfaceState s;
    surface_reset(s, 1024, 768, 32);
    surface_set_viewport(s, 67, 8, 983, 616);
    surface_set_window(s, true, -1, -1, 1, 1);
    for (auto _ : state) {
        double a, b;
        surface_move_to_w(s, -1, -1, a, b);
        for (int i = 0; i < 300000; ++i) {
            double h = curve_h(i);
            surface_line_to_w(s, h, h * h * h);
        }
        benchmark::DoNotOptimize(s.pen_x);
    }
    state.SetItemsProcessed(state.iterations() * 300000);
}
BENCHMARK(BM_EngineSegments)->Unit(benchmark::kMillisecond);

// The public operation on a window of the frame, from the interface thread
// (where the mouse callbacks draw): lock, draw, coalesced screen update.
void BM_WindowSegments(benchmark::State& state) {
    open_window_unit(10, "Bench");
    set_viewport(67, 8, 983, 616);
    set_window(true, -1, -1, 1, 1);
    for (auto _ : state) {
        WindowPoint p;
        move_to_w(-1, -1, p);
        for (int i = 0; i < 300000; ++i) {
            double h = curve_h(i);
            line_to_w(h, h * h * h);
        }
        QApplication::processEvents();
    }
    state.SetItemsProcessed(state.iterations() * 300000);
    close_window_unit(10, "DELETE");
    QApplication::processEvents();
}
BENCHMARK(BM_WindowSegments)->Unit(benchmark::kMillisecond);

// Text records written to a window, with scrolling once the grid is full.
void BM_TextRecords(benchmark::State& state) {
    open_window_unit(11, "Text bench");
    const char line[] = " Left button: set Hn; right button: construct the curve to Hn";
    for (auto _ : state) {
        write_unit_record(11, line, sizeof line - 1);
        QApplication::processEvents();
    }
    state.SetItemsProcessed(state.iterations());
    close_window_unit(11, "DELETE");
    QApplication::processEvents();
}
BENCHMARK(BM_TextRecords);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    set_message_box_answer([](const char*, const char*, int) { return 1; });
    install_window_graph();
    frame_start("bench_graph");
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    QApplication::processEvents();
    frame_shutdown();
    return 0;
}
