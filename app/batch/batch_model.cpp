// Model files in the batch commands.
#include "app/batch/batch_model.h"

#include "app/batch/batch_common.h"
#include "model/reversible_part.h"
#include "model/state_sequences.h"

int batch_parse_model_file(int argc, const char* const* argv, int& i, BatchOptions& options,
                           std::string& error) {
    if (std::string(argv[i]) != "--model") return kOptionUnknown;
    if (!batch_option_value(argc, argv, i, options.model_path, error)) return kOptionRefused;
    if (options.model_path.empty()) {
        error = "invalid --model '': expected a model file";
        return kOptionRefused;
    }
    return kOptionTaken;
}

bool batch_check_model_file(BatchOptions& options, std::string& error) {
    if (options.model_path.empty()) return true;
    if (options.hc_given) {
        error = "--hc and --model exclude each other";
        return false;
    }
    std::string why;
    if (!model_file_read(options.model_path, options.model, why)) {
        error = batch_shown(why);
        return false;
    }
    return true;
}

bool batch_set_model(ModelState& m, const ModelFile& model, std::string& error) {
    open_workspace_saturation(m);
    std::string why;
    if (!model_file_density(model, m.density, why)) {
        error = why;
        return false;
    }
    return true;
}

double batch_field_out(const ModelFile& model, double H) {
    return model.Hs * H;
}

double batch_moment_out(const ModelFile& model, double H, double B) {
    return model.Bs * (B + reversible_moment(model.reversible, H));
}
