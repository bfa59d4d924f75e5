// The diagnostics of the two-dimensional quadrature: argument checks and the reports of the
// outer and inner termination codes, recorded through the numerical error facility at the
// current level. Interface thread only.
#pragma once

// Checks MAXSUB, IRULE, ERRABS and ERRREL in a fixed order, recording a TERMINAL message for
// every failing check (later checks still run).
void dt2odq_check_arguments(int MAXSUB, int IRULE, double ERRABS, double ERRREL);

// Records the message of an outer termination code (1 FATAL, 2 and 3 WARNING; others nothing).
// For code 3 the interval reported is outer subinterval IORDER(1).
void dt2odq_report_outer(int code, int MAXSUB, const double* XLEFT, const double* XRIGHT,
                         const int* IORDER);

// The same for an inner termination code, each kind at most once per run (the flags of
// quadrature_shared). For code 3 the interval is the inner subinterval at the head of IWORK,
// its ends in the first two blocks of WORK.
void dt2odq_report_inner(int code, int MAXSUB, const double* WORK, const int* IWORK);
