// Debug-build checks of the rules that tie the fields of ModelState together (the block at the
// top of model/model_state.h). Interface thread only, like the record.
#pragma once

// Receives the broken rule in words. The default prints it on standard error and aborts.
using InvariantFailureRoutine = void (*)(const char* rule);

// Sets the routine called for a broken rule; null restores the default. Tests that drive the
// model into impossible states on purpose, to check the release clamps, set a routine that
// returns.
void set_invariant_failure(InvariantFailureRoutine r);

// Returns holds. In builds without NDEBUG a false holds is first reported through the failure
// routine; release builds only return it, so the caller's clamp still keeps the model safe.
bool expect_invariant(bool holds, const char* rule);
