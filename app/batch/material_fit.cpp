// Nonlinear least squares of a density family and the reversible part on a measured loop.
#include "app/batch/material_fit.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include <gsl/gsl_blas.h>
#include <gsl/gsl_errno.h>
#include <gsl/gsl_matrix.h>
#include <gsl/gsl_multifit.h>
#include <gsl/gsl_multifit_nlinear.h>
#include <gsl/gsl_vector.h>

#include "model/density_terms.h"
#include "model/everett_triangle.h"
#include "model/reversible_part.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// Most iterations of the solver.
constexpr size_t kMaxIterations = 200;
// Largest ratio of the acceleration to the velocity of an accepted step. The library's 0.75
// rejects most steps on a loop without noise, where the second derivative that the ratio needs
// is estimated from differences of vanishing residuals (200 iterations instead of 23 on the
// benchmark's loop).
constexpr double kAccelerationRatioMost = 3.0;
// The reversible part's parameters after the density's: Bs, chi, amplitude, field.
constexpr int kReversibleCount = 4;

// How a parameter is kept in its range while the solver moves freely: a share through the
// logistic function, a positive value through the exponential, chi and the amplitude as they are.
enum class Transform { share, positive, free };

Transform transform_of(const DensityFamily& f, int k) {
    if (k < f.parameter_count)
        return std::strcmp(f.parameters[k].name, "w") == 0 ? Transform::share : Transform::positive;
    const int r = k - f.parameter_count;
    return r == 0 || r == 3 ? Transform::positive : Transform::free;
}

double to_value(Transform t, double q) {
    if (t == Transform::share) return 1.0 / (1.0 + std::exp(-q));
    if (t == Transform::positive) return std::exp(q);
    return q;
}

double to_free(Transform t, double v) {
    if (t == Transform::share) return std::log(v / (1.0 - v));
    if (t == Transform::positive) return std::log(v);
    return v;
}

// d value / d free variable, for the errors.
double slope_of(Transform t, double v) {
    if (t == Transform::share) return v * (1.0 - v);
    if (t == Transform::positive) return v;
    return 1.0;
}

// One population of a mixture along the loop's history: for its three parameters, the signed
// sum of its triangles (norm 1) at every point, and its triangle between the saturations.
struct Population {
    std::vector<double> parameters;
    std::vector<double> sums;
    double full = 0.0;
};

// Populations kept: the two of the solver's point, one that a finite difference moves, and one
// more for the trial steps.
constexpr size_t kPopulationsKept = 4;

// The solver's data: the loop, the family and the last density's m_irr (the finite differences
// in the reversible parameters reuse it). A mixture's m_irr is made of its populations', which
// are kept, so that the finite difference in the share w integrates nothing and one in a
// population's parameter integrates that population alone.
struct Problem {
    const DensityFamily* family;
    const FitLoop* loop;
    double scale;               // residuals are divided by this (the loop's Ms)
    std::vector<double> cached; // density parameters of m_cached
    std::vector<double> m_cached;
    bool cached_valid = false;
    const DensityFamily* member = nullptr; // a mixture's member family, else null
    std::vector<Population> populations;   // most recently used last
};

// The population of member with parameters p (three) along the history h: kept or made.
const Population& population_of(Problem& problem, const double* p) {
    const std::vector<double> key(p, p + 3);
    for (size_t k = 0; k < problem.populations.size(); ++k)
        if (problem.populations[k].parameters == key) {
            std::rotate(problem.populations.begin() + static_cast<long>(k),
                        problem.populations.begin() + static_cast<long>(k) + 1,
                        problem.populations.end());
            return problem.populations.back();
        }
    if (problem.populations.size() == kPopulationsKept)
        problem.populations.erase(problem.populations.begin());
    Density d{problem.member, {p[0], p[1], p[2]}, 1.0, nullptr};
    Population made;
    made.parameters = key;
    history_sums(d, problem.loop->h, 0.0, made.sums);
    made.full = everett_triangle(d, TriangleForm::ascending, -1.0, 1.0);
    problem.populations.push_back(std::move(made));
    return problem.populations.back();
}

