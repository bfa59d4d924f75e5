// The Everett integral of a density over a triangle of switching fields, cut into pieces at the
// density's peak lines where one quadrature call would miss a peak, and the normalisation that
// makes the saturated states +-Bs. Interface thread only when the family's quadrature is (the
// Lorentzian's is).
#pragma once

#include "model/density.h"

// A triangle wider than this many peak widths is cut at the peak fields that cross it: the first
// rule application of a wider one spaces its nodes so far apart against the peaks' width that
// Gauss and Kronrod sums can agree on a value that misses a peak. A narrower one, or one that no
// peak crosses, stays one piece.
constexpr double kUncutSpanInWidths = 8.0;

// The integral of P over the triangle between the fields a and b in `form` (see TriangleForm),
// b < a giving the integral with reversed outer limits. Cut into pieces as the triangle requires,
// each piece in the orientation of the whole, summed outer piece by outer piece from a, inner
// piece by inner piece from the triangle's fixed end.
double everett_triangle(const Density& d, TriangleForm form, double a, double b);

// norm := 1, then norm := 2 / (ascending integral over -Hs <= beta <= alpha <= Hs).
void density_normalise(Density& d, double Hs);
