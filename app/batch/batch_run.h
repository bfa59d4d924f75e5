// The batch tool's table of commands, and everything derived from it: reading the command line,
// running the command it names, and the --help text. Single-threaded tool; uses the model record
// it is given.
#pragma once

#include <cstdio>
#include <string>

#include "app/batch/batch_command_row.h"
#include "app/batch/batch_common.h"
#include "app/batch/batch_options.h"
#include "model/model_state.h"

// The command named name, or null for none.
const BatchCommandRow* find_batch_command(const std::string& name);

// Number of commands in the table and the row at index (0 .. count - 1), in --help order.
int batch_command_count();
const BatchCommandRow& batch_command_at(int index);

// Reads argv[1..argc-1]: the command, then its arguments through its row's parser, then its
// row's check. On success returns true; on a bad argument returns false with one line of
// explanation (without line end) in error. "--help" anywhere sets options.command to "help".
bool parse_batch_options(int argc, const char* const* argv, BatchOptions& options,
                         std::string& error);

// Runs the command on m and writes its output to out. Numerical messages go to the standard
// output unit, which the caller connects. Returns the command's exit status (batch_common.h);
// with kBatchBadUsage one line in error and nothing printed.
int run_batch(const BatchOptions& options, ModelState& m, std::FILE* out, std::string& error);

// The usage text of --help.
const std::string& batch_usage();
