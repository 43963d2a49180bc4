// Diagnostics that never reach the user.
#pragma once

// The text and a line feed to the debugger output.
void DebugLine(const char* text);
// Where failing platform calls are traced: code names the step, value is the
// platform's result. It takes no action; what the user must know is told by
// the caller.
void ErrorHook(int code, long value);
