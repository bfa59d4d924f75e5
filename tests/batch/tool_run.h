// Runs the built batch tool as a separate program and reads back what it wrote. Test code only;
// one run at a time per test process.
#pragma once

#include <string>
#include <vector>

// Output and exit status of one run of the tool.
struct ToolRun {
    int status = -1; // exit status, -1 when it did not exit normally
    std::string out; // standard output
    std::string err; // standard error
};

// The whole content of a file ("" when it cannot be read).
std::string read_file(const std::string& path);

// Runs the tool with these arguments, each passed as one word.
ToolRun run_tool(const std::vector<std::string>& args);

// Rows of a CSV text after its header line, every cell read as a number.
std::vector<std::vector<double>> csv_rows(const std::string& text, std::string& header);

// A file name in the test's temporary folder, distinct for each running test process.
std::string temporary_path(const std::string& name);
