// Screenshots the tests keep as artefacts in build/artefacts, for a person to
// look at (tools/test turns them into PNG files).
#pragma once

#include <windows.h>

#include <string>

// The screen's pixels inside area, as a 24-bit BMP named name; false when
// nothing could be captured or written.
bool SaveScreenshot(const RECT& area, const std::string& name);
