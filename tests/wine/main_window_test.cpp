// The main window built in this process, as the program builds it, so that
// its menu, its child windows and its engine can be looked at directly.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "app/key_path.h"
#include "app/main_window.h"
#include "app/panel_viewport.h"
#include "app/process_objects.h"
#include "audio/audio_engine.h"
#include "audio/stream_close.h"
#include "kit/kit_button.h"
#include "res/resource_ids.h"
#include "slots/part_names.h"
#include "slots/settings_file.h"
#include "slots/sound_slot.h"
#include "support/box_watch.h"
#include "support/message_count.h"
#include "support/program_here.h"
#include "support/test_folder.h"
#include "support/window_find.h"
#include "support/x_input.h"
#include "slots/key_names.h"
#include "ui/slot_rows.h"
#include "util/program_messages.h"

namespace {

HWND window;
DWORD priorityAtFirstProgress;

// Notes the process's priority when the engine sends its first progress text,
// before it opens a channel or loads a sample.
LRESULT CALLBACK watchProgress(int code, WPARAM wParam, LPARAM lParam)
{
    auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && sent->message == kProgressTextMessage && !priorityAtFirstProgress)
        priorityAtFirstProgress = GetPriorityClass(GetCurrentProcess());
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

std::string settingsPath()
{
    return ExeFolder() + "sounds\\Setting.csv";
}

// Four rows at 48000 Hz: Space and M sound tones; B and a blank row keep
// the table's end in view.
const char kSettings[] = "48000\r\n4294967295\r\n"
                         "sounds\\tone.wav,20,127,127,DR_BASS1\r\n"
                         "sounds\\tone.wav,4d,127,127,DR_SNARE1\r\n"
                         "sounds\\tone.wav,42,127,127,DR_CLASH\r\n";

class MainWindow : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, watchProgress, nullptr, GetCurrentThreadId());
        window = StartProgramHere(kSettings, 0.2);
        UnhookWindowsHookEx(hook);
    }
    static void TearDownTestSuite()
    {
        EndProgramHere();
    }

    static int busyChannels()
    {
        int busy = 0;
        for (int i = 0; i < kOutputChannels; ++i)
            busy += audioEngine->channel(i).busy ? 1 : 0;
        return busy;
    }

    static void waitIdle()
    {
        for (DWORD start = GetTickCount(); busyChannels() && GetTickCount() - start < 3000;)
            Sleep(20);
    }
};

bool checked(UINT id)
{
    return GetMenuState(GetMenu(window), id, MF_BYCOMMAND) & MF_CHECKED;
}

long topOf(HWND w)
{
    RECT r = {};
    GetWindowRect(w, &r);
    return r.top;
}

// The slot panel's top inside the viewport.
int panelTop()
{
    RECT panel, viewport;
    GetWindowRect(slotPanelWindow, &panel);
    GetWindowRect(panelViewport, &viewport);
    return panel.top - viewport.top;
}

std::string menuItem(HMENU menu, int position)
{
    char text[64] = "";
    GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    if (!text[0])
        return "-";
    UINT id = GetMenuItemID(menu, position);
    return std::string(text) + (id == UINT(-1) ? "" : " " + std::to_string(id));
}

}  // namespace

TEST_F(MainWindow, StartUpRaisesThePriorityBeforeTheSamplesLoad)
{
    EXPECT_EQ(priorityAtFirstProgress, static_cast<DWORD>(HIGH_PRIORITY_CLASS));
}

TEST_F(MainWindow, DestroyWritesFullMasterVolumeAndQuits)
{
    masterVolume = 5;
    saveSettings();
    SendMessageA(window, WM_DESTROY, 0, 0);
    EXPECT_EQ(ReadFileBytes(settingsPath()), kSettings) << "the file holds 4294967295 again";
    MSG msg;
    EXPECT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "and the quit is requested";
}

