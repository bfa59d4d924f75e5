// The one record of the hysteresis model and its program-start values.
// Interface thread only: every reader and writer is a menu, dialog or mouse handler, run one at a
// time, so the record has no lock.
//
// Invariants that tie the fields together (checked in debug builds through
// model/model_invariants.h; release builds keep clamps that make a broken one harmless):
// - Curve buffer: 0 <= Ndrawn <= kCurveBound. Points 0..Ndrawn are drawn; after a construction
//   the points Ndrawn+1..Ndrawn+Nnew are computed but not drawn, with Nnew >= 0 and
//   Ndrawn + Nnew <= kCurveBound. Drawing (or commit_new_points) moves them into the drawn part
//   and leaves Nnew = 0, which is the state between constructions.
// - Reversal stack: 0 <= Krev <= kReversalSlots - 1. Hrev[0], Brev[0] is the start point (Ho and
//   -+Bs); Hrev[1..Krev] are the reversal points still in memory, their fields alternating
//   around the present branch so that each pair encloses the next (wiping out removes the top
//   pair once the field passes the older one).
// - Direction: Dir is +1 or -1; it flips with every recorded reversal and is unchanged when a
//   pair is wiped out. The sign of dHprev agrees with Dir once a workspace is open.
// - Present point: after a finished construction (met = 3), Hcur = Hn = Hcurve[Ndrawn + Nnew]
//   and Bcur = Bcurve[Ndrawn + Nnew]; B on the present branch is Brev[Krev] plus Dir times the
//   Everett integral from Hrev[Krev] to Hcur. After a stop at the curve bound Hcur is one step
//   beyond the last stored point; after any other stop it is that point.
// - Major loop: Nmaj = 200 after Open workspace, Hmaj[1..201] ascending from -Hs by dHmaj.
//   0 <= Nfine <= kMajorFineSlots; the fine points lie in loop order between their entries
//   (Kfine ascending, each in 1..200).
#pragma once

#include "model/density.h"

#include <cstdint>

// Slots of the curve buffer (indices 0..300001); no operation writes above kCurveBound.
constexpr int32_t kCurveSlots = 300002;
// Highest curve-buffer index a construction writes.
constexpr int32_t kCurveBound = 300000;
// Slots of the reversal stack (indices 0..1000).
constexpr int32_t kReversalSlots = 1001;
// Slots of the major-loop arrays; entries are numbered 1..201 and stored at that index.
constexpr int32_t kMajorSlots = 302;
// Slots of the limiting loop's fine points: far more than four peak fields need on both halves.
constexpr int32_t kMajorFineSlots = 1100;

// Start-up values: the single-precision 0.4 and its normalisation factor 3.238588, widened.
constexpr double kStartupHc = static_cast<double>(0.4f);
constexpr double kStartupKmax = static_cast<double>(3.238588f);

// Cycle modes of an Execute (ModelState::CycleMode).
constexpr int32_t kCycleSingle = 0;      // a single move to Hn
constexpr int32_t kCycleAlternating = 1; // "Cyclic alteration of H between Hc and Hn"
constexpr int32_t kCycleSpiral = 2;      // "Gradual spiral approach to Hn"

// Everything the model, its plot and the reversal dialog share. H is in units of Hs, B in units
// of Bs (both 1 once a workspace is open). Arrays are fixed: nothing is allocated while it runs.
struct ModelState {
    // Parameters of the model.
    Density density; // the Preisach density: at start-up the Lorentzian of parameter Hc, its
                     // norm the normalisation factor Kmax
    double Hs;       // saturation field (1 after Open workspace)
    double Bs;       // saturation induction (1 after Open workspace)
    double Smem;     // memory factor: stored and shown by Settings, read by no computation
    double Amem;     // attenuation factor of accommodation: likewise only stored
    double Ho;       // start value of H: -Hs or +Hs

    // State of the magnetisation process.
    double Hcur;  // field of the last point of the constructed curve
    double Bcur;  // induction of the last computed point
    double Hn;    // next reversal value: the field the next construction runs to
    double Dir;   // +1 while H increases on the current branch, -1 while it decreases
    int32_t Krev; // index of the top reversal point; 0 is the start point
    double Hrev[kReversalSlots]; // H of the reversal points; Hrev[0] is the start point
    double Brev[kReversalSlots]; // B at the reversal points
    double dH;                   // H step of the running construction
    double dHprev;               // last non-zero step; only its sign is used (reversal detection)
    int32_t met;                 // 4 while a construction runs, 3 finished, 2 stopped

    // Curve buffer: one polyline from the start point.
    double Hcurve[kCurveSlots]; // H of the curve points; Hcurve[0] is the start point
    double Bcurve[kCurveSlots]; // B of the curve points
    int32_t Ndrawn;             // index of the last drawn point; 0..Ndrawn form the drawn curve
    int32_t Nnew;               // points after Ndrawn computed but not drawn yet

    // Limiting loop, computed by Open workspace.
    double Hmaj[kMajorSlots]; // H of loop entry k at index k, k = 1..201; index 0 unused
    double Bmaj[kMajorSlots]; // B of loop entry k at index k
    int32_t Nmaj;             // number of loop segments, 200
    double dHmaj;             // H step of the loop, 0.02 Hs
    // Fine points of the limiting loop where dHmaj is too coarse for the density's peaks (a
    // step above a quarter of the peak width near a peak field, as for a small Hc): drawn
    // between the entries. Fine point i lies between entries Kfine[i] and Kfine[i] + 1.
    double Hfine[kMajorFineSlots];  // H of fine point i
    double Bfine[kMajorFineSlots];  // B of fine point i
    int32_t Kfine[kMajorFineSlots]; // the entry before fine point i
    int32_t Nfine;                  // number of fine points

    // Axes and plot geometry (window pixels, y downwards).
    double Hmin, Hmax;  // H-axis bounds
    double Bmin, Bmax;  // B-axis bounds
    double HperPixel;   // H per horizontal pixel of the plot area, set by a full redraw
    double BperPixel;   // B per vertical pixel, set by a full redraw
    int16_t PlotLeft;   // left edge of the plot area, always 67
    int16_t PlotTop;    // top edge of the plot area, always 8
    int16_t PlotRight;  // right edge, from the window width at Open workspace
    int16_t PlotBottom; // bottom edge, from the window height at Open workspace
    int16_t MarkerX;    // left corner of the Hn marker: the pixel column of Hn minus 3

    // Handed from the reversal dialog to Execute; Execute resets both to 0.
    int32_t Ncyc;      // number of cycles entered
    int32_t CycleMode; // kCycleSingle, kCycleAlternating or kCycleSpiral
};

// The single instance, living for the whole run, with the program-start values applied.
extern ModelState g_model;

// Program start: every field 0 except Smem = 0.125, Amem = 0.5, PlotLeft = 67, PlotTop = 8; the
// density is the Lorentzian with Hc and Kmax left 0 here; the main routine sets them with
// set_startup_parameters.
void reset_to_program_start(ModelState& m);

// The density := the Lorentzian with Hc = kStartupHc and Kmax = kStartupKmax (the main routine's
// first step).
void set_startup_parameters(ModelState& m);
