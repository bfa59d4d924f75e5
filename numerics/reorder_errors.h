// Partial ordering of the subintervals of an adaptive integration by decreasing error estimate,
// and the choice of the next subinterval to bisect. Any thread; touches only its arguments.
#pragma once

// Maintains order after a bisection. Subinterval numbers are 1-based: est[i - 1] is the error
// estimate of subinterval i and order[0..] holds subinterval numbers. On entry top is the
// subinterval just bisected (it kept one half, last holds the other), head the position in order
// of the largest estimate (1-based, 1 with the integrator). On return top is the subinterval to
// bisect next and topest its estimate.
//
// Only the first jtop places of order are kept sorted, jtop = last, or limit + 3 - last once last
// exceeds limit/2 + 2: intervals that would fall behind them can no longer be bisected before the
// limit is reached, so the insertion never scans more than needed. On ties, both the re-inserted
// top and the new last go before intervals with an equal estimate.
void reorder_errors(int limit, int last, int& top, double& topest, const double* est, int* order,
                    int& head);
