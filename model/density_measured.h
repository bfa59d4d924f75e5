// The family "measured": a material given by its Everett function tabulated on measured reversal
// curves (model/everett_table.h) rather than by a formula. The Preisach model integrates a
// triangle of it by one look-up. Any thread, on a table nobody changes meanwhile.
#pragma once

#include "model/density.h"
#include "model/everett_table.h"

extern const DensityFamily kMeasuredDensityFamily;

// Index of the family's one parameter: the table's field per model field (the saturation field
// Hs in the measurement's unit), > 0.
constexpr int kMeasuredHs = 0;

// The density of the table, whose fields are in the measurement's unit, for a model whose field
// 1 is Hs of that unit; norm 1 (density_normalise sets it). The density points at the table,
// which must outlive it.
Density measured_density(const EverettTable* table, double Hs);
