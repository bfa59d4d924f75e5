// A Preisach density as one concept: the family it belongs to (how to evaluate it, where its peaks
// lie, how to integrate it over a triangle of switching fields, the words that describe it) and
// the parameters of one member. The record and density_value are pure (any thread); integrating
// goes through the family, whose quadrature may be interface-thread only (the Lorentzian's is).
//
// Invariants: a set density has a family; parameter[i] for i < family->parameter_count are that
// family's parameters in its order, the rest 0; norm is the factor that makes the integral of P
// over the triangle -Hs <= beta <= alpha <= Hs equal 2 (density_normalise), so that B runs from
// -Bs to Bs between the saturations. A family computes every value and integral with norm
// included, as a factor of P.
#pragma once

// The most parameters any family has.
constexpr int kDensityParamsMost = 8;

// The two ways the Preisach model integrates a triangle between the fields a and b (x the outer
// variable from a to b, possibly downwards):
//   ascending:  y from a to x, integrand P(alpha = x, beta = y);
//   descending: y from x to b, integrand P(alpha = y, beta = x).
enum class TriangleForm { ascending, descending };

// The inner range of one piece of a triangle: each end a fixed field or the outer variable.
struct PieceLimits {
    bool lower_is_x; // the lower limit is the outer variable x (else `lower`)
    double lower;    // fixed lower limit
    bool upper_is_x; // the upper limit is the outer variable x (else `upper`)
    double upper;    // fixed upper limit
};

// One parameter of a family, for options, dialogs and model files.
struct DensityParameter {
    const char* name;  // as typed and written: "Hc"
    const char* words; // what it means, with its unit
};

struct Density;

// The most peak fields a family reports.
constexpr int kPeakFieldsMost = 4;

// A family of densities: one record per family, defined in the family's own file
// (model/density_<name>.cpp) and listed in model/density_families.cpp.
struct DensityFamily {
    const char* name;                   // the family's word in options and files: "lorentz"
    const char* words;                  // one line that describes it
    const char* norm_name;              // name of its normalisation factor: "Kmax"
    int parameter_count;                // 1..kDensityParamsMost
    const DensityParameter* parameters; // parameter_count entries

    // P(alpha, beta) of density d, its norm included.
    double (*value)(const Density& d, double alpha, double beta);

    // The fields of its peak lines (alpha = field or beta = field, where the integrand varies
    // fastest), at most kPeakFieldsMost into fields, their count returned; and the width of its
    // peaks. A triangle wider than kUncutSpanInWidths widths that a peak line crosses is
    // integrated in pieces cut there (model/everett_triangle.h). A family without peaks that
    // need cutting returns 0.
    int (*peak_fields)(const Density& d, double* fields);
    double (*peak_width)(const Density& d);

    // Where the limiting loop bends fastest: the fields where its branches switch, at most
    // kPeakFieldsMost into fields, their count returned, and the width of those bends in *width.
    // The drawn loop takes fine points there when its step is coarser than a quarter width. 0 for
    // a family whose loop has no such bends.
    int (*loop_bends)(const Density& d, double* fields, double* width);

    // The integral of P (norm included) over one piece: x from x0 to x1 (x1 < x0 gives the
    // negative), y within `inner`, in `form`. Its fastest correct way to integrate.
    double (*piece)(const Density& d, TriangleForm form, double x0, double x1,
                    const PieceLimits& inner);

    // Null when parameter[0..parameter_count-1] describe a member of the family, else the words
    // that refuse them ("Hc must be at least 0.001").
    const char* (*check)(const double* parameter);
};

// One density: a family, its parameters and, for a tabulated family, its table. A record of
// plain values and one pointer, so a zero-filled record (a ModelState reset by memset) is a
// density without family or table.
struct Density {
    const DensityFamily* family;          // how it is evaluated and integrated
    double parameter[kDensityParamsMost]; // the family's parameters in its order; the rest 0
    double norm;                          // normalisation factor (see above)
    const void* data; // family data (a measured table), owned by whoever loaded it and outliving
                      // every density that points at it; null for parametric families
};

// P(alpha, beta) of d.
inline double density_value(const Density& d, double alpha, double beta) {
    return d.family->value(d, alpha, beta);
}
