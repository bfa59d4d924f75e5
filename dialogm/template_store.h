// Finding dialog templates by resource id: the program's resources, plus templates added at run
// time (which take precedence). Any thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Copies the template with this id into bytes; false if there is none.
bool find_template(int32_t id, std::vector<unsigned char>& bytes);

// Adds (or replaces) a run-time template with this id; a copy of size bytes at data is kept.
void add_template(int32_t id, const unsigned char* data, size_t size);

// Removes a run-time template; the program's resources are not affected.
void remove_template(int32_t id);
