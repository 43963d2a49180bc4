#include "app/process_objects.h"

AudioEngine* audioEngine;
CRITICAL_SECTION sharedLock;
KeyLogger* keyLogger;
LoadingSplash* loadingSplash;
