#include "util/debug_trace.h"

#include <windows.h>

void DebugLine(const char* text)
{
    OutputDebugStringA(text);
    OutputDebugStringA("\n");
}

void ErrorHook(int, long)
{
}
