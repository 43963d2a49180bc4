// Drives the real pokopon.exe as a user would through a long seeded random
// run of operations: recordings started and stopped, replays opened through
// the open dialog and by a drop and stopped, rate changes, slots stored and
// deleted through the slot list's menu and the edit dialog (each rebuilds the
// audio engine), key storms over replays, and closing with each answer of the
// unsaved-recording question. After every step the main window must answer
// within 5 s; a hang or an unexpected exit is counted, told with the steps
// that led to it, and the program is started again. sounds\Setting.csv must
// hold exactly what the stores and deletes wrote, checked at every restart
// and at the end. Also: closes over an open row menu, saves that are refused,
// rows an editor adds, second copies, and a recording's clock that must move.
//
// Usage: soak_drive [OPERATIONS [SEED]]. Exit code 1 on any hang, crash or
// lost row.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <iterator>
#include <map>
#include <memory>
#include <mutex>
#include <random>
#include <string>
#include <vector>

#include "res/resource_ids.h"
#include "soak/settings_rows.h"
#include "soak/user_steps.h"
#include "support/box_watch.h"
#include "support/player_end.h"
#include "support/program_run.h"
#include "support/test_folder.h"
#include "support/wav_file.h"
#include "support/x_input.h"

namespace {

constexpr DWORD kAnswerWithinMs = 5000;
constexpr char kCloseQuestion[] = "保存していないデータがあります。\n保存しますか？";
constexpr char kDeleteQuestion[] = "削除しますか？";
constexpr char kSaveRefused[] =
    "保存できませんでした。\nアクセスが拒否されました(読み取り専用か、保護されたフォルダーです)。";
// Drum parts with a kit window and without one (DR_SNARE2 to DR_SNARE4).
constexpr char kStartSettings[] = "44100\r\n4294967295\r\n"
                                  "sounds\\low.wav,20,127,127,DR_BASS1\r\n"
                                  "sounds\\high.wav,4d,110,90,DR_SNARE1\r\n"
                                  "sounds\\high.wav,5a,127,127,DR_HIHAT_CLOSE\r\n"
                                  "sounds\\low.wav,58,100,160,DR_SNARE2\r\n"
                                  "sounds\\high.wav,43,127,127,DR_SNARE3\r\n"
                                  "sounds\\low.wav,56,90,127,DR_SNARE4\r\n";
// Space, M, Z, X, C, V: the keys the rows start with, which the replays play.
const char kReplayKeys[] = {0x20, 0x4D, 0x5A, 0x58, 0x43, 0x56};
const char* const kStormKeys[] = {"space", "m", "z", "x", "c", "v", "a", "s",
                                  "d",     "f", "q", "w", "1", "2", "BackSpace"};
const char* const kNewKeys[] = {"a", "s", "d", "f", "g", "h", "j", "k", "l"};
constexpr size_t kFewestRows = 3, kMostRows = 12;

enum Step { StartRecording, StopRecording, OpenDialog, Drop, StopReplay, Rate, Store, Delete,
            Storm, Close, SaveRefused, OutsideEdit, SecondCopy, MenuClose };
// How often each step is drawn, in the order above.
const std::vector<int> kWeights = {14, 14, 5, 10, 8, 10, 7, 4, 14, 4, 2, 2, 2, 2};
// Taken once each before the draws begin, so that a short run has them all.
const Step kFirstSteps[] = {OutsideEdit, Store, SaveRefused, SecondCopy, MenuClose, StartRecording};

struct Figures {
    int operations = 0, starts = 0, recordingCycles = 0, replays = 0, stores = 0, deletes = 0;
    int closes = 0, hangs = 0, crashes = 0, lost = 0, unexpected = 0, unfinished = 0;
};

std::string folder;
std::mt19937 dice;
unsigned seedUsed;
Figures figures;
SettingsRows rows(kStartSettings);
bool recording = false;
ULONGLONG began = GetTickCount64();

std::unique_ptr<ProgramRun> program;
Program current;
std::string recordingTitle;
ULONGLONG recordingTitleSince = 0;
BoxWatch* boxes;

// Shared with the box watch's thread.
std::mutex logMutex;
std::deque<std::string> history;
std::map<std::string, int> boxCounts;
int closeAnswer = IDCANCEL;

int draw(int below)
{
    return std::uniform_int_distribution<int>(0, below - 1)(dice);
}

void note(const std::string& what)
{
    double seconds = (GetTickCount64() - began) / 1000.0;
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%9.3f s  ", seconds);
    std::lock_guard<std::mutex> lock(logMutex);
    std::printf("%s%s\n", stamp, utf8(what).c_str());
    std::fflush(stdout);
    history.push_back(stamp + what);
    if (history.size() > 40)
        history.pop_front();
}

int boxCount(const std::string& text)
{
    std::lock_guard<std::mutex> lock(logMutex);
    return boxCounts[text];
}

int answerBox(const SeenBox& box)
{
    note("box: " + box.text);
    std::lock_guard<std::mutex> lock(logMutex);
    ++boxCounts[box.text];
    if (box.text == kCloseQuestion)
        return closeAnswer;
    return box.hasOk ? IDOK : box.hasYes ? IDYES : IDCANCEL;
}

void tell(const char* what, const std::string& detail)
{
    std::printf("\n%s (seed %u, operation %d): %s\nthe steps before it:\n", what,
                seedUsed, figures.operations, detail.c_str());
    std::lock_guard<std::mutex> lock(logMutex);
    for (const std::string& line : history)
        std::printf("  %s\n", utf8(line).c_str());
    std::fflush(stdout);
}

std::string exitText(DWORD code)
{
    if (code == STILL_ACTIVE)
        return "it died without an exit code (Wine saw its Unix process die of a signal)";
    char text[32];
    std::snprintf(text, sizeof text, "exit code 0x%lX", code);
    return text;
}

void checkSettings(const char* when)
{
    std::string file = ReadFileBytes(folder + "\\sounds\\Setting.csv");
    SettingsRows::Difference d = rows.compare(file);
    if (!d.lost && !d.unexpected)
        return;
    figures.lost += d.lost;
    figures.unexpected += d.unexpected;
    std::printf("\nSetting.csv %s: %d rows lost or altered, %d unexpected\nexpected:\n%s\nfound:\n%s\n",
                when, d.lost, d.unexpected, utf8(rows.text()).c_str(), utf8(file).c_str());
    // Go on from what the file holds, so that each loss is counted once.
    rows = SettingsRows(file);
}

// Ends the process by its handle when it still runs.
void stopProgram()
{
    program.reset();
}

bool startProgram()
{
    for (int attempt = 0; attempt < 3; ++attempt) {
        program = std::make_unique<ProgramRun>(folder);
        boxes->follow(program->processId());
        program->resume();
        HWND window = program->waitWindow("TForm", nullptr, 30000);
        if (window) {
            // The kit takes the middle of the screen: the window goes to its
            // corner, as a user would drag it, so that its rows are in sight.
            SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            current = {program->processId(), window};
            ++figures.starts;
            note("program started");
            return true;
        }
        bool alive = program->running();
        ++(alive ? figures.hangs : figures.crashes);
        tell(alive ? "HANG" : "CRASH", "no main window after the start");
        stopProgram();
        checkSettings("after a failed start");
    }
    return false;
}

bool restart(const char* why)
{
    stopProgram();
    checkSettings(why);
    return startProgram();
}

// The main window answers, else the program is counted and started again.
bool checkAlive()
{
    if (!program->running()) {
        ++figures.crashes;
        tell("CRASH", "the program ended: " + exitText(program->waitExit(0)));
        return restart("after the crash");
    }
    DWORD_PTR result;
    if (!SendMessageTimeoutA(current.window, WM_NULL, 0, 0, SMTO_NORMAL, kAnswerWithinMs, &result)) {
        ++figures.hangs;
        tell("HANG", "the main window did not answer within 5 s");
        return restart("after the hang");
    }
    // A recording's clock that stands still tells that the timer thread stalled.
    char title[128] = "";
    GetWindowTextA(current.window, title, sizeof title);
    if (!recording || recordingTitle != title)
        recordingTitleSince = GetTickCount64();
    recordingTitle = title;
    if (recording && GetTickCount64() - recordingTitleSince > 10000) {
        ++figures.hangs;
        tell("HANG", "the recording's clock stood still: the timer thread stalled");
        return restart("after the stall");
    }
    return true;
}

void unfinished(const std::string& step)
{
    ++figures.unfinished;
    note("  (did not go through: " + step + ")");
}

void writeProgramFolder()
{
    FreshFolder(folder);
    CreateDirectoryA((folder + "\\sounds").c_str(), nullptr);
    WriteWav(folder + "\\sounds\\low.wav", Tone(200, 0.08, 12000));
    WriteWav(folder + "\\sounds\\high.wav", Tone(1500, 0.05, 9000));
    WriteFileBytes(folder + "\\sounds\\Setting.csv", kStartSettings);
    // 20 s of a key every 4 ms step, and a short one that ends at once.
    std::string dense = "PKPN00", brief = "PKPN00";
    for (int i = 0; i < 5000; ++i) {
        dense += kReplayKeys[i % 6];
        dense += kReplayKeys[(i + 5) % 6];
    }
    for (int i = 0; i < 100; ++i)
        brief += i % 10 ? std::string(2, '\0') : std::string(1, kReplayKeys[i % 6]) + '\0';
    WriteFileBytes(folder + "\\dense.pkp", dense);
    WriteFileBytes(folder + "\\brief.pkp", brief);
    WriteFileBytes(folder + "\\refused.pkp", "PKPN00");
    SetFileAttributesA((folder + "\\refused.pkp").c_str(), FILE_ATTRIBUTE_READONLY);
}

const char* replayName()
{
    return draw(3) ? "dense.pkp" : "brief.pkp";
}

// Returns false when the program ended as the step meant it to.
bool closeProgram()
{
    const int answers[] = {IDCANCEL, IDNO, IDYES};
    int answer = answers[draw(3)];
    {
        std::lock_guard<std::mutex> lock(logMutex);
        closeAnswer = answer;
    }
    const char* names[] = {"", "", "Cancel", "", "", "", "Yes", "No"};
    note("close (a question is answered " + std::string(names[answer]) + ")");
    ++figures.closes;
    int asked = boxCount(kCloseQuestion);
    PostMessageA(current.window, WM_CLOSE, 0, 0);
    for (DWORD start = GetTickCount(); GetTickCount() - start < 3000; Sleep(20))
        if (boxCount(kCloseQuestion) > asked || !program->running())
            break;
    bool question = boxCount(kCloseQuestion) > asked;
    if (question && answer == IDCANCEL)
        return true;
    if (question && answer == IDYES) {
        std::string name = "take" + std::to_string(figures.closes) + ".pkp";
        if (!TypeIntoFileDialog(current.process, name)) {
            unfinished("the save dialog");
            CancelOpenDialogs(current);
            return true;
        }
    }
    for (DWORD start = GetTickCount(); program->running() && GetTickCount() - start < 10000;)
        Sleep(20);
    DWORD code = program->waitExit(0);
    if (program->running()) {
        ++figures.hangs;
        tell("HANG", "the program did not end after it was closed");
    } else if (code != 0) {
        ++figures.crashes;
        tell("CRASH", "closing ended the program: " + exitText(code));
    }
    return false;
}

// One step; false when the program ended by it.
bool step()
{
    std::discrete_distribution<int> which(kWeights.begin(), kWeights.end());
    size_t first = static_cast<size_t>(figures.operations) - 1;
    switch (first < std::size(kFirstSteps) ? kFirstSteps[first] : static_cast<Step>(which(dice))) {
    case StartRecording:
        note("start recording (32799)");
        Command(current, IDM_START_RECORDING);
        recording = true;
        recordingTitleSince = GetTickCount64();  // the clock's ten seconds start now
        break;
    case StopRecording:
        note("stop recording (32800)");
        Command(current, IDM_STOP_RECORDING);
        figures.recordingCycles += recording ? 1 : 0;
        recording = false;
        break;
    case OpenDialog: {
        const char* name = replayName();
        note(std::string("open ") + name + " through the open dialog (32792)");
        ++figures.replays;
        if (!OpenThroughDialog(current, name))
            unfinished("the open dialog");
        recording = false;
        break;
    }
    case Drop: {
        const char* name = replayName();
        note(std::string("drop ") + name);
        ++figures.replays;
        if (!DropFile(current, folder + "\\" + name))
            unfinished("the drop");
        recording = false;
        break;
    }
    case StopReplay:
        note("stop the replay (32795)");
        Command(current, IDM_STOP_PLAYBACK);
        break;
    case Rate: {
        int id = IDM_RATE_MINUS_3 + draw(IDM_RATE_PLUS_3 - IDM_RATE_MINUS_3 + 1);
        note("rate " + std::to_string(id));
        Command(current, id);
        break;
    }
    case Store: {
        int row = draw(static_cast<int>(std::min(rows.count(), kMostRows)));
        const char* key = rows.count() < kMostRows && draw(2) ? kNewKeys[draw(9)] : nullptr;
        int volume = 1 + draw(255);
        note("edit row " + std::to_string(row) + ": VOL " + std::to_string(volume) +
             (key ? std::string(", key ") + key : std::string()));
        if (auto line = EditRow(current, row, volume, key)) {
            note("  stored " + *line);
            rows.store(*line);
            ++figures.stores;
        } else {
            unfinished("the edit");
        }
        break;
    }
    case Delete: {
        if (rows.count() <= kFewestRows)
            return true;
        int row = draw(static_cast<int>(std::min(rows.count(), kMostRows)));
        note("delete row " + std::to_string(row) + ": " + rows.row(row));
        int asked = boxCount(kDeleteQuestion);
        bool deleted = DeleteRow(current, row);
        for (DWORD start = GetTickCount(); deleted && boxCount(kDeleteQuestion) == asked; Sleep(20))
            deleted = GetTickCount() - start < 3000;
        if (deleted) {
            rows.erase(row);
            ++figures.deletes;
        } else {
            unfinished("the delete");
        }
        break;
    }
    case Storm: {
        if (draw(2)) {
            note("drop dense.pkp before the keys");
            DropFile(current, folder + "\\dense.pkp");
            recording = false;
        }
        std::string keys;
        for (int n = 20 + draw(40); n > 0; --n)
            keys += std::string(kStormKeys[draw(std::size(kStormKeys))]) + " ";
        note("keys: " + keys);
        if (!TypeKeys(current, keys))
            unfinished("the keys");
        break;
    }
    case Close:
        recording = false;
        return closeProgram();
    case MenuClose:
        note("a row's menu opened");
        recording = false;
        if (RowMenu(current, 0, -1))
            return closeProgram();
        unfinished("the row menu");
        break;
    case SaveRefused: {
        // Under Wine the save dialog itself crashes on a full tmpfs: the
        // write is refused by a read-only older take instead, as Windows does.
        note("save as (32796) over a read-only take");
        recording = false;
        int refused = boxCount(kSaveRefused);
        Command(current, IDM_SAVE);
        if (!TypeIntoFileDialog(current.process, "refused.pkp")) {
            unfinished("the save dialog");
            break;
        }
        for (DWORD start = GetTickCount(); boxCount(kSaveRefused) == refused && GetTickCount() - start < 5000;)
            Sleep(20);
        if (boxCount(kSaveRefused) == refused || ReadFileBytes(folder + "\\refused.pkp") != "PKPN00") {
            ++figures.lost;
            tell("LOST", "a refused save was not told as failed, or cut the older take");
        }
        break;
    }
    case OutsideEdit: {
        note("an editor adds a row to Setting.csv");
        std::string path = folder + "\\sounds\\Setting.csv";
        std::string text = ReadFileBytes(path) + "sounds\\low.wav,51,99,127,DR_RIM\r\n";
        WriteFileBytes(path, text);
        rows = SettingsRows(text);
        break;
    }
    case SecondCopy: {
        note("a second copy started in the folder");
        ProgramRun second(folder);
        second.resume();
        if (second.waitExit(10000) != 0) {
            ++figures.hangs;
            tell("HANG", "a second copy in the folder did not end at once");
        }
        break;
    }
    }
    if (int left = CancelOpenDialogs(current))
        unfinished(std::to_string(left) + " dialog(s) left open");
    return true;
}

void printFigures()
{
    double seconds = (GetTickCount64() - began) / 1000.0;
    std::printf("\nsoak figures (seed %u)\n", seedUsed);
    std::printf("  operations done:    %d\n", figures.operations);
    std::printf("  program starts:     %d (closes %d)\n", figures.starts, figures.closes);
    std::printf("  recording cycles:   %d\n", figures.recordingCycles);
    std::printf("  replays opened:     %d\n", figures.replays);
    std::printf("  slots stored:       %d, deleted: %d\n", figures.stores, figures.deletes);
    std::printf("  hangs:              %d\n", figures.hangs);
    std::printf("  crashes:            %d\n", figures.crashes);
    std::printf("  lost rows:          %d (unexpected rows %d)\n", figures.lost, figures.unexpected);
    std::printf("  steps not finished: %d\n", figures.unfinished);
    std::printf("  time:               %.0f s\n", seconds);
    std::printf("  message boxes answered:\n");
    for (const auto& [text, count] : boxCounts) {
        std::string line = utf8(text);
        std::replace(line.begin(), line.end(), '\n', ' ');
        std::printf("    %5d  %s\n", count, line.c_str());
    }
    std::fflush(stdout);
}

}  // namespace

