// The accepted ranges of the model's inputs (Hc, reversal fields, axis bounds) and the one routine
// that checks a value against them. Pure arithmetic without state; any thread may call it.
#pragma once

#include <cstdint>

// Smallest Hc accepted. Below it the density's peaks are so narrow that the adaptive quadrature,
// even with the triangles cut at the peaks, leaves errors of 0.02 to 0.25 in B, and the whole loop
// is narrower than one pixel of the default axes (2/916).
constexpr double kSmallestHc = 0.001;
// Hc stays below this bound (exclusive): the density is defined for 0 < Hc < 1.
constexpr double kHcBound = 1.0;
// Largest |H| of a reversal field or a batch step: a thousand times the saturation field. Beyond
// it a construction would run for minutes or lose the curve to rounding.
constexpr double kLargestField = 1000.0;
// Largest magnitude of an axis bound (Hmin, Hmax, Bmin, Bmax).
constexpr double kLargestAxisBound = 1000.0;

// The quantity whose accepted range a value is checked against.
enum class ModelQuantity : int32_t {
    Hc,         // kSmallestHc <= Hc < kHcBound
    field,      // |H| <= kLargestField
    axis_bound, // |bound| <= kLargestAxisBound
};

// The verdict of check_range.
enum class RangeCheck : int32_t {
    accepted,       // inside the accepted range
    below_smallest, // Hc only: 0 < value < kSmallestHc, a valid density the model refuses
    outside,        // outside the range of the quantity; NaN always lands here
};

// Checks value against the accepted range of quantity.
RangeCheck check_range(ModelQuantity quantity, double value);

// The words that refuse an Hc: "must be 0<Hc<1" for outside, "Hc must be at least 0.001" for
// below_smallest, null for accepted. The dialog prefixes "Error: ", the batch tool its option.
const char* hc_refusal(RangeCheck verdict);
