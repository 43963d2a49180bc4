// The open and save dialogs, answered from a second thread as a user would:
// a file name typed into the dialog's name field, then OK or Cancel.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "support/box_watch.h"
#include "support/test_folder.h"
#include "util/file_dialogs.h"

namespace {

constexpr int kNameField = 0x47C;    // cmb13
constexpr int kTypeList = 0x470;     // cmb1, the file types of the filter
constexpr int kReadOnlyBox = 0x410;  // chx1

// What the second thread saw while the dialog was open.
struct SeenDialog {
    bool found = false;
    std::string caption;
    HWND owner = nullptr;
    bool windowEnabled = true;  // the caller's window
    bool readOnlyShown = false;
    std::vector<std::string> types;
    std::string question;  // the text of a box the dialog raised after OK
};

// A visible dialog of the thread with that owner, waited for.
HWND waitDialog(DWORD thread, HWND owner, DWORD timeoutMs)
{
    std::pair<HWND, HWND> find{owner, nullptr};
    for (DWORD start = GetTickCount(); !find.second && GetTickCount() - start < timeoutMs; Sleep(20))
        EnumThreadWindows(
            thread,
            [](HWND w, LPARAM p) CALLBACK -> BOOL {
                auto* f = reinterpret_cast<std::pair<HWND, HWND>*>(p);
                char cls[16] = "";
                GetClassNameA(w, cls, sizeof cls);
                if (std::string(cls) == "#32770" && IsWindowVisible(w)
                    && GetWindow(w, GW_OWNER) == f->first)
                    f->second = w;
                return f->second == nullptr;
            },
            reinterpret_cast<LPARAM>(&find));
    return find.second;
}

class FileDialogs : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = CreateWindowA("STATIC", "ポコポン", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                               nullptr, nullptr, nullptr);
        ASSERT_NE(window, nullptr);
        // The current folder is not the program's, so that the dialog's own start shows.
        GetCurrentDirectoryA(sizeof savedDirectory, savedDirectory);
        FreshFolder(ExeFolder() + "elsewhere");
        SetCurrentDirectoryA((ExeFolder() + "elsewhere").c_str());
    }
    void TearDown() override
    {
        EXPECT_TRUE(IsWindowEnabled(window)) << "the window is enabled again after the dialog";
        DestroyWindow(window);
        SetCurrentDirectoryA(savedDirectory);
        RemoveTree(ExeFolder() + "elsewhere");
        for (const char* name : {"pick.pkp", "take.pkp", "old.pkp"})
            DeleteFileA((ExeFolder() + name).c_str());
    }

    // Runs call, which shows a dialog on this thread. A second thread notes
    // what the dialog shows; with a name it enters it and presses OK,
    // answering Yes to a question the dialog then asks. Whatever is still open
    // after that is cancelled.
    template <class Call>
    auto answer(const char* name, const char* caption, Call call)
    {
        DWORD thread = GetCurrentThreadId();
        std::thread hand([=, this] {
            HWND dialog = waitDialog(thread, nullptr, 20000);
            if (!dialog)
                return;
            Sleep(300);  // let it fill its lists
            char text[512] = "";
            GetWindowTextA(dialog, text, sizeof text);
            seen = {true, text, GetWindow(dialog, GW_OWNER), IsWindowEnabled(window) != FALSE,
                    IsWindowVisible(GetDlgItem(dialog, kReadOnlyBox)) != FALSE, {}, ""};
            HWND types = GetDlgItem(dialog, kTypeList);
            for (int i = 0, n = (int)SendMessageA(types, CB_GETCOUNT, 0, 0); i < n; ++i) {
                SendMessageA(types, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
                seen.types.push_back(text);
            }
            if (name) {
                SetDlgItemTextA(dialog, kNameField, name);
                PostMessageA(dialog, WM_COMMAND, IDOK, 0);
                if (HWND box = waitDialog(thread, dialog, 1500)) {
                    Sleep(100);
                    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
                    seen.question = text;
                    PostMessageA(box, WM_COMMAND, IDYES, 0);
                }
                for (DWORD start = GetTickCount(); IsWindow(dialog) && GetTickCount() - start < 1500;)
                    Sleep(20);
            }
            if (IsWindow(dialog))
                PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        });
        auto h = call();
        hand.join();
        EXPECT_TRUE(seen.found) << "no file dialog appeared";
        EXPECT_EQ(seen.caption, caption) << "the platform's own title, got " << utf8(seen.caption);
        EXPECT_EQ(seen.owner, nullptr) << "the dialog has no owner";
        EXPECT_FALSE(seen.windowEnabled) << "the window is disabled while the dialog is open";
        EXPECT_FALSE(seen.readOnlyShown) << "the read-only box is hidden";
        return h;
    }
    HANDLE open(const char* name)
    {
        return answer(name, "開く",
                      [&] { return OpenFileDialogCopyPath(window, kPerformanceOpenFilter, path); });
    }
    bool save(const char* name)
    {
        return answer(name, "名前を付けて保存",
                      [&] { return SaveFileDialog(window, kPerformanceSaveFilter, "pkp", path); });
    }

    HWND window = nullptr;
    char savedDirectory[MAX_PATH] = "";
    char path[kDialogPathSize] = "";
    SeenDialog seen;
};

}  // namespace

