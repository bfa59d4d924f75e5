// One row of the batch tool's table of commands: its name, its lines in --help, its option
// parser and its run routine. Single-threaded tool.
#pragma once

#include <cstdio>
#include <string>

#include "app/batch/batch_options.h"
#include "model/model_state.h"

// Reads the argument argv[i] (and the values after it, moving i) into options. Answers
// kOptionTaken, kOptionUnknown or kOptionRefused (with one line in error), from batch_common.h.
// Arguments that are not options (curve's steps) come here too.
using BatchOptionParser = int (*)(int argc, const char* const* argv, int& i, BatchOptions& options,
                                  std::string& error);

// Checks the options as a whole once every argument is read (a required option missing, two
// that exclude each other) and fills in defaults. False with one line in error.
using BatchOptionCheck = bool (*)(BatchOptions& options, std::string& error);

// Runs the command on the model record m, writing the result to out. Returns an exit status of
// batch_common.h; with kBatchBadUsage one line in error and nothing printed.
using BatchRunner = int (*)(const BatchOptions& options, ModelState& m, std::FILE* out,
                            std::string& error);

// A command of the tool.
struct BatchCommandRow {
    const char* name;               // the word on the command line
    const char* usage;              // its lines in the "Commands:" section of --help, each
                                    // ending in a line end
    BatchOptionParser parse_option; // its arguments
    BatchOptionCheck check;         // null when any combination of its options is valid
    BatchRunner run;                // the work
};
