// The routine-name stack: push, pop with the passing on of errors, type queries, user flags.
#include "numerics/error_state.h"

#include "text/output_unit.h"

#include <cstring>

namespace {

// Copies the first 32 characters of NAME, blank-padded.
void pad_name(const char* name, char (&out)[kErrorNameLength]) {
    std::memset(out, ' ', sizeof out);
    for (int i = 0; name && i < kErrorNameLength && name[i] != '\0'; ++i)
        out[i] = name[i];
}

// Length of a stacked name without its trailing blanks.
int trimmed_length(const char (&name)[kErrorNameLength]) {
    int n = kErrorNameLength;
    while (n > 0 && name[n - 1] == ' ')
        --n;
    return n;
}

// Takes level `level` off the stack as a pop does: the level above becomes free, the popped
// level keeps its type and code for N1RTY(1).
void drop_level(ErrorState& s) {
    const int level = s.level;
    if (level < kErrorStackLevels) {
        s.levels[level + 1].type = -1;
        s.levels[level + 1].code = -1;
    }
    if (level > 1) s.level = level - 1;
    error_detail::current_user_flag = &s.levels[s.level].user;
}

} // namespace

void E1PSH(const char* NAME) {
    ErrorState& s = error_state();
    if (s.level < kErrorStackLevels) {
        ErrorLevel& level = s.levels[++s.level];
        pad_name(NAME, level.name);
        level.type = 0;
        level.code = 0;
        error_detail::current_user_flag = &level.user;
        return;
    }
    set_message_int(1, kErrorStackLevels);
    E1MES(kErrorTerminal, 1,
          "Error condition in E1PSH.  Push would cause stack level to exceed %(I1).");
    stop_run(nullptr);
    // Still running (the stop routine returned): count the refused push so that its pop is
    // absorbed instead of unbalancing the stack.
    ++s.refused_pushes;
}

void E1POP(const char* NAME) {
    ErrorState& s = error_state();
    if (s.refused_pushes > 0) {
        --s.refused_pushes;
        return;
    }
    const int L = s.level;
    if (L <= 1) {
        E1PSH("E1POP");
        set_message_text(1, NAME);
        E1MES(kErrorTerminal, 1,
              "Error condition in E1POP.  Cannot pop from %(L1) because stack is empty.");
        stop_run(nullptr);
        drop_level(s); // the stop returned: take "E1POP" off again
        return;
    }
    char padded[kErrorNameLength];
    pad_name(NAME, padded);
    ErrorLevel& level = s.levels[L];
    if (std::memcmp(padded, level.name, kErrorNameLength) != 0) {
        set_message_text(1, NAME);
        set_message_text(2, level.name, trimmed_length(level.name));
        E1MES(kErrorTerminal, 2,
              "Error condition in E1POP.  %(L1) does not match the name %(L2) in the stack.");
        stop_run(nullptr);
        drop_level(s); // the stop returned: the stacked routine is taken as left
        return;
    }
    const int d = level.type;
    if (d != 0) {
        ErrorLevel& caller = s.levels[L - 1];
        if (d >= 2 && d <= 7) {
            // A NOTE stays with the routine that recorded it.
            caller.type = d;
            caller.code = level.code;
        }
        const bool u = caller.user;
        if (d >= 1 && d <= 4) {
            if (u && s.print[d]) print_message();
            if (u && s.stop[d]) stop_run(nullptr);
        } else if (d == kErrorTerminal) {
            if (s.print[5]) print_message();
            if (s.stop[5]) stop_run(nullptr);
        } else if (d == kErrorWarningNow || d == kErrorFatalNow) {
            if (s.print[d]) print_message();
            if (u) {
                const bool seen7 = s.type7_seen;
                const bool seen6 = s.type6_seen;
                s.type6_seen = false;
                s.type7_seen = false;
                if (seen7 ? s.stop[7] : (seen6 && s.stop[6])) stop_run(nullptr);
            }
        }
    }
    drop_level(s);
}

int N1RTY(const int& I) {
    ErrorState& s = error_state();
    if (I == 0) return s.levels[s.level].type;
    if (I == 1) return s.level < kErrorStackLevels ? s.levels[s.level + 1].type : -1;
    ErrorLevel& level = s.levels[s.level];
    level.type = kErrorTerminal;
    level.code = 1;
    set_pending_message(s, ".  The argument passed to N1RTY must be 0 or 1.");
    print_message();
    stop_run(nullptr);
    return level.type;
}

void error_detail::set_user_switch(const char* SWITCH) {
    ErrorState& s = error_state();
    int n = SWITCH ? static_cast<int>(std::strlen(SWITCH)) : 0;
    while (n > 0 && SWITCH[n - 1] == ' ')
        --n;
    auto is = [&](const char* word) {
        return n == static_cast<int>(std::strlen(word)) && std::memcmp(SWITCH, word, n) == 0;
    };
    if (is("ON") || is("on")) {
        s.levels[s.level].user = true;
    } else if (is("OFF") || is("off")) {
        s.levels[s.level].user = false;
    } else {
        set_message_text(1, SWITCH ? SWITCH : "");
        E1MES(kErrorTerminal, 1,
              "Invalid value for SWITCH in call to E1USR.  SWITCH must be set to 'ON' or "
              "'OFF'.  SWITCH = '%(L1)'");
    }
}
