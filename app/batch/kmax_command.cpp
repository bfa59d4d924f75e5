// The kmax command: Kmax as Open workspace computes it.
#include "app/batch/kmax_command.h"

#include "app/batch/batch_common.h"

namespace {

int parse_kmax_option(int argc, const char* const* argv, int& i, BatchOptions& options,
                      std::string& error) {
    return batch_parse_hc(argc, argv, i, options, error);
}

int run_kmax(const BatchOptions& options, ModelState& m, std::FILE* out, std::string&) {
    batch_set_parameter(m, options.Hc);
    std::fprintf(out, "%.17g\n", m.density.norm);
    return kBatchOk;
}

} // namespace

const BatchCommandRow kKmaxCommand = {
    "kmax",
    "  kmax --hc HC      print the normalisation factor Kmax for the parameter HC\n",
    parse_kmax_option,
    nullptr,
    run_kmax,
};
