// hysteresis-batch metrics: the characteristic numbers of the model's limiting loop or of a loop
// read from a file. Single-threaded tool.
#pragma once

#include <cstdio>
#include <string>

#include "app/batch/batch_command_row.h"
#include "app/batch/batch_options.h"
#include "app/batch/loop_metrics.h"
#include "model/model_state.h"

// Streams the points of the open reader through a loop record. True with the metrics and the
// loop's largest |H| in H_abs_max; false with one line saying what is wrong in error.
struct LoopReader;
// not_two_runs (when given) tells a refusal for repeated fields or a second turn of the field,
// which the measured-loop path can assemble.
bool measure_loop_reader(LoopReader& reader, LoopMetrics& metrics, double& H_abs_max,
                         std::string& error, bool* not_two_runs = nullptr);

// Streams the loop file at path through a loop record. True with the metrics and the loop's
// largest |H| in H_abs_max; false with one line saying what is wrong (the file's name, and the
// line for a bad line) in error.
bool measure_loop_file(const std::string& path, LoopMetrics& metrics, double& H_abs_max,
                       std::string& error, bool* not_two_runs = nullptr);

// The metrics of count points (H[i] * H_scale, B[i] * B_scale). False with the reason in error
// when they do not form a closed loop.
bool measure_points(const double* H, const double* B, int count, double H_scale, double B_scale,
                    LoopMetrics& metrics, std::string& error);

// Runs "metrics": --hc computes the limiting loop on m (as "major" does), --loop reads the file.
// Prints "name,value" lines to out and returns kBatchOk, or returns kBatchBadUsage with one line
// in error and prints nothing.
int run_metrics(const BatchOptions& options, ModelState& m, std::FILE* out, std::string& error);

// The command's row.
extern const BatchCommandRow kMetricsCommand;
