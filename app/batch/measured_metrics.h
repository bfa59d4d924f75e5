// hysteresis-batch metrics on measured files: any supported format read into SI, the loops
// assembled, corrected as asked and measured; one file with one loop prints "name,value,unit"
// lines, several files, a folder, several specimens or loops print one CSV row per loop.
// Single-threaded tool.
#pragma once

#include <cstdio>
#include <string>

#include "app/batch/batch_options.h"

// True when the file at path is the program's own loop format ("H,B" comma-separated, two
// columns, no units) and no option of measured files is set: metrics then answers as for the
// model's loops. A file that cannot be recognised answers false (the measured path reports why).
bool is_program_loop_file(const BatchOptions& options, const std::string& path);

// Runs metrics on options.loop_paths (files and folders). Returns kBatchOk; kBatchBadUsage with
// one line in error and nothing printed for a single file that cannot be measured or a folder
// with nothing readable; kBatchStopped when a table was printed but some file failed (its row
// says why).
int run_measured_metrics(const BatchOptions& options, std::FILE* out, std::string& error);
