// The batch tool's command line read into one fixed record, with every value checked; each
// command reads its own options into it (see batch_command_row.h). Single-threaded tool.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "measure/loop_analysis.h"
#include "model/model_file.h"

// One step of a curve: a right click or an Execute of the reversal dialog.
struct BatchStep {
    int32_t cycle_mode; // kCycleSingle ("to"), kCycleAlternating ("cycle"), kCycleSpiral ("spiral")
    double Hn;          // the field to run to
    int32_t Ncyc;       // number of cycles of an Execute (0 for a single move)
};

// Everything the command line says, checked.
struct BatchOptions {
    std::string command; // the command's name as in the table; "help" for --help
    double Hc = 0.0; // distribution parameter, kSmallestHc <= Hc < kHcBound (model/model_limits.h)
    bool hc_given = false;       // --hc appeared
    bool start_positive = false; // --start pos: Settings with "Ho = Hs" before the steps
    int32_t plot_width = 0;      // pixels across the plot area, > 0; by default that of a
                                 // kDefaultSurfaceWidth surface (model/plot_geometry.h)
    double Hmin = -1.0;          // H-axis bounds, Hmin < Hmax
    double Hmax = 1.0;
    std::vector<BatchStep> steps;        // curve steps in the order given
    std::string loop_path;               // --loop: the loop file of metrics and fit ("" for none)
    std::vector<std::string> loop_paths; // metrics: every file or folder after --loop, in order
    std::string out_path;                // --out: where fit writes the fitted loop ("" for nowhere)
    int32_t reversals = 0;               // --reversals: number of reversal fields of forc
    int32_t points = 0;   // --points: fields across [-Hs, Hs] of forc; 0 means reversals
    bool density = false; // --density: forc adds the distribution column
    SlopeChoice slope = SlopeChoice::none; // metrics --slope
    bool slope_given = false;   // --slope appeared (otherwise measured moments get automatic,
                                // the program's own H,B files none)
    double slope_value = 0.0;   // --slope VALUE: moment per field, in SI (A m^2 / T)
    bool drift = false;         // metrics --drift: remove the moment drift
    bool centre = false;        // metrics --centre: remove field and moment offsets
    double high_fraction = 0.0; // --high-field: the fraction of the largest field above which
                                // the slope is fitted and Ms measured (0 for the default)
    std::string measured_path;  // forc --measured: a file of measured reversal curves ("" for
                                // the model's own curves)
    int32_t sf = 0;             // forc --sf: smoothing factor of the distribution; 0 until given
    std::string picture_path;   // forc --picture: where the FORC diagram is drawn; fit --picture:
                                // the measured and fitted loops ("" for none)
    bool no_drift = false;      // forc --no-drift: leave measured moments as they are
    std::string columns;        // --columns H,M: the columns of a plain file, by name or
                                // number from 1 ("" to recognise them)
    std::string model_path;     // curve and forc --model: the model file computed with ("" for
                                // the Lorentzian of --hc)
    ModelFile model;            // that file, read once the options are checked
    std::string fit_family;     // fit --model: a family word or "auto" ("" for the Lorentzian
                                // of the limiting loop)
    std::string out_model_path; // fit --out-model: where the fitted model is written
};

// Accepted range of --reversals and --points.
constexpr int32_t kForcGridMin = 2;
constexpr int32_t kForcGridMax = 1000;
