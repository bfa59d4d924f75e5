// The figures rock-magnetism reports of a (corrected) hysteresis loop: saturation moment,
// remanence and coercive field of each branch and their means, Mr/Ms, the loop's area (the
// energy lost per cycle) and shape parameter, and the gap that keeps it from closing. Pure code:
// any thread.
#pragma once

#include <cstdint>
#include <string>

// The figures of one loop, in the series' units (SI: T and A m^2, the area in J).
struct LoopFigures {
    double Ms = 0.0;            // saturation moment: half the difference of the mean moments
                                // of the two high-field ends (|H| >= high_fraction of the
                                // largest field)
    double Mr = 0.0;            // remanence: half the difference of the branches' M at H = 0
    double Mr_ascending = 0.0;  // M where the rising branch crosses H = 0
    double Mr_descending = 0.0; // M where the falling branch crosses H = 0
    double Bc = 0.0;            // coercive field: half the difference of the branches' H at
                                // M = 0
    double Bc_ascending = 0.0;  // H where the rising branch crosses M = 0
    double Bc_descending = 0.0; // H where the falling branch crosses M = 0
    double Mr_Ms = 0.0;         // Mr / Ms
    double area = 0.0;          // integral of (M_falling - M_rising) dH over the loop, by
                                // trapezoids along the measured path without any closing
                                // segment: the energy lost per cycle (T A m^2 = J)
    double shape = 0.0;         // the loop's shape parameter ln(area / (4 Ms Bc)): 0 for a
                                // rectangle-like ratio, negative for wasp-waisted loops,
                                // positive for pot-bellied ones
    double closure_gap = 0.0;   // M of the last point minus M of the first (the loop's ends lie
                                // at the same extreme field): what drift leaves open
    double H_max = 0.0;         // the largest and smallest field of the loop
    double H_min = 0.0;
    int64_t points = 0; // points of the loop (the turning point once)
};

// The figures of the loop H[0..count-1], M[0..count-1]: one run from index 0 to turn, the
// other from turn to count - 1, in opposite directions. False with one line of explanation in
// reason (a branch without an M = 0 or H = 0 crossing, no high-field points, figures that are
// not finite).
bool compute_loop_figures(const double* H, const double* M, int64_t count, int64_t turn,
                          double high_fraction, LoopFigures& figures, std::string& reason);
