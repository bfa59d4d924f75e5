// Running the built batch tool with arguments and capturing its status and output.
#include "tests/batch/tool_run.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string temporary_path(const std::string& name) {
    return ::testing::TempDir() + "batch_" + std::to_string(getpid()) + "_" + name;
}

ToolRun run_tool(const std::vector<std::string>& args) {
    const std::string base = temporary_path("run");
    std::string command = std::string("'") + HYSTERESIS_BATCH_EXE + "'";
    for (const std::string& a : args)
        command += " '" + a + "'";
    command += " >'" + base + ".out' 2>'" + base + ".err'";
    ToolRun r;
    const int raw = std::system(command.c_str());
    if (raw != -1 && WIFEXITED(raw)) r.status = WEXITSTATUS(raw);
    r.out = read_file(base + ".out");
    r.err = read_file(base + ".err");
    return r;
}

std::vector<std::vector<double>> csv_rows(const std::string& text, std::string& header) {
    std::vector<std::vector<double>> rows;
    std::stringstream in(text);
    std::string line;
    std::getline(in, header);
    while (std::getline(in, line)) {
        std::vector<double> row;
        std::stringstream cells(line);
        std::string cell;
        while (std::getline(cells, cell, ','))
            row.push_back(std::strtod(cell.c_str(), nullptr));
        rows.push_back(row);
    }
    return rows;
}
