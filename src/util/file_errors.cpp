#include "util/file_errors.h"

#include <cstdio>

std::string FileErrorReason(DWORD error)
{
    switch (error) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return "他のプログラムが使用中です。そのプログラムを閉じてください。";
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
        return "アクセスが拒否されました(読み取り専用か、保護されたフォルダーです)。";
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return "ディスクの空き容量が足りません。";
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_DIRECTORY:  // a folder that is not there, to make a file in
        return "ファイルかフォルダーが見つかりません。";
    }
    char text[64];
    std::snprintf(text, sizeof text, "エラーNo.%lu", static_cast<unsigned long>(error));
    return text;
}
