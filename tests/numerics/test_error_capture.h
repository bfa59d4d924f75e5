// Test fixture that captures the records written to the output units and counts program stops,
// starting every case from the error facility's start-up state.
#pragma once

#include "numerics/error_facility.h"
#include "numerics/machine_constants.h"
#include "text/output_unit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// One record written to a unit.
struct CapturedLine {
    int unit;         // unit number the record went to
    std::string text; // the record without line end
};

// Everything the facility wrote and how often it stopped the program.
struct Capture {
    std::vector<CapturedLine> lines; // records in order of writing
    std::vector<size_t> stops;       // for each stop, the number of records written before it
};

inline Capture& capture() {
    static Capture c;
    return c;
}

inline void capture_line(int unit, const char* line, int length) {
    capture().lines.push_back({unit, std::string(line, static_cast<size_t>(length))});
}

// Returns, so that a test can see what happens after the stop request.
inline void capture_stop(const char* /*message*/) {
    capture().stops.push_back(capture().lines.size());
}

class ErrorFacilityTest : public ::testing::Test {
  protected:
    void SetUp() override {
        capture() = Capture{};
        reset_error_facility();
        reset_machine_units();
        set_line_sink(capture_line);
        set_stop_routine(capture_stop);
    }
    void TearDown() override {
        set_line_sink(nullptr);
        set_stop_routine(nullptr);
        reset_error_facility();
        reset_machine_units();
    }
    // The texts of all records, in order.
    static std::vector<std::string> texts() {
        std::vector<std::string> out;
        for (const CapturedLine& line : capture().lines)
            out.push_back(line.text);
        return out;
    }
    static size_t stop_count() { return capture().stops.size(); }
};

// A traceback row as the layout prescribes: 5 blanks, the name in 32 columns, the type in 6
// columns, 6 blanks, the code in 6 columns, and the internal-call note when asked for.
inline std::string traceback_row(const std::string& name, int type, int code, bool internal) {
    std::string row = "     " + name + std::string(32 - name.size(), ' ');
    std::string t = std::to_string(type), c = std::to_string(code);
    row += std::string(6 - t.size(), ' ') + t + std::string(6, ' ') +
           std::string(6 - c.size(), ' ') + c;
    if (internal) row += "    (Called internally)";
    return row;
}

// The three lines that open a traceback.
inline std::vector<std::string> traceback_head() {
    return {"     Here is a traceback of subprogram calls in reverse order:",
            "     Routine name" + std::string(27 - 12, ' ') + " " + "    Error type  Error code",
            "     " + std::string(12, '-') + std::string(16, ' ') + "    ----------  ----------"};
}
