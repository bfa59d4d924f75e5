// The numerical routines' error facility: routine-name stack, typed and coded messages with
// placeholders, deferred printing on the error-message unit and the program stop.
// Single-threaded: one copy of the state for the whole run; call from one thread at a time (in
// the program, the interface thread, where every numerical routine runs). Not reentrant.
#pragma once

// Error types recorded with E1MES; a free stack level holds -1.
constexpr int kErrorNone = 0;       // no error
constexpr int kErrorNote = 1;       // NOTE
constexpr int kErrorAlert = 2;      // ALERT
constexpr int kErrorWarning = 3;    // WARNING
constexpr int kErrorFatal = 4;      // FATAL
constexpr int kErrorTerminal = 5;   // TERMINAL: printed at once, stops the program
constexpr int kErrorWarningNow = 6; // WARNING printed at once
constexpr int kErrorFatalNow = 7;   // FATAL printed at once

// Depth of the routine-name stack; level 1 is the program itself ("USER").
constexpr int kErrorStackLevels = 50;

// Pushes a routine name (first 32 characters kept). A push beyond the last level reports a
// TERMINAL error and stops the program.
void E1PSH(const char* NAME);

// Pops the routine pushed last; NAME must match it. Passes an error of the popped level on to
// its caller, prints a deferred message when the caller is user code, and stops the program when
// the error's type is set to stop.
void E1POP(const char* NAME);

// Records an error of the current level: TYPE -1 keeps the level's type, a negative CODE keeps
// its code. TEXT is the message template (NUL-terminated); "%(I1)", "%(D2)", "%(L3)"... are
// replaced by the values set before; an empty TEXT or a single blank keeps the pending message.
// TYPE 0 or CODE 0 clears the pending message. TERMINAL and type 6/7 messages print at once.
void E1MES(const int& TYPE, const int& CODE, const char* TEXT);

// Placeholder values for the next message: I<N>, D<N>, L<N> for N = 1..9; other N are ignored.
// A text value keeps at most 255 characters and loses its trailing blanks, unless N is negative
// (-9..-1): then the blanks are kept and the key is L<|N|>.
void set_message_int(const int& N, const int& VALUE);
void set_message_double(const int& N, const double& VALUE);
void set_message_text(const int& N, const char* TEXT);
void set_message_text(const int& N, const char* TEXT, int length);

// The error type recorded at the current level (I = 0) or at the level just above it, the routine
// popped last (I = 1). Any other I is a TERMINAL misuse that stops the program.
int N1RTY(const int& I);

namespace error_detail {
// User flag of the current level, kept in step with the stack; null until the facility is
// initialised. Lets E1USR, which brackets every integrand call, cost one store.
extern bool* current_user_flag;
// E1USR for everything but the fast path (first use, blanks, misuse).
void set_user_switch(const char* SWITCH);
} // namespace error_detail

// Sets ("ON", "on") or clears ("OFF", "off") the user flag of the current level; trailing blanks
// are ignored. Errors recorded below a level with the flag on count as coming from user code.
inline void E1USR(const char* SWITCH) {
    bool* flag = error_detail::current_user_flag;
    // Each character is read only after the one before it proved not to end the text.
    if (flag && SWITCH && (SWITCH[0] == 'O' || SWITCH[0] == 'o')) {
        const char n = SWITCH[0] == 'O' ? 'N' : 'n';
        const char f = SWITCH[0] == 'O' ? 'F' : 'f';
        if (SWITCH[1] == n && SWITCH[2] == '\0') {
            *flag = true;
            return;
        }
        if (SWITCH[1] == f && SWITCH[2] == f && SWITCH[3] == '\0') {
            *flag = false;
            return;
        }
    }
    error_detail::set_user_switch(SWITCH);
}

// Prints the pending message on unit UMACH(3) and, when due, the traceback of the stack. Does
// nothing when no message is pending.
void print_message();

// Restores the start-up state (stack holding only "USER", no message, no placeholders, default
// settings, flags clear). The program never needs it; tests start each case from it.
void reset_error_facility();
