#include "slots/sample_path.h"

#include <string_view>

#include "util/path_split.h"
#include "util/shift_jis.h"

namespace {

bool isSlash(char c) { return c == '\\' || c == '/'; }

char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool isDeviceName(std::string_view name)
{
    // Windows reads "nul.wav" and "NUL  " as NUL.
    name = name.substr(0, name.find('.'));
    while (!name.empty() && name.back() == ' ')
        name.remove_suffix(1);
    char key[8] = {};
    if (name.size() >= sizeof key)
        return false;
    for (size_t i = 0; i < name.size(); ++i)
        key[i] = upper(name[i]);
    std::string_view k(key, name.size());
    if (k == "CON" || k == "PRN" || k == "AUX" || k == "NUL" || k == "CONIN$" || k == "CONOUT$")
        return true;
    return k.size() == 4 && (k.substr(0, 3) == "COM" || k.substr(0, 3) == "LPT") && k[3] >= '1'
           && k[3] <= '9';
}

}  // namespace

bool isLocalFilePath(const char* path)
{
    if (isSlash(path[0]) && isSlash(path[1]))
        return false;
    size_t name = nameOffset(
        path,
        [](const char* p) {
            return p + (isShiftJisLead(static_cast<unsigned char>(*p)) && p[1] ? 2 : 1);
        },
        isShiftJisLead);
    return !isDeviceName(path + name);
}
