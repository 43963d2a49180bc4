// pkpexport.exe: renders a performance file to NAME.wav and NAME.mid beside
// it, against the bindings of sounds\Setting.csv in its own folder, which is
// the program's.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/silent_slots.h"
#include "audio/sample_set.h"
#include "export/export_job.h"
#include "export/export_progress.h"
#include "export/midi_file.h"
#include "export/wav_header.h"
#include "keylog/performance_format.h"
#include "slots/settings_file.h"
#include "util/file_handles.h"
#include "util/file_dialogs.h"
#include "util/file_errors.h"
#include "util/message_boxes.h"
#include "util/path_names.h"
#include "util/program_title.h"
#include "util/quit_request.h"

namespace {

// The file Explorer passes (quoted) when one is dropped on the icon, the one
// given on the command line, or one chosen in the open dialog. Made a full
// path: reading the settings makes the program folder the current one.
bool choosePerformance(const char* commandLine, char (&path)[MAX_PATH])
{
    while (*commandLine == ' ' || *commandLine == '\t')
        ++commandLine;
    std::string given = commandLine;
    if (!given.empty() && given[0] == '"')
        given = given.substr(1, given.find('"', 1) - 1);
    while (!given.empty() && (given.back() == ' ' || given.back() == '\t'))
        given.pop_back();
    if (given.empty()) {
        char chosen[kDialogPathSize] = "";
        HANDLE file = OpenFileDialogCopyPath(nullptr, kPerformanceOpenFilter, chosen);
        if (!file)
            return false;
        CloseHandle(file);
        given = chosen;
    }
    DWORD n = GetFullPathNameA(given.c_str(), MAX_PATH, path, nullptr);
    return n > 0 && n < MAX_PATH;
}

// The records the playback buffer would hold, read as the program reads
// them: a file of any size dropped by mistake is never read whole.
bool readPerformance(const char* path, std::vector<PerformanceRecord>* records)
{
    char head[kMagicSize] = {};
    DWORD got = 0;
    LARGE_INTEGER size = {};
    DWORD attributes = GetFileAttributesA(path);
    const bool folder = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    HANDLE file = folder ? nullptr : OpenForRead(path);
    if (!file && !folder) {
        ShowError(("ファイルを開けません。\n" + FileErrorReason(GetLastError())).c_str());
        return false;
    }
    bool accepted = file && GetFileSizeEx(file, &size) && ReadFile(file, head, kMagicSize, &got, nullptr)
                    && hasPerformanceMagic(head, got);
    if (accepted) {
        records->resize(performanceRecordCount(static_cast<uint64_t>(size.QuadPart)));
        DWORD wanted = static_cast<DWORD>(records->size() * sizeof(PerformanceRecord));
        accepted = ReadFile(file, records->data(), wanted, &got, nullptr) && got == wanted;
    }
    if (file)
        CloseHandle(file);
    if (!accepted) {
        ShowError(kMsgNotPerformance);
        return false;
    }
    if (performanceIsCut(static_cast<uint64_t>(size.QuadPart)))
        ShowInfoCaptioned(kExporterTitle, cutMessage().c_str());
    return true;
}

// Asks before a file of either name is replaced.
bool mayReplace(const std::string& wav, const std::string& mid)
{
    std::string there;
    for (const std::string* path : {&wav, &mid})
        if (GetFileAttributesA(path->c_str()) != INVALID_FILE_ATTRIBUTES)
            there += std::string(FileNamePart(path->c_str())) + "\n";
    return there.empty() || AskYesNo(kExporterTitle, (there + "は既にあります。\n置き換えますか?").c_str()) == IDYES;
}

void tellWritten(const std::string& wav, const std::string& mid, const PerformanceRender& render, uint32_t rate)
{
    const uint64_t millis = render.frames() * 1000 / rate;
    char text[1024];
    char clipped[128] = "音割れ: なし";
    if (render.clipped())
        std::snprintf(clipped, sizeof clipped, "音割れ: %llu サンプル (16ビットに収めました)",
                      static_cast<unsigned long long>(render.clipped()));
    std::snprintf(text, sizeof text, "書き出しました。\n\n%s\n    長さ %llu分%02llu.%03llu秒、%uHz ステレオ\n    %s\n%s\n    %zu 音\n",
                  FileNamePart(wav.c_str()), static_cast<unsigned long long>(millis / 60000),
                  static_cast<unsigned long long>(millis / 1000 % 60), static_cast<unsigned long long>(millis % 1000),
                  rate, clipped, FileNamePart(mid.c_str()), render.hits().size());
    ShowInfoCaptioned(kExporterTitle, text);
}

int exportPerformance(const char* commandLine)
{
    char path[MAX_PATH];
    std::vector<PerformanceRecord> records;
    if (!choosePerformance(commandLine, path) || !readPerformance(path, &records))
        return 1;
    // The program's own read, with its messages; the file is left as it is.
    if (loadSettings(false) != SettingsLoad::Read || QuitRequested())
        return 1;
    if (sampleRate == 0) {
        reportRefusedRate(sampleRate);
        return 1;
    }
    SampleSet samples;
    samples.load(soundSlots, slotCount);
    RenderSample sounds[kSlotTableSize];
    for (int i = 0; i < kSlotTableSize; ++i)
        sounds[i] = {reinterpret_cast<const int16_t*>(samples.data(i)), samples.length(i) / 4};
    PerformanceRender render(soundSlots, slotCount, sounds, sampleRate, masterVolume, records.data(),
                             static_cast<uint32_t>(records.size()));

    uint64_t used = 0;
    for (const RenderHit& hit : render.hits())
        used |= uint64_t{1} << soundSlots[hit.slot].slotIndex;
    if (reportSilentSlots(samples, used))
        return 1;
    if (render.hits().empty()) {
        ShowError("この演奏には、いま割り当てられているキーが記録されていません。");
        return 1;
    }
    if (render.frames() > kMostWavFrames) {
        ShowError("この演奏は長すぎて、WAVファイルに書き出せません。");
        return 1;
    }

    std::string base = path;
    const size_t name = FileNamePart(path) - path;
    const size_t dot = base.rfind('.');
    if (dot != std::string::npos && dot > name)
        base.resize(dot);
    const std::string wav = base + ".wav", mid = base + ".mid";
    if (!mayReplace(wav, mid))
        return 1;

    ExportJob job(render, sampleRate, midiFileBytes(render.hits(), soundSlots), wav.c_str(), mid.c_str());
    if (job.start())
        WaitWithProgress(job, render.frames(), FileNamePart(wav.c_str()));
    if (job.result() == ERROR_CANCELLED)
        return 1;
    if (job.result() != ERROR_SUCCESS) {
        ShowError((std::string(FileNamePart(job.failedPath())) + "\n保存できませんでした。\n"
                   + FileErrorReason(job.result()))
                      .c_str());
        return 1;
    }
    tellWritten(wav, mid, render, sampleRate);
    return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int)
{
    return exportPerformance(commandLine);
}
