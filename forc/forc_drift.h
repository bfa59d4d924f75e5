// Drift correction of measured reversal curves from their calibration points: the moment
// measured at the same field before every curve should not change, so its change is the
// instrument's drift. Pure code; any thread may call it on distinct records.
#pragma once

#include <string>

#include "measure/forc_curves.h"

// Scales the moments of every curve so that the calibration moment keeps the value of the first
// curve's: the sensitivity drifts, so the correction is a factor. Between the calibration before a
// curve and the one before the next, the factor is interpolated linearly in the order of the
// points (the last curve keeps its own). The calibration points themselves are left as measured.
// Returns false, curves untouched, with one line in error when a curve has no calibration point
// or the calibration moments are zero or change sign (nothing to scale by).
bool forc_correct_drift(ForcCurves& curves, std::string& error);
