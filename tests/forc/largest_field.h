// The point of the largest field among measured reversal curves, against which the FORC tests
// measure their errors. Any thread.
#pragma once

#include <cmath>

#include "measure/forc_curves.h"

struct LargestField {
    double H = -HUGE_VAL; // the largest field of any curve
    double M = 0.0;       // the moment measured there
};

inline LargestField largest_field(const ForcCurves& curves) {
    LargestField top;
    for (const ForcCurve& curve : curves.curves)
        for (size_t p = 0; p < curve.H.size(); ++p)
            if (curve.H[p] > top.H) {
                top.H = curve.H[p];
                top.M = curve.M[p];
            }
    return top;
}
