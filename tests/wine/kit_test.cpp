// The drum kit on the screen, built by the main window made in this process:
// its fifteen windows, lighting with the keys, the look under the pointer,
// clicks, the menu commands and the group behaviour.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "app/key_path.h"
#include "app/panel_viewport.h"
#include "app/process_objects.h"
#include "audio/audio_engine.h"
#include "kit/kit_button.h"
#include "res/resource_ids.h"
#include "slots/part_names.h"
#include "slots/sound_slot.h"
#include "support/message_count.h"
#include "support/program_here.h"
#include "support/screenshot.h"
#include "support/x_input.h"

namespace {

HWND window;

HWND partWindow(int part)
{
    return kitParts[part]->GetHandle();
}

RECT rectOf(int part)
{
    RECT r = {};
    GetWindowRect(partWindow(part), &r);
    return r;
}

int busyChannels()
{
    int busy = 0;
    for (int i = 0; i < kOutputChannels; ++i)
        busy += audioEngine->channel(i).busy ? 1 : 0;
    return busy;
}

void waitIdle()
{
    for (DWORD start = GetTickCount(); busyChannels() && GetTickCount() - start < 3000;)
        Pump(20);
}

// A point of the part's picture, near its centre, where no other window lies
// over it.
POINT visiblePoint(int part)
{
    RECT r = rectOf(part);
    POINT centre = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    for (int radius = 0; radius < 60; radius += 4)
        for (int dx = -radius; dx <= radius; dx += 4)
            for (int dy : {-radius, radius}) {
                POINT at = {centre.x + dx, centre.y + dy};
                if (WindowFromPoint(at) == partWindow(part))
                    return at;
            }
    return centre;
}

bool click(POINT at)
{
    return Xdotool("mousemove " + std::to_string(at.x) + " " + std::to_string(at.y) + " click 1");
}

// The brightness of the screen at a point, summed over its three channels.
int brightness(POINT at)
{
    HDC screen = GetDC(nullptr);
    COLORREF c = GetPixel(screen, at.x, at.y);
    ReleaseDC(nullptr, screen);
    return GetRValue(c) + GetGValue(c) + GetBValue(c);
}

class Kit : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        window = StartProgramHere("44100\r\n4294967295\r\n"
                                  "sounds\\tone.wav,20,127,127,DR_BASS1\r\n"
                                  "sounds\\tone.wav,4d,127,127,DR_RIDE\r\n"
                                  "sounds\\tone.wav,4e,127,127,DR_SPLASH\r\n",
                                  0.05);
        Pump(800);
        // The main window opens over the middle of the kit; activating a kit
        // window brings the whole kit to the front.
        SetForegroundWindow(partWindow(DR_CLASH));
        Pump(500);
    }
    static void TearDownTestSuite()
    {
        EndProgramHere();
    }
};

}  // namespace

TEST_F(Kit, FifteenWindowsAtTheirPlacesAndSizes)
{
    ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), 1920) << "the kit test wants a 1920 x 1080 screen";
    int windows = 0;
    for (int part = 0; part < kKitParts; ++part) {
        ASSERT_NE(kitParts[part], nullptr) << "every part has a button, " << part;
        const KitPart& row = kKitLayout[part];
        if (!row.hasWindow) {
            EXPECT_EQ(partWindow(part), nullptr) << "part " << part << " has no window";
            continue;
        }
        ++windows;
        HWND w = partWindow(part);
        ASSERT_NE(w, nullptr) << "part " << part;
        ScreenPoint at = kitScreenPosition(row.designX, row.designY, 1920, 1080);
        RECT r = rectOf(part);
        int side = part == DR_BASS1 ? 180 : part == DR_COWBELL ? 80 : 168;
        EXPECT_EQ(r.left, at.x) << drumPartNames[part];
        EXPECT_EQ(r.top, at.y) << drumPartNames[part];
        EXPECT_EQ(r.right - r.left, side) << drumPartNames[part];
        EXPECT_EQ(r.bottom - r.top, side) << drumPartNames[part];
        char name[32] = "";
        GetClassNameA(w, name, sizeof name);
        EXPECT_STREQ(name, "LayeredWindow");
        LONG ex = GetWindowLongA(w, GWL_EXSTYLE);
        EXPECT_TRUE(ex & WS_EX_LAYERED) << drumPartNames[part];
        EXPECT_EQ((ex & WS_EX_TOOLWINDOW) != 0, part != DR_CLASH)
            << "only DR_CLASH has a taskbar button: " << drumPartNames[part];
    }
    EXPECT_EQ(windows, 15);
    EXPECT_EQ(rectOf(DR_BASS1).left, 844);
    EXPECT_EQ(rectOf(DR_BASS1).top, 468);

    // The whole kit, for a person to look at.
    RECT all = {1920, 1080, 0, 0};
    for (int part : kKitCreationOrder) {
        RECT r = rectOf(part);
        UnionRect(&all, &all, &r);
    }
    EXPECT_TRUE(SaveScreenshot(all, "kit.bmp")) << "no screenshot of the kit";
}

