// Sorting the curves of a FORC table, measuring its steps and checking what a distribution needs.
#include "forc/forc_table.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

// The median of positive values (0 when there are none); values is reordered.
double median_of(std::vector<double>& values) {
    if (values.empty()) return 0.0;
    const size_t middle = values.size() / 2;
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(middle),
                     values.end());
    return values[middle];
}

std::string curve_name(size_t index) {
    return "curve " + std::to_string(index + 1);
}

} // namespace

void forc_table_add_curve(ForcTable& table, double Hr, const double* H, const double* M,
                          size_t count) {
    if (table.first.empty()) table.first.push_back(0);
    table.Hr.push_back(Hr);
    table.H.insert(table.H.end(), H, H + count);
    table.M.insert(table.M.end(), M, M + count);
    table.first.push_back(table.H.size());
    table.finished = false;
}

bool forc_table_finish(ForcTable& table, std::string& error) {
    table.finished = false;
    const size_t curves = table.Hr.size();
    if (curves < 2) {
        error = curves == 0 ? "no reversal curves"
                            : "only one reversal curve: a distribution "
                              "needs neighbouring curves";
        return false;
    }
    for (size_t k = 0; k < curves; ++k) {
        if (!std::isfinite(table.Hr[k])) {
            error = curve_name(k) + ": the reversal field is not a finite number";
            return false;
        }
        for (size_t i = table.first[k]; i < table.first[k + 1]; ++i) {
            if (!std::isfinite(table.H[i]) || !std::isfinite(table.M[i])) {
                error = curve_name(k) + ", point " + std::to_string(i - table.first[k] + 1) +
                        ": not a finite number";
                return false;
            }
        }
        if (table.first[k + 1] == table.first[k]) {
            error = curve_name(k) + " has no points";
            return false;
        }
    }

    // Curves in ascending reversal field; the order added names them in messages.
    std::vector<size_t> order(curves);
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return table.Hr[a] < table.Hr[b]; });
    ForcTable sorted;
    sorted.first.push_back(0);
    std::vector<size_t> points;
    for (size_t k : order) {
        const size_t from = table.first[k], to = table.first[k + 1];
        points.resize(to - from);
        std::iota(points.begin(), points.end(), from);
        std::stable_sort(points.begin(), points.end(),
                         [&](size_t a, size_t b) { return table.H[a] < table.H[b]; });
        sorted.Hr.push_back(table.Hr[k]);
        for (size_t i : points) {
            sorted.H.push_back(table.H[i]);
            sorted.M.push_back(table.M[i]);
        }
        sorted.first.push_back(sorted.H.size());
    }

    // Steps: the typical spacing, so that gaps and uneven spacing do not set the scale.
    std::vector<double> gaps;
    for (size_t k = 1; k < curves; ++k)
        if (sorted.Hr[k] > sorted.Hr[k - 1]) gaps.push_back(sorted.Hr[k] - sorted.Hr[k - 1]);
    sorted.step_Hr = median_of(gaps);
    gaps.clear();
    for (size_t k = 0; k < curves; ++k)
        for (size_t i = sorted.first[k] + 1; i < sorted.first[k + 1]; ++i)
            if (sorted.H[i] > sorted.H[i - 1]) gaps.push_back(sorted.H[i] - sorted.H[i - 1]);
    sorted.step_H = median_of(gaps);
    if (!(sorted.step_Hr > 0.0)) {
        error = "every curve has the same reversal field";
        return false;
    }
    if (!(sorted.step_H > 0.0)) {
        error = "no curve has two distinct fields";
        return false;
    }

    for (size_t s = 0; s < curves; ++s) {
        const size_t k = order[s];
        const size_t count = sorted.first[s + 1] - sorted.first[s];
        if (count == 1 && s + 1 != curves) {
            error = curve_name(k) + " has a single point";
            return false;
        }
        // Measured fields scatter a little about their set values; half a step is a reversal
        // field above its curve, not scatter.
        if (sorted.H[sorted.first[s]] < sorted.Hr[s] - 0.5 * sorted.step_H) {
            error = curve_name(k) + ": the reversal field lies above the curve's fields";
            return false;
        }
    }
    sorted.finished = true;
    table = std::move(sorted);
    return true;
}
