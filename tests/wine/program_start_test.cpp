// The real pokopon.exe started in fresh program folders, as a user starts it.
#include <gtest/gtest.h>

#include <windows.h>

#include "kit/kit_layout.h"
#include "support/box_watch.h"
#include "support/window_find.h"
#include "support/default_set_files.h"
#include "support/program_run.h"
#include "support/screenshot.h"
#include "support/test_folder.h"
#include "support/wav_file.h"
#include "wav_bytes.h"

using namespace std::string_literals;

namespace {

const char kUnreadable[] = "設定ファイルが読み込めません";
const char kOffer[] = "設定ファイルが見つかりません。\n初期化しますか?";

std::string runFolder(const char* name)
{
    std::string folder = ExeFolder() + "runs\\" + name;
    CreateDirectoryA((ExeFolder() + "runs").c_str(), nullptr);
    FreshFolder(folder);
    return folder;
}

// A run folder with sounds\tone.wav and a settings file of the given text.
std::string toneFolder(const char* name, const std::string& settings)
{
    std::string folder = runFolder(name);
    CreateDirectoryA((folder + "\\sounds").c_str(), nullptr);
    WriteWav(folder + "\\sounds\\tone.wav", Tone(1000, 0.1, 8000));
    WriteFileBytes(folder + "\\sounds\\Setting.csv", settings);
    return folder;
}

// The first start in a folder without sounds\: the reader's message, the offer, and
// with OK the default set and the main window. exe: as for ProgramRun.
void expectFirstStart(const std::string& folder, const std::string& exe = "")
{
    ProgramRun program(folder, exe);
    BoxWatch boxes({IDOK, IDOK}, program.processId());
    program.resume();

    ASSERT_TRUE(boxes.waitFor(2)) << "two boxes were expected, saw " << boxes.seen().size();
    std::vector<SeenBox> seen = boxes.seen();
    EXPECT_EQ(seen[0].text, kUnreadable) << "first box: " << utf8(seen[0].text);
    EXPECT_EQ(seen[1].text, kOffer) << "second box: " << utf8(seen[1].text);
    EXPECT_EQ(seen[1].caption, "エラー");
    EXPECT_TRUE(seen[1].hasOk) << "the offer has OK and Cancel";
    EXPECT_TRUE(seen[1].hasCancel) << "the offer has OK and Cancel";

    HWND window = program.waitWindow("TForm");
    ASSERT_NE(window, nullptr) << "the main window did not appear";
    char title[64] = "";
    GetWindowTextA(window, title, sizeof title);
    EXPECT_STREQ(title, "ポコポン");
    RECT r;
    GetWindowRect(window, &r);
    EXPECT_EQ(r.right - r.left, 660);
    EXPECT_EQ(r.bottom - r.top, 540);
    EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 660) / 2) << "the window is centred";
    EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - 540) / 2);

    ExpectDefaultSet(folder + "\\", DefaultSetState::Normalised);

    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.waitExit(), 0u) << "closing the window ends the program with code 0";
    EXPECT_EQ(boxes.seen().size(), 2u) << "no further box";
}

}  // namespace

TEST(ProgramStart, FirstStartOffersAndWritesTheDefaultSet)
{
    expectFirstStart(runFolder("first"));
}

TEST(ProgramStart, FolderNameWithBackslashTrailBytes)
{
    // 表 and ソ end in the byte 0x5C, a backslash when read byte by byte.
    expectFirstStart(runFolder("表示ソフト"));
}

TEST(ProgramStart, FromTheUnpackedRelease)
{
    // release_unpack.sh, which ctest runs first, unpacked the 64-bit zip here.
    const std::string folder = ExeFolder() + "release";
    for (const char* file : {"pokopon.exe", "pkpexport.exe", "README.txt", "LICENSE.txt", "LICENSE-sounds.txt"})
        ASSERT_TRUE(FileExists(folder + "\\" + file)) << file << " is not in the zip";
    expectFirstStart(folder, folder + "\\pokopon.exe");
}

