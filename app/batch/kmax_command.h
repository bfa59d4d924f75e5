// hysteresis-batch kmax: the normalisation factor Kmax of a distribution parameter.
// Single-threaded tool.
#pragma once

#include "app/batch/batch_command_row.h"

// The command's row: "kmax [--hc HC]" prints Kmax with 17 significant digits.
extern const BatchCommandRow kKmaxCommand;
