// The key logger inside the main window, built in this process as the program
// builds it: the menu, the titles, saving through the real save dialog,
// replaying files, and the question when closing with a recording.
#include <gtest/gtest.h>

#include <windows.h>

#include <shlobj.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>

#include "app/key_path.h"
#include "app/process_objects.h"
#include "keylog/key_logger.h"
#include "res/resource_ids.h"
#include "support/box_watch.h"
#include "support/program_here.h"
#include "support/test_folder.h"
#include "support/window_find.h"

namespace {

constexpr int kNameField = 0x47C;
HWND window;

std::string title()
{
    char text[256] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

bool enabled(UINT id)
{
    return !(GetMenuState(GetMenu(window), id, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED));
}

// 記録開始, 停止 and 名前を付けて保存, each "on" or "off".
std::string recordMenu()
{
    std::string state;
    for (UINT id : {IDM_START_RECORDING, IDM_STOP_RECORDING, IDM_SAVE})
        state += enabled(id) ? "on " : "off ";
    return state;
}

// Waits for count boxes while handling this thread's messages: the replay
// sends its keys to the window and waits for them.
bool waitBoxes(BoxWatch& boxes, size_t count, DWORD timeoutMs = 5000)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs; Pump(10))
        if (boxes.seen().size() >= count)
            return true;
    return false;
}

bool quitRequested()
{
    MSG msg;
    return PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
}


// A file dialog of this process; other tests beside this one show theirs.
HWND fileDialog()
{
    return FindProcessWindow(GetCurrentProcessId(), "#32770",
                             [](HWND w) { return GetDlgItem(w, kNameField) != nullptr; });
}

// Types name into the next file dialog of this process and presses OK, or
// cancels it when name is empty.
std::thread answerFileDialog(std::string name)
{
    return std::thread([name] {
        for (DWORD start = GetTickCount(); GetTickCount() - start < 10000; Sleep(20)) {
            HWND dialog = fileDialog();
            if (!dialog)
                continue;
            Sleep(200);
            if (name.empty()) {
                PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
            } else {
                SetDlgItemTextA(dialog, kNameField, name.c_str());
                PostMessageA(dialog, WM_COMMAND, IDOK, 0);
            }
            return;
        }
    });
}

std::string performance(const std::string& records)
{
    return "PKPN00" + records;
}

class KeyLoggerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        // Parts without a kit window: the timing here is the key logger's
        // alone, not that of drawing the kit under Wine.
        window = StartProgramHere("44100\r\n4294967295\r\n"
                                  "sounds\\tone.wav,20,127,127,DR_SNARE2\r\n"
                                  "sounds\\tone.wav,bb,127,127,DR_SNARE3\r\n",
                                  0.05);
        Pump(700);  // the splash's hold
    }
    static void TearDownTestSuite()
    {
        EndProgramHere();
    }

    // A performance file of the test's folder, replayed from its path.
    static bool play(const char* name, const std::string& bytes)
    {
        WriteFileBytes(ExeFolder() + name, bytes);
        return keyLogger->openPerformance((ExeFolder() + name).c_str());
    }
};

}  // namespace

TEST_F(KeyLoggerTest, MenuAndTitlesFollowRecordingAndSaving)
{
    EXPECT_EQ(recordMenu(), "on off off ") << "after creation";
    SendMessageA(window, WM_COMMAND, IDM_START_RECORDING, 0);
    DWORD started = GetTickCount();
    SendMessageA(window, WM_COMMAND, 0, 0);
    EXPECT_EQ(recordMenu(), "off on off ") << "while recording, id 0 ignored";
    Pump(1100);
    EXPECT_EQ(title(), "REC 00:00:01 - ポコポン") << utf8(title());
    SendMessageA(window, WM_COMMAND, IDM_STOP_RECORDING, 0);
    DWORD recorded = GetTickCount() - started;
    EXPECT_EQ(title(), "STOP 00:00:01 - ポコポン") << utf8(title());
    EXPECT_EQ(recordMenu(), "on off on ") << "stopped with records";

    std::thread cancel = answerFileDialog("");
    SendMessageA(window, WM_COMMAND, IDM_SAVE, 0);
    cancel.join();
    EXPECT_TRUE(keyLogger->hasRecording()) << "a cancelled save keeps the records";
    EXPECT_TRUE(enabled(32796)) << "and the menu as it was";

    BoxWatch boxes;
    std::string path = ExeFolder() + "silence.pkp";
    DeleteFileA(path.c_str());
    std::thread save = answerFileDialog(path);
    SendMessageA(window, WM_COMMAND, IDM_SAVE, 0);
    save.join();
    ASSERT_TRUE(waitBoxes(boxes, 1)) << "no box after saving";
    EXPECT_EQ(boxes.seen()[0].text, "保存しました。");
    EXPECT_EQ(boxes.seen()[0].caption, "ポコポン");
    EXPECT_EQ(title(), "ポコポン");
    EXPECT_FALSE(keyLogger->hasRecording()) << "a save clears the records";
    EXPECT_EQ(recordMenu(), "on off off ") << "after the save";

    std::string file = ReadFileBytes(path);
    ASSERT_GE(file.size(), 6u);
    EXPECT_EQ(file.substr(0, 6), "PKPN00");
    size_t records = (file.size() - 6) / 2;
    EXPECT_NEAR(static_cast<double>(records), recorded / 4.0, 6.0)
        << "one step for each 4 ms of the " << recorded << " ms recorded";
    EXPECT_EQ(file.find_first_not_of('\0', 6), std::string::npos) << "silence records nothing";
}

