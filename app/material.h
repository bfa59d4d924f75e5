// The material model of the workspace ("Open material model..."): a model file's density in
// place of the start-up Lorentzian until the workspace closes. Interface thread only.
#pragma once

#include <memory>
#include <string>

#include "model/model_file.h"

// What the workspace keeps of the model file opened last. The file record stays here, at one
// address, while its density is the model's: a measured family's density points into it.
struct WorkspaceMaterial {
    std::unique_ptr<ModelFile> file; // the file as read; null: the start-up Lorentzian
};

// The single instance; empty until a file is opened and again once the workspace closes.
extern WorkspaceMaterial g_material;

// Reads path as a model file and makes its density the model's: the limiting loop recomputed and
// the model back at negative saturation with the full axes (the caller redraws). False with one
// line in error, the model unchanged.
bool open_material_file(const std::string& path, std::string& error);

// The model's family and parameters as one line ("Material: gauss  Hc0=0.02 ..."), or "" while
// the start-up Lorentzian is the model's density.
std::string material_words();

// Back to the Lorentzian the workspace was opened with (Close workspace): its Hc and Kmax as
// they were, the file forgotten.
void restore_startup_density();
