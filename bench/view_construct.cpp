// Cost of the interactive constructions on a headless 1024 x 768 workspace: one right click from
// negative saturation to H = 0.5 (300 points computed and drawn), the same at Hc = 0.01 and 0.001,
// a 10-cycle cyclic Execute between -0.5 and 0.5 (20 legs, each drawn) and the long Executes
// (cyclic 300, spiral 200). The click also runs right after a toolkit string hash, as it does
// inside the event loop: that hash leaves the upper AVX halves in use, which made the quadrature
// 3.5 times slower until it cleared them on entry.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QHash>
#include <QString>
#include <cstring>
#include <memory>
#include <mutex>

#include "model/density_lorentz.h"
#include "model/curve_construction.h"
#include "model/execute_cycles.h"
#include "model/model_seams.h"
#include "model/model_state.h"
#include "model/mouse_interaction.h"
#include "model/plot.h"
#include "model/preisach.h"
#include "model/state_sequences.h"
#include "numerics/vector_state.h"
#include "window/graph/fonts.h"
#include "window/graph/graphics.h"
#include "window/graph/surface_ops.h"
#include "window/kernel/child_window.h"
#include "window/kernel/units.h"
#include "window/graph/graph_setup.h"
#include "window/graph/graphics_data.h"
#include "window/kernel/window_program.h"