// m_irr of a mixture from its populations: -1 + norm (w1 sums1 + w2 sums2), the weights the
// shares over the members' masses, norm such that the saturations give -1 and 1.
bool mixture_along(Problem& problem, const std::vector<double>& v, std::vector<double>& m) {
    const double w1 = v[kMixWeight] / member_mass(*problem.member, &v[kMixFirst]);
    const double w2 = (1.0 - v[kMixWeight]) / member_mass(*problem.member, &v[kMixSecond]);
    const Population& first = population_of(problem, &v[kMixFirst]);
    // A copy: making the second may move the first within the kept list.
    const std::vector<double> sums1 = first.sums;
    const double full1 = first.full;
    const Population& second = population_of(problem, &v[kMixSecond]);
    const double norm = 2.0 / (w1 * full1 + w2 * second.full);
    if (!std::isfinite(norm) || !(norm > 0)) return false;
    m.resize(sums1.size());
    for (size_t i = 0; i < m.size(); ++i)
        m[i] = -1.0 + norm * (w1 * sums1[i] + w2 * second.sums[i]);
    return true;
}

// The values of all parameters from the solver's vector.
std::vector<double> values_of(const Problem& p, const gsl_vector* x) {
    std::vector<double> v(x->size);
    for (size_t k = 0; k < x->size; ++k)
        v[k] = to_value(transform_of(*p.family, static_cast<int>(k)), gsl_vector_get(x, k));
    return v;
}

// m_irr for the density parameters v (the cache when they are unchanged); false when they are
// out of the family's range or cannot be normalised.
bool irreversible_of(Problem& p, const std::vector<double>& v, const std::vector<double>*& m) {
    const int n = p.family->parameter_count;
    const std::vector<double> density(v.begin(), v.begin() + n);
    if (p.cached_valid && density == p.cached) {
        m = &p.m_cached;
        return true;
    }
    if (p.family->check(density.data())) return false;
    if (p.member) {
        if (!mixture_along(p, density, p.m_cached)) return false;
        p.cached = density;
        p.cached_valid = true;
        m = &p.m_cached;
        return true;
    }
    Density d{p.family, {}, 1.0, nullptr};
    for (int k = 0; k < n; ++k)
        d.parameter[k] = density[k];
    density_normalise(d, 1.0);
    if (!std::isfinite(d.norm) || !(d.norm > 0)) return false;
    irreversible_along(d, p.loop->h, p.m_cached);
    p.cached = density;
    p.cached_valid = true;
    m = &p.m_cached;
    return true;
}

double moment(const std::vector<double>& v, int n, double h, double m_irr) {
    const ReversiblePart r{v[n + 1], v[n + 2], v[n + 3]};
    return v[n] * (m_irr + reversible_moment(r, h));
}

int residuals(const gsl_vector* x, void* data, gsl_vector* f) {
    Problem& p = *static_cast<Problem*>(data);
    const std::vector<double> v = values_of(p, x);
    const std::vector<double>* m = nullptr;
    const size_t count = p.loop->h.size();
    if (!irreversible_of(p, v, m)) {
        // Outside the family: a cost the solver will not accept.
        for (size_t i = 0; i < count; ++i)
            gsl_vector_set(f, i, 1e3);
        return GSL_SUCCESS;
    }
    const int n = p.family->parameter_count;
    for (size_t i = 0; i < count; ++i) {
        const double r = (moment(v, n, p.loop->h[i], (*m)[i]) - p.loop->M[i]) / p.scale;
        gsl_vector_set(f, i, std::isfinite(r) ? r : 1e3);
    }
    return GSL_SUCCESS;
}

// The separable form of the problem. For a given density and reversible field, the moment
// Bs m_irr + Bs chi h + Bs amplitude L(h / field) is linear in Bs, Bs chi and Bs amplitude, and
// their least-squares values follow from a linear problem of three columns. A solver that moves
// the density and the field alone does not meet the valley that these three cut through the cost
// of the whole problem, where the reversible part trades slope for curvature with the height of
// the irreversible part (gauss-mix on a paramagnetic rock loop: about 20 iterations instead of
// over 200, to a lower cost).
struct Projection {
    Problem* problem;
    gsl_matrix* columns;                // m_irr, h, L(h / field): a row a measured point
    gsl_vector* moments;                // the measured moments
    gsl_vector* linear;                 // Bs, Bs chi, Bs amplitude
    gsl_matrix* covariance;             // theirs (unused)
    gsl_multifit_linear_workspace* svd; // the linear solver's
};

