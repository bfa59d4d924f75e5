// The error facility's state record, its start values and the names of the error types.
#include "numerics/error_state.h"

#include <cstring>

namespace {

ErrorState g_state;
bool g_initialised = false;

void initialise(ErrorState& s) {
    for (ErrorLevel& level : s.levels) {
        std::memset(level.name, ' ', sizeof level.name);
        level.type = -1;
        level.code = -1;
        level.user = false;
    }
    ErrorLevel& user = s.levels[1];
    std::memcpy(user.name, "USER", 4);
    user.type = 0;
    user.code = 0;
    user.user = true; // the program itself is user code
    s.level = 1;
    s.refused_pushes = 0;
    s.message_length = 0;
    s.store_length = 0;
    //                  -      NOTE   ALERT  WARN   FATAL  TERM   WARN6  FATAL7
    const bool print[8] = {false, false, false, true, true, true, true, true};
    const bool stop[8] = {false, false, false, false, true, true, false, true};
    for (int t = 0; t < 8; ++t) {
        s.print[t] = print[t];
        s.stop[t] = stop[t];
        s.traceback[t] = t >= 1;
    }
    s.type6_seen = false;
    s.type7_seen = false;
    error_detail::current_user_flag = &user.user;
}

} // namespace

bool* error_detail::current_user_flag = nullptr;

ErrorState& error_state() {
    if (!g_initialised) {
        initialise(g_state);
        g_initialised = true;
    }
    return g_state;
}

void reset_error_facility() {
    initialise(g_state);
    g_initialised = true;
}

const char* error_type_name(int type) {
    static const char* const names[8] = {"UNKNOWN ", "NOTE    ", "ALERT   ", "WARNING ",
                                         "FATAL   ", "TERMINAL", "WARNING ", "FATAL   "};
    return (type >= 1 && type <= 7) ? names[type] : names[0];
}

void clear_placeholders(ErrorState& state) {
    state.store_length = 0;
}

void set_pending_message(ErrorState& state, const char* text) {
    int n = static_cast<int>(std::strlen(text));
    if (n > kErrorMessageCapacity) n = kErrorMessageCapacity;
    std::memcpy(state.message, text, static_cast<size_t>(n));
    state.message_length = n;
}
