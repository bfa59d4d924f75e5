// The characteristic numbers of a closed B(H) loop, gathered point by point so that a loop of
// any length needs the same small record. Any one thread per record.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

// Fewest points a loop may have.
constexpr int64_t kLoopMinPoints = 5;

// Branch indices: the ascending branch is made of the steps that raise the field.
constexpr int kAscending = 0;
constexpr int kDescending = 1;

// What one branch has shown so far.
struct BranchCrossings {
    bool has_coercive = false;  // B = 0 was crossed (or touched) on this branch
    double coercive = 0.0;      // H of the first B = 0 crossing, linearly interpolated
    bool has_remanence = false; // H = 0 was crossed (or touched) on this branch
    double remanence = 0.0;     // B of the first H = 0 crossing, linearly interpolated
};

// The running state of one loop. The loop is the path through the points in their order, closed
// by the segment from the last point back to the first; it must consist of exactly two monotone
// runs of the field, one rising and one falling, in either order.
struct LoopAccumulator {
    int64_t points = 0;   // points added
    double H_first = 0.0; // the first point, which closes the path
    double B_first = 0.0;
    double H_last = 0.0; // the point added last
    double B_last = 0.0;
    int runs = 0;    // monotone runs of the field so far: 0 before the first step, 1 or 2
    int branch = -1; // kAscending or kDescending: the branch of the current run
    BranchCrossings crossing[2]; // indexed by kAscending, kDescending
    double H_max = 0.0;          // the largest field and the induction there (first such point)
    double B_at_H_max = 0.0;
    double H_min = 0.0; // the smallest field and the induction there (first such point)
    double B_at_H_min = 0.0;
    double area = 0.0; // trapezoid sum of H dB along the path so far, without the closure
};

// The numbers of a complete loop, in the data's units.
struct LoopMetrics {
    double coercive_ascending;   // H where the ascending branch crosses B = 0
    double coercive_descending;  // H where the descending branch crosses B = 0
    double coercive_mean;        // (coercive_ascending - coercive_descending) / 2
    double remanence_ascending;  // B where the ascending branch crosses H = 0
    double remanence_descending; // B where the descending branch crosses H = 0
    double H_max;                // the largest field of the loop
    double B_at_H_max;           // the induction there
    double H_min;                // the smallest field of the loop
    double B_at_H_min;           // the induction there
    double area;                 // the integral of H dB around the closed path (trapezoids):
                                 // the energy lost per cycle and unit volume, positive for a
                                 // loop run counter-clockwise in the (H, B) plane
    int64_t points;              // number of points
};

// Answers of loop_add_point.
constexpr int kLoopPointOk = 0;
constexpr int kLoopRepeatedField = 1; // the field equals the previous point's
constexpr int kLoopThirdRun = 2;      // the field turns a second time

// Starts an empty loop.
void loop_begin(LoopAccumulator& loop);

// Adds the next point (finite H and B). On kLoopRepeatedField or kLoopThirdRun the point is not
// added and the loop cannot be completed.
int loop_add_point(LoopAccumulator& loop, double H, double B);

// The branch the point added last belongs to: the branch of the step that reached it (the first
// point belongs to the first step's branch). -1 before the first step.
int loop_branch_of_last_point(const LoopAccumulator& loop);

// Completes the loop: true with the metrics, or false with one line of explanation in reason
// (fewer than kLoopMinPoints points, one branch only, a branch without a B = 0 or H = 0
// crossing).
bool loop_finish(const LoopAccumulator& loop, LoopMetrics& metrics, std::string& reason);

// Number of printed metrics, their names and values, in print order.
constexpr int kLoopMetricCount = 11;
const char* loop_metric_name(int index);
double loop_metric_value(const LoopMetrics& metrics, int index);

// Prints "name,value" lines, numbers with 17 significant digits.
void print_loop_metrics(std::FILE* out, const LoopMetrics& metrics);
