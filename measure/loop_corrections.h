// The standard corrections of a measured loop, each on its own and each reported: the
// high-field slope (para- or diamagnetic contribution, or the holder's), a linear drift of the
// moment, and the field and moment offsets removed by centring. Pure code: any thread.
#pragma once

#include <cstdint>
#include <string>

// How the high-field slope was found.
enum class SlopeSource {
    none,       // no slope removed
    linear,     // fitted: M = Ms + chi H on the high-field ends
    saturation, // fitted: M = Ms + chi H + alpha |H|^beta (approach to saturation), where a
                // straight line does not fit
    header,     // the slope the file's header states
    given,      // the slope given on the command line
};

// A slope and how it was found.
struct SlopeFit {
    SlopeSource source = SlopeSource::none; // where chi comes from
    double chi = 0.0;                       // the slope removed, moment per field (A m^2 / T in SI)
    double Ms = 0.0;                        // the fit's saturation moment (fitted sources only)
    double alpha = 0.0;                     // the approach-to-saturation term's factor and exponent
    double beta = 0.0;                      // (SlopeSource::saturation only)
    int64_t points = 0;                     // high-field points the fit used
    double rms = 0.0;                       // rms residual of the fit
};

// Fewest high-field points a slope fit needs.
constexpr int64_t kSlopeFitMinPoints = 6;

// Fits the high-field slope to the points with H >= fraction H_max or H <= fraction H_min (the
// negative end folded onto the positive one: -H, -M), first as a straight line, then in the
// approach-to-saturation form (nonlinear least squares); the second is taken when it fits
// significantly better (an F test at the 1 % level) with a negative exponent. False with one
// line in reason when too few points lie at high fields.
bool fit_high_field_slope(const double* H, const double* M, int64_t count, double fraction,
                          SlopeFit& fit, std::string& reason);

// M[k] -= chi H[k].
void remove_slope(const double* H, double* M, int64_t count, double chi);

// Removes a moment drift linear in measurement order, so that the loop's last point meets its
// first (both lie at the same extreme field). Returns the drift removed: the closure gap
// M[count-1] - M[0] before the correction.
double remove_drift(double* M, int64_t count);

// The offsets of a loop from its crossings: the field offset is the mean of the branches' M = 0
// crossings, the moment offset the mean of their H = 0 crossings.
struct LoopOffsets {
    double H_offset = 0.0; // removed from every field
    double M_offset = 0.0; // removed from every moment
};

// Most passes of the centring (each removes what the crossings still show).
constexpr int kCentringPasses = 50;

// Centres the loop (runs 0..turn and turn..count-1) by removing its offsets, found from the
// crossings of the branches, pass after pass until the crossings are symmetric. False with
// reason when a branch lacks a crossing.
bool centre_loop(double* H, double* M, int64_t count, int64_t turn, LoopOffsets& offsets,
                 std::string& reason);

// The name of a slope source as printed ("none", "linear", "approach_to_saturation", "file",
// "given").
const char* slope_source_name(SlopeSource source);
