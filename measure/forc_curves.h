// Measured first-order reversal curves as read from an instrument or column file: per curve the
// optional calibration point, the reversal field and the curve's points in measurement order,
// in SI, with the units as read and the source. Records only; any thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "measure/measure_units.h"
#include "measure/measured_series.h"

// One reversal curve. The field first falls from saturation to Hr, then rises back: the curve
// is the rising part, starting at Hr.
struct ForcCurve {
    bool has_calibration = false; // the file measured a calibration point before this curve
    double Hcal = 0.0;            // its field (T when the series' units are SI)
    double Mcal = 0.0;            // its moment (A m^2 when SI): the drift reference
    double Hr = 0.0;              // the reversal field, equal to H[0] for instrument files
    std::vector<double> H;        // the curve's fields in measurement order (increasing)
    std::vector<double> M;        // the moment at each field
    int64_t first_line = 0;       // the file line of the curve's first point (1 is the first)
};

// Every curve of one file, in the order measured.
struct ForcCurves {
    std::vector<ForcCurve> curves;   // in measurement order (Hr usually increasing)
    ColumnUnit field_unit;           // the field's unit as read and its factor to SI
    ColumnUnit moment_unit;          // the moment's unit as read and its factor to SI
    std::string source;              // the file's path
    std::string format;              // "MicroMag FORC, legacy header", "plain Hr,H,M columns"
    std::vector<HeaderValue> header; // the header's values (HCal, ranges, averaging time ...)
    bool has_Hcal = false;           // the header states the calibration field (HCal)
    double Hcal = 0.0;               // that field, SI when the units are
    int64_t points = 0;              // points of every curve together, calibration points apart
    int64_t set_aside = 0;           // lines set aside (an incomplete last curve, a lone point)
};
