// Measured reversal curves into the regression's table.
#include "forc/forc_from_curves.h"

#include <cstdlib>

bool forc_table_from_curves(const ForcCurves& curves, ForcTable& table, std::string& error) {
    table = ForcTable{};
    for (const ForcCurve& c : curves.curves)
        forc_table_add_curve(table, c.Hr, c.H.data(), c.M.data(), c.H.size());
    if (forc_table_finish(table, error)) return true;
    // "curve N..." names the curve; the file's line is what a reader of the file wants.
    if (error.compare(0, 6, "curve ") == 0) {
        const size_t k = std::strtoul(error.c_str() + 6, nullptr, 10);
        if (k >= 1 && k <= curves.curves.size() && curves.curves[k - 1].first_line > 0)
            error = "line " + std::to_string(curves.curves[k - 1].first_line) + ", " + error;
    }
    return false;
}
