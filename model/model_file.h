// The model file: a fitted or measured material as a small self-describing JSON text (the density
// family and its parameters, the scales Hs and Bs with their units, the reversible part, where it
// came from and how well it fitted), written and read as one fixed record. Any thread: pure code
// on the caller's record and files.
//
// The file, with every key the reader knows (unknown keys are refused, so a misspelt key is never
// silently ignored):
//   {
//     "format": "hysteresis-model", "version": 1,
//     "family": "gauss",                      a family of model/density_families.h, or "measured"
//     "parameters": {"Hc0": 0.02, ...},       the family's parameters, all of them, in units of Hs
//                                             where they are fields (mixture weights are numbers)
//     "errors": {"Hc0": 0.0003, ...},         optional: standard errors of the parameters
//     "units": {"H": "T", "B": "A m2"},       units of the fields and of the moment in this file
//     "Hs": 1.0, "Bs": 2.5e-5,                saturation field and moment of the irreversible part,
//                                             in those units: a model H of 1 is Hs, a B of 1 is Bs
//     "reversible": {"chi": 0.0, "amplitude": 0.0, "field": 1.0},
//                                             B_rev = chi H + amplitude L(H / field), model units,
//                                             L the Langevin function (see model/reversible_part.h)
//     "everett": {"Hr": [...], "nodes": [...], "H": [...], "M": [...], "slope": [...]},
//                                             family "measured" only: its Everett table in the
//                                             units above (model/everett_table.h): each curve's
//                                             reversal field and number of nodes, then the nodes'
//                                             fields, moments and slopes, curve after curve
//     "source": "loop.dat",                   optional: the measured file it was made from
//     "fit": {"r2": 0.998, "rms": 0.004, "points": 1000, "aic": -9000.0, "warning": ""}
//                                             optional: the fit's figures
//   }
#pragma once

#include <string>
#include <vector>

#include "model/density.h"
#include "model/everett_table.h"

// The family word of a density given as a table (a measured distribution).
constexpr const char* kMeasuredFamily = "measured";

// The reversible part of the model, in model units (H in Hs, B in Bs):
// B_rev(H) = chi H + amplitude * L(H / field), L(x) = coth x - 1/x.
struct ReversiblePart {
    double chi = 0.0;       // straight slope (para- or diamagnetic), Bs per Hs
    double amplitude = 0.0; // height of the saturating reversible term, in Bs
    double field = 1.0;     // field scale of the saturating term, in Hs, > 0
};

// How well the model fitted the loop it came from; present = false when it was not fitted.
struct FitFigures {
    bool present = false; // the file has a "fit" entry
    double r2 = 0.0;      // coefficient of determination against the measured loop
    double rms = 0.0;     // root mean square residual, in units of Bs
    long points = 0;      // measured points fitted
    double aic = 0.0;     // Akaike information criterion of the fit
    std::string warning;  // empty, or one line: why the fit is doubtful
};

// One model file in memory.
struct ModelFile {
    std::string family;             // family word: a known family or kMeasuredFamily
    std::vector<double> parameters; // the family's parameters in its order
    std::vector<double> errors;     // their standard errors, or empty when unknown
    std::string field_unit = "1";   // unit of H in this file ("1": the model's own units)
    std::string moment_unit = "1";  // unit of B in this file
    double Hs = 1.0;                // saturation field, in field_unit, > 0
    double Bs = 1.0;                // saturation moment of the irreversible part, > 0
    ReversiblePart reversible;      // the reversible part
    EverettTable everett;           // family "measured" only: its table, in the units above
    std::string source;             // the measured file it came from, or empty
    FitFigures fit;                 // the fit's figures, if any
};

// Writes model to path. Returns false with one line of explanation in error when the record is
// not a valid model (as model_file_check) or the file cannot be written.
bool model_file_write(const ModelFile& model, const std::string& path, std::string& error);

// Reads path into model. Returns false with one line of explanation (naming the file) in error
// when the file cannot be read, is not JSON, is not a model file of this version, names an
// unknown family or key, lacks a parameter or holds a value out of its range.
bool model_file_read(const std::string& path, ModelFile& model, std::string& error);

// Whether the record describes a model the program can compute with; one line in error if not.
bool model_file_check(const ModelFile& model, std::string& error);

// The density the record describes, normalised over -Hs..Hs in model units. For family
// "measured" the density points at model.everett: the record must outlive the density and stay
// unchanged while it is used. Interface thread only for the Lorentzian, whose normalisation runs
// the two-dimensional quadrature.
bool model_file_density(const ModelFile& model, Density& density, std::string& error);
