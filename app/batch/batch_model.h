// The commands' use of a model file: the option --model FILE, the check that reads the file, the
// model record set from it, and the conversion of the model's units (H in Hs, B in Bs) into the
// file's. Single-threaded tool; batch_set_model touches the model record it is given.
#pragma once

#include <string>

#include "app/batch/batch_options.h"
#include "model/model_state.h"

// "--model FILE" into options.model_path. kOptionUnknown for any other argument.
int batch_parse_model_file(int argc, const char* const* argv, int& i, BatchOptions& options,
                           std::string& error);

// With --model: refuses --hc beside it and reads the file into options.model (a measured
// density's table stays there, where the model's density points, while the command runs). One
// line in error.
bool batch_check_model_file(BatchOptions& options, std::string& error);

// Sets m as Open workspace does, with the density of the model file. False with one line in
// error when the density cannot be normalised.
bool batch_set_model(ModelState& m, const ModelFile& model, std::string& error);

// A model point (H in Hs, B the irreversible part in Bs) in the file's units, the reversible part
// added.
double batch_field_out(const ModelFile& model, double H);
double batch_moment_out(const ModelFile& model, double H, double B);