TEST_F(MainWindow, MenuHoldsEveryPopupItemAndId)
{
    const char* expected[4][10] = {
        {"ファイル(&F)", "開く 32792", "停止 32795", "-", "名前を付けて保存 32796", "-",
         "アプリケーションの終了(&X) 105"},
        {"キーロガー", "記録開始 32799", "停止 32800"},
        {"再生レート", "-3 32808", "-2 32809", "-1 32810", "-", "44100Hz 32811", "-", "+1 32812",
         "+2 32813", "+3 32814"},
        {"ヘルプ(&H)", "バージョン情報(&A)... 104"},
    };
    HMENU menu = GetMenu(window);
    ASSERT_EQ(GetMenuItemCount(menu), 4);
    for (int p = 0; p < 4; ++p) {
        char title[64] = "";
        GetMenuStringA(menu, p, title, sizeof title, MF_BYPOSITION);
        EXPECT_STREQ(title, expected[p][0]) << "popup " << p;
        HMENU popup = GetSubMenu(menu, p);
        int count = GetMenuItemCount(popup);
        for (int i = 0; i < 9; ++i) {
            std::string want = expected[p][i + 1] ? expected[p][i + 1] : "";
            std::string got = i < count ? menuItem(popup, i) : "";
            EXPECT_EQ(got, want) << "popup " << p << " item " << i;
        }
    }
}

TEST_F(MainWindow, RateCheckStartsOn44100AndAReloadGoesBackToTheFileRate)
{
    EXPECT_TRUE(checked(32811)) << "the check starts on 44100Hz";
    for (UINT id = 32808; id <= 32814; ++id)
        EXPECT_EQ(checked(id), id == 32811) << "item " << id;
    EXPECT_EQ(audioEngine->sampleRate(), 48000) << "the engine runs at the file's rate";
    EXPECT_EQ(audioEngine->channel(0).format.nSamplesPerSec, 48000u);

    SendMessageA(window, WM_COMMAND, 32808, 0);
    EXPECT_EQ(audioEngine->channel(31).format.nSamplesPerSec, 32000u) << "-3 runs at 32000 Hz";
    SendMessageA(window, WM_COMMAND, 32812, 0);
    EXPECT_TRUE(checked(32812)) << "the check moves to +1";
    EXPECT_FALSE(checked(32811)) << "the check moves to +1";
    EXPECT_FALSE(checked(32808)) << "the check moves to +1";
    EXPECT_EQ(audioEngine->channel(31).format.nSamplesPerSec, 48000u) << "+1 runs at 48000 Hz";

    SendMessageA(window, WM_COMMAND, 32814, 0);
    SendMessageA(window, kSlotsChangedMessage, 0, 0);
    EXPECT_EQ(audioEngine->sampleRate(), 48000) << "a reload builds the engine at the file's rate";
    EXPECT_EQ(audioEngine->channel(31).format.nSamplesPerSec, 48000u);
    EXPECT_TRUE(checked(32814)) << "while the check stays on +3";
    SendMessageA(window, WM_COMMAND, 32811, 0);
}

TEST_F(MainWindow, ViewportIsCentredAndFollowsTheWindowSize)
{
    ASSERT_EQ(GetDlgItem(window, 45457), panelViewport) << "the viewport is the child 45457";
    EXPECT_EQ(GetParent(slotPanelWindow), panelViewport);
    SetWindowPos(window, nullptr, 0, 0, 901, 500, SWP_NOMOVE | SWP_NOZORDER);
    RECT client, viewport;
    GetClientRect(window, &client);
    GetWindowRect(panelViewport, &viewport);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&viewport), 2);
    EXPECT_EQ(viewport.left, client.right / 2 - 300) << "client width " << client.right;
    EXPECT_EQ(viewport.top, 4);
    EXPECT_EQ(viewport.right - viewport.left, 600);
    EXPECT_EQ(viewport.bottom - viewport.top, client.bottom) << "as high as the client area";
    SetWindowPos(window, nullptr, 0, 0, 660, 540, SWP_NOMOVE | SWP_NOZORDER);
}

