// Exit statuses, option answers and small helpers shared by every command of the batch tool.
// Single-threaded tool; pure helpers callable from any thread except batch_set_parameter, which
// touches the model record it is given.
#pragma once

#include <cstdint>
#include <string>

#include "model/model_state.h"

// Exit statuses of the tool.
constexpr int kBatchOk = 0;
constexpr int kBatchStopped = 1;  // a numerical stop, a failed write, or (for runs over several
                                  // files) at least one file that could not be processed
constexpr int kBatchBadUsage = 2; // invalid arguments or input that cannot be read

// Answers of a command's option parser for the argument at argv[i].
constexpr int kOptionTaken = 0;   // the argument (and any value after it) was read
constexpr int kOptionUnknown = 1; // not an argument of this command
constexpr int kOptionRefused = 2; // the command's argument, with a bad value: error says why

// A whole argument as one finite real number, nothing before or after it.
bool batch_read_real(const std::string& text, double& value);

// A whole argument as one 32-bit integer.
bool batch_read_int32(const std::string& text, int32_t& value);

// True for an argument that looks like an option ("-x", "--name") rather than a value such as
// "-0.5".
bool batch_looks_like_option(const std::string& arg);

// The value after the option argv[i] (i moves onto it), or false with an error when the option
// ends the line.
bool batch_option_value(int argc, const char* const* argv, int& i, std::string& value,
                        std::string& error);

// An argument as it may appear inside a one-line message: control characters (a newline, a
// tab, a NUL cannot occur) written as escapes, so that every message stays one line.
std::string batch_shown(const std::string& text);

// "--hc HC" for the commands that compute the model: reads and checks the value into
// options.Hc and sets options.hc_given. kOptionUnknown for any other argument.
struct BatchOptions;
int batch_parse_hc(int argc, const char* const* argv, int& i, BatchOptions& options,
                   std::string& error);

// The measured loop's corrections that metrics and fit take, --drift and --centre (or --center):
// sets the option and returns true when arg is one of them.
bool batch_parse_loop_correction(const std::string& arg, BatchOptions& options);

// Sets m's Hs, Bs, Hc and Kmax as Open workspace does once the parameter dialog is confirmed:
// Kmax is the start-up factor when Hc is the start-up value, otherwise compute_kmax.
void batch_set_parameter(ModelState& m, double Hc);
