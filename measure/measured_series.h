// A measured series as read from an instrument file: the field and moment of every point in
// the order measured, in SI, with the units as read, where it came from and the processing
// values the file's header states. Records only; any thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "measure/measure_units.h"

// One value the file's header states ("Slope correction", "Saturation", ...), for reporting.
struct HeaderValue {
    std::string section;     // the header's section ("PROCESSING", "CHARACTERIZATION"; "" in a
                             // legacy header)
    std::string name;        // the value's name as written
    std::string text;        // the value as written
    bool has_number = false; // the text reads as a number
    double number = 0.0;     // that number, in the file's units (see unit)
    std::string unit;        // the file's unit of the number ("" when the header gives none)
};

// The instrument software's own figures and corrections from the file's header, in SI. Each
// has_ flag says whether the header gave the value (N/A and absent values leave it false).
struct HeaderFigures {
    bool has_slope = false;  // PROCESSING "Slope correction": the high-field slope removed
    double slope = 0.0;      // A m^2 / T
    bool has_Ms = false;     // CHARACTERIZATION "Saturation"
    double Ms = 0.0;         // A m^2
    bool has_Mr = false;     // CHARACTERIZATION "Remanence"
    double Mr = 0.0;         // A m^2
    bool has_Bc = false;     // CHARACTERIZATION "Coercivity"
    double Bc = 0.0;         // T
    bool has_S_star = false; // CHARACTERIZATION "S*": squareness of the loop near Bc
    double S_star = 0.0;     // dimensionless
};

// The points of one series (a loop file, one sweep of a Quantum Design file, one specimen of a
// MagIC table), with everything needed to report where they came from.
struct MeasuredSeries {
    std::vector<double> H;           // field of each point, as mu0 H in tesla when field_unit is
                                     // SI, otherwise in the file's own numbers
    std::vector<double> M;           // moment of each point, in A m^2 when moment_unit is SI,
                                     // otherwise in the file's own numbers (for the program's own
                                     // H,B files: the induction B)
    std::vector<int64_t> line;       // the file line each point was read from (1 is the first)
    ColumnUnit field_unit;           // the field column's unit as read, and its factor to SI
    ColumnUnit moment_unit;          // the moment column's unit as read, and its factor to SI
    std::string field_name;          // the field column's name in the file ("Field", "H")
    std::string moment_name;         // the moment column's name ("Moment", "B")
    std::string source;              // the file's path
    std::string format;              // the recognised format ("MicroMag loop, sectioned header",
                                     // "Quantum Design MPMS3", "MagIC 3.0", "plain columns")
    std::string specimen;            // the specimen or sample name ("" when the file names none)
    std::string measured_on;         // the file's date of measurement, as written ("" for none)
    std::vector<HeaderValue> header; // the header's processing and characterisation values
    HeaderFigures figures;           // the same values the corrections and reports use, in SI
};
