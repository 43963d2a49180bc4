#include "ui/slot_edit_dialog.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "audio/sample_file.h"
#include "res/resource_ids.h"
#include "slots/key_names.h"
#include "slots/sound_slot.h"
#include "ui/sample_refusal.h"
#include "ui/slot_checks.h"
#include "util/common_dialogs.h"
#include "util/message_boxes.h"
#include "util/path_names.h"
#include "util/program_messages.h"

namespace {

constexpr char kWavFilter[] = "WAV 16ビット オーディオ ファイル(*.wav)\0*.wav\0all file(*.*)\0*.*\0";

// One dialog is open at a time.
SlotEditSource source;
WNDPROC keyEditProc;

// The KEY edit shows the key typed; the name of the key released is what counts.
LRESULT CALLBACK keyCaptureProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_KEYUP) {
        HWND dialog = GetParent(edit);
        SetDlgItemTextA(dialog, IDC_KEY_NAME, "");
        const char* name = keyNameText(static_cast<uint8_t>(wParam));
        SetDlgItemTextA(dialog, IDC_KEY_NAME, name ? name : "");
        return 0;
    }
    return CallWindowProcA(keyEditProc, edit, message, wParam, lParam);
}

// What the dialog says of a record it cannot store.
const char* slotProblemText(SlotProblem problem)
{
    switch (problem) {
    case SlotProblem::None: return "";
    case SlotProblem::Volume: return "VOLを1～255の範囲に設定してください";
    case SlotProblem::Pan: return "PANを1～255の範囲に設定してください";
    case SlotProblem::NoFile: return "ファイルを選択してください";
    case SlotProblem::NotLocal:
        return "ネットワーク上のファイルやデバイスは選択できません。\nこのパソコンのWAVファイルを選択してください";
    case SlotProblem::NoKey: return "キーを入力してください";
    case SlotProblem::PathComma: return "ファイル名に「,」を含むファイルは選択できません";
    case SlotProblem::RowTooLong: return "ファイルのパスが長すぎます。\n短いパスのファイルを選択してください";
    }
    return "";
}

void setNumber(HWND dialog, int id, int value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    SetDlgItemTextA(dialog, id, text);
}

void start(HWND dialog, LPARAM parameter)
{
    SendDlgItemMessageA(dialog, IDC_KEY, EM_LIMITTEXT, 1, 0);
    SendDlgItemMessageA(dialog, IDC_VOLUME, EM_LIMITTEXT, 3, 0);
    SendDlgItemMessageA(dialog, IDC_PAN, EM_LIMITTEXT, 3, 0);
    source = *reinterpret_cast<const SlotEditSource*>(parameter);
    if (source.adding) {
        SetWindowTextA(dialog, source.partName);
        SetDlgItemTextA(dialog, IDC_VOLUME, "128");
        SetDlgItemTextA(dialog, IDC_PAN, "128");
        SetDlgItemTextA(dialog, IDC_KEY, "A");
    } else {
        const SoundSlot& slot = soundSlots[source.row];
        SetWindowTextA(dialog, slot.partName);
        setNumber(dialog, IDC_VOLUME, slot.volume);
        setNumber(dialog, IDC_PAN, slot.pan);
        const char* name = keyNameText(slot.keyCode);
        SetDlgItemTextA(dialog, IDC_KEY_NAME, name ? name : "");
        SetDlgItemTextA(dialog, IDC_PATH, slot.path);
    }
    keyEditProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        GetDlgItem(dialog, IDC_KEY), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(keyCaptureProc)));
}

void browse(HWND dialog)
{
    char folder[1024] = "";
    GetModuleFileNameA(nullptr, folder, sizeof folder);
    CutToDirectory(folder);
    std::strncat(folder, "sounds", sizeof folder - std::strlen(folder) - 1);
    char file[256] = "";
    OPENFILENAMEA request = {};
    request.lStructSize = sizeof request;
    request.lpstrFilter = kWavFilter;
    request.lpstrFile = file;
    request.nMaxFile = sizeof file;
    request.lpstrDefExt = "wav";
    request.lpstrInitialDir = folder;
    request.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    EnableWindow(dialog, FALSE);
    BOOL chosen = OpenFileNameDialog(&request);
    EnableWindow(dialog, TRUE);
    if (chosen)
        SetDlgItemTextA(dialog, IDC_PATH, file);
}

int32_t number(HWND dialog, int id)
{
    char text[16] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return std::atoi(text);
}

// True when the record was sent.
bool confirm(HWND dialog)
{
    SoundSlot record = {};
    GetDlgItemTextA(dialog, IDC_PATH, record.path, sizeof record.path);
    char name[10] = "";
    GetDlgItemTextA(dialog, IDC_KEY_NAME, name, sizeof name);
    record.keyCode = keyNameCode(name);
    record.partId = source.adding ? source.partIndex : source.row;
    GetWindowTextA(dialog, record.partName, sizeof record.partName);
    record.volume = number(dialog, IDC_VOLUME);
    record.pan = number(dialog, IDC_PAN);

    const SlotProblem slotProblem = checkSlot(record);
    if (slotProblem != SlotProblem::None) {
        // The two range boxes have no owner.
        const bool range = slotProblem == SlotProblem::Volume || slotProblem == SlotProblem::Pan;
        MessageBoxA(range ? nullptr : dialog, slotProblemText(slotProblem), kErrorCaption, MB_OK);
        return false;
    }
    WavProblem problem = checkSample(record.path);
    if (problem != WavProblem::None) {
        std::string text = "このファイルは再生できません。\n" + sampleRefusalText(problem) + "。\n別のWAVファイルを選択してください";
        MessageBoxA(dialog, text.c_str(), kErrorCaption, MB_OK);
        return false;
    }
    if (findKeyUpSlot(soundSlots, kSlotTableSize, record.keyCode) >= 0) {
        if (MessageBoxA(dialog, "キーを上書きしますか？", kErrorCaption, MB_OKCANCEL) != IDOK)
            return false;
    } else if (!tableTakes(soundSlots, record.keyCode)) {
        // All 60 entries hold other keys: the record would be dropped.
        MessageBoxA(dialog, "スロットがいっぱいです。\nキーを追加するには、スロットを削除してください。",
                    kErrorCaption, MB_OK);
        return false;
    }
    SendMessageA(source.receiver, kStoreSlotMessage, reinterpret_cast<WPARAM>(&record), 0);
    return true;
}

INT_PTR CALLBACK SlotEditProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        start(dialog, lParam);
        return TRUE;
    }
    if (message != WM_COMMAND)
        return FALSE;
    switch (LOWORD(wParam)) {
    case IDOK:
        if (confirm(dialog))
            EndDialog(dialog, 1);
        return TRUE;
    case IDCANCEL:
        EndDialog(dialog, 2);
        return TRUE;
    case IDC_BROWSE:
        browse(dialog);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

INT_PTR ShowSlotEditDialog(HINSTANCE instance, HWND owner, const SlotEditSource& source)
{
    return DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_SLOT_EDIT), owner, SlotEditProc,
                           reinterpret_cast<LPARAM>(&source));
}
