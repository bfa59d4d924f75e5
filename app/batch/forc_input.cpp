// Loading measured reversal curves for forc --measured and identify.
#include "app/batch/forc_input.h"

#include "app/batch/batch_common.h"
#include "forc/forc_drift.h"
#include "forc/forc_from_curves.h"
#include "forc/forc_regression.h"
#include "measure/series_reader.h"

int parse_forc_input_option(int argc, const char* const* argv, int& i, BatchOptions& options,
                            std::string& error) {
    const std::string arg = argv[i];
    if (arg == "--sf") {
        std::string value;
        if (!batch_option_value(argc, argv, i, value, error)) return kOptionRefused;
        if (!batch_read_int32(value, options.sf) || options.sf < kSmallestSmoothingFactor ||
            options.sf > kLargestSmoothingFactor) {
            error = "invalid --sf '" + batch_shown(value) + "': expected a whole number from " +
                    std::to_string(kSmallestSmoothingFactor) + " to " +
                    std::to_string(kLargestSmoothingFactor);
            return kOptionRefused;
        }
        return kOptionTaken;
    }
    if (arg == "--drift" || arg == "--no-drift") {
        (arg == "--drift" ? options.drift : options.no_drift) = true;
        return kOptionTaken;
    }
    return kOptionUnknown;
}

int32_t forc_smoothing_of(const BatchOptions& options) {
    return options.sf > 0 ? options.sf : kDefaultSmoothingFactor;
}

bool load_forc_input(const BatchOptions& options, const std::string& path, ForcCurves& curves,
                     ForcTable& table, bool& corrected, std::string& error) {
    if (!read_forc_file(path, curves, error)) return false;
    bool all_calibrated = !curves.curves.empty();
    for (const ForcCurve& c : curves.curves)
        all_calibrated = all_calibrated && c.has_calibration;
    // By default the drift is corrected whenever the file measured it.
    corrected = options.drift || (!options.no_drift && all_calibrated);
    if ((corrected && !forc_correct_drift(curves, error)) ||
        !forc_table_from_curves(curves, table, error) ||
        !forc_check_smoothing(table, forc_smoothing_of(options), error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}
