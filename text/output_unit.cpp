// The standard output unit's line sink and the program-stop seam.
#include "text/output_unit.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace {

void default_sink(int, const char* line, int length) {
    std::fwrite(line, 1, static_cast<size_t>(length), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void default_stop(const char* message) {
    if (message) std::fprintf(stderr, "%s\n", message);
    std::exit(1);
}

// Set once at start-up, read from any thread.
std::atomic<LineSink> g_sink{default_sink};
std::atomic<StopRoutine> g_stop{default_stop};

} // namespace

void set_line_sink(LineSink sink) {
    g_sink.store(sink ? sink : default_sink);
}

void emit_line(int unit, const char* line, int length) {
    g_sink.load()(unit, line, length);
}

void set_stop_routine(StopRoutine stop) {
    g_stop.store(stop ? stop : default_stop);
}

void stop_run(const char* message) {
    g_stop.load()(message);
}
