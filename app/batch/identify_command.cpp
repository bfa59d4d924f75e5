// The identify command: measured reversal curves into a model file of family "measured".
#include "app/batch/identify_command.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "app/batch/batch_common.h"
#include "app/batch/forc_input.h"
#include "forc/forc_distribution.h"

bool identify_model(const ForcTable& table, int32_t sf, const std::string& field_unit,
                    const std::string& moment_unit, ModelFile& model, std::string& error) {
    ForcGrid grid;
    forc_distribution_fields(table, sf, grid);
    double Hs = 0.0;
    for (double H : table.H)
        Hs = std::max(Hs, std::fabs(H));
    for (double Hr : table.Hr)
        Hs = std::max(Hs, std::fabs(Hr));
    // The moment switched between the saturations: half the integral of P = 2 rho.
    double switched = 0.0;
    for (double rho : grid.rho)
        if (std::isfinite(rho)) switched += rho * grid.dx * grid.dy;
    if (!(switched > 0.0) || !std::isfinite(switched) || !(Hs > 0.0)) {
        error = "the distribution switches no positive moment: no model";
        return false;
    }
    model = ModelFile{};
    model.family = kMeasuredFamily;
    model.field_unit = field_unit.empty() ? "1" : field_unit;
    model.moment_unit = moment_unit.empty() ? "1" : moment_unit;
    model.Hs = Hs;
    model.Bs = switched;
    DensityGrid& g = model.grid;
    for (int32_t i = 0; i < grid.columns; ++i)
        g.alpha.push_back((grid.x0 + i * grid.dx) / Hs);
    for (int32_t j = 0; j < grid.rows; ++j)
        g.beta.push_back((grid.y0 + j * grid.dy) / Hs);
    // P in model units: fields in Hs, moments in Bs.
    const double scale = 2.0 * Hs * Hs / switched;
    g.value.assign(g.alpha.size() * g.beta.size(), 0.0);
    for (int32_t i = 0; i < grid.columns; ++i)
        for (int32_t j = 0; j < grid.rows; ++j) {
            const double rho = forc_grid_at(grid, i, j);
            if (std::isfinite(rho))
                g.value[static_cast<size_t>(i) * g.beta.size() + static_cast<size_t>(j)] =
                    scale * rho;
        }
    return true;
}

namespace {

int parse_identify_option(int argc, const char* const* argv, int& i, BatchOptions& options,
                          std::string& error) {
    const std::string arg = argv[i];
    if (arg == "--forc" || arg == "--out") {
        std::string& path = arg == "--forc" ? options.measured_path : options.out_path;
        if (!batch_option_value(argc, argv, i, path, error)) return kOptionRefused;
        if (path.empty()) {
            error = "invalid " + arg + " '': expected a file name";
            return kOptionRefused;
        }
        return kOptionTaken;
    }
    return parse_forc_input_option(argc, argv, i, options, error);
}

bool check_identify_options(BatchOptions& options, std::string& error) {
    if (options.measured_path.empty() || options.out_path.empty()) {
        error = "identify needs --forc FILE and --out MODEL";
        return false;
    }
    if (options.drift && options.no_drift) {
        error = "identify takes either --drift or --no-drift, not both";
        return false;
    }
    return true;
}

int run_identify(const BatchOptions& options, ModelState&, std::FILE* out, std::string& error) {
    ForcCurves curves;
    ForcTable table;
    bool corrected = false;
    if (!load_forc_input(options, options.measured_path, curves, table, corrected, error))
        return kBatchBadUsage;
    const int32_t sf = forc_smoothing_of(options);
    ModelFile model;
    if (!identify_model(table, sf, curves.field_unit.reported, curves.moment_unit.reported, model,
                        error)) {
        error = options.measured_path + ": " + error;
        return kBatchBadUsage;
    }
    model.source = options.measured_path;
    if (!model_file_write(model, options.out_path, error)) return kBatchStopped;
    std::fprintf(out,
                 "name,value\ncurves,%zu\npoints,%zu\nsf,%d\ndrift_corrected,%d\nHs,%.17g\n"
                 "Bs,%.17g\nalpha_nodes,%zu\nbeta_nodes,%zu\n",
                 forc_table_curves(table), table.H.size(), sf, corrected ? 1 : 0, model.Hs,
                 model.Bs, model.grid.alpha.size(), model.grid.beta.size());
    return kBatchOk;
}

} // namespace

const BatchCommandRow kIdentifyCommand = {
    "identify",
    "  identify --forc FILE --out MODEL [--sf SF] [--drift | --no-drift]\n"
    "                    a model of the measured material from its reversal curves (read\n"
    "                    and corrected as forc --measured does): the model file MODEL of\n"
    "                    family \"measured\" holds the Preisach density P = 2 rho on the\n"
    "                    grid of the measurement's steps, fields in units of Hs (the\n"
    "                    largest |field| measured) and moments in units of Bs (the moment\n"
    "                    the density switches); prints curves, points, sf,\n"
    "                    drift_corrected, Hs, Bs and the grid's size as \"name,value\"\n"
    "                    lines. Bad input as for forc --measured: exit status 2, nothing\n"
    "                    written.\n",
    parse_identify_option,
    check_identify_options,
    run_identify,
};
