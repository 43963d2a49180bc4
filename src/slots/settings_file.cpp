#include "slots/settings_file.h"

#include <windows.h>

#include <clocale>
#include <cstring>
#include <string>

#include "slots/settings_messages.h"
#include "slots/settings_text.h"
#include "slots/sound_slot.h"
#include "util/file_contents.h"
#include "util/file_handles.h"
#include "util/message_boxes.h"
#include "util/program_folder.h"

namespace {

constexpr char kSettingsName[] = "sounds\\Setting.csv";
constexpr LONGLONG kMaxSampleBytes = 4000000;

// The part of the file after the rows that the last read did not take.
std::string unreadTail;

// Makes the program folder the current directory, so that the sample paths in
// the file resolve against it, and builds the file's full path.
bool enterProgramFolder(std::string* settingsPath)
{
    char folder[1024];
    if (!GetProgramFolder(folder, sizeof folder))
        return false;
    SetCurrentDirectoryA(folder);
    *settingsPath = std::string(folder) + kSettingsName;
    return true;
}

// Shows one message per row whose sample cannot be opened or is too large.
bool checkSamples(const SettingsRead& read)
{
    bool ok = true;
    for (int i = 0; i < read.slotCount; ++i) {
        HANDLE h = OpenForRead(soundSlots[i].path);
        if (!h) {
            ShowError(lineMessage(kMsgSampleUnreadable, read.lineOf[i]).c_str());
            ok = false;
            continue;
        }
        LARGE_INTEGER size;
        if (GetFileSizeEx(h, &size) && size.QuadPart > kMaxSampleBytes) {
            ShowError(lineMessage(kMsgSampleTooLarge, read.lineOf[i]).c_str());
            ok = false;
        }
        CloseAndClear(&h);
    }
    return ok;
}

}  // namespace

bool loadSettings()
{
    std::string path;
    std::string text;
    if (!enterProgramFolder(&path) || !ReadWholeFile(path.c_str(), &text)) {
        ShowError(kMsgSettingsUnreadable);
        return false;
    }

    SettingsRead read = parseSettings(text, soundSlots);
    unreadTail = read.unreadTail;
    sampleRate = read.sampleRate;
    masterVolume = read.masterVolume;
    slotCount = read.slotCount;
    for (const RowReport& report : read.reports)
        ShowError(rowMessage(report).c_str());
    bool ok = checkSamples(read) && read.reports.empty();

    // Each read normalises the file, unless that would drop or change what the
    // table could not hold: that stays in the file for the user to mend.
    if (!read.keepFile)
        saveSettings();
    // The quit is requested last, so that no message box of the save is
    // dismissed by a quit message already waiting.
    if (!ok)
        PostQuitMessage(0);
    return true;
}

void saveSettings()
{
    std::string path;
    std::setlocale(LC_CTYPE, "japanese");
    std::string text = formatSettings(soundSlots, sampleRate, masterVolume, unreadTail);
    if (!enterProgramFolder(&path) || !ReplaceFileContents(path.c_str(), text.data(), text.size())) {
        ShowError(kMsgSettingsUnwritable);
        PostQuitMessage(0);
    }
}
