// The identify command: measured reversal curves into a model file of family "measured".
#include "app/batch/identify_command.h"

#include <cmath>
#include <cstdio>

#include "app/batch/batch_common.h"
#include "app/batch/forc_input.h"
#include "forc/everett_build.h"

bool identify_model(const ForcTable& table, const std::string& field_unit,
                    const std::string& moment_unit, ModelFile& model, std::string& error) {
    // The saturation: the largest |field| of the measurement, and the moment at its largest
    // field (the top of the curve that gets highest).
    double Hs = 0.0, H_top = -HUGE_VAL, M_top = 0.0;
    for (size_t p = 0; p < table.H.size(); ++p) {
        Hs = std::fmax(Hs, std::fabs(table.H[p]));
        if (table.H[p] > H_top) {
            H_top = table.H[p];
            M_top = table.M[p];
        }
    }
    for (const double Hr : table.Hr)
        Hs = std::fmax(Hs, std::fabs(Hr));
    if (!(M_top > 0.0) || !(Hs > 0.0)) {
        error = "the moment at the largest field is not positive: no model";
        return false;
    }
    EverettTable everett;
    if (!everett_table_build(table, everett, error)) return false;
    everett_table_close(everett, Hs, M_top);
    model = ModelFile{};
    model.family = kMeasuredFamily;
    model.field_unit = field_unit.empty() ? "1" : field_unit;
    model.moment_unit = moment_unit.empty() ? "1" : moment_unit;
    model.Hs = Hs;
    // The moment between the saturations of the closed table: M_top when the closure added the
    // lower branch, whatever the lowest curve gives when it was reversed at -Hs itself.
    model.Bs = everett_value(everett, Hs, -Hs);
    model.everett = everett;
    if (!(model.Bs > 0.0) || !std::isfinite(model.Bs)) {
        error = "the curves switch no positive moment: no model";
        return false;
    }
    return true;
}

namespace {

int parse_identify_option(int argc, const char* const* argv, int& i, BatchOptions& options,
                          std::string& error) {
    const std::string arg = argv[i];
    if (arg == "--sf") {
        error = "identify takes no --sf: the Everett function needs no smoothing";
        return kOptionRefused;
    }
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
    ModelFile model;
    if (!identify_model(table, curves.field_unit.reported, curves.moment_unit.reported, model,
                        error)) {
        error = options.measured_path + ": " + error;
        return kBatchBadUsage;
    }
    model.source = options.measured_path;
    if (!model_file_write(model, options.out_path, error)) return kBatchStopped;
    std::fprintf(out,
                 "name,value\ncurves,%zu\npoints,%zu\ndrift_corrected,%d\nHs,%.17g\nBs,%.17g\n"
                 "table_curves,%zu\ntable_nodes,%zu\n",
                 forc_table_curves(table), table.H.size(), corrected ? 1 : 0, model.Hs, model.Bs,
                 model.everett.Hr.size(), model.everett.H.size());
    return kBatchOk;
}

} // namespace

const BatchCommandRow kIdentifyCommand = {
    "identify",
    "  identify --forc FILE --out MODEL [--drift | --no-drift]\n"
    "                    a model of the measured material from its reversal curves (read\n"
    "                    and corrected as forc --measured does): the model file MODEL of\n"
    "                    family \"measured\" holds the Everett function tabulated on the\n"
    "                    curves (monotone cubics along them, closed at the saturations\n"
    "                    +-Hs, Hs the largest |field| measured), in the file's units;\n"
    "                    the Preisach model computes any history of the material with\n"
    "                    it. Prints curves, points, drift_corrected, Hs, Bs and the\n"
    "                    table's curves and nodes as \"name,value\" lines. Bad input as for\n"
    "                    forc --measured: exit status 2, nothing written.\n",
    parse_identify_option,
    check_identify_options,
    run_identify,
};
