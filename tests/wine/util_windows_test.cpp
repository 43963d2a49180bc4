// The small window, font, screen and debugger-output routines on real objects.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "util/debug_trace.h"
#include "util/font.h"
#include "util/screen_centre.h"
#include "util/window_text.h"

namespace {

// The WM_COMMAND messages the test window was sent, answered with 0x5000 + wParam.
struct Command {
    WPARAM wParam;
    LPARAM lParam;
};
std::vector<Command> commands;

LRESULT CALLBACK recordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_COMMAND)
        return DefWindowProcA(window, message, wParam, lParam);
    commands.push_back({wParam, lParam});
    return 0x5000 + static_cast<LRESULT>(wParam);
}

// A hidden top-level window of the recording class.
class Window : public ::testing::Test {
protected:
    void SetUp() override
    {
        WNDCLASSA wc{};
        wc.lpfnWndProc = recordingProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "UtilWindowTest";
        RegisterClassA(&wc);
        window = CreateWindowA("UtilWindowTest", "", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                               nullptr, wc.hInstance, nullptr);
        ASSERT_NE(window, nullptr);
        commands.clear();
    }
    void TearDown() override { DestroyWindow(window); }

    std::string appended(const std::string& title, const char* text)
    {
        SetWindowTextA(window, title.c_str());
        AppendWindowText(window, text);
        char buffer[1024] = "";
        GetWindowTextA(window, buffer, sizeof buffer);
        return buffer;
    }

    HWND window = nullptr;
};

}  // namespace

TEST_F(Window, SendCommandSendsWmCommandWithTheIdAlone)
{
    EXPECT_EQ(SendCommand(window, 0x9C41), 0x5000 + 0x9C41) << "the window's answer is returned";
    ASSERT_EQ(commands.size(), 1u) << "one command, sent at once rather than posted";
    EXPECT_EQ(commands[0].wParam, 0x9C41u) << "wParam is the id, notification code 0";
    EXPECT_EQ(commands[0].lParam, 0) << "no control is named";
}

TEST_F(Window, AppendWindowTextAddsToTheTitle)
{
    EXPECT_EQ(appended("ポコポン", " - 演奏.pkp"), "ポコポン - 演奏.pkp");
    EXPECT_EQ(appended("", "a.pkp"), "a.pkp");
    EXPECT_EQ(appended("title", ""), "title");
}

TEST_F(Window, AppendWindowTextCutsTheTitleAt255Bytes)
{
    const std::string head(250, 'h');
    EXPECT_EQ(appended(head, "0123456789"), head + "01234") << "filled up to 255 bytes";
    EXPECT_EQ(appended(std::string(255, 'h'), "x"), std::string(255, 'h')) << "a full title stays";
    EXPECT_EQ(appended(std::string(300, 'h'), "x"), std::string(255, 'h'))
        << "only the first 255 bytes of a longer title are read";
}

TEST(Font, MakeFontAsksForAFixedPitchShiftJisFont)
{
    HFONT font = MakeFont("ＭＳ ゴシック", -13, 900, FW_BOLD);
    ASSERT_NE(font, nullptr);
    LOGFONTA lf{};
    ASSERT_EQ(GetObjectA(font, sizeof lf, &lf), static_cast<int>(sizeof lf));
    EXPECT_EQ(lf.lfHeight, -13);
    EXPECT_EQ(lf.lfWidth, 0) << "the width is left to the font";
    EXPECT_EQ(lf.lfEscapement, 900);
    EXPECT_EQ(lf.lfOrientation, 0);
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_FALSE(lf.lfItalic || lf.lfUnderline || lf.lfStrikeOut) << "a plain font";
    EXPECT_EQ(lf.lfCharSet, SHIFTJIS_CHARSET);
    EXPECT_EQ(lf.lfOutPrecision, OUT_DEFAULT_PRECIS);
    EXPECT_EQ(lf.lfClipPrecision, CLIP_DEFAULT_PRECIS);
    EXPECT_EQ(lf.lfQuality, PROOF_QUALITY);
    EXPECT_EQ(lf.lfPitchAndFamily, FF_MODERN | FIXED_PITCH);
    EXPECT_STREQ(lf.lfFaceName, "ＭＳ ゴシック");
    DeleteObject(font);
}

TEST(ScreenCentre, CentresOnTheRealScreen)
{
    const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    ASSERT_NE(cx, cy) << "a square screen could not tell width from height";
    EXPECT_EQ(CentreX(660), (cx - 660) / 2) << "screen width " << cx;
    EXPECT_EQ(CentreY(540), (cy - 540) / 2) << "screen height " << cy;
    EXPECT_EQ(CentreX(cy), (cx - cy) / 2) << "X goes by the width";
    EXPECT_EQ(CentreX(cx + 1), 0) << "a window wider than the screen starts at its edge";
    EXPECT_EQ(CentreY(cy + 5), 0);
    EXPECT_EQ(CentreY(cx), 0) << "Y goes by the height";
}

namespace {

// Debugger output reaches a vectored handler first, as the exception that a
// debugger would be shown.
std::string debugOutput;

LONG CALLBACK catchDebugOutput(EXCEPTION_POINTERS* info)
{
    const EXCEPTION_RECORD* r = info->ExceptionRecord;
    if (r->ExceptionCode == DBG_PRINTEXCEPTION_C && r->NumberParameters >= 2)
        debugOutput.append(reinterpret_cast<const char*>(r->ExceptionInformation[1]),
                           r->ExceptionInformation[0] - 1);
    return EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace

TEST(DebugTrace, DebugLineWritesTheTextAndALineFeed)
{
    void* handler = AddVectoredExceptionHandler(1, catchDebugOutput);
    DebugLine("slot 3: no sample");
    RemoveVectoredExceptionHandler(handler);
    EXPECT_EQ(debugOutput, "slot 3: no sample\n");
}
