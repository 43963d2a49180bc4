// The process-wide objects, owned by the application shell: made at
// start-up and kept until the process ends, except the audio engine, which
// is rebuilt after every change of the bindings. The key path, the commands
// and the reload use them.
#pragma once

#include <windows.h>

class AudioEngine;
class KeyLogger;
class LoadingSplash;

extern AudioEngine* audioEngine;
extern CRITICAL_SECTION sharedLock;  // held around trigger on the key path
extern KeyLogger* keyLogger;
extern LoadingSplash* loadingSplash;  // kept after it has closed