TEST_F(Kit, AKeyLightsItsPartAndItsReleaseRestoresIt)
{
    RECT rest = rectOf(DR_RIDE);
    // On the ride's cymbal, off its bell (the bell part lies over it) and
    // clear of the cymbals beside it.
    POINT at = {(rest.left + rest.right) / 2 - 45, (rest.top + rest.bottom) / 2 - 10};
    int before = brightness(at);
    SendMessageA(window, WM_KEYDOWN, 0x4D, 0);
    Pump(100);
    EXPECT_EQ(rectOf(DR_RIDE).top, rest.top + 2) << "a lit part sits 2 pixels lower";
    EXPECT_GT(brightness(at), before + 60) << "and shows brighter";
    SendMessageA(window, WM_KEYUP, 0x4D, 0);
    Pump(100);
    EXPECT_EQ(rectOf(DR_RIDE).top, rest.top) << "the release puts it back";
    EXPECT_LT(brightness(at), before + 30) << "and its normal look";
    SendMessageA(window, WM_KEYUP, 0x4D, 0);
    Pump(100);
    EXPECT_EQ(rectOf(DR_RIDE).top, rest.top) << "a key-up with no key-down moves nothing";

    // Entries 56 to 59 never sound or light, but their key-up releases their part.
    int32_t count = slotCount;
    soundSlots[56] = soundSlots[findKeyUpSlot(soundSlots, slotCount, 0x4D)];
    soundSlots[56].keyCode = 0x4A;
    slotCount = 57;
    SendMessageA(window, WM_KEYDOWN, 0x4A, 0);
    EXPECT_EQ(rectOf(DR_RIDE).top, rest.top) << "a key of entry 56 lights nothing";
    SendMessageA(window, WM_KEYDOWN, 0x4D, 0);
    SendMessageA(window, WM_KEYUP, 0x4A, 0);
    EXPECT_EQ(rectOf(DR_RIDE).top, rest.top) << "its key-up releases the lit part";
    SendMessageA(window, WM_KEYUP, 0x4D, 0);
    soundSlots[56] = SoundSlot{};
    slotCount = count;

    rest = rectOf(DR_BASS1);

    kitParts[DR_BASS1]->Light();
    kitParts[DR_BASS1]->Light();
    EXPECT_EQ(rectOf(DR_BASS1).top, rest.top + 4) << "two lights, 4 pixels";
    kitParts[DR_BASS1]->Release();
    kitParts[DR_BASS1]->Release();
    EXPECT_EQ(rectOf(DR_BASS1).top, rest.top) << "two releases bring it back";
    kitParts[DR_SNARE2]->Light();  // a part without a window: nothing to light
    kitParts[DR_SNARE2]->Release();
}

TEST_F(Kit, ThePointerOnAPartShowsItsHoverLookUntilItLeaves)
{
    POINT at = visiblePoint(DR_SPLASH);
    ASSERT_EQ(WindowFromPoint(at), partWindow(DR_SPLASH)) << "the splash cymbal is on top there";
    // The bottom right corner of the screen lies clear of the kit. Wine
    // notices the pointer leaving on a timer of 400 ms.
    ASSERT_TRUE(Xdotool("mousemove 1915 1075"));
    Pump(700);
    int normal = brightness(at);

    ASSERT_TRUE(Xdotool("mousemove " + std::to_string(at.x) + " " + std::to_string(at.y)));
    Pump(300);
    EXPECT_GT(brightness(at), normal + 60) << "the pointer on the cymbal lights it blue-green";

    // A key shows another look; the next move of the pointer brings the
    // hover look back.
    SendMessageA(window, WM_KEYDOWN, 0x4E, 0);
    Pump(100);
    SendMessageA(window, WM_KEYUP, 0x4E, 0);
    ASSERT_TRUE(Xdotool("mousemove " + std::to_string(at.x + 1) + " " + std::to_string(at.y)));
    Pump(300);
    EXPECT_GT(brightness(at), normal + 60) << "hovered again after the key";

    ASSERT_TRUE(Xdotool("mousemove 1915 1075"));
    Pump(700);
    EXPECT_LT(brightness(at), normal + 30) << "the pointer gone, the normal look is back";
}

TEST_F(Kit, ALeftClickPlaysThePartsFirstSlot)
{
    waitIdle();
    // Wine hands a click to the top window under the pointer whatever its
    // alpha there: the splash cymbal, on top once the kit is raised, is
    // clicked where no other window lies.
    ASSERT_TRUE(click(visiblePoint(DR_SPLASH)));
    for (DWORD start = GetTickCount(); !busyChannels() && GetTickCount() - start < 3000;)
        Pump(10);
    ASSERT_EQ(busyChannels(), 1) << "a click on the splash cymbal plays its slot";
    EXPECT_EQ(audioEngine->channel(0).voicePart, DR_SPLASH);
    waitIdle();
    Pump(300);

    ASSERT_TRUE(click(visiblePoint(DR_COWBELL)));
    Pump(500);
    EXPECT_EQ(busyChannels(), 0) << "a part without a slot plays nothing";
}

