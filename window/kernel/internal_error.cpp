#include "window/kernel/internal_error.h"

#include "window/kernel/message_box.h"

#include <atomic>
#include <cstdio>
#include <cstring>

namespace {

std::atomic<FatalErrorStop> g_fatal_stop{nullptr}; // ends the program after a fatal error

const char* error_message(int code) {
    switch (code) {
    case 4:
        return "Out of Memory";
    case 5:
        return "Internal Error - unexpected error";
    case 6:
        return "Possible internal inconsistency";
    default:
        return "Internal Error - unexpected error";
    }
}

} // namespace

int internal_error_text(int kind, int code, const char* file, int line, char* buf, int size) {
    const char* name = file ? std::strrchr(file, '/') : nullptr;
    name = name ? name + 1 : (file ? file : "");
    const char* format =
        kind == kInternalFatal ? "%s, file \"%s\", line %d" : "%s\nfile \"%s\", line %d";
    return std::snprintf(buf, static_cast<size_t>(size > 0 ? size : 0), format, error_message(code),
                         name, line);
}

void report_internal_error(int kind, int code, const char* file, int line) {
    char text[600];
    internal_error_text(kind, code, file, line, text, sizeof text);
    static const char* const kTitles[] = {"Window Layer Warning", "Window Layer Error",
                                          "Window Layer Fatal Error"};
    static const int kIcons[] = {kBoxIconWarning, kBoxIconError, kBoxIconError};
    const int k = kind == kInternalFatal ? 2 : (kind == kInternalError ? 1 : 0);
    message_box(text, kTitles[k], kIcons[k]);
    if (k == 2)
        if (FatalErrorStop stop = g_fatal_stop.load()) stop(nullptr);
}

void set_fatal_error_stop(FatalErrorStop stop) {
    g_fatal_stop.store(stop);
}
