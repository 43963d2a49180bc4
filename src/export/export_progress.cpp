#include "export/export_progress.h"

#include <commctrl.h>

#include <cstdio>

#include "res/resource_ids.h"

namespace {

constexpr DWORD kQuietMs = 500;  // a render this short shows no window
constexpr UINT_PTR kPollTimer = 1;
constexpr int kBarSteps = 1000;

struct ProgressState {
    ExportJob* job;
    uint64_t frames;
    const char* name;
};

INT_PTR CALLBACK progressProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* state = reinterpret_cast<ProgressState*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG: {
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        state = reinterpret_cast<ProgressState*>(lParam);
        char text[300];
        std::snprintf(text, sizeof text, "%s を書き出しています...", state->name);
        SetDlgItemTextA(dialog, IDC_EXPORT_TEXT, text);
        SendDlgItemMessageA(dialog, IDC_EXPORT_BAR, PBM_SETRANGE32, 0, kBarSteps);
        SetTimer(dialog, kPollTimer, 50, nullptr);
        return TRUE;
    }
    case WM_TIMER:
        if (state->job->wait(0)) {
            KillTimer(dialog, kPollTimer);
            EndDialog(dialog, 0);
        } else if (state->frames) {
            auto step = static_cast<WPARAM>(state->job->done() * kBarSteps / state->frames);
            SendDlgItemMessageA(dialog, IDC_EXPORT_BAR, PBM_SETPOS, step, 0);
        }
        return TRUE;
    case WM_COMMAND:
        // The dialog stays until the job has removed its files.
        if (LOWORD(wParam) == IDCANCEL) {
            state->job->cancel();
            EnableWindow(GetDlgItem(dialog, IDCANCEL), FALSE);
        }
        return TRUE;
    }
    return FALSE;
}

}  // namespace

void WaitWithProgress(ExportJob& job, uint64_t frames, const char* name)
{
    if (job.wait(kQuietMs))
        return;
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    ProgressState state = {&job, frames, name};
    if (DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_EXPORT_PROGRESS), nullptr, progressProc,
                        reinterpret_cast<LPARAM>(&state)) == -1)
        job.wait(INFINITE);
}
