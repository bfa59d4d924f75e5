// Slope fits (linear and approach to saturation, the latter by GSL's nonlinear least squares),
// drift and centring.
#include "measure/loop_corrections.h"

#include <gsl/gsl_blas.h>
#include <gsl/gsl_multifit_nlinear.h>
#include <gsl/gsl_vector.h>

#include <cmath>
#include <vector>

namespace {

// The folded high-field points, fields and moments scaled to order one.
struct HighField {
    std::vector<double> x; // |H| / H_scale
    std::vector<double> y; // sign(H) M / M_scale
    double H_scale = 1.0;
    double M_scale = 1.0;
};

// Straight line y = a + b x by least squares; the sum of squared residuals in sse.
void fit_line(const HighField& d, double& a, double& b, double& sse) {
    const double n = static_cast<double>(d.x.size());
    double sx = 0.0, sy = 0.0;
    for (size_t k = 0; k < d.x.size(); ++k) {
        sx += d.x[k];
        sy += d.y[k];
    }
    const double mx = sx / n, my = sy / n;
    double sxx = 0.0, sxy = 0.0;
    for (size_t k = 0; k < d.x.size(); ++k) {
        sxx += (d.x[k] - mx) * (d.x[k] - mx);
        sxy += (d.x[k] - mx) * (d.y[k] - my);
    }
    b = sxx > 0.0 ? sxy / sxx : 0.0;
    a = my - b * mx;
    sse = 0.0;
    for (size_t k = 0; k < d.x.size(); ++k) {
        const double r = d.y[k] - a - b * d.x[k];
        sse += r * r;
    }
}

// y = p0 + p1 x + p2 x^p3: residuals and Jacobian for GSL.
int saturation_f(const gsl_vector* p, void* data, gsl_vector* f) {
    const HighField& d = *static_cast<const HighField*>(data);
    const double a = gsl_vector_get(p, 0), b = gsl_vector_get(p, 1), c = gsl_vector_get(p, 2),
                 e = gsl_vector_get(p, 3);
    for (size_t k = 0; k < d.x.size(); ++k)
        gsl_vector_set(f, k, a + b * d.x[k] + c * std::pow(d.x[k], e) - d.y[k]);
    return GSL_SUCCESS;
}

int saturation_df(const gsl_vector* p, void* data, gsl_matrix* J) {
    const HighField& d = *static_cast<const HighField*>(data);
    const double c = gsl_vector_get(p, 2), e = gsl_vector_get(p, 3);
    for (size_t k = 0; k < d.x.size(); ++k) {
        const double xe = std::pow(d.x[k], e);
        gsl_matrix_set(J, k, 0, 1.0);
        gsl_matrix_set(J, k, 1, d.x[k]);
        gsl_matrix_set(J, k, 2, xe);
        gsl_matrix_set(J, k, 3, c * xe * std::log(d.x[k]));
    }
    return GSL_SUCCESS;
}

// The approach-to-saturation fit from the line's parameters and beta = -2. False when GSL does
// not converge.
bool fit_saturation(HighField& d, double a, double b, double p[4], double& sse) {
    const size_t n = d.x.size();
    gsl_multifit_nlinear_fdf fdf{};
    fdf.f = saturation_f;
    fdf.df = saturation_df;
    fdf.fvv = nullptr;
    fdf.n = n;
    fdf.p = 4;
    fdf.params = &d;
    gsl_multifit_nlinear_parameters params = gsl_multifit_nlinear_default_parameters();
    gsl_multifit_nlinear_workspace* w =
        gsl_multifit_nlinear_alloc(gsl_multifit_nlinear_trust, &params, n, 4);
    if (!w) return false;
    const double start[4] = {a, b, 0.0, -2.0};
    gsl_vector_const_view x0 = gsl_vector_const_view_array(start, 4);
    gsl_multifit_nlinear_init(&x0.vector, &fdf, w);
    int info = 0;
    gsl_error_handler_t* previous = gsl_set_error_handler_off();
    const int status =
        gsl_multifit_nlinear_driver(200, 1e-10, 1e-10, 1e-10, nullptr, nullptr, &info, w);
    gsl_set_error_handler(previous);
    bool ok = status == GSL_SUCCESS;
    if (ok) {
        const gsl_vector* x = gsl_multifit_nlinear_position(w);
        for (int k = 0; k < 4; ++k)
            p[k] = gsl_vector_get(x, k);
        const gsl_vector* f = gsl_multifit_nlinear_residual(w);
        double s = 0.0;
        gsl_blas_ddot(f, f, &s);
        sse = s;
        for (int k = 0; k < 4; ++k)
            ok = ok && std::isfinite(p[k]);
        ok = ok && std::isfinite(sse);
    }
    gsl_multifit_nlinear_free(w);
    return ok;
}

// Upper quantile of the F distribution with (2, m) degrees of freedom at probability q:
// F = (m / 2) ((1 - q)^(-2/m) - 1).
double f_quantile_2(double m, double q) {
    return 0.5 * m * (std::pow(1.0 - q, -2.0 / m) - 1.0);
}

} // namespace

