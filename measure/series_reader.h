// Reading any supported measurement file, its format recognised from its content (never from
// its name): MicroMag loops and reversal curves, Quantum Design .dat, MagIC tables, plain
// columns. Any one thread per call.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "measure/forc_curves.h"
#include "measure/measured_series.h"

// The kinds of file told apart by their first lines.
enum class FileKind {
    micromag_loop,  // MicroMag data file of a loop or another moment-versus-field series
    micromag_forc,  // MicroMag data file of first-order reversal curves
    quantum_design, // Quantum Design .dat ("[Header]")
    magic,          // MagIC measurement table ("tab measurements", "tab magic_measurements")
    plain,          // plain columns
};

// The kind of the file at path, from its first two lines. False with one line in error when it
// cannot be read (a missing file, a folder, binary or UTF-16 content, an empty file).
bool recognise_file(const std::string& path, FileKind& kind, std::string& error);

// Reads the file's series: one for a loop file, a Quantum Design file or a plain file, one per
// specimen for a MagIC table. columns is --columns for plain files ("" to recognise them).
// skipped counts rows the reader passed over (rows without a moment, other methods). False with
// one line naming the file (and line) in error; a reversal-curve file is refused here.
bool read_series_file(const std::string& path, const std::string& columns,
                      std::vector<MeasuredSeries>& series, int64_t& skipped, std::string& error);

// Reads measured reversal curves: a MicroMag FORC file, or a plain file of the columns Hr, H, M
// (by name in a header, or the first three), a curve being the rows of one Hr in file order.
// False with one line in error.
bool read_forc_file(const std::string& path, ForcCurves& forc, std::string& error);
