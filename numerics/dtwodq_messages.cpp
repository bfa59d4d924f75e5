// The messages DTWODQ records with the error facility.
#include "numerics/dtwodq_messages.h"

#include "numerics/error_facility.h"
#include "numerics/quadrature_shared.h"

#include <cstddef>

namespace {

const char* const kLimitText =
    "The maximum number of subintervals allowed MAXSUB = %(I1) has been reached.  Use DT2ODQ "
    "and increase MAXSUB.  Dimension adjustments may be necessary.";
const char* const kRoundoffText =
    "Roundoff error has been detected.  The requested tolerances cannot be reached.";
const char* const kPrecisionText =
    "Precision is degraded due to too fine a subdivision relative to the requested tolerance.  "
    "This may be due to bad integrand behavior in the interval (%(D1),%(D2)).  Higher precision "
    "may alleviate this problem.";

void report_code(int code, int MAXSUB, double left, double right) {
    switch (code) {
    case 1:
        set_message_int(1, MAXSUB);
        E1MES(kErrorFatal, 1, kLimitText);
        break;
    case 2:
        E1MES(kErrorWarning, 2, kRoundoffText);
        break;
    case 3:
        set_message_double(1, left);
        set_message_double(2, right);
        E1MES(kErrorWarning, 3, kPrecisionText);
        break;
    default:
        break;
    }
}

} // namespace

void dt2odq_check_arguments(int MAXSUB, int IRULE, double ERRABS, double ERRREL) {
    if (MAXSUB < 1) {
        set_message_int(1, MAXSUB);
        E1MES(kErrorTerminal, 1,
              "The maximum number of subintervals MAXSUB = %(I1).  It must be at least 1.");
    }
    if (IRULE < 1 || IRULE > 6) {
        set_message_int(1, IRULE);
        E1MES(kErrorTerminal, 2,
              "The quadrature rule IRULE = %(I1).  It must be in the range 1 to 6.");
    }
    // A NaN tolerance fails like a negative one: no bound could ever be met or missed.
    if (!(ERRABS >= 0.0)) {
        set_message_double(1, ERRABS);
        E1MES(kErrorTerminal, 3,
              "The absolute error desired ERRABS = %(D1).  It must be at least zero.");
    }
    if (!(ERRREL >= 0.0)) {
        set_message_double(1, ERRREL);
        E1MES(kErrorTerminal, 4,
              "The relative error desired ERRREL = %(D1).  It must be at least zero.");
    }
    if (ERRABS == 0.0 && ERRREL == 0.0) {
        E1MES(kErrorTerminal, 5,
              "The error tolerance arguments ERRABS and ERRREL are both equal to zero.  At least "
              "one of them must be greater than zero.");
    }
    if (ERRREL >= 1.0) {
        set_message_double(1, ERRREL);
        E1MES(kErrorTerminal, 6,
              "The relative error desired ERRREL = %(D1).  When ERRREL is greater than or equal "
              "to one, zero can always be returned as an answer.");
    }
}

void dt2odq_report_outer(int code, int MAXSUB, const double* XLEFT, const double* XRIGHT,
                         const int* IORDER) {
    if (code == 3)
        report_code(code, MAXSUB, XLEFT[IORDER[0] - 1], XRIGHT[IORDER[0] - 1]);
    else
        report_code(code, MAXSUB, 0.0, 0.0);
}

void dt2odq_report_inner(int code, int MAXSUB, const double* WORK, const int* IWORK) {
    QuadratureShared& s = quadrature_shared;
    switch (code) {
    case 1:
        if (s.limit_reported) return;
        report_code(code, MAXSUB, 0.0, 0.0);
        s.limit_reported = true;
        break;
    case 2:
        if (s.roundoff_reported) return;
        report_code(code, MAXSUB, 0.0, 0.0);
        s.roundoff_reported = true;
        break;
    case 3:
        if (s.precision_reported) return;
        // The right ends start at WORK(MAXSUB+1); the sum is formed in the pointer's width.
        report_code(code, MAXSUB, WORK[IWORK[0] - 1],
                    WORK[static_cast<std::ptrdiff_t>(MAXSUB) + IWORK[0] - 1]);
        s.precision_reported = true;
        break;
    default:
        break;
    }
}
