// The measured family: triangles looked up in the tabulated Everett function.
#include "model/density_measured.h"

#include <cmath>
#include <limits>

namespace {

const EverettTable* table_of(const Density& d) {
    return static_cast<const EverettTable*>(d.data);
}

// The Everett function in model units: fields scaled to the table's by Hs, norm included.
double everett_model(const Density& d, const EverettTable& table, double alpha, double beta) {
    const double Hs = d.parameter[kMeasuredHs];
    return d.norm * everett_value(table, alpha * Hs, beta * Hs);
}

// P = -d2E / (dalpha dbeta), by the mixed difference over a square one mean reversal-field step
// wide centred on (alpha, beta): the table resolves nothing finer, and a step of that size keeps
// the difference out of the rounding of E. Where the square reaches over the line alpha = beta,
// where E is 0, it gives the mean over the square's part within the Preisach half-plane
// (times the part's share). 0 without a table.
double value(const Density& d, double alpha, double beta) {
    const EverettTable* t = table_of(d);
    if (!t || t->Hr.size() < 2) return 0.0;
    const double step = (t->Hr.back() - t->Hr.front()) / static_cast<double>(t->Hr.size() - 1);
    const double s = 0.5 * step / d.parameter[kMeasuredHs];
    const double mixed =
        everett_model(d, *t, alpha + s, beta + s) - everett_model(d, *t, alpha + s, beta - s) -
        everett_model(d, *t, alpha - s, beta + s) + everett_model(d, *t, alpha - s, beta - s);
    return -mixed / (4.0 * s * s);
}

// No peak lines: a triangle is never cut, so `piece` is only asked for whole triangles.
int peak_fields(const Density&, double*) {
    return 0;
}

double peak_width(const Density&) {
    return 0.0;
}

// A table's loop is as fine as its curves: no bends of a known width.
int loop_bends(const Density&, double*, double* width) {
    *width = 0.0;
    return 0;
}

// A whole triangle between a = x0 and b = x1 is the Everett function of its corners, E(max,
// min), with the sign of b - a (reversed outer limits give the negative): ascending, y from the
// fixed a up to x; descending, y from x up to the fixed b. Any other piece would be part of a
// triangle, which the table cannot give without integrating a differenced density; none is
// asked for (no peak lines), and one that were gets NaN rather than a wrong number. So does a
// density without table.
double piece(const Density& d, TriangleForm form, double x0, double x1, const PieceLimits& y) {
    const EverettTable* t = table_of(d);
    const bool whole = form == TriangleForm::ascending
                           ? !y.lower_is_x && y.lower == x0 && y.upper_is_x
                           : y.lower_is_x && !y.upper_is_x && y.upper == x1;
    if (!t || !whole) return std::numeric_limits<double>::quiet_NaN();
    const double E = everett_model(d, *t, std::fmax(x0, x1), std::fmin(x0, x1));
    return x1 >= x0 ? E : -E;
}

const char* check(const double* parameter) {
    const double Hs = parameter[kMeasuredHs];
    return std::isfinite(Hs) && Hs > 0.0 ? nullptr : "Hs must be a positive number";
}

const DensityParameter kParameters[] = {
    {"Hs", "the table's field per model field: the saturation field in the measurement's unit"},
};

} // namespace

const DensityFamily kMeasuredDensityFamily = {
    "measured",  "the Everett function tabulated on measured reversal curves",
    "norm",      1,
    kParameters, value,
    peak_fields, peak_width,
    loop_bends,  piece,
    check,
};

Density measured_density(const EverettTable* table, double Hs) {
    Density d{&kMeasuredDensityFamily, {}, 1.0, table};
    d.parameter[kMeasuredHs] = Hs;
    return d;
}
