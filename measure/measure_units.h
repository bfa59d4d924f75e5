// The units in which instruments write fields and moments, and their factors to SI (field as
// mu0 H in tesla, moment in A m^2). Pure code: any thread.
#pragma once

#include <string>

// The SI names every converted value is reported in.
extern const char* const kFieldUnitSI;  // "T" (mu0 H)
extern const char* const kMomentUnitSI; // "A m^2"

// One column's unit: as the file writes it, and how to get SI values from it.
struct ColumnUnit {
    std::string read;     // the unit as written in the file ("Oe", "emu", "T", "Am²"); "" for none
    double to_si = 1.0;   // factor from the file's numbers to SI; 1 when there is no unit
    std::string reported; // the unit of the values after reading: kFieldUnitSI, kMomentUnitSI,
                          // or "" (no unit given: the values stay as the file gives them)
};

// What a column's unit measures.
enum class UnitQuantity {
    field,  // magnetic field: T, mT, Oe, G (read as Oe), A/m, kA/m
    moment, // magnetic moment: A m^2, emu, memu, uemu
};

// Reads a unit text (any spacing and case as instruments write them, "Am²" in UTF-8 or Latin-1,
// "A m^2", "A*m2", "emu", "Oe", "mT", "A/m"). True with unit filled; false for a unit unknown for
// that quantity. An empty text gives the unit "" with factor 1.
bool read_unit(const std::string& text, UnitQuantity quantity, ColumnUnit& unit);
