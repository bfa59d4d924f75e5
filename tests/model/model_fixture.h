// Shared set-up of the model tests: a workspace opened as the program opens it, and the reference
// curves of the independent implementation.
#pragma once

#include <string>
#include <vector>

#include "model/model_state.h"

// A model record on the heap (it is too large for the stack) after program start, the start-up
// Hc and Kmax, Open workspace and the pixel scale of a 1024 x 768 window (HperPixel = 2/916).
// Another Hc is set as the parameter dialog sets it, with its computed Kmax, before the limiting
// loop is computed.
ModelState& opened_workspace(double Hc = kStartupHc);

// One right click: construct to Hn and commit the new points.
void right_click(ModelState& m, double Hn);

// The drawn curve, points 0..Ndrawn.
std::vector<double> drawn_H(const ModelState& m);
std::vector<double> drawn_B(const ModelState& m);

// A reference CSV (comment lines starting with '#', a header line, then numbers) as columns;
// ok is false when it cannot be read.
struct ReferenceTable {
    bool ok = false;                       // the file was found and parsed
    std::string comment;                   // the first comment line, empty when there is none
    std::vector<std::vector<double>> cols; // column j, row i at cols[j][i]
};
ReferenceTable read_reference(const std::string& name);

// Relative difference, with the absolute difference below 1.
double relative_difference(double a, double b);
