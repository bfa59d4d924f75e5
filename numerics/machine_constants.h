// Properties of the machine's arithmetic and the unit numbers of the numerical routines.
// Single-threaded like the error facility: the unit table is one copy for the whole run.
#pragma once

#include <cfloat>
#include <limits>

namespace machine_detail {
// DMACH's misuse report for an N outside 1..8; returns the quiet NaN.
double report_bad_index(int N);
} // namespace machine_detail

// Double-precision constants, N = 1..8: smallest normalised number, largest finite number,
// smallest and largest relative spacing, log10(2), quiet NaN, +infinity, -infinity.
// Any other N is a TERMINAL error (code 5) and stops the program; the result is then a NaN.
// Defined here so that the integration's fetches of its constants fold into plain constants.
inline double DMACH(const int& N) {
    switch (N) {
    case 1:
        return DBL_MIN; // 2^-1022, normalised
    case 2:
        return DBL_MAX; // (2 - 2^-52) * 2^1023
    case 3:
        return DBL_EPSILON / 2.0; // 2^-53
    case 4:
        return DBL_EPSILON; // 2^-52
    case 5:
        return 0.3010299956639812; // log10(2) rounded to double
    case 6:
        return std::numeric_limits<double>::quiet_NaN(); // 7FF8000000000000 on IEEE machines
    case 7:
        return std::numeric_limits<double>::infinity();
    case 8:
        return -std::numeric_limits<double>::infinity();
    default:
        return machine_detail::report_bad_index(N);
    }
}

// Integer and floating-point format parameters, N = 1..12. Any other N writes its message on
// unit UMACH(2) and stops the program; the result is then 0.
int IMACH(const int& N);

// Unit numbers: N > 0 returns unit N in NUNIT, N < 0 sets unit |N| to NUNIT. Units: 1 standard
// input (5), 2 standard output (6), 3 error messages (6). Any other |N| writes its message on
// unit 3 and stops the program; NUNIT and the table are then left unchanged.
void UMACH(const int& N, int& NUNIT);

// Restores the default unit table (for tests).
void reset_machine_units();
