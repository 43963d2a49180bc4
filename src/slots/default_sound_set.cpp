#include "slots/default_sound_set.h"

#include <windows.h>

#include "res/resource_ids.h"

namespace {

struct DefaultItem {
    const char* type;
    int id;
    const char* path;
};

const DefaultItem kDefaultItems[] = {
    {"CSV", IDR_SETTING_CSV, "sounds\\Setting.csv"},
    {"WAVE", IDR_BASS2_WAV, "sounds\\bass2.wav"},
    {"WAVE", IDR_CHINA1_WAV, "sounds\\china1.wav"},
    {"WAVE", IDR_CHINA2_WAV, "sounds\\china2.wav"},
    {"WAVE", IDR_CRASH1_WAV, "sounds\\crash1.wav"},
    {"WAVE", IDR_CRASH2_WAV, "sounds\\crash2.wav"},
    {"WAVE", IDR_HHCLOSE1_WAV, "sounds\\HHclose1.wav"},
    {"WAVE", IDR_HHCLOSE2_WAV, "sounds\\HHclose2.wav"},
    {"WAVE", IDR_HHOPEN_WAV, "sounds\\HHopen.wav"},
    {"WAVE", IDR_RIDE_WAV, "sounds\\ride.wav"},
    {"WAVE", IDR_RIDE_H_WAV, "sounds\\ride_h.wav"},
    {"WAVE", IDR_RIM_WAV, "sounds\\rim.wav"},
    {"WAVE", IDR_SNR1_WAV, "sounds\\snr1.wav"},
    {"WAVE", IDR_SNR2_WAV, "sounds\\snr2.wav"},
    {"WAVE", IDR_SNR3_WAV, "sounds\\snr3.wav"},
    {"WAVE", IDR_SNR4_WAV, "sounds\\snr4.wav"},
    {"WAVE", IDR_SPLASH_WAV, "sounds\\splash.wav"},
    {"WAVE", IDR_TAM1E_WAV, "sounds\\tam1e.wav"},
    {"WAVE", IDR_TAM2E_WAV, "sounds\\tam2e.wav"},
    {"WAVE", IDR_TAM3E_WAV, "sounds\\tam3e.wav"},
    {"WAVE", IDR_TAMH2_WAV, "sounds\\tamh2.wav"},
    {"WAVE", IDR_TAML2_WAV, "sounds\\taml2.wav"},
    {"WAVE", IDR_TAMM2_WAV, "sounds\\tamm2.wav"},
    {"WAVE", IDR_COWBELL_WAV, "sounds\\cowbell.wav"},
};

}  // namespace

void writeDefaultSoundSet()
{
    // An existing folder is fine, and a failure shows in the read that follows.
    CreateDirectoryA("sounds", nullptr);
    for (const DefaultItem& item : kDefaultItems)
        writeResourceToFile(item.path, item.id, item.type);
}

bool writeResourceToFile(const char* path, int id, const char* type)
{
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), type);
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes)
        return false;
    DWORD size = SizeofResource(module, found);

    // A file of that name is the player's own, perhaps a sample they chose
    // to keep under the default name: it is never replaced.
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, bytes, size, &written, nullptr);
    CloseHandle(file);
    return ok && written == size;
}
