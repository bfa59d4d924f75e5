// A measurement drawn over the model: its curves on the workspace's normalised axes, H / Hs and
// B / Bs. Record and pure procedures; any thread with its own record (the workspace's is
// interface thread only).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/model_file.h"

// One measured curve (a loop, or one reversal curve of a FORC file), normalised.
struct OverlayCurve {
    std::vector<double> H; // field of each point divided by the field scale, in measured order
    std::vector<double> B; // moment of each point divided by the moment scale
};

// Everything of a measurement the plot needs. Empty curves: nothing is drawn and the legend
// keeps its three entries.
struct MeasuredOverlay {
    std::vector<OverlayCurve> curves; // every curve of the file, in file order
    double field_scale = 0.0;         // the field that maps to H = 1: the material's Hs, or the
                                      // file's largest |H|
    double moment_scale = 0.0;        // the moment that maps to B = 1: the material's Bs, or the
                                      // file's largest |M|
    std::string source;               // the file's path
};

// Starts a measurement from raw curves (field and moment, any consistent units). Hs and Bs are
// the scales when positive and finite (a material model's saturation in the file's units);
// otherwise the largest |H| and |M| over every finite point. Points that are not finite are
// dropped. With reversible (not null, used with the material's scales only) each normalised moment
// loses the material's reversible part at its field, reversible_moment(H / Hs): what is left is
// the irreversible moment the model's curves show. False (overlay left empty) when no curve has
// a finite point or a scale is 0.
bool make_measured_overlay(const std::vector<std::vector<double>>& H,
                           const std::vector<std::vector<double>>& M, double Hs, double Bs,
                           const ReversiblePart* reversible, const std::string& source,
                           MeasuredOverlay& overlay);

// True when there is a curve to draw.
bool overlay_shown(const MeasuredOverlay& overlay);
