// Units of fields and moments, and their factors to SI.
#include "measure/measure_units.h"

#include <cctype>

const char* const kFieldUnitSI = "T";
const char* const kMomentUnitSI = "A m^2";

namespace {

// Mu0 in T m/A (the value before the 2019 redefinition differs by 5e-10, far below any
// instrument's resolution).
constexpr double kMu0 = 1.25663706212e-6;

// The unit text reduced to a key: lower case, without blanks, "*", "·", "^" and brackets, the
// square sign (UTF-8 or Latin-1) written as "2".
std::string unit_key(const std::string& text) {
    std::string key;
    for (size_t k = 0; k < text.size(); ++k) {
        const unsigned char c = static_cast<unsigned char>(text[k]);
        if (c == 0xC2 && k + 1 < text.size()) {
            const unsigned char d = static_cast<unsigned char>(text[k + 1]);
            if (d == 0xB2) key += '2'; // UTF-8 "²"
            if (d == 0xB5) key += 'u'; // UTF-8 micro sign
            ++k;                       // "·" and other signs: dropped
            continue;
        }
        if (c == 0xB2) {
            key += '2'; // Latin-1 "²"
        } else if (c == 0xB5) {
            key += 'u'; // Latin-1 micro sign
        } else if (c == 0xCE && k + 1 < text.size() &&
                   static_cast<unsigned char>(text[k + 1]) == 0xBC) {
            key += 'u'; // UTF-8 Greek mu
            ++k;
        } else if (std::isspace(c) || c == '*' || c == '^' || c == '.' || c == '(' || c == ')' ||
                   c == '[' || c == ']' || c == 0xB7) {
            continue;
        } else {
            key += static_cast<char>(std::tolower(c));
        }
    }
    return key;
}

struct KnownUnit {
    const char* key; // as unit_key writes it
    double to_si;
};

// Fields: mu0 H in tesla. One oersted is 1e-4 T of mu0 H; a gauss field is read as oersted.
const KnownUnit kFieldUnits[] = {
    {"t", 1.0},    {"tesla", 1.0}, {"mt", 1e-3},         {"ut", 1e-6},
    {"oe", 1e-4},  {"koe", 1e-1},  {"g", 1e-4},          {"gauss", 1e-4},
    {"a/m", kMu0}, {"am-1", kMu0}, {"ka/m", 1e3 * kMu0}, {"kam-1", 1e3 * kMu0},
};

// Moments in A m^2. One emu is 1e-3 A m^2.
const KnownUnit kMomentUnits[] = {
    {"am2", 1.0},   {"emu", 1e-3},  {"memu", 1e-6}, {"uemu", 1e-9}, {"mam2", 1e-3},
    {"uam2", 1e-6}, {"nam2", 1e-9}, {"jt-1", 1.0},  {"j/t", 1.0},
};

} // namespace

bool read_unit(const std::string& text, UnitQuantity quantity, ColumnUnit& unit) {
    unit = ColumnUnit{};
    unit.read = text;
    const std::string key = unit_key(text);
    if (key.empty()) return true;
    if (quantity == UnitQuantity::field) {
        for (const KnownUnit& u : kFieldUnits)
            if (key == u.key) {
                unit.to_si = u.to_si;
                unit.reported = kFieldUnitSI;
                return true;
            }
        return false;
    }
    for (const KnownUnit& u : kMomentUnits)
        if (key == u.key) {
            unit.to_si = u.to_si;
            unit.reported = kMomentUnitSI;
            return true;
        }
    return false;
}
