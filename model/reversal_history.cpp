// Recording a reversal point and wiping out a closed minor loop.
#include "model/reversal_history.h"

#include "model/model_invariants.h"
#include "model/preisach.h"

bool record_reversal(ModelState& m, double H, double B) {
    // The stack ends at index 1000; a deeper nesting is refused, never written past the end.
    if (!expect_invariant(m.Krev >= 0 && m.Krev < kReversalSlots, "0 <= Krev < kReversalSlots"))
        return false;
    if (m.Krev + 1 >= kReversalSlots) return false;
    m.Dir = -m.Dir;
    m.Krev = m.Krev + 1;
    m.Hrev[m.Krev] = H;
    m.Brev[m.Krev] = B;
    return true;
}

bool wipe_out(ModelState& m, double H, double& h, double& b) {
    // The start point and the first reversal point are never wiped out; a top index beyond the
    // stack points at no history at all.
    if (!expect_invariant(m.Krev >= 0 && m.Krev < kReversalSlots, "0 <= Krev < kReversalSlots"))
        return false;
    if (m.Krev < 2) return false;
    const double extremum = m.Hrev[m.Krev - 1];
    // Closes only when Dir*h <= Dir*H holds: a field that is not a number reaches nothing.
    if (!(m.Dir * extremum <= m.Dir * H)) return false;
    // The minor loop closes; Dir is unchanged because a pair of reversals goes.
    m.Krev = m.Krev - 2;
    h = extremum;
    b = everett_integral(m, h);
    return true;
}
