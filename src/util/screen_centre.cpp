#include "util/screen_centre.h"

#include <windows.h>

#include "util/centre.h"

int CentreX(int width)
{
    return centredOrigin(GetSystemMetrics(SM_CXSCREEN), width);
}

int CentreY(int height)
{
    return centredOrigin(GetSystemMetrics(SM_CYSCREEN), height);
}
