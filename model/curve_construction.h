// Construction of the B(H) curve from the current field Hcur to the next reversal value Hn, step
// by step over the reversal history, into the curve buffer. Interface thread only.
#pragma once

#include "model/model_state.h"

// Steps of a regular construction; the step is (Hn - Hcur) * (1/300).
constexpr int32_t kConstructionSteps = 300;
// Steps of a move shorter than one pixel.
constexpr int32_t kShortMoveSteps = 10;

// Values of met.
constexpr int32_t kMetRunning = 4;
constexpr int32_t kMetFinished = 3;
constexpr int32_t kMetStopped = 2; // curve buffer full or reversal stack full: no further legs
constexpr int32_t kMetInterrupted = 1; // stopped by the user (stop_requested): no further legs

// Messages written as one list-directed record (which adds a leading blank) to the standard output
// unit: the curve buffer is full; a reversal would need a slot past the reversal stack; the
// field to run to is not a finite number.
constexpr const char* kCurveFullMessage = "NT>NXY";
constexpr const char* kReversalsFullMessage = "Too many nested reversals: construction stopped";
constexpr const char* kNotFiniteMessage = "Hn is not a finite number: construction stopped";

// Appends the points from Hcur to Hn after Ndrawn: 300 steps, or about one pixel per step when
// the move spans fewer than 300 pixel columns (HperPixel), or 10 steps when it spans less than
// one. Records a reversal at the first step when the direction changed, inserts the closure
// point of every wiped-out minor loop before the step's own point, and ends with Hcur, Bcur at
// the last point, Nnew the number of new points and met = 3. Stops with met = 2 at the curve
// bound (" NT>NXY", Hcur one step beyond the last stored point) or when the reversal stack is
// full (kReversalsFullMessage, Hcur and Bcur left at the last stored point). A zero step leaves
// dHprev unchanged, so the direction memory survives a move of length 0. A non-finite Hn, or a
// move whose step is not finite, stops at once with met = 2 and no new point; so does an Ndrawn
// outside 0..curve bound (with " NT>NXY", as a full buffer).
// Before every step it asks stop_requested(): true ends the construction there with met = 1
// (kMetInterrupted), Nnew the points stored so far and Hcur, Bcur at the last of them.
// Calls notify_construction_started() before the first step. The caller draws the new points
// (or calls commit_new_points).
void construct_to_hn(ModelState& m);

// Bookkeeping of drawing the new points, without drawing: when Nnew > 0 and Ndrawn lies in
// 0..kCurveBound - 1, Ndrawn := Ndrawn + Nnew, at most kCurveBound; then Nnew := 0.
void commit_new_points(ModelState& m);

// Highest curve-buffer index a construction writes: kCurveBound unless lowered for tests.
// Values outside 0..kCurveBound are clamped.
void set_curve_bound_for_testing(int32_t bound);
int32_t curve_bound();
