// The Everett table from measured curves: monotone cubics (slopes by GSL's Steffen
// interpolation), the closure at the saturations and the branch of the reversal points.
#include "forc/everett_build.h"

#include <cmath>

#include <gsl/gsl_errno.h>
#include <gsl/gsl_interp.h>

namespace {

// Fills the slopes of nodes x[0..n-1], y: Steffen's monotone cubic for three nodes or more, the
// chord for two.
void monotone_slopes(const double* x, const double* y, size_t n, double* slope) {
    if (n == 2) {
        slope[0] = slope[1] = (y[1] - y[0]) / (x[1] - x[0]);
        return;
    }
    gsl_set_error_handler_off();
    gsl_interp* interp = gsl_interp_alloc(gsl_interp_steffen, n);
    gsl_interp_accel* accel = gsl_interp_accel_alloc();
    gsl_interp_init(interp, x, y, n);
    for (size_t i = 0; i < n; ++i)
        slope[i] = gsl_interp_eval_deriv(interp, x, y, x[i], accel);
    gsl_interp_accel_free(accel);
    gsl_interp_free(interp);
}

// The slopes of curve k from its nodes.
void curve_slopes(EverettTable& e, size_t k) {
    const size_t from = e.first[k];
    monotone_slopes(&e.H[from], &e.M[from], e.first[k + 1] - from, &e.slope[from]);
}

} // namespace

bool everett_table_build(const ForcTable& table, EverettTable& everett, std::string& error) {
    everett = EverettTable{};
    everett.first.push_back(0);
    for (size_t k = 0; k < forc_table_curves(table); ++k) {
        const size_t from = everett.H.size();
        // Repeated fields (a turning point measured twice) become one node with the mean moment.
        for (size_t p = table.first[k]; p < table.first[k + 1];) {
            size_t q = p;
            double sum = 0.0;
            while (q < table.first[k + 1] && table.H[q] == table.H[p])
                sum += table.M[q++];
            everett.H.push_back(table.H[p]);
            everett.M.push_back(sum / static_cast<double>(q - p));
            p = q;
        }
        if (everett.H.size() - from < 2) {
            // A curve of a single field (the first of a measurement) carries no Everett values.
            everett.H.resize(from);
            everett.M.resize(from);
            continue;
        }
        everett.slope.resize(everett.H.size());
        everett.Hr.push_back(table.Hr[k]);
        everett.first.push_back(everett.H.size());
        curve_slopes(everett, everett.Hr.size() - 1);
    }
    if (everett.Hr.size() < 2) {
        error = "fewer than two curves with two distinct fields";
        return false;
    }
    return true;
}

void everett_table_close(EverettTable& e, double Hs, double Bs) {
    EverettTable closed;
    closed.first.push_back(0);
    const auto add_node = [&](double H, double M) {
        closed.H.push_back(H);
        closed.M.push_back(M);
    };
    // The widest step between neighbouring reversal fields. Between the curves of Hr_k and
    // Hr_k+1 the table blends them at equal distance from their reversal, so E(Hs, beta) reads
    // curve k up to that step below Hs: there it must already be saturated for the descent from
    // positive saturation to follow the upper branch through the reversal points.
    double widest = 0.0;
    for (size_t k = 1; k < e.Hr.size(); ++k)
        widest = std::fmax(widest, e.Hr[k] - e.Hr[k - 1]);
    const auto end_curve = [&](double Hr) {
        // On to positive saturation, unless the curve already gets there.
        if (closed.H.back() < Hs - widest) add_node(Hs - widest, Bs);
        if (closed.H.back() < Hs) add_node(Hs, Bs);
        closed.Hr.push_back(Hr);
        closed.first.push_back(closed.H.size());
    };
    if (e.Hr.front() > -Hs) {
        add_node(-Hs, -Bs);
        for (size_t i = e.first[0]; i < e.first[1]; ++i)
            if (e.H[i] > -Hs) add_node(e.H[i], e.M[i]);
        end_curve(-Hs);
    }
    for (size_t k = 0; k < e.Hr.size(); ++k) {
        for (size_t i = e.first[k]; i < e.first[k + 1]; ++i)
            add_node(e.H[i], e.M[i]);
        end_curve(e.Hr[k]);
    }
    closed.slope.resize(closed.H.size());
    for (size_t k = 0; k < closed.Hr.size(); ++k)
        curve_slopes(closed, k);
    e = closed;
}

void everett_reversal_branch(const EverettTable& everett, ReversalBranch& branch) {
    const size_t curves = everett.Hr.size();
    branch.M.resize(curves);
    branch.slope.resize(curves);
    for (size_t k = 0; k < curves; ++k)
        branch.M[k] = everett_curve_moment(everett, k, everett.Hr[k]);
    monotone_slopes(everett.Hr.data(), branch.M.data(), curves, branch.slope.data());
}

double everett_upper_branch(const EverettTable& everett, const ReversalBranch& branch, double Hr) {
    return everett_hermite(everett.Hr.data(), branch.M.data(), branch.slope.data(),
                           everett.Hr.size(), Hr);
}

double everett_forc_moment(const EverettTable& everett, const ReversalBranch& branch, double Hr,
                           double H) {
    return everett_upper_branch(everett, branch, Hr) + 2.0 * everett_value(everett, H, Hr);
}
