// The command line of the batch tool read into a fixed record, with every value checked.
// Single-threaded tool; plain procedures.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What the tool was asked to do.
enum class BatchCommand {
    help,    // print the usage and exit 0
    kmax,    // print Kmax for Hc
    major,   // print the limiting loop
    curve,   // open a workspace, run the steps, print the curve
    metrics, // print the characteristic numbers of the limiting loop or of a loop file
    forc,    // print first-order reversal curves (and their distribution)
    fit,     // fit Hc and Bs of the limiting loop to a measured loop
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
    std::string loop_path;        // --loop: the loop file of metrics and fit ("" for none)
    std::string out_path;         // --out: where fit writes the fitted loop ("" for nowhere)
    int32_t reversals = 0;        // --reversals: number of reversal fields of forc
    int32_t points = 0;           // --points: fields across [-Hs, Hs] of forc; 0 means reversals
    bool density = false;         // --density: forc adds the distribution column
};

// Accepted range of --reversals and --points.
constexpr int32_t kForcGridMin = 2;
constexpr int32_t kForcGridMax = 1000;

// Reads argv[1..argc-1]. On success returns true; on a bad argument returns false with one line
// of explanation (without line end) in error.
bool parse_batch_options(int argc, const char* const* argv, BatchOptions& options,
                         std::string& error);
