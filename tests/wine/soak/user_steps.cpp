#include "soak/user_steps.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "res/resource_ids.h"
#include "slots/key_names.h"
#include "support/test_folder.h"
#include "support/window_find.h"
#include "support/x_input.h"

namespace {

constexpr int kEditCommand = 0, kDeleteCommand = 1;  // places in a row's menu
constexpr int kViewport = 45457;
constexpr int kFirstRow = 1001;

std::string point(POINT at)
{
    return std::to_string(at.x) + " " + std::to_string(at.y);
}

POINT centre(HWND w, int dx = 0)
{
    RECT r;
    GetWindowRect(w, &r);
    return {dx ? r.left + dx : (r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

std::string text(HWND w, int id)
{
    char buffer[300] = "";
    GetDlgItemTextA(w, id, buffer, sizeof buffer);
    return buffer;
}

bool gone(HWND w, DWORD timeoutMs)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs; Sleep(20))
        if (!IsWindowVisible(w))
            return true;
    return false;
}

// A place in the main window below the slot list, where nothing else lies.
POINT emptySpot(const Program& p)
{
    RECT r;
    GetWindowRect(p.window, &r);
    return {r.left + 40, r.bottom - 40};
}

// A click on the main window gives it the keyboard: a window of the kit, or
// a dialog that closed, may have taken it.
bool takeKeyboard(const Program& p)
{
    return Xdotool("mousemove " + point(emptySpot(p)) + " click 1") && FocusProgramWindow(p.window);
}

}  // namespace

bool RowMenu(const Program& p, int row, int place)
{
    HWND panel = GetWindow(GetDlgItem(p.window, kViewport), GW_CHILD);
    HWND button = GetDlgItem(panel, kFirstRow + row);
    if (!button || !IsWindowVisible(button) || !takeKeyboard(p))
        return false;
    if (!Xdotool("mousemove " + point(centre(button, 200)) + " click 3"))
        return false;
    if (!WaitProcessWindow(p.process, "#32768", 3000))
        return false;
    if (place < 0)
        return true;
    std::string keys = "key";
    for (int i = 0; i <= place; ++i)
        keys += " Down";
    return Xdotool(keys + " Return");
}

void Command(const Program& p, int id)
{
    PostMessageA(p.window, WM_COMMAND, id, 0);
}

bool OpenThroughDialog(const Program& p, const std::string& name)
{
    Command(p, IDM_OPEN);
    return TypeIntoFileDialog(p.process, name);
}

bool DropFile(const Program& p, const std::string& path)
{
    return RunUnix(std::string(XDND_DROP) + " " + point(emptySpot(p)) + " '" + ToUnixPath(path) +
                   "'");
}

bool TypeKeys(const Program& p, const std::string& keys)
{
    return takeKeyboard(p) && Xdotool("key --delay 8 " + keys);
}

std::optional<std::string> EditRow(const Program& p, int row, int volume, const char* newKey)
{
    if (!RowMenu(p, row, kEditCommand))
        return std::nullopt;
    HWND dialog = WaitProcessWindow(p.process, "#32770", 5000,
                                    [](HWND w) { return GetDlgItem(w, IDC_VOLUME) != nullptr; });
    if (!dialog)
        return std::nullopt;
    std::string typing;
    if (newKey)
        typing = "mousemove " + point(centre(GetDlgItem(dialog, IDC_KEY))) + " click 1 key " +
                 newKey + " ";
    typing += "mousemove " + point(centre(GetDlgItem(dialog, IDC_VOLUME))) +
              " click 1 key End BackSpace BackSpace BackSpace";
    if (!Xdotool(typing) || !Xdotool("type " + std::to_string(volume)))
        return std::nullopt;
    // The keys are handled after xdotool returns: the VOL field shows when
    // all of them have been, the KEY field's before it.
    for (DWORD start = GetTickCount(); text(dialog, IDC_VOLUME) != std::to_string(volume);
         Sleep(20))
        if (GetTickCount() - start > 3000)
            return std::nullopt;
    // What the dialog will store: the fields as they stand when OK is pressed.
    char title[64] = "";
    GetWindowTextA(dialog, title, sizeof title);
    char line[400];
    std::snprintf(line, sizeof line, "%s,%x,%d,%d,%s", text(dialog, IDC_PATH).c_str(),
                  keyNameCode(text(dialog, IDC_KEY_NAME).c_str()),
                  std::atoi(text(dialog, IDC_VOLUME).c_str()),
                  std::atoi(text(dialog, IDC_PAN).c_str()), title);
    if (!Xdotool("key Return") || !gone(dialog, 5000))
        return std::nullopt;
    return line;
}

bool DeleteRow(const Program& p, int row)
{
    return RowMenu(p, row, kDeleteCommand);
}

int CancelOpenDialogs(const Program& p)
{
    int count = 0;
    while (HWND dialog = FindProcessWindow(p.process, "#32770", [](HWND w) {
               return FindWindowExA(w, nullptr, "Edit", nullptr) != nullptr ||
                      GetDlgItem(w, 0x47C) != nullptr;
           })) {
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        if (!gone(dialog, 3000))
            break;
        ++count;
    }
    return count;
}
