#include "util/debug_trace.h"

#include <windows.h>

#include <cstdio>

void DebugLine(const char* text)
{
    OutputDebugStringA(text);
    OutputDebugStringA("\n");
}

void ErrorHook(int code, long value)
{
    char line[64];
    std::snprintf(line, sizeof line, "platform call %d failed: %ld", code, value);
    DebugLine(line);
}
