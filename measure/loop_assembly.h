// Finding the loops in a measured series as instruments really record them: plateaus of
// repeated fields at the turning points averaged into one point, small jitter of the field
// absorbed (a turn counts only once the field has moved back by more than the noise of its
// steps), and a virgin curve or extra half loops around the full loops set aside and counted.
// Pure code: any thread.
#pragma once

#include <cstdint>
#include <vector>

// One monotone run of the field (up to jitter): the points first..last of the cleaned series,
// the turning points shared with the runs before and after.
struct FieldRun {
    int64_t first = 0;   // index of its first point in the cleaned series
    int64_t last = 0;    // index of its last point
    int direction = 0;   // +1 rising, -1 falling
    double H_from = 0.0; // field at first and at last
    double H_to = 0.0;
};

// A full loop: two adjacent runs in opposite directions, each spanning the series' field range
// (up to kFullSpanFraction), in measurement order.
struct FoundLoop {
    int first_run = 0; // index of its first run in runs; the second is first_run + 1
};

// The cleaned series and what was found in it.
struct AssembledSeries {
    std::vector<double> H;        // fields after merging plateaus, in measurement order
    std::vector<double> M;        // moments (plateaus averaged)
    std::vector<int64_t> source;  // index in the raw series of each cleaned point's first
                                  // raw point
    std::vector<FieldRun> runs;   // the monotone runs, in order
    std::vector<FoundLoop> loops; // the full loops, in order
    int64_t merged_points = 0;    // raw points merged into plateaus (beyond one per plateau)
    int64_t jitter_turns = 0;     // reversals of the field absorbed as jitter
    int64_t set_aside_runs = 0;   // runs in no full loop (virgin curve, extra half loops)
    int64_t set_aside_points = 0; // points of those runs, turning points not counted twice
    double H_min = 0.0;           // extreme fields of the whole series
    double H_max = 0.0;
};

// A run is full when it spans at least this fraction of the series' field range.
constexpr double kFullSpanFraction = 0.8;

// A reversal of the field is a turn once the field has moved back by more than this many
// typical steps (the mean |dH| of the series) or kJitterSpanFraction of the field range, whichever
// is less; smaller excursions are jitter.
constexpr double kJitterSteps = 3.0;

// Jitter is never taken to exceed this fraction of the series' field range.
constexpr double kJitterSpanFraction = 0.1;

// Cleans the count points (H[i], M[i]) and finds their runs and full loops.
void assemble_series(const double* H, const double* M, int64_t count, AssembledSeries& out);
