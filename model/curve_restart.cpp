// Moving the last stored point to the start of the curve buffer.
#include "model/curve_restart.h"

void restart_curve_at_present_point(ModelState& m) {
    int32_t last = m.Ndrawn;
    if (last < 0 || last > kCurveBound) last = kCurveBound;
    m.Hcurve[0] = m.Hcurve[last];
    m.Bcurve[0] = m.Bcurve[last];
    m.Hcur = m.Hcurve[0];
    m.Bcur = m.Bcurve[0];
    m.Ndrawn = 0;
    m.Nnew = 0;
}