TEST(ProgramStart, CancelEndsBeforeAnythingIsWritten)
{
    std::string folder = runFolder("cancel");
    ProgramRun program(folder);
    BoxWatch boxes({IDOK, IDCANCEL}, program.processId());
    program.resume();
    // Start-up ends at the answer: no slot list, and no kit, ever shows.
    bool builtOn = false;
    DWORD code;
    while ((code = program.waitExit(10)) == STILL_ACTIVE)
        builtOn = builtOn || FindProcessWindow(program.processId(), "LayeredWindow")
                  || FindProcessWindow(program.processId(), "TForm", [](HWND w) {
                         return FindWindowExA(w, nullptr, "STATIC", nullptr) != nullptr;
                     });
    EXPECT_EQ(code, 0u) << "Cancel ends the program with code 0";
    EXPECT_FALSE(builtOn) << "start-up went on after Cancel";
    ASSERT_EQ(boxes.seen().size(), 2u);
    EXPECT_EQ(boxes.seen()[1].text, kOffer);
    EXPECT_FALSE(FileExists(folder + "\\sounds")) << "Cancel writes nothing";
}

TEST(ProgramStart, BadRowIsReportedAndEndsTheProgram)
{
    std::string folder = runFolder("badrow");
    CreateDirectoryA((folder + "\\sounds").c_str(), nullptr);
    WriteFileBytes(folder + "\\sounds\\Setting.csv", "44100,,,,\r\n4294967295,,,,\r\n"
                                                     "sounds\\none.wav,20,128,128,DR_BASS1\r\n");
    ProgramRun program(folder);
    BoxWatch boxes({}, program.processId());
    program.resume();
    EXPECT_EQ(program.waitExit(), 0u) << "the program ends by itself after the message";
    ASSERT_EQ(boxes.seen().size(), 1u);
    EXPECT_EQ(boxes.seen()[0].text, "2行目のファイル名が読み込めません") << utf8(boxes.seen()[0].text);
    EXPECT_EQ(ReadFileBytes(folder + "\\sounds\\Setting.csv"),
              "44100\r\n4294967295\r\nsounds\\none.wav,20,128,128,DR_BASS1\r\n")
        << "the file is rewritten with its row kept";
}

TEST(ProgramStart, ASettingsFileHeldByAnotherProgramIsToldAndNothingIsWritten)
{
    std::string folder = toneFolder("held", "44100\r\n4294967295\r\n");
    WriteFileBytes(folder + "\\sounds\\bass2.wav", "my own bass");
    // A spreadsheet showing a CSV holds it without sharing.
    HANDLE held = CreateFileA((folder + "\\sounds\\Setting.csv").c_str(), GENERIC_READ, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ProgramRun program(folder);
    BoxWatch boxes({}, program.processId());
    program.resume();
    EXPECT_EQ(program.waitExit(), 0u) << "the program ends after telling why";
    CloseHandle(held);
    ASSERT_EQ(boxes.seen().size(), 1u) << "one box, and no offer of the default set";
    EXPECT_EQ(boxes.seen()[0].text,
              "設定ファイルが読み込めません\n他のプログラムが使用中です。そのプログラムを閉じてください。")
        << utf8(boxes.seen()[0].text);
    EXPECT_EQ(ReadFileBytes(folder + "\\sounds\\bass2.wav"), "my own bass");
}

TEST(ProgramStart, ARateNoOutputOpensAtIsToldAndTheProgramRuns)
{
    // A header an editor turned into text: no number, rate 0.
    std::string folder =
        toneFolder("norate", "rate\r\n4294967295\r\nsounds\\tone.wav,20,127,127,DR_SNARE2\r\n");
    ProgramRun program(folder);
    BoxWatch boxes({}, program.processId());
    program.resume();
    ASSERT_TRUE(boxes.waitFor(1)) << "the silent output was not told";
    EXPECT_EQ(boxes.seen()[0].text, "音声出力を0Hzで開けません。\n設定ファイルの1行目を確かめてください。")
        << utf8(boxes.seen()[0].text);
    EXPECT_EQ(boxes.seen()[0].caption, "エラー");
    HWND window = program.waitWindow("TForm");
    ASSERT_NE(window, nullptr) << "the program goes on after the message";
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.waitExit(), 0u);
}

