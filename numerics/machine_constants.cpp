// DMACH, IMACH and UMACH: the machine's arithmetic properties and the numerical unit numbers.
#include "numerics/machine_constants.h"

#include "numerics/error_facility.h"
#include "text/output_unit.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Unit numbers by index 1..3 (standard input, standard output, error messages); slot 0 unused.
int g_units[4] = {0, 5, 6, 6};

void emit_text(int unit, const char* text) {
    emit_line(unit, text, static_cast<int>(std::strlen(text)));
}

// Writes the four-record layout shared by the IMACH and UMACH misuse messages: an empty line,
// three text lines and an empty line. The last line ends with the number in 6 columns (wider
// numbers take the columns they need, so that no digit is lost) and a period.
void emit_misuse(int unit, const char* first, const char* second, const char* third_prefix,
                 long long number) {
    char line[96];
    emit_line(unit, "", 0);
    emit_text(unit, first);
    emit_text(unit, second);
    std::snprintf(line, sizeof line, "%s%6lld.", third_prefix, number);
    emit_text(unit, line);
    emit_line(unit, "", 0);
}

} // namespace

double machine_detail::report_bad_index(int N) {
    E1PSH("DMACH");
    set_message_int(1, N);
    E1MES(kErrorTerminal, 5, "The argument must be between 1 and 8 inclusive. N = %(I1)");
    E1POP("DMACH");
    return DMACH(6);
}

int IMACH(const int& N) {
    static const int table[13] = {0, 32, 4, 2, 31, 2147483647, 2, 24, -125, 128, 53, -1021, 1024};
    if (N >= 1 && N <= 12) return table[N];
    int unit = 0;
    UMACH(2, unit);
    emit_misuse(unit, " *** TERMINAL ERROR 5 from IMACH.  The argument",
                " ***          must be between 1 and 12 inclusive.", " ***          N = ", N);
    stop_run(nullptr);
    return 0;
}

void UMACH(const int& N, int& NUNIT) {
    // |N| computed in a wider type: -INT_MIN does not fit an int.
    const long long index = std::llabs(static_cast<long long>(N));
    if (index < 1 || index > 3) {
        emit_misuse(g_units[3], " *** TERMINAL ERROR 5 from UMACH.  The absolute",
                    " ***          value of the index variable must be",
                    " ***          1, 2, or 3.  IABS(N) = ", index);
        stop_run(nullptr);
        return;
    }
    if (N > 0)
        NUNIT = g_units[index];
    else
        g_units[index] = NUNIT;
}

void reset_machine_units() {
    g_units[1] = 5;
    g_units[2] = 6;
    g_units[3] = 6;
}
