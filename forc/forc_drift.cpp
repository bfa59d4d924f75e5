// Scaling each reversal curve by the drift its calibration points show.
#include "forc/forc_drift.h"

#include <cmath>

bool forc_correct_drift(ForcCurves& curves, std::string& error) {
    const size_t count = curves.curves.size();
    for (size_t k = 0; k < count; ++k) {
        const ForcCurve& c = curves.curves[k];
        if (!c.has_calibration) {
            error = "curve " + std::to_string(k + 1) +
                    " has no calibration point: drift correction needs one before every curve";
            return false;
        }
        if (!std::isfinite(c.Mcal) || c.Mcal == 0.0 ||
            (c.Mcal > 0.0) != (curves.curves[0].Mcal > 0.0)) {
            error = "curve " + std::to_string(k + 1) +
                    ": the calibration moment is zero or of the other sign than the first";
            return false;
        }
    }
    if (count == 0) return true;
    const double reference = curves.curves[0].Mcal;
    for (size_t k = 0; k < count; ++k) {
        ForcCurve& c = curves.curves[k];
        const double before = c.Mcal;
        const double after = k + 1 < count ? curves.curves[k + 1].Mcal : before;
        const size_t n = c.M.size();
        for (size_t p = 0; p < n; ++p) {
            // Point p lies between the two calibrations, p + 1 steps of n + 1 after the first.
            const double t = static_cast<double>(p + 1) / static_cast<double>(n + 1);
            c.M[p] *= reference / (before + t * (after - before));
        }
    }
    return true;
}