// A header that once made the MP3 codec divide by zero in the middle of
// start-up, so that no kit was built: now one message names the slot and why.
TEST(ProgramStart, ASampleThatCannotPlayIsToldAndTheKitIsBuilt)
{
    std::string folder = toneFolder("broken", "44100\r\n4294967295\r\nsounds\\tone.wav,41,127,127,DR_SNARE2\r\n"
                                              "sounds\\mp3.wav,42,127,127,DR_BASS1\r\n");
    WriteFileBytes(folder + "\\sounds\\mp3.wav",
                   RiffWave(Chunk("fmt ", "\x55\0\x01\0\x40\x1F\0\0\x01\0\0\0\x01\0\0\0\0\0"s) + Chunk("data", std::string(4000, 'm'))));
    ProgramRun program(folder);
    BoxWatch boxes({IDOK}, program.processId());
    program.resume();
    ASSERT_TRUE(boxes.waitFor(1)) << "the silent slot was not told";
    EXPECT_EQ(boxes.seen()[0].text, "次のスロットは音が出ません。\n\nB  sounds\\mp3.wav\n    ファイルが壊れているか、WAVファイルではありません\n")
        << utf8(boxes.seen()[0].text);
    HWND window = program.waitWindow("TForm");
    ASSERT_NE(window, nullptr);
    EXPECT_NE(WaitProcessWindow(program.processId(), "LayeredWindow", 5000), nullptr) << "no kit was built";
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.waitExit(), 0u);
}

TEST(ProgramStart, TheKitIsStackedWithTheBassLowestAndTheCowbellOnTop)
{
    std::string folder =
        toneFolder("stacking", "44100\r\n4294967295\r\nsounds\\tone.wav,20,127,127,DR_BASS1\r\n");
    ProgramRun program(folder);
    program.resume();
    HWND window = program.waitWindow("TForm");
    ASSERT_NE(window, nullptr);
    // The kit's windows from the bottom of the stack up, each named by the
    // place it stands at (the ride and its bell share one).
    auto placeOf = [](int x, int y) { return std::to_string(x) + "," + std::to_string(y); };
    std::string expected, seen;
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    for (int part : kKitStackingOrder) {
        ScreenPoint at = kitScreenPosition(kKitLayout[part].designX, kKitLayout[part].designY,
                                           width, height);
        expected += placeOf(at.x, at.y) + " ";
    }
    for (HWND w = GetWindow(window, GW_HWNDLAST); w; w = GetWindow(w, GW_HWNDPREV)) {
        char name[32] = "";
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        RECT r;
        if (owner == program.processId() && GetClassNameA(w, name, sizeof name) &&
            std::string(name) == "LayeredWindow" && GetWindowRect(w, &r))
            seen += placeOf(r.left, r.top) + " ";
    }
    EXPECT_EQ(seen, expected);
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.waitExit(), 0u);
}

TEST(ProgramWindow, AboutBoxIsModalAndEscClosesIt)
{
    std::string folder =
        toneFolder("about", "44100\r\n4294967295\r\nsounds\\tone.wav,20,127,127,DR_BASS1\r\n");
    ProgramRun program(folder);
    program.resume();
    HWND window = program.waitWindow("TForm");
    ASSERT_NE(window, nullptr) << "the main window did not appear";

    // A picture of the running program, above the windows of tests beside it.
    Sleep(1000);
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Sleep(300);
    RECT area;
    GetWindowRect(window, &area);
    EXPECT_TRUE(SaveScreenshot(area, "main_window.bmp")) << "no screenshot of the main window";

    PostMessageA(window, WM_COMMAND, 104, 0);
    HWND box = program.waitWindow("#32770", "バージョン情報", 10000);
    ASSERT_NE(box, nullptr) << "command 104 showed no box captioned バージョン情報";
    char text[128] = "";
    GetDlgItemTextA(box, 104, text, sizeof text);
    EXPECT_STREQ(text, "ポコポン Ver 0.9.2") << "name line " << utf8(text);
    EXPECT_NE(SendMessageA(GetDlgItem(box, 109), STM_GETICON, 0, 0), 0) << "the icon control shows no icon";
    EXPECT_EQ(GetWindow(box, GW_OWNER), window) << "the box belongs to the main window";
    EXPECT_FALSE(IsWindowEnabled(window)) << "the main window takes no input while the box is open";

    // Esc as the box's focused button receives it.
    PostMessageA(GetDlgItem(box, IDOK), WM_KEYDOWN, VK_ESCAPE, 0);
    for (DWORD start = GetTickCount(); IsWindow(box) && GetTickCount() - start < 5000;)
        Sleep(20);
    EXPECT_FALSE(IsWindow(box)) << "Esc did not close the box";
    EXPECT_TRUE(IsWindowEnabled(window)) << "the main window is enabled again";
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.waitExit(), 0u);
}

