// One measured loop from a series: assembled, corrected as asked (slope, drift, centring) and
// measured, with every step reported. Pure code: any thread.
#pragma once

#include <cstdint>
#include <string>

#include "measure/loop_assembly.h"
#include "measure/loop_corrections.h"
#include "measure/loop_figures.h"
#include "measure/measured_series.h"

// Where the high-field slope comes from.
enum class SlopeChoice {
    none,      // no slope correction
    automatic, // fitted to the high-field ends (fit_high_field_slope)
    file,      // the header's "Slope correction"
    value,     // a value given by the user
};

// The corrections asked for.
struct LoopRequest {
    SlopeChoice slope = SlopeChoice::none; // the slope correction
    double slope_value = 0.0;   // SlopeChoice::value: moment per field, in the series' units
    bool drift = false;         // remove a linear drift of the moment
    bool centre = false;        // remove the field and moment offsets
    double high_fraction = 0.7; // the high-field ends: |H| >= this fraction of the largest field
};

// What was done to one loop and what came out.
struct LoopReport {
    int loop = 0;               // index of the loop in the series (0 is the first)
    int loops = 0;              // full loops in the series
    SlopeFit slope;             // the slope removed and how it was found
    double closure_gap = 0.0;   // M of the last point minus M of the first, after the slope
                                // correction and before any drift correction
    bool drift_removed = false; // a drift was removed
    double drift = 0.0;         // the drift removed over the loop (M units)
    bool centred = false;       // offsets were removed
    LoopOffsets offsets;        // the offsets removed
    LoopFigures figures;        // the figures of the corrected loop
};

// Corrects and measures loop number loop of the assembled series s (whose units the header
// figures of series share). False with one line of explanation in reason (no full loop, a
// branch without crossings, too few high-field points for a slope fit, no slope in the header).
bool analyse_loop(const MeasuredSeries& series, const AssembledSeries& s, int loop,
                  const LoopRequest& request, LoopReport& report, std::string& reason);
