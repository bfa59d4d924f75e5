// fit --model FAMILY|auto: a density family and the reversible part fitted to each measured loop
// of a file (every specimen of a table), read through the measured-file readers. Single-threaded
// tool.
#pragma once

#include <cstdio>
#include <string>

#include "app/batch/batch_options.h"

// The families "auto" tries, in the order they are printed.
extern const char* const kAutoFamilies[];
extern const int kAutoFamilyCount;

// Runs the fit. kBatchOk; kBatchBadUsage with one line in error for a file that cannot be read
// or holds no full loop with crossings; kBatchStopped when a file could not be written.
int run_material_fit(const BatchOptions& options, std::FILE* out, std::string& error);