// The exporter on bad input, and cancelled: the program's own answers, and
// no file written. A read-only NAME.wav stands for a place it cannot write.
TEST(ProgramExport, BadInputAndCancelWriteNothing)
{
    const std::string bound = "44100\r\n4294967295\r\nsounds\\tone.wav,41,127,127,DR_SNARE1\r\n";
    const std::string pressA = "PKPN00"s + "A\0\0A"s;
    // The longest take, every step a hit: long enough to show its progress.
    std::string longest = "PKPN00";
    for (int step = 0; step < 250000; ++step)
        longest += "A\0\0A"s;
    struct Case {
        const char* name;
        std::string settings;  // empty: no sounds folder at all
        std::string take;
        std::vector<int> answers;
        std::string firstBox;  // how its first box starts
    } cases[] = {
        {"not a performance", bound, "RIFF....WAVE", {}, "このソフトウェアで作成したファイルではありません。"},
        {"no Setting.csv", "", pressA, {}, kUnreadable},
        {"a bound sample that cannot play", bound + "sounds\\bad.wav,42,127,127,DR_SNARE2\r\n",
         "PKPN00"s + "B\0\0B"s, {}, "次のスロットは音が出ません。"},
        {"a file it cannot replace", bound, pressA, {IDYES}, "take.wav\nは既にあります。"},
        {"cancelled", bound, longest, {IDCANCEL}, ""},
    };
    for (const Case& c : cases) {
        std::string folder = c.settings.empty() ? runFolder("export") : toneFolder("export", c.settings);
        WriteFileBytes(folder + "\\sounds\\bad.wav", WavBytes({.tag = 0x55AA}, std::string(400, 'x')));
        WriteFileBytes(folder + "\\take.pkp", c.take);
        const bool readOnly = c.answers == std::vector<int>{IDYES};
        if (readOnly) {
            WriteFileBytes(folder + "\\take.wav", "mine");
            SetFileAttributesA((folder + "\\take.wav").c_str(), FILE_ATTRIBUTE_READONLY);
        }
        std::string exporter = BuiltProgram();
        exporter.replace(exporter.find_last_of('\\') + 1, std::string::npos, "pkpexport.exe");
        ProgramRun run(folder, exporter, "\"" + folder + "\\take.pkp\"");
        BoxWatch boxes(c.answers, run.processId());
        run.resume();
        EXPECT_EQ(run.waitExit(60000), 1u) << c.name;
        std::vector<SeenBox> seen = boxes.seen();
        ASSERT_FALSE(seen.empty()) << c.name << ": no box";
        EXPECT_EQ(seen[0].text.substr(0, c.firstBox.size()), c.firstBox) << c.name << ": " << utf8(seen[0].text);
        if (readOnly) {
            ASSERT_EQ(seen.size(), 2u) << c.name;
            EXPECT_NE(seen[1].text.find("保存できませんでした。"), std::string::npos) << utf8(seen[1].text);
        }
        EXPECT_EQ(ReadFileBytes(folder + "\\take.wav"), readOnly ? "mine" : "") << c.name;
        EXPECT_EQ(GetFileAttributesA((folder + "\\take.mid").c_str()), INVALID_FILE_ATTRIBUTES) << c.name;
        SetFileAttributesA((folder + "\\take.wav").c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}