// The linear parameters of the separable problem for m_irr m and the field: Bs, Bs chi and Bs
// amplitude in q.linear. False when the linear solver fails.
bool project(Projection& q, const std::vector<double>& m, double field) {
    const FitLoop& loop = *q.problem->loop;
    for (size_t i = 0; i < loop.h.size(); ++i) {
        gsl_matrix_set(q.columns, i, 0, m[i]);
        gsl_matrix_set(q.columns, i, 1, loop.h[i]);
        gsl_matrix_set(q.columns, i, 2, langevin(loop.h[i] / field));
        gsl_vector_set(q.moments, i, loop.M[i]);
    }
    double chi_squared = 0.0;
    return gsl_multifit_linear(q.columns, q.moments, q.linear, q.covariance, &chi_squared, q.svd) ==
           GSL_SUCCESS;
}

// The separable solver's vector: the density's free variables, then ln field. Returns the
// density's values and sets field.
std::vector<double> separable_values(const DensityFamily& family, const gsl_vector* x,
                                     double& field) {
    const int n = family.parameter_count;
    std::vector<double> v(static_cast<size_t>(n));
    for (int k = 0; k < n; ++k)
        v[k] = to_value(transform_of(family, k), gsl_vector_get(x, k));
    field = std::exp(gsl_vector_get(x, n));
    return v;
}

int projected_residuals(const gsl_vector* x, void* data, gsl_vector* f) {
    Projection& q = *static_cast<Projection*>(data);
    Problem& p = *q.problem;
    double field = 0.0;
    const std::vector<double> v = separable_values(*p.family, x, field);
    const std::vector<double>* m = nullptr;
    const size_t count = p.loop->h.size();
    if (!std::isfinite(field) || !(field > 0) || !irreversible_of(p, v, m) ||
        !project(q, *m, field)) {
        for (size_t i = 0; i < count; ++i)
            gsl_vector_set(f, i, 1e3);
        return GSL_SUCCESS;
    }
    const double* c = q.linear->data;
    for (size_t i = 0; i < count; ++i) {
        const double h = p.loop->h[i];
        const double moment = c[0] * (*m)[i] + c[1] * h + c[2] * langevin(h / field);
        const double r = (moment - p.loop->M[i]) / p.scale;
        gsl_vector_set(f, i, std::isfinite(r) ? r : 1e3);
    }
    return GSL_SUCCESS;
}

// One run of the library's trust-region solver.
struct Solver {
    gsl_multifit_nlinear_fdf fdf;         // the residuals, their sizes and data (work points here)
    gsl_multifit_nlinear_workspace* work; // the library's; the caller frees it
    int status;                           // the driver's
    int info;                             // why it stopped
};

// Runs the solver on residuals f (of count points, data their data) from x (free variables), at
// most kMaxIterations, finite differences for the Jacobian (those that leave the density reuse
// its m_irr).
void solve(Solver& s, int (*f)(const gsl_vector*, void*, gsl_vector*), void* data, gsl_vector* x,
           size_t count) {
    s.fdf = gsl_multifit_nlinear_fdf{};
    s.fdf.f = f;
    s.fdf.n = count;
    s.fdf.p = x->size;
    s.fdf.params = data;
    gsl_multifit_nlinear_parameters params = gsl_multifit_nlinear_default_parameters();
    // Geodesic acceleration: on real loops it takes a third to a half of the plain method's
    // iterations and ends at the same or a lower cost (gauss on BB-1: 30 against 53, R^2
    // 0.99953 against 0.99869, where the plain method runs into the family's bound on s).
    params.trs = gsl_multifit_nlinear_trs_lmaccel;
    params.avmax = kAccelerationRatioMost;
    s.work = gsl_multifit_nlinear_alloc(gsl_multifit_nlinear_trust, &params, count, x->size);
    gsl_multifit_nlinear_init(x, &s.fdf, s.work);
    s.info = 0;
    s.status = gsl_multifit_nlinear_driver(kMaxIterations, 1e-8, 1e-8, 1e-10, nullptr, nullptr,
                                           &s.info, s.work);
}

