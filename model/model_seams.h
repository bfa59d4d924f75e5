// Routine pointers through which the toolkit-free model reaches the interface: greying
// "Settings...", drawing after each leg of a series, the end of an Execute, new points drawn, and
// the user's Stop.
// The program sets them once at start-up; the defaults let the model run without any interface
// (tests, batch). Set them before the first construction; call them on the interface thread only.
#pragma once

#include "model/model_state.h"

// Called at every construction before its first step (the program greys "Settings...").
// Default: does nothing.
using ConstructionStartedRoutine = void (*)();

// Called after each leg of execute_cycles to draw the leg's new points: must leave Nnew = 0 and
// Ndrawn advanced over the new points (commit_new_points does the bookkeeping). The program
// connects draw_new_points. Default: commit_new_points without drawing.
using LegDrawRoutine = void (*)(ModelState& m);

// Called once at the end of execute_cycles, after Hn := Hcur and Ncyc = CycleMode = 0: the
// program sets the viewport to the whole window, moves the marker, rewrites the "Hn=" read-out
// and resets the reversal dialog. ui_context is what the caller passed to execute_cycles (the
// dialog record). Default: does nothing.
using ExecuteFinishedRoutine = void (*)(ModelState& m, void* ui_context);

// Called after draw_new_points has drawn and committed new curve points (the program enables
// "Save results..."). Default: does nothing.
using PointsDrawnRoutine = void (*)();

// Asked before every step of a construction: true stops the construction there, the points stored
// so far kept (met = kMetInterrupted), and ends an Execute's series. The program connects the
// user's Stop (Escape). It may let the interface handle input, but must not touch the model.
// Default: never stops.
using StopCheckRoutine = bool (*)();

// Each setter takes null to restore the default.
void set_construction_started(ConstructionStartedRoutine r);
void set_leg_draw(LegDrawRoutine r);
void set_execute_finished(ExecuteFinishedRoutine r);
void set_points_drawn(PointsDrawnRoutine r);
void set_stop_check(StopCheckRoutine r);

// Calls the connected routines.
void notify_construction_started();
void draw_leg(ModelState& m);
void notify_execute_finished(ModelState& m, void* ui_context);
void notify_points_drawn();
bool stop_requested();
