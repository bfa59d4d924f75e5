// The model's routine pointers to the interface and their do-nothing defaults.
#include "model/model_seams.h"

#include "model/curve_construction.h"

namespace {

void no_construction_started() {}

void commit_only(ModelState& m) {
    commit_new_points(m);
}

void no_execute_finished(ModelState&, void*) {}

void no_points_drawn() {}

bool never_stop() {
    return false;
}

// Set once at start-up by the program, read by the constructions on the interface thread.
ConstructionStartedRoutine g_construction_started = no_construction_started;
LegDrawRoutine g_leg_draw = commit_only;
ExecuteFinishedRoutine g_execute_finished = no_execute_finished;
PointsDrawnRoutine g_points_drawn = no_points_drawn;
StopCheckRoutine g_stop_check = never_stop;

} // namespace

void set_construction_started(ConstructionStartedRoutine r) {
    g_construction_started = r ? r : no_construction_started;
}

void set_leg_draw(LegDrawRoutine r) {
    g_leg_draw = r ? r : commit_only;
}

void set_execute_finished(ExecuteFinishedRoutine r) {
    g_execute_finished = r ? r : no_execute_finished;
}

void notify_construction_started() {
    g_construction_started();
}

void draw_leg(ModelState& m) {
    g_leg_draw(m);
}

void notify_execute_finished(ModelState& m, void* ui_context) {
    g_execute_finished(m, ui_context);
}

void set_points_drawn(PointsDrawnRoutine r) {
    g_points_drawn = r ? r : no_points_drawn;
}

void notify_points_drawn() {
    g_points_drawn();
}

void set_stop_check(StopCheckRoutine r) {
    g_stop_check = r ? r : never_stop;
}

bool stop_requested() {
    return g_stop_check();
}