// Solves the separable problem from start (all parameters' values) and, where its linear
// parameters make a positive Bs, replaces start with its solution and returns true. iterations:
// the solver's.
bool separable_start(Problem& problem, std::vector<double>& start, int& iterations) {
    const DensityFamily& family = *problem.family;
    const int n = family.parameter_count;
    const size_t count = problem.loop->h.size();
    const size_t p = static_cast<size_t>(n + 1);
    Projection q{&problem,
                 gsl_matrix_alloc(count, 3),
                 gsl_vector_alloc(count),
                 gsl_vector_alloc(3),
                 gsl_matrix_alloc(3, 3),
                 gsl_multifit_linear_alloc(count, 3)};
    gsl_vector* x = gsl_vector_alloc(p);
    for (int k = 0; k < n; ++k)
        gsl_vector_set(x, k, to_free(transform_of(family, k), start[k]));
    gsl_vector_set(x, n, std::log(start[n + 3]));
    Solver solver;
    solve(solver, projected_residuals, &q, x, count);
    gsl_multifit_nlinear_workspace* w = solver.work;
    iterations = static_cast<int>(gsl_multifit_nlinear_niter(w));
    double field = 0.0;
    const std::vector<double> v = separable_values(family, gsl_multifit_nlinear_position(w), field);
    const std::vector<double>* m = nullptr;
    const bool solved = std::isfinite(field) && field > 0 && irreversible_of(problem, v, m) &&
                        project(q, *m, field) && gsl_vector_get(q.linear, 0) > 0;
    if (solved) {
        const double Bs = gsl_vector_get(q.linear, 0);
        std::copy(v.begin(), v.end(), start.begin());
        start[n] = Bs;
        start[n + 1] = gsl_vector_get(q.linear, 1) / Bs;
        start[n + 2] = gsl_vector_get(q.linear, 2) / Bs;
        start[n + 3] = field;
    }
    gsl_multifit_nlinear_free(w);
    gsl_vector_free(x);
    gsl_multifit_linear_free(q.svd);
    gsl_matrix_free(q.covariance);
    gsl_vector_free(q.linear);
    gsl_vector_free(q.moments);
    gsl_matrix_free(q.columns);
    return solved;
}

// Starting values of the density from the loop's coercive field (in units of Hs).
std::vector<double> start_density(const DensityFamily& f, double Bc) {
    const double c = std::fmax(Bc, 2e-3);
    const std::string name = f.name;
    if (name == "lorentz2") return {c, 0.5 * c, 0.3 * c};
    if (name == "gauss") return {1.2 * c, 0.5, 0.3 * c};
    if (name == "lorentz2-mix") return {0.5, 0.6 * c, 0.3 * c, 0.2 * c, 2.0 * c, c, 0.5 * c};
    if (name == "gauss-mix") return {0.5, 0.6 * c, 0.4, 0.2 * c, 2.0 * c, 0.5, 0.5 * c};
    std::vector<double> v(f.parameter_count, c); // the Lorentzian: Hc
    return v;
}

} // namespace

void history_sums(const Density& d, const std::vector<double>& h, double start,
                  std::vector<double>& m) {
    m.assign(h.size(), kNaN);
    if (h.empty()) return;
    // From negative saturation up to the first field, then along the measured fields; a change
    // of direction records a reversal, a field beyond the extremum before the branch's start
    // wipes the minor loop out.
    std::vector<double> Hrev{-1.0};
    std::vector<double> Brev{start};
    int dir = 1;
    double previous = -1.0;
    double B_previous = start;
    for (size_t i = 0; i < h.size(); ++i) {
        const double step = h[i] - previous;
        if (step * dir < 0) {
            dir = -dir;
            Hrev.push_back(previous);
            Brev.push_back(B_previous);
        }
        while (Hrev.size() >= 3 && dir * Hrev[Hrev.size() - 2] <= dir * h[i]) {
            Hrev.resize(Hrev.size() - 2);
            Brev.resize(Brev.size() - 2);
        }
        const double a = Hrev.back();
        const double R = dir > 0 ? everett_triangle(d, TriangleForm::ascending, a, h[i])
                                 : everett_triangle(d, TriangleForm::descending, h[i], a);
        m[i] = Brev.back() + dir * R;
        previous = h[i];
        B_previous = m[i];
    }
}

void irreversible_along(const Density& d, const std::vector<double>& h, std::vector<double>& m) {
    history_sums(d, h, -1.0, m);
}

