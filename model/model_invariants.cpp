// The failure routine of the model's invariant checks and the check itself.
#include "model/model_invariants.h"

#include <cstdio>
#include <cstdlib>

namespace {

void print_and_abort(const char* rule) {
    std::fprintf(stderr, "hysteresis: broken model invariant: %s\n", rule);
    std::abort();
}

InvariantFailureRoutine g_failure = print_and_abort;

} // namespace

void set_invariant_failure(InvariantFailureRoutine r) {
    g_failure = r ? r : print_and_abort;
}

bool expect_invariant(bool holds, const char* rule) {
#ifndef NDEBUG
    if (!holds) g_failure(rule);
#else
    (void)rule;
#endif
    return holds;
}