namespace {

constexpr int kWorkspaceUnit = 10;
constexpr char kFont[] = "T'COURIER'h14w9";

// The scalar fields a construction changes; the arrays below Ndrawn and Krev stay as they were.
struct ProcessState {
    double Hcur, Bcur, Hn, Dir, dHprev;
    int32_t Krev, Ndrawn, Nnew, Ncyc, CycleMode, met;
};

ProcessState save_process(const ModelState& m) {
    return {m.Hcur,   m.Bcur, m.Hn,   m.Dir,       m.dHprev, m.Krev,
            m.Ndrawn, m.Nnew, m.Ncyc, m.CycleMode, m.met};
}

void restore_process(ModelState& m, const ProcessState& p) {
    m.Hcur = p.Hcur;
    m.Bcur = p.Bcur;
    m.Hn = p.Hn;
    m.Dir = p.Dir;
    m.dHprev = p.dHprev;
    m.Krev = p.Krev;
    m.Ndrawn = p.Ndrawn;
    m.Nnew = p.Nnew;
    m.Ncyc = p.Ncyc;
    m.CycleMode = p.CycleMode;
    m.met = p.met;
}

// The end of an Execute without the dialog: viewport, marker, read-out.
void finish_without_dialog(ModelState& m, void*) {
    set_whole_viewport();
    toggle_marker(m, true);
    show_hn_label(m);
}

// Opens the workspace as Open workspace does, on a 1024 x 768 surface.
bool open_workspace() {
    reset_to_program_start(g_model);
    set_startup_parameters(g_model);
    open_workspace_saturation(g_model);
    open_workspace_reset(g_model);
    if (open_window_unit(kWorkspaceUnit, "Hysteresis modeling workspace") != 1) return false;
    ChildWindow* cw = window_for_unit(kWorkspaceUnit);
    {
        std::lock_guard<std::mutex> hold(cw->lock);
        graphics_of(cw).gfx.requested_width = 1024;
        graphics_of(cw).gfx.requested_height = 768;
        if (cw->configured) surface_reset(graphics_of(cw).gfx, 1024, 768, 32);
    }
    init_fonts();
    set_font(kFont, static_cast<int>(sizeof(kFont) - 1));
    WindowConfig config = {};
    get_window_config(config);
    set_plot_surface(g_model, config.width, config.height);
    redraw_plot(g_model);
    set_leg_draw(draw_new_points_under_marker); // as the program connects it
    set_execute_finished(finish_without_dialog);
    return config.width == 1024 && config.height == 768;
}

// Right clicks from negative saturation to H = 0.5, each from the same state.
void time_right_clicks(benchmark::State& state) {
    const ProcessState start = save_process(g_model);
    int32_t unit = kWorkspaceUnit, event = kMouseRightDown, keys = 2, x = 500, y = 300;
    for (auto _ : state) {
        state.PauseTiming();
        restore_process(g_model, start);
        g_model.Hn = 0.5;
        state.ResumeTiming();
        on_mouse_event(unit, event, keys, x, y);
    }
    if (g_model.Ndrawn != 300) state.SkipWithError("the click did not draw 300 points");
    restore_process(g_model, start);
}

void BM_RightClickFromSaturationToHalf(benchmark::State& state) {
    time_right_clicks(state);
}
BENCHMARK(BM_RightClickFromSaturationToHalf)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The same click at a small Hc (the argument in units of 1e-4), where the long triangles of the
// click are integrated in pieces cut at the density's peaks.
void BM_RightClickAtSmallHc(benchmark::State& state) {
    const double Hc = g_model.density.parameter[kLorentzHc];
    const double Kmax = g_model.density.norm;
    g_model.density.parameter[kLorentzHc] = static_cast<double>(state.range(0)) * 1e-4;
    compute_kmax(g_model);
    time_right_clicks(state);
    g_model.density.parameter[kLorentzHc] = Hc;
    g_model.density.norm = Kmax;
}
BENCHMARK(BM_RightClickAtSmallHc)
    ->Arg(100)
    ->Arg(10)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The same click right after what the event loop does all the time: hashing a string. With the
// toolkit's AES hash (strings over 32 bytes, non-zero seed) the upper AVX halves are in use when
// the click starts; "dirty_before" is the share of clicks that began so (0 where the processor
// has no such hash or cannot show the state). Must cost what the plain click costs.
void BM_RightClickAfterToolkitHash(benchmark::State& state) {
    const ProcessState start = save_process(g_model);
    const QString key = QString(64, QLatin1Char('h'));
    int32_t unit = kWorkspaceUnit, event = kMouseRightDown, keys = 2, x = 500, y = 300;
    double dirty = 0.0;
    size_t sink = 0;
    for (auto _ : state) {
        state.PauseTiming();
        restore_process(g_model, start);
        g_model.Hn = 0.5;
        sink += qHash(key, QHashSeed::globalSeed());
        if (upper_vector_state_in_use()) dirty += 1.0;
        state.ResumeTiming();
        on_mouse_event(unit, event, keys, x, y);
    }
    benchmark::DoNotOptimize(sink);
    if (g_model.Ndrawn != 300) state.SkipWithError("the click did not draw 300 points");
    state.counters["dirty_before"] = dirty / static_cast<double>(state.iterations());
    restore_process(g_model, start);
}
BENCHMARK(BM_RightClickAfterToolkitHash)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The two halves of the click: the construction alone, and the drawing of its 300 points with
// the limiting loop.
void BM_ConstructionOnly(benchmark::State& state) {
    const ProcessState start = save_process(g_model);
    for (auto _ : state) {
        state.PauseTiming();
        restore_process(g_model, start);
        g_model.Hn = 0.5;
        state.ResumeTiming();
        construct_to_hn(g_model);
    }
    restore_process(g_model, start);
}
BENCHMARK(BM_ConstructionOnly)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_DrawingOnly(benchmark::State& state) {
    const ProcessState start = save_process(g_model);
    g_model.Hn = 0.5;
    construct_to_hn(g_model);
    const ProcessState constructed = save_process(g_model);
    for (auto _ : state) {
        state.PauseTiming();
        restore_process(g_model, constructed);
        state.ResumeTiming();
        draw_new_points(g_model);
        set_whole_viewport();
    }
    restore_process(g_model, start);
}
BENCHMARK(BM_DrawingOnly)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// Executes from H = -0.5 on the limiting loop to Hn = 0.5, drawn leg by leg as the program does:
// cyclic alteration (mode 1) or gradual spiral approach (mode 2), 300 points per leg.
void time_execute(benchmark::State& state, int32_t mode, int32_t cycles) {
    const ProcessState saturated = save_process(g_model);
    g_model.Hn = -0.5;
    construct_to_hn(g_model);
    draw_new_points(g_model);
    set_whole_viewport();
    const ProcessState start = save_process(g_model);
    for (auto _ : state) {
        state.PauseTiming();
        restore_process(g_model, start);
        g_model.Hn = 0.5;
        g_model.Ncyc = cycles;
        g_model.CycleMode = mode;
        state.ResumeTiming();
        execute_cycles(g_model, nullptr);
    }
    if (g_model.Hcur != (mode == 1 ? -0.5 : 0.5))
        state.SkipWithError("the Execute ended elsewhere");
    restore_process(g_model, saturated);
}

void BM_CyclicExecuteTenCycles(benchmark::State& state) {
    time_execute(state, 1, 10);
}
BENCHMARK(BM_CyclicExecuteTenCycles)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

// The long Executes: cyclic with 300 cycles, spiral with 200.
void BM_LongExecute(benchmark::State& state) {
    time_execute(state, static_cast<int32_t>(state.range(0)), static_cast<int32_t>(state.range(1)));
}
BENCHMARK(BM_LongExecute)
    ->ArgNames({"mode", "cycles"})
    ->Args({1, 300})
    ->Args({2, 200})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

int answer_no(const char*, const char*, int) {
    return 7;
}

} // namespace

int main(int argc, char** argv) {
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    set_message_box_answer(answer_no);
    install_window_graph();
    frame_start("bench_view");
    if (!open_workspace()) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    frame_shutdown();
    return 0;
}
