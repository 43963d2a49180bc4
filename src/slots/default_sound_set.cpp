#include "slots/default_sound_set.h"

#include <windows.h>

#include "util/file_handles.h"

namespace {

struct DefaultItem {
    const char* type;
    int id;
    const char* path;
};

const DefaultItem kDefaultItems[] = {
    {"CSV", 196, "sounds\\Setting.csv"},
    {"WAVE", 197, "sounds\\bass2.wav"},
    {"WAVE", 198, "sounds\\china1.wav"},
    {"WAVE", 199, "sounds\\china2.wav"},
    {"WAVE", 200, "sounds\\crash1.wav"},
    {"WAVE", 201, "sounds\\crash2.wav"},
    {"WAVE", 202, "sounds\\HHclose1.wav"},
    {"WAVE", 203, "sounds\\HHclose2.wav"},
    {"WAVE", 204, "sounds\\HHopen.wav"},
    {"WAVE", 205, "sounds\\ride.wav"},
    {"WAVE", 206, "sounds\\ride_h.wav"},
    {"WAVE", 207, "sounds\\rim.wav"},
    {"WAVE", 208, "sounds\\snr1.wav"},
    {"WAVE", 209, "sounds\\snr2.wav"},
    {"WAVE", 210, "sounds\\snr3.wav"},
    {"WAVE", 211, "sounds\\snr4.wav"},
    {"WAVE", 212, "sounds\\splash.wav"},
    {"WAVE", 213, "sounds\\tam1e.wav"},
    {"WAVE", 214, "sounds\\tam2e.wav"},
    {"WAVE", 215, "sounds\\tam3e.wav"},
    {"WAVE", 216, "sounds\\tamh2.wav"},
    {"WAVE", 217, "sounds\\taml2.wav"},
    {"WAVE", 218, "sounds\\tamm2.wav"},
    {"WAVE", 252, "sounds\\cowbell.wav"},
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