TEST_F(KeyLoggerTest, KeysLandAtTheirStepsAndARestartBeginsEmpty)
{
    SendMessageA(window, WM_COMMAND, IDM_START_RECORDING, 0);
    SendMessageA(window, WM_KEYDOWN, 0x41, 0);  // dropped with the restart below
    Pump(1100);
    SendMessageA(window, WM_COMMAND, IDM_STOP_RECORDING, 0);
    SendMessageA(window, WM_COMMAND, IDM_START_RECORDING, 0);
    DWORD started = GetTickCount();
    Pump(20);
    EXPECT_EQ(title(), "REC 00:00:00 - ポコポン") << "a restart begins at zero: " << utf8(title());
    Pump(380);
    DWORD spaceMs = GetTickCount() - started;
    SendMessageA(window, WM_KEYDOWN, 0x20, 0);
    SendMessageA(window, WM_KEYDOWN, 0x20, 0x40000000);  // an auto-repeat is recorded too
    SendMessageA(window, WM_KEYUP, 0x20, 0);
    Pump(400);
    DWORD equalsMs = GetTickCount() - started;
    SendMessageA(window, WM_KEYDOWN, 0xBB, 0);
    SendMessageA(window, WM_SYSKEYDOWN, 0x43, 0);  // system keys are not
    Pump(200);
    SendMessageA(window, WM_COMMAND, IDM_STOP_RECORDING, 0);

    std::string path = ExeFolder() + "keys.pkp";
    BoxWatch boxes;
    std::thread save = answerFileDialog(path);
    SendMessageA(window, WM_COMMAND, IDM_SAVE, 0);
    save.join();
    std::string file = ReadFileBytes(path);
    ASSERT_GT(file.size(), 6u);
    std::string downs, ups;
    size_t spaceAt = 0, equalsAt = 0;
    for (size_t i = 6; i + 1 < file.size(); i += 2) {
        size_t step = (i - 6) / 2;
        if (file[i]) {
            downs += file[i];
            if (file[i] == 0x20 && !spaceAt)
                spaceAt = step;
            if (static_cast<uint8_t>(file[i]) == 0xBB)
                equalsAt = step;
        }
        if (file[i + 1])
            ups += file[i + 1];
    }
    EXPECT_EQ(downs, "\x20\x20\xBB") << "the restart dropped A, the repeat kept, Alt-C not";
    EXPECT_EQ(ups, "\x20");
    // Each key at the step of the time it was pressed, within a few steps.
    EXPECT_NEAR(static_cast<double>(spaceAt), spaceMs / 4.0, 6.0) << "Space at " << spaceMs << " ms";
    EXPECT_NEAR(static_cast<double>(equalsAt), equalsMs / 4.0, 6.0)
        << "the key 0xBB at " << equalsMs << " ms";
}

TEST_F(KeyLoggerTest, TheRecordingStopsAtItsCapacityAndSaysSo)
{
    BoxWatch boxes;
    SendMessageA(window, WM_COMMAND, IDM_START_RECORDING, 0);
    Pump(100);
    keyLogger->skipRecordingTo(499990);
    ASSERT_TRUE(waitBoxes(boxes, 1)) << "no message at the limit";
    EXPECT_EQ(boxes.seen()[0].text, "これ以上記録できません。\n停止後、ファイルを保存してください。");
    EXPECT_EQ(boxes.seen()[0].caption, title()) << "captioned with the stopped clock";
    EXPECT_EQ(keyLogger->recordedSteps(), 500000u) << "the buffer is full and kept";
    EXPECT_EQ(title().substr(0, 5), "STOP ");
    EXPECT_FALSE(enabled(32799)) << "the menu still offers 停止";
    EXPECT_TRUE(enabled(32800)) << "the menu still offers 停止";
    SendMessageA(window, WM_COMMAND, IDM_STOP_RECORDING, 0);
    keyLogger->clearRecording();
}

