// The process-wide working values of the two-dimensional quadrature, shared by its outer and
// inner integrations and by every instance of its templates. Interface thread only: one copy,
// one integration at a time.
#pragma once

struct QuadratureShared {
    double span;             // |B - A| of the running call; divides the inner tolerances
    int inner_count;         // evaluation count of the most recent inner integration
    double outer_errabs;     // 0.5*ERRABS of the running call
    double outer_errrel;     // 0.5*ERRREL of the running call
    bool limit_reported;     // an inner "limit reached" message was issued (never cleared)
    bool roundoff_reported;  // an inner roundoff message was issued (never cleared)
    bool precision_reported; // an inner "precision degraded" message was issued (never cleared)
};

extern QuadratureShared quadrature_shared;

// Clears the three one-shot flags of the inner messages. The program never does; tests start
// each case from it.
void reset_quadrature_flags();
