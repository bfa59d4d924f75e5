// The working values shared by DTWODQ's outer and inner integrations.
#include "numerics/quadrature_shared.h"

QuadratureShared quadrature_shared = {0.0, 0, 0.0, 0.0, false, false, false};

void reset_quadrature_flags() {
    quadrature_shared.limit_reported = false;
    quadrature_shared.roundoff_reported = false;
    quadrature_shared.precision_reported = false;
}
