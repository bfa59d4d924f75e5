// The reversible part of the moment.
#include "model/reversible_part.h"

#include <cmath>

double langevin(double x) {
    const double ax = std::fabs(x);
    if (ax < 1e-3) return x / 3.0 - x * x * x / 45.0;     // next term x^5 2/945 < 3e-18
    if (ax > 20.0) return (x > 0 ? 1.0 : -1.0) - 1.0 / x; // coth x = +-1 to 1e-17
    return 1.0 / std::tanh(x) - 1.0 / x;
}

double reversible_moment(const ReversiblePart& r, double H) {
    return r.chi * H + r.amplitude * langevin(H / r.field);
}