TEST_F(FileDialogs, CancelledOpenDialogOpensNothing)
{
    EXPECT_EQ(open(nullptr), nullptr) << "a cancelled dialog gives no file";
    EXPECT_EQ(seen.types, (std::vector<std::string>{"ポコポン用ファイル(*.pkp)", "all file(*.*)"}))
        << "the filter's two file types";
}

TEST_F(FileDialogs, OpenDialogStartsInTheProgramFolderAndOpensTheChoice)
{
    WriteFileBytes(ExeFolder() + "pick.pkp", "program folder");
    HANDLE h = open("pick.pkp");
    ASSERT_NE(h, nullptr) << "the chosen file is opened";
    EXPECT_EQ(std::string(path), ExeFolder() + "pick.pkp") << "the path is copied for the caller";
    char buffer[32] = "";
    DWORD got = 0;
    EXPECT_TRUE(ReadFile(h, buffer, sizeof buffer, &got, nullptr)) << "opened for reading";
    EXPECT_EQ(std::string(buffer, got), "program folder");
    CloseHandle(h);
}

TEST_F(FileDialogs, OpenDialogRefusesAMissingFile)
{
    EXPECT_EQ(open("pick.pkp"), nullptr) << "nothing is opened";
    EXPECT_NE(seen.question, "") << "the dialog says the file does not exist";
}

TEST_F(FileDialogs, CancelledSaveDialogCreatesNothing)
{
    EXPECT_FALSE(save(nullptr));
    EXPECT_EQ(seen.types, (std::vector<std::string>{"ポコポン用ファイル(*.pkp)"}));
}

TEST_F(FileDialogs, SaveDialogGivesThePathWithTheDefaultExtension)
{
    ASSERT_TRUE(save("take"));
    EXPECT_EQ(seen.question, "") << "a new file needs no question: " << utf8(seen.question);
    EXPECT_EQ(std::string(path), ExeFolder() + "take.pkp") << "in the program folder, with .pkp";
}

TEST_F(FileDialogs, SaveDialogAsksBeforeAnExistingFileIsReplaced)
{
    WriteFileBytes(ExeFolder() + "old.pkp", "old contents");
    EXPECT_TRUE(save("old.pkp")) << "with Yes the path is given";
    EXPECT_NE(seen.question, "") << "the dialog asks before it overwrites";
    EXPECT_EQ(ReadFileBytes(ExeFolder() + "old.pkp"), "old contents")
        << "the old file stays until the caller has written the new one";
}
