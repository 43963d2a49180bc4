// Why a file could not be read or written, in words a user can act on.
#pragma once

#include <windows.h>

#include <string>

// One line for a message box, after the line that says what failed: the
// platform's error code as the cause behind it.
std::string FileErrorReason(DWORD error);
