// Time from starting pokopon.exe to its main window on screen, under Wine,
// beside the same time for an empty Win32 program: the difference is what the
// drum kit's own start-up costs.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "support/box_watch.h"
#include "support/program_run.h"
#include "support/test_folder.h"

namespace {

// Milliseconds until the program's window of that class shows, or -1.
long timeStart(const std::string& folder, const std::string& program, const char* className,
               std::vector<int> answers = {})
{
    ProgramRun run(folder, program);
    BoxWatch boxes(std::move(answers), run.processId());
    LARGE_INTEGER f, t0, t1;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t0);
    run.resume();
    HWND window = run.waitWindow(className, nullptr, 60000);
    QueryPerformanceCounter(&t1);
    if (!window)
        return -1;
    PostMessageA(window, WM_CLOSE, 0, 0);
    run.waitExit();
    return static_cast<long>((t1.QuadPart - t0.QuadPart) * 1000 / f.QuadPart);
}

long median(std::vector<long> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main()
{
    std::string folder = ExeFolder() + "startup";
    FreshFolder(folder);
    long first = timeStart(folder, "", "TForm", {IDOK, IDOK});
    std::printf("first start, default set written: %ld ms (includes answering two boxes)\n", first);

    std::string empty = ExeFolder() + "empty_program.exe";
    std::vector<long> kit, bare;
    for (int i = 0; i < 5; ++i) {
        kit.push_back(timeStart(folder, "", "TForm"));
        bare.push_back(timeStart(folder, empty, "EmptyProgram"));
    }
    std::printf("start to main window, median of 5: pokopon %ld ms, empty Win32 program %ld ms,"
                " difference %ld ms (goal: under 300 ms)\n",
                median(kit), median(bare), median(kit) - median(bare));
    RemoveTree(folder);
    return first < 0 || *std::min_element(kit.begin(), kit.end()) < 0 ||
           *std::min_element(bare.begin(), bare.end()) < 0;
}
