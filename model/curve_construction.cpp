// The step loop that appends a constructed curve to the buffer, with reversals and wiping out.
#include "model/curve_construction.h"

#include <cmath>

#include "model/model_invariants.h"
#include "model/model_seams.h"
#include "model/preisach.h"
#include "model/reversal_history.h"
#include "text/write_line.h"

namespace {

// 1/300 as the double constant 0.0033333333333333335: the step is a product, not a quotient.
constexpr double kStepFactor = 1.0 / 300.0;

int32_t g_curve_bound = kCurveBound;

// Ends a construction that cannot go on: the i - 1 points already stored stay. The message is
// one record of list-directed output, which adds the leading blank.
void stop_construction(ModelState& m, int32_t i, const char* message) {
    write_line({message});
    m.Nnew = i - 1;
    m.met = kMetStopped;
}

} // namespace

void set_curve_bound_for_testing(int32_t bound) {
    if (bound < 0) bound = 0;
    if (bound > kCurveBound) bound = kCurveBound;
    g_curve_bound = bound;
}

int32_t curve_bound() {
    return g_curve_bound;
}

void construct_to_hn(ModelState& m) {
    m.met = kMetRunning;
    m.Nnew = kConstructionSteps;
    m.dH = (m.Hn - m.Hcur) * kStepFactor;

    // A field that is not a number (or a move too long to represent) cannot be stepped: stop
    // before anything is stored, so the state stays at the end of the curve.
    if (!std::isfinite(m.Hn) || !std::isfinite(m.dH)) {
        m.dH = 0.0;
        notify_construction_started();
        stop_construction(m, 1, kNotFiniteMessage);
        return;
    }

    // Fewer than 300 pixel columns: about one pixel per step, 10 steps below one pixel.
    if (std::fabs(m.dH) < m.HperPixel) {
        double columns = std::fabs((m.Hn - m.Hcur) / m.HperPixel);
        // |dH| < HperPixel keeps this below about 300; the bound only guards the conversion.
        if (!(columns <= kConstructionSteps)) columns = kConstructionSteps;
        int32_t n = static_cast<int32_t>(columns);
        if (n == 0) n = kShortMoveSteps;
        m.Nnew = n;
        m.dH = (m.Hn - m.Hcur) / n;
    }

    notify_construction_started();

    const int32_t M = m.Ndrawn;
    // A drawn count beyond the buffer's ends leaves no slot to write: stop as a full buffer
    // does, before any index M + i (or the sum itself) could leave its range. M = bound is the
    // ordinary full buffer, which the first step meets below.
    if (!expect_invariant(M >= 0 && M <= g_curve_bound, "0 <= Ndrawn <= kCurveBound")) {
        stop_construction(m, 1, kCurveFullMessage);
        return;
    }
    int32_t i = 0;
    if (m.Nnew > 0) {
        do {
            // The user's Stop: Hcur and Bcur are still the last stored point.
            if (stop_requested()) {
                m.Nnew = i;
                m.met = kMetInterrupted;
                return;
            }
            m.Hcur = m.Hcur + m.dH;
            i = i + 1;
            // The last step lands exactly on Hn; Nnew counts the closure points added so far.
            if (i == m.Nnew && m.Hcur != m.Hn) m.Hcur = m.Hn;

            if (M + i > g_curve_bound) {
                stop_construction(m, i, kCurveFullMessage);
                return;
            }

            // dH is constant within a construction, so only the first step can reverse; the
            // point recorded is the end of the previous construction.
            if (m.dH * m.dHprev < 0.0) {
                if (!record_reversal(m, m.Hcurve[M + i - 1], m.Bcurve[M + i - 1])) {
                    // No slot for the reversal: the field does not move.
                    m.Hcur = m.Hcurve[M + i - 1];
                    stop_construction(m, i, kReversalsFullMessage);
                    return;
                }
            }
            // A zero step carries no direction: keep the sign of the last real move.
            if (m.dH != 0.0) m.dHprev = m.dH;

            double h = 0.0;
            double b = 0.0;
            while (wipe_out(m, m.Hcur, h, b)) {
                // The closure point goes before the step's own point.
                m.Hcurve[M + i] = h;
                m.Bcurve[M + i] = b;
                m.Bcur = b;
                i = i + 1;
                m.Nnew = m.Nnew + 1;
                if (M + i > g_curve_bound) {
                    stop_construction(m, i, kCurveFullMessage);
                    return;
                }
            }

            m.Bcur = everett_integral(m, m.Hcur);
            m.Hcurve[M + i] = m.Hcur;
            m.Bcurve[M + i] = m.Bcur;
        } while (m.Nnew > i);
    }
    m.met = kMetFinished;
}

void commit_new_points(ModelState& m) {
    // Ndrawn never passes the curve bound, whatever Nnew holds (no overflow of the sum either).
    const bool drawn_in_range =
        expect_invariant(m.Ndrawn >= 0 && m.Ndrawn <= kCurveBound, "0 <= Ndrawn <= kCurveBound");
    if (m.Nnew > 0 && drawn_in_range && m.Ndrawn < kCurveBound)
        m.Ndrawn = m.Nnew < kCurveBound - m.Ndrawn ? m.Ndrawn + m.Nnew : kCurveBound;
    m.Nnew = 0;
}
