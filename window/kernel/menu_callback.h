// The type of the program's menu routines; shared by the menu operations and the menu model.
// Any thread.
#pragma once

#include <cstdint>

// A menu callback receives the chosen item's state flags (8 = checked).
using MenuCallback = void (*)(int32_t& state);
