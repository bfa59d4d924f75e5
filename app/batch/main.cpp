// The batch tool's entry: reads the command line, connects the standard output unit and the
// program stop to the console, and runs the request.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/batch/batch_common.h"
#include "app/batch/batch_options.h"
#include "app/batch/batch_run.h"
#include "text/output_unit.h"

namespace {

// Numerical messages and the construction's lines go to standard error, so that standard output
// holds only the result.
void to_standard_error(int, const char* line, int length) {
    std::fwrite(line, 1, static_cast<size_t>(length), stderr);
    std::fputc('\n', stderr);
    std::fflush(stderr);
}

// A stop of the numerical layer: whatever was printed so far stays, the status says it failed.
void stop_with_status(const char* message) {
    if (message) std::fprintf(stderr, "%s\n", message);
    std::fflush(stdout);
    std::exit(kBatchStopped);
}

} // namespace

int main(int argc, char** argv) {
    set_line_sink(to_standard_error);
    set_stop_routine(stop_with_status);

    BatchOptions options;
    std::string error;
    if (!parse_batch_options(argc, argv, options, error)) {
        std::fprintf(stderr, "hysteresis-batch: %s\n", batch_shown(error).c_str());
        return kBatchBadUsage;
    }
    const int status = run_batch(options, g_model, stdout, error);
    // A file name may hold a line end: the message stays one line.
    if (!error.empty()) std::fprintf(stderr, "hysteresis-batch: %s\n", batch_shown(error).c_str());
    if (status == kBatchBadUsage) return status;
    // A write that failed earlier leaves its mark in the error flag even when the last flush
    // succeeds.
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fprintf(stderr, "hysteresis-batch: cannot write the output\n");
        return kBatchStopped;
    }
    return status;
}
