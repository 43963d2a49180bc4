// The program's message boxes, answered by a BoxWatch as a user would.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "support/box_watch.h"
#include "util/message_boxes.h"

namespace {

class MessageBoxes : public ::testing::Test {
protected:
    void SetUp() override
    {
        quitRequested();  // a quit request left over would end the boxes at once
        window = CreateWindowA("STATIC", "ポコポン", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                               nullptr, nullptr, nullptr);
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override { DestroyWindow(window); }

    static bool quitRequested()
    {
        MSG msg;
        return PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
    }

    // One ownerless box was shown, with that text, caption and style.
    static void expectOnly(BoxWatch& boxes, const char* text, const std::string& caption, UINT style)
    {
        ASSERT_TRUE(boxes.waitFor(1)) << "no box was seen";
        std::vector<SeenBox> seen = boxes.seen();
        ASSERT_EQ(seen.size(), 1u) << "one box was expected";
        EXPECT_EQ(seen[0].text, text) << "box says " << utf8(seen[0].text) << ", expected " << utf8(text);
        EXPECT_EQ(seen[0].caption, caption) << "caption " << utf8(seen[0].caption);
        EXPECT_TRUE(seen[0].styleKnown) << "the box was not shown through MessageBoxA";
        EXPECT_EQ(seen[0].style, style) << std::hex << "style " << seen[0].style << ", expected " << style;
        EXPECT_EQ(seen[0].owner, nullptr) << "the box has no owner";
    }

    HWND window = nullptr;
};

}  // namespace

TEST_F(MessageBoxes, DeviceErrorTellsTheNumberAndRequestsTheQuit)
{
    BoxWatch boxes;
    ShowDeviceError(-12);
    expectOnly(boxes,
               "デバイスのオープンに失敗しました\nアプリケーションを再起動してください\nエラーNo.-12",
               "エラー", MB_TOPMOST);
    EXPECT_TRUE(quitRequested()) << "the box is followed by a quit request";
}

TEST_F(MessageBoxes, ShowErrorIsAWarningAndGivesTheAnswer)
{
    BoxWatch boxes;
    EXPECT_EQ(ShowError("設定ファイルが読み込めません"), IDOK) << "the box's answer is returned";
    expectOnly(boxes, "設定ファイルが読み込めません", "エラー", MB_TOPMOST | MB_ICONWARNING);
    EXPECT_FALSE(quitRequested()) << "a warning alone requests no quit";
}

TEST_F(MessageBoxes, ShowInfoIsCaptionedWithTheWindowTitle)
{
    {
        BoxWatch boxes;
        EXPECT_EQ(ShowInfo(window, "保存しました"), IDOK);
        expectOnly(boxes, "保存しました", "ポコポン", MB_TOPMOST | MB_ICONINFORMATION);
    }
    SetWindowTextA(window, std::string(300, 't').c_str());  // of which 255 bytes are read
    BoxWatch boxes;
    ShowInfo(window, "info");
    expectOnly(boxes, "info", std::string(255, 't'), MB_TOPMOST | MB_ICONINFORMATION);
}

TEST_F(MessageBoxes, AskYesNoCancelGivesTheButtonPressed)
{
    for (int answer : {IDYES, IDNO, IDCANCEL}) {
        BoxWatch boxes({answer});
        EXPECT_EQ(AskYesNoCancel(window, "確認", "上書きしますか?"), answer);
        expectOnly(boxes, "上書きしますか?", "確認", MB_TOPMOST | MB_ICONQUESTION | MB_YESNOCANCEL);
    }
}
