// The error facility's one state record and its settings, shared by the facility's own files.
// Single-threaded: one copy for the whole run, used only by the numerical routines' thread.
#pragma once

#include "numerics/error_facility.h"

// Characters kept of a routine name; shorter names are blank-padded.
constexpr int kErrorNameLength = 32;
// Capacity of the expanded message.
constexpr int kErrorMessageCapacity = 1024;
// Capacity of the placeholder store, entries included with their keys and lengths.
constexpr int kPlaceholderStoreCapacity = 300;
// Characters of an entry before its value: letter, digit, three decimal digits of the length.
constexpr int kPlaceholderEntryOverhead = 5;
// Longest text value of a placeholder.
constexpr int kPlaceholderTextMax = 255;

// One level of the routine-name stack.
struct ErrorLevel {
    char name[kErrorNameLength]; // routine name, blank-padded, not NUL-terminated
    int type;                    // error type recorded; 0 no error, -1 free level
    int code;                    // error code recorded; same conventions as type
    bool user;                   // on: errors from routines called here count as user code
};

// The whole facility. Invariant: 1 <= level <= kErrorStackLevels; levels above `level` are
// free or keep the status of the routine last popped from them.
struct ErrorState {
    ErrorLevel levels[kErrorStackLevels + 1]; // index 1..kErrorStackLevels; 0 unused
    int level;                                // current level (1 = "USER", the program)
    int refused_pushes; // pushes refused at overflow whose pops are still to come (only when
                        // the stop routine returned, as under test)
    char message[kErrorMessageCapacity];   // pending message, not NUL-terminated
    int message_length;                    // 0: no message pending
    char store[kPlaceholderStoreCapacity]; // placeholder entries, packed one after another
    int store_length;                      // characters of `store` in use
    bool print[8];                         // per type 1..7: print its messages
    bool stop[8];                          // per type 1..7: stop the program for it
    bool traceback[8]; // per type 1..7: a traceback follows its printed messages
    bool type6_seen;   // a type 6 message was recorded since the flag was last read
    bool type7_seen;   // a type 7 message was recorded since the flag was last read
};

// The state, initialised on first use.
ErrorState& error_state();

// The type's printed name padded to 8 characters ("UNKNOWN " outside 1..7).
const char* error_type_name(int type);

// Empties the placeholder store.
void clear_placeholders(ErrorState& state);

// Replaces the pending message by TEXT as it stands (no placeholder expansion).
void set_pending_message(ErrorState& state, const char* text);
