// Time from starting pokopon.exe to its main window on screen, under Wine:
// the first start (default set offered and written) and warm starts.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "support/box_watch.h"
#include "support/program_run.h"
#include "support/test_folder.h"

namespace {

// Milliseconds until the main window shows, or -1.
long timeStart(const std::string& folder, std::vector<int> answers)
{
    ProgramRun program(folder);
    BoxWatch boxes(std::move(answers), program.processId());
    LARGE_INTEGER f, t0, t1;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t0);
    program.resume();
    HWND window = program.waitWindow("TForm", 60000);
    QueryPerformanceCounter(&t1);
    if (!window)
        return -1;
    PostMessageA(window, WM_CLOSE, 0, 0);
    program.waitExit();
    return static_cast<long>((t1.QuadPart - t0.QuadPart) * 1000 / f.QuadPart);
}

}  // namespace

int main()
{
    std::string folder = ExeFolder() + "startup";
    FreshFolder(folder);
    long first = timeStart(folder, {IDOK, IDOK});
    std::printf("first start, default set written: %ld ms (includes answering two boxes)\n", first);

    std::vector<long> warm;
    for (int i = 0; i < 5; ++i)
        warm.push_back(timeStart(folder, {}));
    std::sort(warm.begin(), warm.end());
    std::printf("warm start to main window: min %ld ms, median %ld ms, max %ld ms (5 starts)\n",
                warm.front(), warm[2], warm.back());
    RemoveTree(folder);
    return first < 0 || warm.front() < 0;
}
