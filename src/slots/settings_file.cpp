#include "slots/settings_file.h"

#include <windows.h>

#include <clocale>
#include <cstring>
#include <string>

#include "slots/sample_path.h"
#include "slots/settings_messages.h"
#include "slots/settings_text.h"
#include "slots/sound_slot.h"
#include "util/file_contents.h"
#include "util/file_errors.h"
#include "util/file_handles.h"
#include "util/message_boxes.h"
#include "util/program_folder.h"
#include "util/quit_request.h"
#include "util/scoped_guards.h"

namespace {

constexpr char kSettingsName[] = "sounds\\Setting.csv";

// The part of the file after the rows that the last read did not take.
std::string unreadTail;
// The file's bytes as this program last read or wrote them; other bytes on
// disk were written by someone else since.
std::string knownText;
bool knownRead = false;
bool lastReadKeptFile = false;  // the last read left something out of the table

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

// Shows one message per row whose sample is not a file of this machine,
// cannot be opened or is too large.
bool checkSamples(const SettingsRead& read)
{
    bool ok = true;
    for (int i = 0; i < read.slotCount; ++i) {
        // Never opened when not local: it would reach the network or a device.
        const bool local = isLocalFilePath(soundSlots[i].path);
        OwnedHandle h(local ? OpenForRead(soundSlots[i].path) : nullptr);
        LARGE_INTEGER size;
        const char* problem = nullptr;
        if (!local)
            problem = kMsgSampleNotLocal;
        else if (!h.get())
            problem = kMsgSampleUnreadable;
        else if (GetFileSizeEx(h.get(), &size) && size.QuadPart > kMaxSampleFileBytes)
            problem = kMsgSampleTooLarge;
        if (problem) {
            ShowError(lineMessage(problem, read.lineOf[i]).c_str());
            ok = false;
        }
    }
    return ok;
}

// The table into the file; ERROR_SUCCESS or why it could not be written.
DWORD writeSettings()
{
    std::string path;
    std::setlocale(LC_CTYPE, "japanese");
    std::string text = formatSettings(soundSlots, sampleRate, masterVolume, unreadTail);
    DWORD error = enterProgramFolder(&path)
                      ? ReplaceFileContents(path.c_str(), text.data(), text.size())
                      : GetLastError();
    if (error == ERROR_SUCCESS)
        knownText = text;
    return error;
}

}  // namespace

SettingsLoad loadSettings(bool mayRewrite)
{
    std::string path;
    std::string text;
    if (!enterProgramFolder(&path) || !ReadWholeFile(path.c_str(), &text)) {
        DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
            ShowError(kMsgSettingsUnreadable);
            return SettingsLoad::Missing;
        }
        // Not absence: the file is there and is the user's, whatever holds it.
        ShowError((std::string(kMsgSettingsUnreadable) + "\n" + FileErrorReason(error)).c_str());
        return SettingsLoad::Unreadable;
    }

    knownText = text;
    knownRead = true;
    SettingsRead read = parseSettings(text, soundSlots);
    lastReadKeptFile = read.keepFile;
    unreadTail = read.unreadTail;
    sampleRate = read.sampleRate;
    masterVolume = read.masterVolume;
    slotCount = read.slotCount;
    for (const RowReport& report : read.reports)
        ShowError(rowMessage(report).c_str());
    bool ok = checkSamples(read) && read.reports.empty();

    // Each read normalises the file, unless that would drop or change what the
    // table could not hold: that stays in the file for the user to mend. A
    // file already in its normal form is not written at all, and one that
    // cannot be written now (read-only, or held by another program) reads the
    // same as it is: the program starts either way.
    if (mayRewrite && !read.keepFile && formatSettings(soundSlots, sampleRate, masterVolume, unreadTail) != text)
        writeSettings();
    // The quit is requested last, so that no message box of the save is
    // dismissed by a quit message already waiting.
    if (!ok)
        RequestQuit();
    return SettingsLoad::Read;
}

void saveSettings()
{
    DWORD error = writeSettings();
    if (error != ERROR_SUCCESS) {
        ShowError((std::string(kMsgSettingsUnwritable) + "\n" + FileErrorReason(error)).c_str());
        RequestQuit();
    }
}

bool rereadIfChangedOutside()
{
    std::string path;
    std::string text;
    // A file that is gone or cannot be read now has nothing to keep: the
    // write that follows puts the table back, or says why it cannot.
    if (!knownRead || !enterProgramFolder(&path) || !ReadWholeFile(path.c_str(), &text)
        || text == knownText)
        return true;
    ShowError(kMsgChangedOutside);
    loadSettings();
    // What the table could not hold of the edit stays in the file, unwritten.
    return !lastReadKeptFile;
}
