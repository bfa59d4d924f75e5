// Iterated two-dimensional adaptive quadrature: the integral over x in [A, B] of the integral
// over y in [G(x), H(x)] of F(x, y). Interface thread only: the routines share process-wide
// working values and are not reentrant (F, G and H must not call them).
#pragma once

// Integrand of the inner integral: F(x, y).
using Integrand2 = double (*)(const double& x, const double& y);

// Lower or upper limit of the inner integral as a function of the outer variable.
using LimitFunction = double (*)(const double& x);

// Integrates with a workspace of 250 subintervals obtained for this call and released before it
// returns. ERRABS >= 0 and 0 <= ERRREL < 1 (not both 0), IRULE in 1..6 selects the
// Gauss-Kronrod pair (7-15 ... 30-61 points). B < A gives the integral with the sign of B - A;
// A = B gives RESULT = ERREST = 0. On an argument error or a failed allocation RESULT and ERREST
// are left untouched; every diagnostic goes through the numerical error facility.
void DTWODQ(Integrand2 F, const double& A, const double& B, LimitFunction G, LimitFunction H,
            const double& ERRABS, const double& ERRREL, const int& IRULE, double& RESULT,
            double& ERREST);

// The same with the subinterval limit MAXSUB and all work arrays supplied by the caller:
// XLEFT, XRIGHT, SUBRES, SUBERR, IORDER and IWORK of MAXSUB entries, WORK of 4*MAXSUB.
// On return NCALLS is the outer evaluation count (INT_MAX when larger), NSUBS the number of
// outer subintervals, XLEFT(i), XRIGHT(i), SUBRES(i), SUBERR(i) describe outer subinterval i
// (i = 1..NSUBS at index i-1) and IORDER holds subinterval numbers (1-based) by decreasing error
// estimate.
void DT2ODQ(Integrand2 F, const double& A, const double& B, LimitFunction G, LimitFunction H,
            const double& ERRABS, const double& ERRREL, const int& IRULE, double& RESULT,
            double& ERREST, const int& MAXSUB, int& NCALLS, int& NSUBS, double* XLEFT,
            double* XRIGHT, double* SUBRES, double* SUBERR, int* IORDER, double* WORK, int* IWORK);
