// The loading splash on the real screen: the picture, the rounded frame in
// the middle of the screen, the progress line and the half-second hold.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "res/resource_ids.h"
#include "support/screenshot.h"
#include "support/test_folder.h"
#include "support/window_find.h"
#include "ui/loading_splash.h"
#include "util/resource_bitmap.h"
#include "util/screen_centre.h"

namespace {

// The splash's two static controls: the picture and the progress line.
HWND child(HWND dialog, bool picture)
{
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (((GetWindowLongA(c, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP) == picture)
            return c;
    return nullptr;
}

// The progress line's text once the splash thread has shown what it was
// given, or what it shows after two seconds.
std::string shownText(HWND textLine, const std::string& expected)
{
    char text[300] = "";
    for (DWORD start = GetTickCount(); GetTickCount() - start < 2000; Sleep(5)) {
        GetWindowTextA(textLine, text, sizeof text);
        if (expected == text)
            break;
    }
    return text;
}

}  // namespace

TEST(LoadingSplash, ShowsThePictureRoundedInTheMiddleThenHoldsAndGoes)
{
    HBITMAP picture = LoadResourceBitmap(IDB_LOADING_SPLASH);
    ASSERT_NE(picture, nullptr) << "bitmap 224 is missing";
    BITMAP info = {};
    GetObjectA(picture, sizeof info, &info);
    EXPECT_EQ(info.bmWidth, 300);
    EXPECT_EQ(info.bmHeight, 200);

    LoadingSplash splash(picture);
    HWND dialog = FindProcessWindow(GetCurrentProcessId(), "#32770");
    ASSERT_NE(dialog, nullptr) << "the splash was not on the screen when its constructor returned";
    RECT r;
    GetWindowRect(dialog, &r);
    EXPECT_EQ(r.left, CentreX(300));
    EXPECT_EQ(r.top, CentreY(200));
    EXPECT_EQ(r.right - r.left, 300);
    EXPECT_EQ(r.bottom - r.top, 200);
    EXPECT_EQ(GetWindowLongA(dialog, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME), 0)
        << "the splash has no frame";

    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(dialog, region), ERROR) << "the splash has no window region";
    EXPECT_FALSE(PtInRegion(region, 1, 1)) << "the top-left corner is rounded off";
    EXPECT_FALSE(PtInRegion(region, 298, 198)) << "the bottom-right corner is rounded off";
    EXPECT_TRUE(PtInRegion(region, 10, 1)) << "the top edge is kept past the corner";
    EXPECT_TRUE(PtInRegion(region, 150, 100));
    DeleteObject(region);

    HWND pictureBox = child(dialog, true);
    ASSERT_NE(pictureBox, nullptr) << "no picture control";
    EXPECT_EQ(reinterpret_cast<HBITMAP>(SendMessageA(pictureBox, STM_GETIMAGE, IMAGE_BITMAP, 0)),
              picture);
    HWND textLine = child(dialog, false);
    ASSERT_NE(textLine, nullptr) << "no progress line";
    GetWindowRect(textLine, &r);
    EXPECT_EQ(r.top - CentreY(200), 180) << "the line runs along the bottom edge";

    splash.SetProgressText("WAVファイルをロード1");
    splash.SetProgressText("完了");
    EXPECT_EQ(shownText(textLine, "  完了"), "  完了") << "two spaces, then the last text";
    std::string longest(300, 'x');
    splash.SetProgressText(longest.c_str());
    EXPECT_EQ(shownText(textLine, "  " + std::string(253, 'x')), "  " + std::string(253, 'x'))
        << "a long text is cut to fit";

    splash.SetProgressText("WAVファイルをロード2");
    // Above the windows of tests running beside this one.
    SetWindowPos(dialog, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Sleep(100);
    RECT area;
    GetWindowRect(dialog, &area);
    EXPECT_TRUE(SaveScreenshot(area, "splash.bmp")) << "no screenshot of the splash";

    DWORD closing = GetTickCount();
    splash.CloseSplash();
    Sleep(300);
    EXPECT_TRUE(IsWindowVisible(dialog)) << "the splash must hold for half a second";
    while (IsWindow(dialog) && GetTickCount() - closing < 5000)
        Sleep(10);
    DWORD held = GetTickCount() - closing;
    EXPECT_FALSE(IsWindow(dialog)) << "the splash did not close";
    EXPECT_GE(held, 450u) << "closed after " << held << " ms";
    splash.SetProgressText("LayeredButton DR_RIDE Create");  // after it has gone: dropped
}