TEST_F(KeyLoggerTest, ReplayPlaysTheKeysThenEndsWithAMessage)
{
    BoxWatch boxes;
    // Space down at step 10 and up at step 20, then 0xBB down at step 60.
    std::string records(2 * 70, '\0');
    records[20] = 0x20;
    records[41] = 0x20;
    records[120] = static_cast<char>(0xBB);
    DWORD start = GetTickCount();
    ASSERT_TRUE(play("replay.pkp", performance(records)));
    EXPECT_EQ(title(), "replay.pkp - 再生中") << utf8(title());
    ASSERT_TRUE(waitBoxes(boxes, 1)) << "no message at the end";
    DWORD took = GetTickCount() - start;
    EXPECT_EQ(boxes.seen()[0].text, "再生が終了しました。");
    EXPECT_EQ(boxes.seen()[0].caption, "ポコポン");
    EXPECT_GE(took, 270u) << "70 steps of 4 ms take their time";
    EXPECT_EQ(lastKeyDown, 0xBB) << "the replayed keys went through the key path";
    SendMessageA(window, WM_KEYUP, 0xBB, 0);
}

// A drop of files on the window, as the shell hands it over.
HDROP dropOf(const std::string& first, const std::string& second)
{
    std::string names = first + '\0' + second + '\0' + '\0';
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + names.size());
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    std::memcpy(drop + 1, names.data(), names.size());
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

TEST_F(KeyLoggerTest, DropStopsTheRecordingAndReplaysTheFirstFileUnderItsBareName)
{
    std::string records(2 * 30, '\0');
    records[40] = static_cast<char>(0xBB);
    WriteFileBytes(ExeFolder() + "dropped.pkp", performance(records));
    WriteFileBytes(ExeFolder() + "second.pkp", performance(std::string("\x20\0", 2)));
    SendMessageA(window, WM_COMMAND, IDM_START_RECORDING, 0);
    SendMessageA(window, WM_KEYDOWN, 0x41, 0);
    Pump(100);

    BoxWatch boxes;
    SendMessageA(window, WM_DROPFILES,
                 reinterpret_cast<WPARAM>(dropOf(ExeFolder() + "dropped.pkp",
                                                 ExeFolder() + "second.pkp")), 0);
    EXPECT_EQ(title(), "dropped.pkp") << "a dropped replay shows the bare name: " << utf8(title());
    EXPECT_TRUE(keyLogger->hasRecording()) << "the recording is stopped, its records kept";
    EXPECT_EQ(recordMenu(), "on off on ") << "as after 停止";
    ASSERT_TRUE(waitBoxes(boxes, 1)) << "the replay did not end";
    EXPECT_EQ(boxes.seen()[0].text, "再生が終了しました。");
    EXPECT_EQ(lastKeyDown, 0xBB) << "the first file was played, not the second";
    SendMessageA(window, WM_KEYUP, 0xBB, 0);

    SendMessageA(window, WM_DROPFILES,
                 reinterpret_cast<WPARAM>(dropOf(ExeFolder() + "silence.txt", "")), 0);
    EXPECT_EQ(title(), "ポコポン") << "a file that cannot be opened leaves the plain title";

    WriteFileBytes(ExeFolder() + "text.pkp", "not a performance");
    SendMessageA(window, WM_DROPFILES, reinterpret_cast<WPARAM>(dropOf(ExeFolder() + "text.pkp", "")), 0);
    ASSERT_TRUE(waitBoxes(boxes, 2)) << "a dropped file without the magic is refused";
    EXPECT_EQ(boxes.seen()[1].text, "このソフトウェアで作成したファイルではありません。");
    EXPECT_EQ(title(), "ポコポン");
    SendMessageA(window, WM_DROPFILES, reinterpret_cast<WPARAM>(dropOf(ExeFolder(), "")), 0);
    ASSERT_TRUE(waitBoxes(boxes, 3)) << "a dropped folder is refused in words";
    EXPECT_EQ(boxes.seen()[2].text, "このソフトウェアで作成したファイルではありません。");
    keyLogger->clearRecording();
}

