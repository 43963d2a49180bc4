#include "util/quit_request.h"

#include <windows.h>

#include <atomic>

namespace {

std::atomic<bool> quitRequested{false};

}  // namespace

void RequestQuit()
{
    quitRequested = true;
    PostQuitMessage(0);
}

bool QuitRequested()
{
    return quitRequested;
}