bool fit_high_field_slope(const double* H, const double* M, int64_t count, double fraction,
                          SlopeFit& fit, std::string& reason) {
    fit = SlopeFit{};
    double H_max = 0.0, H_min = 0.0, M_scale = 0.0;
    for (int64_t k = 0; k < count; ++k) {
        H_max = std::fmax(H_max, H[k]);
        H_min = std::fmin(H_min, H[k]);
        M_scale = std::fmax(M_scale, std::fabs(M[k]));
    }
    HighField d;
    d.H_scale = std::fmax(H_max, -H_min);
    d.M_scale = M_scale > 0.0 ? M_scale : 1.0;
    for (int64_t k = 0; k < count; ++k) {
        if ((H[k] >= fraction * H_max && H_max > 0.0) ||
            (H[k] <= fraction * H_min && H_min < 0.0)) {
            const double s = H[k] > 0.0 ? 1.0 : -1.0;
            d.x.push_back(s * H[k] / d.H_scale);
            d.y.push_back(s * M[k] / d.M_scale);
        }
    }
    const int64_t n = static_cast<int64_t>(d.x.size());
    if (n < kSlopeFitMinPoints || !(d.H_scale > 0.0)) {
        reason = "too few points at high fields for a slope fit (" + std::to_string(n) + " above " +
                 std::to_string(fraction) + " of the largest field, at least " +
                 std::to_string(kSlopeFitMinPoints) + " needed)";
        return false;
    }
    double a = 0.0, b = 0.0, sse_line = 0.0;
    fit_line(d, a, b, sse_line);
    fit.source = SlopeSource::linear;
    fit.chi = b * d.M_scale / d.H_scale;
    fit.Ms = a * d.M_scale;
    fit.points = n;
    fit.rms = std::sqrt(sse_line / n) * d.M_scale;
    if (n >= kSlopeFitMinPoints + 2) {
        double p[4] = {}, sse = 0.0;
        // A line that fits to rounding leaves nothing for a curve to explain.
        const bool line_exact = sse_line <= static_cast<double>(n) * 1e-24;
        if (!line_exact && fit_saturation(d, a, b, p, sse) && p[3] < 0.0 && sse < sse_line) {
            const double m = static_cast<double>(n - 4);
            const double F = sse > 0.0 ? ((sse_line - sse) / 2.0) / (sse / m) : HUGE_VAL;
            if (F > f_quantile_2(m, 0.99)) {
                fit.source = SlopeSource::saturation;
                fit.chi = p[1] * d.M_scale / d.H_scale;
                fit.Ms = p[0] * d.M_scale;
                fit.alpha = p[2] * d.M_scale;
                fit.beta = p[3];
                fit.rms = std::sqrt(sse / n) * d.M_scale;
            }
        }
    }
    if (!std::isfinite(fit.chi) || !std::isfinite(fit.Ms)) {
        reason = "the slope fit gives no finite slope";
        return false;
    }
    return true;
}

void remove_slope(const double* H, double* M, int64_t count, double chi) {
    for (int64_t k = 0; k < count; ++k)
        M[k] -= chi * H[k];
}

