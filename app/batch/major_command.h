// hysteresis-batch major: the limiting loop of a distribution parameter. Single-threaded tool.
#pragma once

#include "app/batch/batch_command_row.h"

// The command's row: "major [--hc HC]" prints "H,B" and the limiting loop's 201 points.
extern const BatchCommandRow kMajorCommand;
