// Fitting a density family and the reversible part to one measured loop, at the measured fields
// along the measured history, by nonlinear least squares (GSL's gsl_multifit_nlinear), with the
// parameters' standard errors. Single-threaded tool; pure code on the caller's records.
#pragma once

#include <string>
#include <vector>

#include "model/density.h"
#include "model/model_file.h"

// One measured loop in the model's reduced field: h = H / Hs, Hs the loop's largest |H|.
struct FitLoop {
    std::vector<double> h; // fields in measurement order: one branch, the turning point, the
                           // other branch
    std::vector<double> M; // measured moments, in the file's unit
    double Hs = 1.0;       // field scale: the largest |H|, in the file's unit
    double Bc = 0.0;       // the loop's coercive field (H units) and remanence, Ms and
    double Mr = 0.0;       // high-field slope (M per H), the starting point of the fit
    double Ms = 0.0;
    double slope = 0.0;
};

// The outcome of one family's fit.
struct MaterialFit {
    const DensityFamily* family = nullptr; // the family fitted
    Density density{};                     // the fitted density, normalised
    std::vector<double> parameters;        // its parameters, then Bs, chi, amplitude, field
    std::vector<double> errors;            // their standard errors (NaN where not known)
    double Bs = 0.0;                       // saturation of the irreversible part, M units
    ReversiblePart reversible;             // in model units (H in Hs, B in Bs)
    std::vector<double> model;             // the fitted moment at each measured point
    double rss = 0.0;                      // residual sum of squares
    double aic = 0.0;                      // Akaike's criterion, n ln(rss / n) + 2 k
    int iterations = 0;                    // iterations of the solver
    std::string warning;                   // empty, or why the fit is doubtful
    bool ok = false;                       // the fit produced finite figures
};

// The history h of density d from negative saturation, where m is `start`: at every field, m at
// the start of its branch plus or minus the branch's Everett triangle up to the field.
void history_sums(const Density& d, const std::vector<double>& h, double start,
                  std::vector<double>& m);

// m_irr (in units of Bs) of density d at every field of the loop, each branch from the
// saturation at the end where it starts: history_sums from -1.
void irreversible_along(const Density& d, const std::vector<double>& h, std::vector<double>& m);

// Fits family to the loop. Always returns a record; ok false with a warning when no finite fit
// was found.
MaterialFit fit_material(const DensityFamily& family, const FitLoop& loop);