MaterialFit fit_material(const DensityFamily& family, const FitLoop& loop) {
    // A failing library call reports by its status, never by aborting.
    gsl_set_error_handler_off();
    MaterialFit out;
    out.family = &family;
    const size_t count = loop.h.size();
    const int n = family.parameter_count;
    const size_t p = static_cast<size_t>(n + kReversibleCount);
    if (count <= p) {
        out.warning = "fewer points than parameters";
        return out;
    }
    Problem problem{&family,
                    &loop,
                    std::fabs(loop.Ms) > 0 ? std::fabs(loop.Ms) : 1.0,
                    {},
                    {},
                    false,
                    mixture_member(family),
                    {}};

    // Starting point from the loop's own figures.
    std::vector<double> start = start_density(family, std::fabs(loop.Bc) / loop.Hs);
    const double Bs0 = std::fmax(0.9 * (loop.Ms - loop.slope * loop.Hs), 0.1 * std::fabs(loop.Ms));
    start.push_back(Bs0 > 0 ? Bs0 : 1.0);
    start.push_back(loop.slope * loop.Hs / start[n]);
    start.push_back(0.05);
    start.push_back(0.2);

    // The separable problem first; the whole one then starts at its solution (where one more
    // step of the whole problem finds nothing better) and gives the parameters' errors.
    int separable_iterations = 0;
    const bool separable = separable_start(problem, start, separable_iterations);

    gsl_vector* x = gsl_vector_alloc(p);
    for (size_t k = 0; k < p; ++k)
        gsl_vector_set(x, k, to_free(transform_of(family, static_cast<int>(k)), start[k]));
    Solver solver;
    solve(solver, residuals, &problem, x, count);
    gsl_multifit_nlinear_workspace* w = solver.work;
    int status = solver.status;
    // The driver reports a first step that finds no lower cost as running out of iterations:
    // from the separable solution, that is the minimum to the precision of the cost.
    if (separable && status == GSL_EMAXITER && solver.info == GSL_ENOPROG &&
        gsl_multifit_nlinear_niter(w) <= 1)
        status = GSL_SUCCESS;
    out.iterations = separable_iterations + static_cast<int>(gsl_multifit_nlinear_niter(w));
    if (status != GSL_SUCCESS)
        out.warning =
            std::string("the solver stopped without converging (") + gsl_strerror(status) + ")";

    const gsl_vector* best = gsl_multifit_nlinear_position(w);
    const std::vector<double> v = values_of(problem, best);
    const std::vector<double>* m = nullptr;
    if (irreversible_of(problem, v, m)) {
        out.parameters = v;
        out.model.resize(count);
        double rss = 0.0;
        for (size_t i = 0; i < count; ++i) {
            out.model[i] = moment(v, n, loop.h[i], (*m)[i]);
            const double r = out.model[i] - loop.M[i];
            rss += r * r;
        }
        out.rss = rss;
        out.aic = static_cast<double>(count) * std::log(rss / static_cast<double>(count)) +
                  2.0 * static_cast<double>(p);
        // Standard errors: the covariance of the free variables scaled by the residual variance,
        // carried to the values through each transform's slope.
        gsl_matrix* covar = gsl_matrix_alloc(p, p);
        gsl_multifit_nlinear_covar(gsl_multifit_nlinear_jac(w), 0.0, covar);
        const double sigma2 =
            rss / (problem.scale * problem.scale) / static_cast<double>(count - p);
        out.errors.resize(p);
        for (size_t k = 0; k < p; ++k) {
            const double e = std::sqrt(gsl_matrix_get(covar, k, k) * sigma2);
            out.errors[k] =
                std::fabs(slope_of(transform_of(family, static_cast<int>(k)), v[k])) * e;
            if (!std::isfinite(out.errors[k])) out.errors[k] = kNaN;
        }
        gsl_matrix_free(covar);
        out.density = Density{&family, {}, 1.0, nullptr};
        for (int k = 0; k < n; ++k)
            out.density.parameter[k] = v[k];
        density_normalise(out.density, 1.0);
        out.Bs = v[n];
        out.reversible = ReversiblePart{v[n + 1], v[n + 2], v[n + 3]};
        out.ok = std::isfinite(rss) && std::isfinite(out.aic);
        if (out.ok && out.warning.empty()) {
            // A parameter pressed against the family's range, or one the loop does not fix.
            for (size_t k = 0; k < p; ++k)
                if (std::isnan(out.errors[k]) || out.errors[k] > 10.0 * std::fabs(v[k]) + 1e-300)
                    out.warning = "some parameters are not fixed by the loop";
        }
    } else {
        out.warning = "no member of the family fits";
    }
    gsl_multifit_nlinear_free(w);
    gsl_vector_free(x);
    return out;
}