TEST_F(KeyLoggerTest, RefusedShortAndOversizedFiles)
{
    {
        BoxWatch boxes;
        EXPECT_FALSE(play("text.pkp", "PKPN0 is not the magic"));
        ASSERT_TRUE(waitBoxes(boxes, 1));
        EXPECT_EQ(boxes.seen()[0].text, "このソフトウェアで作成したファイルではありません。");
        EXPECT_EQ(boxes.seen()[0].caption, "エラー");
        EXPECT_EQ(title(), "ポコポン");
    }
    for (std::string bytes : {std::string("PKPN00"), std::string("PKPN00\x41"),
                              std::string("PKPN00\x20\0\x20", 9)}) {
        BoxWatch boxes;
        EXPECT_TRUE(play("short.pkp", bytes)) << bytes.size() << " bytes";
        ASSERT_TRUE(waitBoxes(boxes, 1)) << "a short file ends at once";
        EXPECT_EQ(boxes.seen()[0].text, "再生が終了しました。");
    }
    EXPECT_EQ(lastKeyDown, 0x20) << "the 9-byte file holds one record, Space down; its last byte is no key-up";
    SendMessageA(window, WM_KEYUP, 0x20, 0);
    {
        BoxWatch boxes;
        SendMessageA(window, WM_KEYDOWN, 0xBB, 0);
        EXPECT_TRUE(play("both.pkp", std::string("PKPN00\x20\x20", 8)));
        ASSERT_TRUE(waitBoxes(boxes, 1));
        EXPECT_EQ(lastKeyDown, 0) << "a record with both codes sends the key-down first, then the key-up";
    }

    // Far more than the buffer holds: only the buffer is read.
    BoxWatch boxes;
    std::string big(6 + 1000000 + 4000, '\0');
    big.replace(0, 6, "PKPN00");
    EXPECT_TRUE(play("big.pkp", big));
    ASSERT_EQ(boxes.seen().size(), 1u) << "the cut was not told";
    EXPECT_EQ(boxes.seen()[0].text, "このファイルは長すぎるため、最初の33分20秒だけを再生します。")
        << utf8(boxes.seen()[0].text);
    Pump(200);
    EXPECT_EQ(title(), "big.pkp - 再生中") << "and the replay goes on: " << utf8(title());
    SendMessageA(window, WM_COMMAND, IDM_STOP_PLAYBACK, 0);
    EXPECT_EQ(title(), "ポコポン") << "停止 ends the replay";
}

// A key message at every step: a replay tick is nearly always sending one.
std::string denseRecords()
{
    std::string records;
    for (int i = 0; i < 20000; ++i)
        records += i % 2 ? std::string("\0\x20", 2) : std::string("\x20\0", 2);
    return records;
}

// Ends the process, failing, when the test has not finished within 30 s.
class HangGuard {
public:
    explicit HangGuard(const char* what)
        : thread_([this, what] {
              for (int i = 0; i < 300 && !done_; ++i)
                  Sleep(100);
              if (!done_) {
                  ADD_FAILURE() << what << " hung";
                  TerminateProcess(GetCurrentProcess(), 3);
              }
          })
    {
    }
    ~HangGuard()
    {
        done_ = true;
        thread_.join();
    }

private:
    std::atomic<bool> done_{false};
    std::thread thread_;
};

TEST_F(KeyLoggerTest, StoppingADenseReplayNeverDeadlocks)
{
    std::string records = denseRecords();
    HangGuard guard("stopping the replay");
    for (int i = 0; i < 50; ++i) {
        ASSERT_TRUE(play("dense.pkp", performance(records)));
        Pump(i % 5 * 3);
        SendMessageA(window, WM_COMMAND, IDM_STOP_PLAYBACK, 0);
    }
    EXPECT_EQ(title(), "ポコポン");
}

TEST_F(KeyLoggerTest, StoppingOneTickWhileTheOtherRunsNeverDeadlocks)
{
    std::string records = denseRecords();
    HangGuard guard("stopping a tick beside the other");
    // A recording stopped while a replay tick waits on its key message.
    ASSERT_TRUE(play("dense.pkp", performance(records)));
    for (int i = 0; i < 60; ++i) {
        SendMessageA(window, WM_COMMAND, IDM_START_RECORDING, 0);
        Pump(i % 7);
        SendMessageA(window, WM_COMMAND, IDM_STOP_RECORDING, 0);
    }
    // A replay stopped while the first recording tick sets its clock title.
    for (int i = 0; i < 60; ++i) {
        ASSERT_TRUE(play("dense.pkp", performance(records)));
        SendMessageA(window, WM_COMMAND, IDM_START_RECORDING, 0);
        Pump(i % 3);
        SendMessageA(window, WM_COMMAND, IDM_STOP_PLAYBACK, 0);
        SendMessageA(window, WM_COMMAND, IDM_STOP_RECORDING, 0);
    }
    EXPECT_EQ(title().substr(0, 5), "STOP ") << utf8(title());
    keyLogger->clearRecording();
}

