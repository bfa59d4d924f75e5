// The major command: the limiting loop as Open workspace computes it.
#include "app/batch/major_command.h"

#include "app/batch/batch_common.h"
#include "app/batch/curve_command.h"
#include "model/state_sequences.h"

namespace {

int parse_major_option(int argc, const char* const* argv, int& i, BatchOptions& options,
                       std::string& error) {
    return batch_parse_hc(argc, argv, i, options, error);
}

int run_major(const BatchOptions& options, ModelState& m, std::FILE* out, std::string&) {
    batch_set_parameter(m, options.Hc);
    open_workspace_reset(m);
    print_points(out, m.Hmaj, m.Bmaj, 1, m.Nmaj + 1);
    return kBatchOk;
}

} // namespace

const BatchCommandRow kMajorCommand = {
    "major",
    "  major --hc HC     print the limiting loop: the header \"H,B\" and 201 points\n",
    parse_major_option,
    nullptr,
    run_major,
};
