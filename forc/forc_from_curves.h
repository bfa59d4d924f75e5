// A FORC table from measured reversal curves: every curve with its points, as the regression
// wants them. Pure code; any thread may call it on distinct records.
#pragma once

#include <string>

#include "forc/forc_table.h"
#include "measure/forc_curves.h"

// Fills table with the curves (each curve's reversal field and points as they are) and finishes
// it (forc_table_finish). On failure returns false with one line in error that names the file
// line of the curve at fault when the record knows it.
bool forc_table_from_curves(const ForcCurves& curves, ForcTable& table, std::string& error);
