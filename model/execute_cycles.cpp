// The legs of an Execute: single move, cyclic alteration, gradual spiral approach.
#include "model/execute_cycles.h"

#include <cmath>

#include "model/curve_construction.h"
#include "model/model_seams.h"

namespace {

// Runs one leg to Hn and draws it; false when the leg stopped (full buffer, the user's Stop) and
// the series must end.
bool run_leg(ModelState& m) {
    construct_to_hn(m);
    draw_leg(m);
    return m.met == kMetFinished;
}

} // namespace

int64_t leg_count(int32_t Ncyc) {
    if (Ncyc == 0) return 1;
    // In 64 bits: 2 * 2147483647 does not fit the 32-bit count.
    return 2 * static_cast<int64_t>(Ncyc);
}

double spiral_leg_end(double H0, double Hend, int64_t I, int64_t numC) {
    if (I == numC) return Hend;
    const double D = Hend - H0;
    // The sign alternates from leg to leg, starting opposite to D: the first leg overshoots.
    float s = D >= 0 ? 1.0f : -1.0f;
    if (I % 2 != 0) s = -s;
    const float e3 = static_cast<float>(std::exp(-3.0));
    const double I_d = static_cast<double>(I);
    const double numC_d = static_cast<double>(numC);
    const double decay = std::exp((-3.0 * I_d) / numC_d) - (I_d / numC_d) * e3;
    return Hend - s * std::fabs(D) * decay;
}

void execute_cycles(ModelState& m, void* ui_context) {
    const double H0 = m.Hcur;
    const double Hend = m.Hn;
    const int64_t numC = leg_count(m.Ncyc);

    if (m.CycleMode == kCycleSpiral) {
        for (int64_t I = 1; I <= numC; ++I) {
            m.Hn = spiral_leg_end(H0, Hend, I, numC);
            if (!run_leg(m)) break;
        }
    } else {
        // Single move and cyclic alteration: odd legs to Hend, even legs back to H0.
        for (int64_t I = 1; I <= numC; ++I) {
            m.Hn = (I % 2 != 0) ? Hend : H0;
            if (!run_leg(m)) break;
        }
    }

    m.Hn = m.Hcur;
    m.Ncyc = 0;
    m.CycleMode = kCycleSingle;
    notify_execute_finished(m, ui_context);
}
