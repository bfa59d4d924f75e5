// The field resets of Open workspace, Settings OK and Axes OK.
#include "model/state_sequences.h"

#include "model/preisach.h"

void open_workspace_saturation(ModelState& m) {
    m.Hs = 1.0;
    m.Bs = 1.0;
}

void open_workspace_reset(ModelState& m) {
    // Step 3: the first points of the curve and of the limiting loop.
    m.Hcur = -m.Hs;
    m.dHmaj = 0.02 * m.Hs;
    m.Nmaj = 200;
    m.Hmaj[1] = -m.Hs;
    m.Bmaj[1] = -m.Bs;
    m.Hcurve[0] = -m.Hs;
    m.Bcurve[0] = -m.Bs;

    // Step 4: the limiting loop with the current Hc and Kmax.
    compute_major_loop(m);

    // Step 5: start at negative saturation with the full axes.
    m.Hrev[0] = -m.Hs;
    m.Brev[0] = -m.Bs;
    m.Hmin = -m.Hs;
    m.Hmax = m.Hs;
    m.Bmin = -m.Bs;
    m.Bmax = m.Bs;
    m.Ho = -m.Hs;
    m.Hn = -m.Hs;
    m.Hcur = -m.Hs;
    m.Bcur = -m.Bs;
    m.Dir = 1.0;
    m.Krev = 0;
    m.Ndrawn = 0;
    m.Nnew = 0;
    m.dHprev = 3.0;
}

void apply_settings(ModelState& m, double Smem, double Amem, bool start_negative) {
    m.Smem = Smem;
    m.Amem = Amem;
    m.Dir = start_negative ? 1.0 : -1.0;
    const double H = start_negative ? -m.Hs : m.Hs;
    const double B = start_negative ? -m.Bs : m.Bs;
    m.Ho = H;
    m.Hrev[0] = H;
    m.Brev[0] = B;
    m.Hcurve[0] = H;
    m.Bcurve[0] = B;
    m.dHprev = 3.0 * m.Dir;
    m.Hn = m.Ho;
    m.Hcur = m.Ho;
    m.Bcur = m.Bcurve[0];
}

void apply_axes(ModelState& m, double Hmin, double Hmax, double Bmin, double Bmax) {
    m.Hmin = Hmin;
    m.Hmax = Hmax;
    m.Bmin = Bmin;
    m.Bmax = Bmax;
}