int soak(int operations, unsigned seed)
{
    seedUsed = seed;
    dice.seed(seed);
    std::printf("soak: %d operations, seed %u\n", operations, seed);
    std::fflush(stdout);
    folder = ExeFolder() + "soak";
    writeProgramFolder();
    BoxWatch watch(0, answerBox);
    boxes = &watch;
    if (!startProgram())
        return 1;
    while (figures.operations < operations) {
        ++figures.operations;
        bool running = step();
        Sleep(draw(250));
        if (!running ? !restart("after closing") : !checkAlive())
            break;
        if (figures.operations % 100 == 0) {
            std::printf("%d operations: %d hangs, %d crashes\n", figures.operations,
                        figures.hangs, figures.crashes);
            std::fflush(stdout);
        }
    }
    // The end: the program closed without saving, and the file checked.
    {
        std::lock_guard<std::mutex> lock(logMutex);
        closeAnswer = IDNO;
    }
    PostMessageA(current.window, WM_CLOSE, 0, 0);
    program->waitExit(10000);
    stopProgram();
    checkSettings("at the end");
    printFigures();
    return figures.hangs || figures.crashes || figures.lost || figures.unexpected ? 1 : 0;
}

int main(int argc, char** argv)
{
    int operations = argc > 1 ? std::atoi(argv[1]) : 2000;
    unsigned seed = argc > 2 ? static_cast<unsigned>(std::strtoul(argv[2], nullptr, 10))
                             : static_cast<unsigned>(GetTickCount());
    return PlayerEnds(soak(operations, seed));
}

