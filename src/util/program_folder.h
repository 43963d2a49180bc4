// The folder of the running program, ending with its separator.
#pragma once

#include <cstddef>

// Writes the folder into out (size bytes); false when it does not fit.
bool GetProgramFolder(char* out, size_t size);