TEST_F(MainWindow, WheelStepsTenPixelsWithoutLowerLimitAndShowSlotsReturnsToTop)
{
    SendMessageA(window, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    EXPECT_EQ(panelTop(), 0) << "up at the top stays";
    for (int i = 0; i < 3; ++i)
        SendMessageA(window, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-3 * WHEEL_DELTA)), 0);
    EXPECT_EQ(panelTop(), -30) << "10 pixels per notification, whatever the delta";
    SendMessageA(window, WM_MOUSEWHEEL, MAKEWPARAM(0, 1), 0);
    EXPECT_EQ(panelTop(), -20);
    for (int i = 0; i < 200; ++i)
        SendMessageA(window, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    EXPECT_EQ(panelTop(), -2020) << "down goes on past the last row";

    SendMessageA(window, kShowSlotsMessage, 9, 0);
    EXPECT_EQ(panelTop(), 0) << "showing one part's rows starts at the top";
    EXPECT_EQ(rowFilter, 9);
    SendMessageA(window, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    SendMessageA(window, kShowSlotsMessage, IDM_SHOW_ALL, 0);
    EXPECT_EQ(panelTop(), 0);
    EXPECT_EQ(rowFilter, -1) << "32778 shows all rows";
}

TEST_F(MainWindow, StoreSlotReplacesTheKeyFillsTheFirstEmptyEntryAndRewritesTheFile)
{
    SoundSlot record = soundSlots[1];
        record.volume = 200;
    SendMessageA(window, kStoreSlotMessage, reinterpret_cast<WPARAM>(&record), 0);
    EXPECT_EQ(soundSlots[1].volume, 200) << "the entry bound to M is replaced";

    record.keyCode = 0x43;
    record.volume = 50;
    SendMessageA(window, kStoreSlotMessage, reinterpret_cast<WPARAM>(&record), 0);
    EXPECT_EQ(slotCount, 4) << "a new key fills the first empty entry";
    EXPECT_EQ(soundSlots[3].slotIndex, 3) << "the read back numbers it";
    EXPECT_EQ(ReadFileBytes(settingsPath()),
              "48000\r\n4294967295\r\n"
              "sounds\\tone.wav,20,127,127,DR_BASS1\r\n"
              "sounds\\tone.wav,4d,200,127,DR_SNARE1\r\n"
              "sounds\\tone.wav,42,127,127,DR_CLASH\r\n"
              "sounds\\tone.wav,43,50,127,DR_SNARE1\r\n");

    // A full table without the key takes nothing, yet the file is written.
    for (int i = 4; i < kSlotTableSize; ++i) {
        soundSlots[i] = soundSlots[0];
        soundSlots[i].keyCode = static_cast<uint8_t>(0x60 + i);
    }
    record.keyCode = 0x44;
    SendMessageA(window, kStoreSlotMessage, reinterpret_cast<WPARAM>(&record), 0);
    EXPECT_EQ(slotCount, 60);
    EXPECT_EQ(ReadFileBytes(settingsPath()).find(",44,"), std::string::npos)
        << "the key D was stored into a full table";

    for (int i = 3; i < kSlotTableSize; ++i)
        soundSlots[i] = SoundSlot{};
    soundSlots[1].volume = 127;
    SendMessageA(window, kSlotsChangedMessage, 0, 0);
    EXPECT_EQ(ReadFileBytes(settingsPath()), kSettings) << "back to the three rows";
}

int resetsWithTheEngineInUse;

MMRESULT WINAPI resetSeeingTheEngine(HWAVEOUT handle)
{
    // A key handled inside this call would reach whatever engine is in use.
    resetsWithTheEngineInUse += audioEngine != nullptr;
    return waveOutReset(handle);
}

TEST_F(MainWindow, KeysDuringAReloadFindNoEngineBeingTornDown)
{
    resetsWithTheEngineInUse = 0;
    streamCloseCalls.reset = resetSeeingTheEngine;
    int progressTexts;
    {
        MessageCount progress(window, kProgressTextMessage);
        SendMessageA(window, kSlotsChangedMessage, 0, 0);
        progressTexts = progress.count();
    }
    streamCloseCalls.reset = waveOutReset;
    EXPECT_EQ(resetsWithTheEngineInUse, 0) << "the engine was still in use while its channels closed";
    EXPECT_EQ(progressTexts, 0) << "the rebuilt engine sends no progress texts to the closed splash";
    EXPECT_NE(audioEngine, nullptr) << "a new engine after the reload";
}

namespace {

RECT bassRest;
int partsDrawnWhenTheSecondKeyWasTaken;

// When the second key message is taken from the queue, notes whether the
// first key's part has moved on the screen yet.
LRESULT CALLBACK watchSecondKey(int code, WPARAM wParam, LPARAM lParam)
{
    auto* taken = reinterpret_cast<const MSG*>(lParam);
    RECT r;
    if (code == HC_ACTION && wParam == PM_REMOVE && taken->message == WM_KEYDOWN &&
        taken->wParam == 0x4D && GetWindowRect(kitParts[DR_BASS1]->GetHandle(), &r))
        partsDrawnWhenTheSecondKeyWasTaken = r.top != bassRest.top;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

TEST_F(MainWindow, WaitingKeysAllSoundBeforeAnyPartIsDrawn)
{
    waitIdle();
    lastKeyDown = 0;
    HWND bass = kitParts[DR_BASS1]->GetHandle(), snare = kitParts[DR_SNARE1]->GetHandle();
    RECT snareRest;
    GetWindowRect(bass, &bassRest);
    GetWindowRect(snare, &snareRest);
    partsDrawnWhenTheSecondKeyWasTaken = -1;
    HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, watchSecondKey, nullptr, GetCurrentThreadId());
    PostMessageA(window, WM_KEYDOWN, 0x20, 0);
    PostMessageA(window, WM_KEYDOWN, 0x4D, 0);
    Pump(50);
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(partsDrawnWhenTheSecondKeyWasTaken, 0) << "the waiting key sounds before any drawing";
    EXPECT_EQ(busyChannels(), 2);
    EXPECT_EQ(topOf(bass), bassRest.top + 2) << "lit while held";
    EXPECT_EQ(topOf(snare), snareRest.top + 2) << "lit while held";
    PostMessageA(window, WM_KEYUP, 0x20, 0);
    PostMessageA(window, WM_KEYUP, 0x4D, 0);
    Pump(50);
    EXPECT_EQ(topOf(bass), bassRest.top) << "released";
    EXPECT_EQ(topOf(snare), snareRest.top) << "released";
    waitIdle();
}

TEST_F(MainWindow, AKeyForAnotherWindowIsLeftToItsOwnLoop)
{
    // A dialog's keys go through its own loop (Enter presses its default
    // button there): a key that sounds meanwhile must not take them.
    waitIdle();
    lastKeyDown = 0;
    HWND edit = CreateWindowExA(0, "EDIT", "", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr, nullptr,
                                nullptr);
    PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
    SendMessageA(window, WM_KEYDOWN, 0x20, 0);
    MSG msg;
    EXPECT_TRUE(PeekMessageA(&msg, edit, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE))
        << "the dialog's Enter still waits for its loop";
    DestroyWindow(edit);
    SendMessageA(window, WM_KEYUP, 0x20, 0);
    waitIdle();
}

TEST_F(MainWindow, PlaySlotSoundsARowsEntryOrAPartsFirstSlot)
{
    ASSERT_EQ(slotCount, 3);
    waitIdle();
    SendMessageA(window, kPlaySlotMessage, 75, 1001);
    EXPECT_EQ(busyChannels(), 0) << "an index past the table sounds nothing";
    HWND clash = kitParts[DR_CLASH]->GetHandle();
    RECT rest;
    GetWindowRect(clash, &rest);
    int litSamples = 0;
    std::atomic<bool> played{false};
    std::thread watch([&] {
        for (RECT r; !played; Sleep(5))
            litSamples += GetWindowRect(clash, &r) && r.top == rest.top + 2;
    });
    DWORD start = GetTickCount();
    SendMessageA(window, kPlaySlotMessage, 2, 1003);
    DWORD took = GetTickCount() - start;
    played = true;
    watch.join();
    ASSERT_EQ(busyChannels(), 1) << "a row's entry sounds";
    EXPECT_EQ(audioEngine->channel(0).voiceSlot, 2);
    EXPECT_GE(took, 100u) << "its part is lit for 100 ms";
    EXPECT_GE(litSamples, 5) << "2 pixels lower meanwhile";
    EXPECT_EQ(topOf(clash), rest.top) << "and released after";
    waitIdle();

    SendMessageA(window, kPlaySlotMessage, soundSlots[1].partId, 0);
    ASSERT_EQ(busyChannels(), 1) << "a drum part sounds its first slot";
    EXPECT_EQ(audioEngine->channel(0).voiceSlot, 1);
    waitIdle();
    SendMessageA(window, kPlaySlotMessage, DR_RIDE, 0);
    EXPECT_EQ(busyChannels(), 0) << "a part without a slot sounds nothing";
}

namespace {

// A row of the slot list: the button with control id 1001 + i.
HWND row(int i)
{
    return GetDlgItem(slotPanelWindow, 1001 + i);
}

// The centre y of a child of the slot panel, in the panel's coordinates.
int centreY(HWND child)
{
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, slotPanelWindow, reinterpret_cast<POINT*>(&r), 2);
    return (r.top + r.bottom) / 2;
}

}  // namespace

TEST_F(MainWindow, SlotListShowsTheUsedRowsPackedUnderTheHeader)
{
    HWND header = GetDlgItem(slotPanelWindow, 1000);
    ASSERT_NE(header, nullptr) << "the header is the first control, id 1000";
    EXPECT_EQ(centreY(header), 9);
    EXPECT_FALSE(IsWindowEnabled(header)) << "the header ignores the mouse";
    for (int i = 0; i < 3; ++i) {
        ASSERT_NE(row(i), nullptr) << "row " << i;
        EXPECT_TRUE(IsWindowVisible(row(i))) << "row " << i;
        EXPECT_EQ(centreY(row(i)), 27 + 18 * i) << "row " << i;
    }
    for (int i = 3; i < 60; ++i)
        EXPECT_FALSE(IsWindowVisible(row(i))) << "unused row " << i << " is hidden";
    RECT r;
    GetWindowRect(row(0), &r);
    EXPECT_EQ(r.right - r.left, 600);
    EXPECT_EQ(r.bottom - r.top, 18);

    SendMessageA(window, kShowSlotsMessage, DR_CLASH, 0);
    EXPECT_FALSE(IsWindowVisible(row(0)));
    EXPECT_TRUE(IsWindowVisible(row(2)));
    EXPECT_EQ(centreY(row(2)), 27) << "one part's rows start at the top";
    SendMessageA(window, kShowSlotsMessage, IDM_SHOW_ALL, 0);
    EXPECT_EQ(centreY(row(2)), 63) << "all rows again";
}

TEST_F(MainWindow, DeletingARowAsksAndCompactsTheTable)
{
    {
        BoxWatch boxes({IDCANCEL});
        SendMessageA(row(1), WM_COMMAND, IDM_DELETE, 0);
        ASSERT_EQ(boxes.seen().size(), 1u);
        EXPECT_EQ(boxes.seen()[0].text, "削除しますか？");
        EXPECT_EQ(boxes.seen()[0].owner, window) << "asked over the row's window";
        EXPECT_EQ(ReadFileBytes(settingsPath()), kSettings) << "Cancel changes nothing";
        EXPECT_EQ(slotCount, 3);
    }
    {
        BoxWatch boxes({IDOK});
        SendMessageA(row(1), WM_COMMAND, IDM_DELETE, 0);
        ASSERT_EQ(boxes.seen().size(), 1u);
    }
    EXPECT_EQ(slotCount, 2) << "OK removes the row";
    EXPECT_EQ(soundSlots[1].partId, DR_CLASH) << "the later row moved up";
    EXPECT_EQ(ReadFileBytes(settingsPath()),
              "48000\r\n4294967295\r\n"
              "sounds\\tone.wav,20,127,127,DR_BASS1\r\n"
              "sounds\\tone.wav,42,127,127,DR_CLASH\r\n");
    EXPECT_FALSE(IsWindowVisible(row(2))) << "the list shows two rows";
    EXPECT_TRUE(IsWindowVisible(row(1)));

    // Put the table back for the tests after this one.
    soundSlots[2] = soundSlots[1];
    soundSlots[1] = soundSlots[0];
    soundSlots[1].keyCode = 0x4D;
    soundSlots[1].partId = DR_SNARE1;
    std::snprintf(soundSlots[1].partName, sizeof soundSlots[1].partName, "DR_SNARE1");
    SendMessageA(window, kSlotsChangedMessage, 0, 0);
    EXPECT_EQ(ReadFileBytes(settingsPath()), kSettings);
}

TEST_F(MainWindow, KeysOnARowReachTheMainWindow)
{
    {
        MessageCount keys(window, WM_KEYDOWN);
        SendMessageA(row(0), WM_KEYDOWN, 0x20, 0);
        EXPECT_EQ(keys.count(), 1) << "the key went on to the main window once";
    }
    EXPECT_EQ(lastKeyDown, 0x20);
    SendMessageA(row(0), WM_KEYUP, 0x20, 0);
    EXPECT_EQ(lastKeyDown, 0);
}

namespace {

// The slot edit dialog of this process, waited for.
HWND waitEditDialog()
{
    return WaitProcessWindow(GetCurrentProcessId(), "#32770", 10000,
                             [](HWND w) { return GetDlgItem(w, 1003) != nullptr; });
}

std::string textOf(HWND dialog, int id)
{
    char text[300] = "";
    if (id)
        GetDlgItemTextA(dialog, id, text, sizeof text);
    else
        GetWindowTextA(dialog, text, sizeof text);
    return text;
}

void waitBoxCount(BoxWatch& boxes, size_t count)
{
    for (DWORD start = GetTickCount(); boxes.seen().size() < count && GetTickCount() - start < 5000;)
        Sleep(20);
}

int peak(int slot)
{
    auto* samples = reinterpret_cast<const int16_t*>(audioEngine->sampleData(slot));
    int top = 0;
    for (uint32_t i = 0; samples && i < audioEngine->sampleLength(slot) / 2; ++i)
        top = std::max(top, std::abs(static_cast<int>(samples[i])));
    return top;
}

}  // namespace

TEST_F(MainWindow, EditingARowsVolumeRewritesTheFileAndTheSound)
{
    int before = peak(1);
    BoxWatch boxes({IDOK});
    std::string title, volume, pan, key, path;
    std::thread user([&] {
        HWND dialog = waitEditDialog();
        if (!dialog)
            return;
        title = textOf(dialog, 0);
        volume = textOf(dialog, 1003);
        pan = textOf(dialog, 1004);
        key = textOf(dialog, 1005);
        path = textOf(dialog, 1002);
        SetDlgItemTextA(dialog, 1003, "250");
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    SendMessageA(row(1), WM_COMMAND, IDM_EDIT, 0);
    user.join();
    EXPECT_EQ(title, "DR_SNARE1") << "the dialog is titled with the row's part";
    EXPECT_EQ(volume, "127");
    EXPECT_EQ(pan, "127");
    EXPECT_EQ(key, "M");
    EXPECT_EQ(path, "sounds\\tone.wav");
    ASSERT_EQ(boxes.seen().size(), 1u) << "its own key is found: the overwrite question";
    EXPECT_EQ(boxes.seen()[0].text, "キーを上書きしますか？");
    EXPECT_EQ(soundSlots[1].volume, 250);
    EXPECT_NE(ReadFileBytes(settingsPath()).find("sounds\\tone.wav,4d,250,127,DR_SNARE1"),
              std::string::npos) << "the file holds the new volume";
    EXPECT_GT(peak(1), before * 3 / 2) << "the rebuilt engine plays it louder";

    soundSlots[1].volume = 127;
    SendMessageA(window, kSlotsChangedMessage, 0, 0);
    EXPECT_EQ(ReadFileBytes(settingsPath()), kSettings);
}

TEST_F(MainWindow, EditDialogRefusesAFileItCannotPlayAndStaysOpen)
{
    WriteFileBytes(ExeFolder() + "sounds\\notes.wav", "RIFF\x04\0\0\0TEXT");
    BoxWatch boxes({IDOK});
    HWND dialog = nullptr;
    bool openAfter = false;
    std::thread user([&] {
        dialog = waitEditDialog();
        if (!dialog)
            return;
        SetDlgItemTextA(dialog, 1002, "sounds\\notes.wav");
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        waitBoxCount(boxes, 1);
        Sleep(200);
        openAfter = IsWindowVisible(dialog);
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    SendMessageA(row(1), WM_COMMAND, IDM_EDIT, 0);
    user.join();
    std::vector<SeenBox> seen = boxes.seen();
    ASSERT_EQ(seen.size(), 1u) << "one box, and no overwrite question after it";
    const SeenBox& box = seen[0];
    EXPECT_EQ(box.text, "このファイルは再生できません。\nファイルが壊れているか、WAVファイルではありません。\n別のWAVファイルを選択してください");
    EXPECT_EQ(box.caption, "エラー");
    EXPECT_EQ(box.owner, dialog) << "owned by the dialog";
    EXPECT_TRUE(box.hasOk) << "OK only";
    EXPECT_FALSE(box.hasCancel) << "OK only";
    EXPECT_TRUE(openAfter) << "the dialog stays open";
    EXPECT_EQ(ReadFileBytes(settingsPath()), kSettings) << "nothing is stored";
}

TEST_F(MainWindow, AddingFromTheKitChecksInOrderThenAppendsTheRow)
{
    BoxWatch boxes({IDOK, IDOK, IDOK});
    std::string title, volume, keyEdit, keyAfterF1, keyAfterC, chosen;
    std::thread user([&] {
        HWND dialog = waitEditDialog();
        if (!dialog)
            return;
        title = textOf(dialog, 0);
        volume = textOf(dialog, 1003) + "/" + textOf(dialog, 1004);
        keyEdit = textOf(dialog, 1001);
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);  // no file yet
        waitBoxCount(boxes, 1);
        SetDlgItemTextA(dialog, 1003, "0");
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);  // the volume first
        waitBoxCount(boxes, 2);
        SetDlgItemTextA(dialog, 1003, "90");
        // The file through the browse button: its dialog opens in sounds.
        PostMessageA(dialog, WM_COMMAND, 3, 0);
        HWND files = WaitProcessWindow(GetCurrentProcessId(), "#32770", 10000,
                                       [](HWND w) { return GetDlgItem(w, 0x47C) != nullptr; });
        if (!files)
            return;
        Sleep(300);
        SetDlgItemTextA(files, 0x47C, "tone.wav");
        PostMessageA(files, WM_COMMAND, IDOK, 0);
        for (DWORD start = GetTickCount(); IsWindow(files) && GetTickCount() - start < 5000;)
            Sleep(20);
        chosen = textOf(dialog, 1002);
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);  // no key
        waitBoxCount(boxes, 3);
        SendMessageA(GetDlgItem(dialog, 1001), WM_KEYUP, 0x43, 0);
        keyAfterC = textOf(dialog, 1005);
        SendMessageA(GetDlgItem(dialog, 1001), WM_KEYUP, VK_F1, 0);
        keyAfterF1 = textOf(dialog, 1005);
        SendMessageA(GetDlgItem(dialog, 1001), WM_KEYUP, 0x43, 0);
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    SendMessageA(kitParts[DR_RIDE]->GetHandle(), WM_COMMAND, IDM_ADD, 0);
    user.join();
    EXPECT_EQ(title, "DR_RIDE");
    EXPECT_EQ(volume, "128/128");
    EXPECT_EQ(keyEdit, "A");
    ASSERT_EQ(boxes.seen().size(), 3u);
    EXPECT_EQ(boxes.seen()[0].text, "ファイルを選択してください");
    EXPECT_EQ(boxes.seen()[1].text, "VOLを1～255の範囲に設定してください");
    EXPECT_EQ(boxes.seen()[2].text, "キーを入力してください");
    EXPECT_EQ(keyAfterF1, "") << "F1 has no name";
    EXPECT_EQ(keyAfterC, "C");
    EXPECT_EQ(slotCount, 4);
    std::string wav = ExeFolder() + "sounds\\tone.wav";
    EXPECT_EQ(chosen, wav) << "the browse dialog fills in the whole path";
    EXPECT_NE(ReadFileBytes(settingsPath()).find(wav + ",43,90,128,DR_RIDE"), std::string::npos)
        << "the new row is appended";
    EXPECT_TRUE(IsWindowVisible(row(3))) << "and listed";

    soundSlots[3] = SoundSlot{};
    SendMessageA(window, kSlotsChangedMessage, 0, 0);
    EXPECT_EQ(ReadFileBytes(settingsPath()), kSettings);
}

TEST_F(MainWindow, TheDialogRefusesAPathTheSettingsFileCannotHold)
{
    BoxWatch boxes({IDOK, IDOK});
    HWND shown = nullptr;
    std::thread user([&] {
        HWND dialog = shown = waitEditDialog();
        if (!dialog)
            return;
        SendMessageA(GetDlgItem(dialog, 1001), WM_KEYUP, 0x43, 0);
        for (std::string path : {std::string("sounds\\a,b.wav"), "sounds\\" + std::string(240, 'p') + ".wav"}) {
            SetDlgItemTextA(dialog, 1002, path.c_str());
            size_t before = boxes.seen().size();
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
            waitBoxCount(boxes, before + 1);
        }
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    SendMessageA(kitParts[DR_RIDE]->GetHandle(), WM_COMMAND, IDM_ADD, 0);
    user.join();
    ASSERT_EQ(boxes.seen().size(), 2u);
    EXPECT_EQ(boxes.seen()[0].text, "ファイル名に「,」を含むファイルは選択できません") << utf8(boxes.seen()[0].text);
    EXPECT_EQ(boxes.seen()[1].text, "ファイルのパスが長すぎます。\n短いパスのファイルを選択してください")
        << utf8(boxes.seen()[1].text);
    EXPECT_EQ(boxes.seen()[0].caption, "エラー");
    EXPECT_EQ(boxes.seen()[1].owner, shown) << "owned by the dialog, which stays open";
    EXPECT_EQ(ReadFileBytes(settingsPath()), kSettings) << "nothing was stored";
}

namespace {


int brightnessAt(POINT at)
{
    HDC screen = GetDC(nullptr);
    COLORREF c = GetPixel(screen, at.x, at.y);
    ReleaseDC(nullptr, screen);
    return GetRValue(c) + GetGValue(c) + GetBValue(c);
}

}  // namespace

TEST_F(MainWindow, ARightClickOpensTheMenuBesideThePointerThenShowsHover)
{
    SetForegroundWindow(window);
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    Pump(300);
    RECT r;
    GetWindowRect(row(0), &r);
    POINT at = {r.left + 200, (r.top + r.bottom) / 2};
    POINT away = {r.left + 200, r.bottom + 200};  // below the list's rows
    ASSERT_TRUE(Xdotool("mousemove " + std::to_string(away.x) + " " + std::to_string(away.y)));
    Pump(300);
    int normal = brightnessAt({r.left + 100, at.y + 3});

    HWND menu = nullptr;
    RECT menuRect = {};
    std::thread user([&] {
        menu = WaitProcessWindow(GetCurrentProcessId(), "#32768", 5000);
        GetWindowRect(menu, &menuRect);
        Xdotool("key Escape");
    });
    Xdotool("mousemove " + std::to_string(at.x) + " " + std::to_string(at.y) + " click 3");
    for (DWORD start = GetTickCount(); !menu && GetTickCount() - start < 5000;)
        Pump(20);
    user.join();
    Pump(300);
    ASSERT_NE(menu, nullptr) << "no menu appeared";
    EXPECT_EQ(menuRect.left, at.x + 50) << "the menu opens 50 pixels right of the pointer";
    EXPECT_EQ(menuRect.top, at.y);
    int after = brightnessAt({r.left + 100, at.y + 3});
    EXPECT_LT(after, normal - 150) << "after the menu the row shows its dark hover face";
    SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

namespace {

// How far text reaches past room in the font of window, as "text: N px over; ".
std::string over(HWND window, const char* text, int room)
{
    HDC dc = GetDC(window);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)));
    SIZE size = {};
    GetTextExtentPoint32A(dc, text, lstrlenA(text), &size);
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    return size.cx > room ? std::string(text) + ": " + std::to_string(size.cx - room) + " px over; " : "";
}

std::string clippedStatics(HWND dialog)
{
    std::string clipped = dialog ? "" : "no dialog";
    char name[16], text[256];
    RECT r;
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (GetClassNameA(c, name, sizeof name) && !lstrcmpiA(name, "Static") && GetWindowTextA(c, text, sizeof text)
            && GetClientRect(c, &r))
            clipped += over(c, text, r.right);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    return clipped;
}

}  // namespace

// The about box's and the edit dialog's static texts fit their controls,
// and every part name, key name and level a row can show ends before the
// next divider of the row's face.
TEST_F(MainWindow, EveryTextFitsItsPlace)
{
    std::string about, edit;
    std::thread user([&] {
        about = clippedStatics(WaitProcessWindow(GetCurrentProcessId(), "#32770", 10000,
                                                 [](HWND w) { return GetDlgItem(w, 104) != nullptr; }));
        edit = clippedStatics(waitEditDialog());
    });
    SendMessageA(window, WM_COMMAND, 104, 0);
    SendMessageA(row(1), WM_COMMAND, IDM_EDIT, 0);
    user.join();
    EXPECT_EQ(about, "") << utf8(about);
    EXPECT_EQ(edit, "") << utf8(edit);

    auto face = static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(142), IMAGE_BITMAP, 0, 0,
                                                LR_CREATEDIBSECTION));
    DIBSECTION dib;
    GetObjectA(face, sizeof dib, &dib);
    const BYTE* line = static_cast<const BYTE*>(dib.dsBm.bmBits) + dib.dsBm.bmWidthBytes * (dib.dsBm.bmHeight / 2);
    std::vector<int> dividers;  // where the face turns darker than just before
    for (int x = 8; x < dib.dsBm.bmWidth - 8; ++x)
        if (line[3 * x] + line[3 * x + 1] + 60 < line[3 * x - 3] + line[3 * x - 2])
            dividers.push_back(x);
    DeleteObject(face);
    ASSERT_EQ(dividers.size(), kRowCaptions - 1u);
    std::string clipped;
    SoundSlot slot = {};
    slot.volume = slot.pan = 255;
    for (int i = 0; i < kKeyNameCount; ++i) {
        std::snprintf(slot.partName, sizeof slot.partName, "%s", drumPartNames[i % kNamedDrumParts]);
        slot.keyCode = keyNames[i].code;
        char captions[kRowCaptions][kCaptionSize] = {};
        rowCaptions(slot, "", captions);
        for (int c = 0; c + 1 < kRowCaptions; ++c)
            clipped += over(row(0), captions[c], dividers[c] - kCaptionX[c] - 1);
    }
    EXPECT_EQ(clipped, "");
}
