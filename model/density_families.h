// The density families the program knows, by name: where options, dialogs and model files find a
// family. Any thread: a constant table.
#pragma once

#include "model/density.h"

// The families in the order they are offered, the default (the Lorentzian) first; count in
// *count.
const DensityFamily* const* density_families(int* count);

// The family called `name`, or null.
const DensityFamily* find_density_family(const char* name);