TEST_F(KeyLoggerTest, AReplayEndingAsTheNextOpensLeavesTheNextPlaying)
{
    std::string later = ExeFolder() + "later.pkp";
    WriteFileBytes(later, performance(std::string(2 * 2000, '\0')));
    for (int i = 0; i < 3; ++i) {
        BoxWatch boxes;
        ASSERT_TRUE(play("empty.pkp", performance("")));
        Sleep(20);  // the empty file's last tick now waits on this thread for its title
        ASSERT_TRUE(keyLogger->openPerformance(later.c_str()));
        Pump(100);
        EXPECT_EQ(title(), "later.pkp - 再生中") << "the next replay still plays: " << utf8(title());
        ASSERT_TRUE(waitBoxes(boxes, 1));
        Pump(200);
        EXPECT_EQ(boxes.seen().size(), 1u) << "only the empty replay ended";
        SendMessageA(window, WM_COMMAND, IDM_STOP_PLAYBACK, 0);
    }
}

TEST_F(KeyLoggerTest, ClosingWithARecordingAsksFirst)
{
    SendMessageA(window, WM_COMMAND, IDM_START_RECORDING, 0);
    Pump(100);
    SendMessageA(window, WM_COMMAND, IDM_STOP_RECORDING, 0);
    std::string stop = title();
    {
        BoxWatch boxes({IDCANCEL});
        SendMessageA(window, WM_CLOSE, 0, 0);
        ASSERT_EQ(boxes.seen().size(), 1u);
        EXPECT_EQ(boxes.seen()[0].text, "保存していないデータがあります。\n保存しますか？");
        EXPECT_EQ(boxes.seen()[0].caption, stop) << utf8(boxes.seen()[0].caption);
        EXPECT_TRUE(boxes.seen()[0].hasYes);
        EXPECT_TRUE(boxes.seen()[0].hasNo);
        EXPECT_TRUE(boxes.seen()[0].hasCancel);
        EXPECT_FALSE(quitRequested()) << "Cancel stays";
    }
    {
        SendMessageA(window, WM_COMMAND, IDM_START_RECORDING, 0);  // still running when the question comes
        Pump(100);
        BoxWatch boxes({IDYES});
        std::thread cancel = answerFileDialog("");
        SendMessageA(window, WM_CLOSE, 0, 0);
        cancel.join();
        EXPECT_FALSE(quitRequested()) << "Yes and a cancelled save stay";
        EXPECT_TRUE(keyLogger->hasRecording());
        EXPECT_EQ(recordMenu(), "on off on ") << "the menu shows the stopped recording";
    }
    {
        BoxWatch boxes({IDNO});
        SendMessageA(window, WM_CLOSE, 0, 0);
        EXPECT_TRUE(quitRequested()) << "No quits without saving";
    }
    keyLogger->clearRecording();
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(quitRequested()) << "without a recording the close quits at once";
    SendMessageA(window, WM_COMMAND, 105, 0);
    EXPECT_TRUE(quitRequested()) << "アプリケーションの終了 closes the window";
}

TEST_F(KeyLoggerTest, OpeningDuringARecordingStopsItBeforeTheDialog)
{
    SendMessageA(window, WM_COMMAND, IDM_START_RECORDING, 0);
    Pump(100);
    std::string titleAtDialog;
    std::thread cancel([&] {
        for (DWORD start = GetTickCount(); !fileDialog() && GetTickCount() - start < 10000;)
            Sleep(20);
        titleAtDialog = title();
        PostMessageA(fileDialog(), WM_COMMAND, IDCANCEL, 0);
    });
    SendMessageA(window, WM_COMMAND, IDM_OPEN, 0);
    cancel.join();
    EXPECT_EQ(titleAtDialog.substr(0, 5), "STOP ") << "stopped first: " << utf8(titleAtDialog);
    EXPECT_EQ(recordMenu(), "on off on ") << "as after 停止";
    keyLogger->clearRecording();
}
