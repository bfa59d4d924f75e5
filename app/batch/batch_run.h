// Runs a checked batch request on the model and prints the result as text.
// Single-threaded tool; uses the one model record.
#pragma once

#include <cstdio>
#include <string>

#include "app/batch/batch_options.h"
#include "model/model_state.h"

// Exit statuses of the tool.
constexpr int kBatchOk = 0;
constexpr int kBatchStopped = 1;  // a numerical stop: a construction could not be completed
constexpr int kBatchBadUsage = 2; // invalid arguments

// Sets m's Hs, Bs, Hc and Kmax as Open workspace does once the parameter dialog is confirmed:
// Kmax is the start-up factor when Hc is the start-up value, otherwise compute_kmax.
void batch_set_parameter(ModelState& m, double Hc);

// Runs the command on m and writes its output to out: numbers with 17 significant digits, CSV
// with the header "H,B" for major and curve. Numerical messages go to the standard output unit,
// which the caller connects. Returns kBatchOk; kBatchStopped when a step stopped before its end
// (the points so far are printed all the same); kBatchBadUsage with one line in error, and
// nothing printed, for input that metrics or fit refuse.
int run_batch(const BatchOptions& options, ModelState& m, std::FILE* out, std::string& error);

// The usage text of --help.
const char* batch_usage();
