// The command line of the batch tool read into a fixed record, with every value checked.
// Single-threaded tool; plain procedures.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What the tool was asked to do.
enum class BatchCommand {
    help,  // print the usage and exit 0
    kmax,  // print Kmax for Hc
    major, // print the limiting loop
    curve, // open a workspace, run the steps, print the curve
};

// One step of a curve: a right click or an Execute of the reversal dialog.
struct BatchStep {
    int32_t cycle_mode; // kCycleSingle ("to"), kCycleAlternating ("cycle"), kCycleSpiral ("spiral")
    double Hn;          // the field to run to
    int32_t Ncyc;       // number of cycles of an Execute (0 for a single move)
};

// Everything the command line says, checked.
struct BatchOptions {
    BatchCommand command = BatchCommand::help;
    double Hc = 0.0; // distribution parameter, kSmallestHc <= Hc < kHcBound (model/model_limits.h)
    bool start_positive = false; // --start pos: Settings with "Ho = Hs" before the steps
    int32_t plot_width = 0;      // pixels across the plot area, > 0; by default that of a
                                 // kDefaultSurfaceWidth surface (model/plot_geometry.h)
    double Hmin = -1.0;          // H-axis bounds, Hmin < Hmax
    double Hmax = 1.0;
    std::vector<BatchStep> steps; // curve steps in the order given
};

// Reads argv[1..argc-1]. On success returns true; on a bad argument returns false with one line
// of explanation (without line end) in error.
bool parse_batch_options(int argc, const char* const* argv, BatchOptions& options,
                         std::string& error);