TEST_F(Kit, MenuCommandsShowSlotsAndMinimiseTheKit)
{
    SendMessageA(partWindow(DR_RIDE), WM_COMMAND, IDM_SHOW_PART, 0);
    EXPECT_EQ(rowFilter, DR_RIDE) << "表示 narrows the slot list to the ride";
    SendMessageA(partWindow(DR_RIDE), WM_COMMAND, IDM_SHOW_ALL, 0);
    EXPECT_EQ(rowFilter, -1) << "すべて表示 shows all rows";

    // Slow here (seconds a window): without a window manager Wine waits for
    // each state change to be acknowledged before it gives up.
    SendMessageA(partWindow(DR_RIDE), WM_COMMAND, IDM_MINIMISE, 0);
    Pump(300);
    EXPECT_TRUE(IsIconic(partWindow(DR_CLASH))) << "最小化 minimises DR_CLASH";
    int shown = 0;
    for (int part : kKitCreationOrder)
        shown += part != DR_CLASH && IsWindowVisible(partWindow(part)) ? 1 : 0;
    EXPECT_EQ(shown, 0) << "and hides the other fourteen";

    ShowWindow(partWindow(DR_CLASH), SW_RESTORE);
    SetForegroundWindow(partWindow(DR_CLASH));
    Pump(500);
    shown = 0;
    for (int part : kKitCreationOrder)
        shown += IsWindowVisible(partWindow(part)) ? 1 : 0;
    EXPECT_EQ(shown, 15) << "activating it brings the whole kit back";
}

TEST_F(Kit, KeysReachTheMainWindowOnceFromAKitWindow)
{
    waitIdle();
    {
        MessageCount keys(window, WM_KEYDOWN);
        SendMessageA(partWindow(DR_SNARE1), WM_KEYDOWN, 0x20, 0);
        EXPECT_EQ(keys.count(), 1) << "the key went on to the main window once";
    }
    EXPECT_EQ(lastKeyDown, 0x20);
    EXPECT_EQ(busyChannels(), 1);
    SendMessageA(partWindow(DR_SNARE1), WM_KEYUP, 0x20, 0);
    EXPECT_EQ(lastKeyDown, 0);
}

namespace {

// A kit window that notes which messages reach its own handling.
class NotingWindow : public CLAYEREDWINDOW {
public:
    std::vector<UINT> seen;

protected:
    int32_t OnMessage(HWND, UINT message, WPARAM, LPARAM) override
    {
        seen.push_back(message);
        return 1;
    }
};

HBITMAP solidBitmap(int side, BYTE value)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = side;
    info.bmiHeader.biHeight = side;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    memset(bits, value, side * side * 3);
    return bitmap;
}

}  // namespace

TEST_F(Kit, WindowPosChangingNeverReachesOnMessage)
{
    // Kit windows live as long as the process, as in the program.
    auto* noting = new NotingWindow;
    noting->Create(10, 10, solidBitmap(80, 200), solidBitmap(80, 255));
    noting->seen.clear();
    SetWindowPos(noting->GetHandle(), HWND_TOP, 20, 20, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    bool changing = false, changed = false;
    for (UINT m : noting->seen) {
        changing |= m == WM_WINDOWPOSCHANGING;
        changed |= m == WM_WINDOWPOSCHANGED;
    }
    EXPECT_FALSE(changing) << "WM_WINDOWPOSCHANGING is answered before OnMessage";
    EXPECT_TRUE(changed) << "while the move itself reaches it";
    ShowWindow(noting->GetHandle(), SW_HIDE);
}

TEST_F(Kit, AHitTestUnderThePointerIsAnsweredWithoutNesting)
{
    auto* noting = new NotingWindow;
    noting->Create(1700, 900, solidBitmap(80, 200), solidBitmap(80, 255));
    ASSERT_TRUE(Xdotool("mousemove 1740 940"));
    Pump(300);
    noting->seen.clear();
    SendMessageA(noting->GetHandle(), WM_NCHITTEST, 0, MAKELPARAM(1740, 940));
    int hitTests = 0;
    for (UINT m : noting->seen)
        hitTests += m == WM_NCHITTEST ? 1 : 0;
    // Wine's TrackMouseEvent asks the window under the pointer once more.
    EXPECT_GE(hitTests, 1) << "the hit test reaches the window";
    EXPECT_LE(hitTests, 2) << "tracking the pointer from a hit test does not nest hit tests";
    ASSERT_TRUE(Xdotool("mousemove 1915 1075"));
    ShowWindow(noting->GetHandle(), SW_HIDE);
}
