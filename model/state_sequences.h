// The sequences that reset many model fields together: Open workspace, Settings OK, Axes OK.
// Only the model's part; the callers (dialogs, plot) do the windows, menus and drawing around
// them. Interface thread only.
#pragma once

#include "model/model_state.h"

// Open workspace, step 1 (before the parameter dialog runs): Hs := 1, Bs := 1.
void open_workspace_saturation(ModelState& m);

// Open workspace, steps 3 to 5 (after the parameter dialog was confirmed): first curve and loop
// points, the limiting loop (200 integrals with the current Hc and Kmax), then the start state at
// negative saturation with axes -Hs..Hs and -Bs..Bs, Dir = +1, Krev = Ndrawn = Nnew = 0,
// dHprev = 3. Keeps Hc, Kmax, Smem, Amem, Ncyc and CycleMode. The caller then opens the window,
// sets PlotRight/PlotBottom, redraws the plot and registers the mouse handler (step 6).
void open_workspace_reset(ModelState& m);

// Settings confirmed with OK, model part: stores Smem and Amem, then the start state at
// negative saturation (start_negative true, "Ho = - Hs") or positive saturation ("Ho = Hs"):
// Dir, Ho, Hrev[0], Brev[0], Hcurve[0], Bcurve[0], dHprev = 3*Dir, Hn = Hcur = Ho,
// Bcur = Bcurve[0]. The caller then moves the marker, rewrites the "Hn=" read-out and greys
// "Settings...".
void apply_settings(ModelState& m, double Smem, double Amem, bool start_negative);

// Axes confirmed with OK, model part: stores the bounds as given. The caller redraws the plot,
// which recomputes HperPixel and BperPixel.
void apply_axes(ModelState& m, double Hmin, double Hmax, double Bmin, double Bmax);