double remove_drift(double* M, int64_t count) {
    if (count < 2) return 0.0;
    const double gap = M[count - 1] - M[0];
    for (int64_t k = 0; k < count; ++k)
        M[k] -= gap * static_cast<double>(k) / static_cast<double>(count - 1);
    return gap;
}

namespace {

// The first crossing of zero by y along the points from..to (either order): x there, linearly
// interpolated, and dy/dx of the segment that crosses.
bool crossing(const double* x, const double* y, int64_t from, int64_t to, double& at,
              double& slope) {
    const int64_t step = to >= from ? 1 : -1;
    for (int64_t k = from; k != to; k += step) {
        const double y1 = y[k], y2 = y[k + step];
        if ((y1 <= 0.0 && y2 >= 0.0) || (y1 >= 0.0 && y2 <= 0.0)) {
            const double dx = x[k + step] - x[k];
            at = y1 == y2 ? x[k] : x[k] + (0.0 - y1) * dx / (y2 - y1);
            slope = dx != 0.0 ? (y2 - y1) / dx : 0.0;
            return true;
        }
    }
    return false;
}

} // namespace

bool centre_loop(double* H, double* M, int64_t count, int64_t turn, LoopOffsets& offsets,
                 std::string& reason) {
    // A moment offset moves the M = 0 crossings (by dM / s1, s1 the slope there) and a field
    // offset the H = 0 crossings (by s2 dH), so the two are solved together from the
    // asymmetries eH (mean of the M = 0 crossings) and eM (mean of the H = 0 crossings):
    // dH = eH + dM / s1, dM = eM + s2 dH. Repeated, since the crossings move between points.
    offsets = LoopOffsets{};
    const bool first_rises = H[turn] > H[0];
    const int64_t a0 = first_rises ? 0 : turn, a1 = first_rises ? turn : count - 1;
    const int64_t d0 = first_rises ? turn : 0, d1 = first_rises ? count - 1 : turn;
    for (int pass = 0; pass < kCentringPasses; ++pass) {
        double Ha = 0.0, Hd = 0.0, Ma = 0.0, Md = 0.0, sa = 0.0, sd = 0.0, ta = 0.0, td = 0.0;
        if (!crossing(H, M, a0, a1, Ha, sa) || !crossing(H, M, d0, d1, Hd, sd)) {
            reason = "not a loop: a branch never crosses M = 0";
            return false;
        }
        if (!crossing(M, H, a0, a1, Ma, ta) || !crossing(M, H, d0, d1, Md, td)) {
            reason = "not a loop: a branch never crosses H = 0";
            return false;
        }
        const double eH = 0.5 * (Ha + Hd), eM = 0.5 * (Ma + Md);
        // s1: dM/dH at the M = 0 crossings; s2: dM/dH at the H = 0 crossings (ta, td are dH/dM).
        const double s1 = 0.5 * (sa + sd);
        const double s2 = 0.5 * ((ta != 0.0 ? 1.0 / ta : 0.0) + (td != 0.0 ? 1.0 / td : 0.0));
        double dH = eH, dM = eM;
        const double d = 1.0 - s2 / s1;
        if (std::isfinite(d) && std::fabs(d) > 0.05) {
            dM = (eM + s2 * eH) / d;
            dH = eH + dM / s1;
        }
        if (!std::isfinite(dH) || !std::isfinite(dM)) {
            reason = "the loop's offsets are not finite";
            return false;
        }
        for (int64_t k = 0; k < count; ++k) {
            H[k] -= dH;
            M[k] -= dM;
        }
        offsets.H_offset += dH;
        offsets.M_offset += dM;
        const double width = std::fabs(Ha - Hd), height = std::fabs(Md - Ma);
        if (std::fabs(dH) <= 1e-13 * width && std::fabs(dM) <= 1e-13 * height) break;
    }
    return true;
}

const char* slope_source_name(SlopeSource source) {
    switch (source) {
    case SlopeSource::none:
        return "none";
    case SlopeSource::linear:
        return "linear";
    case SlopeSource::saturation:
        return "approach_to_saturation";
    case SlopeSource::header:
        return "file";
    case SlopeSource::given:
        return "given";
    }
    return "";
}
