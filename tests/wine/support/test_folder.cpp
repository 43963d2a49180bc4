#include "support/test_folder.h"

#include <windows.h>

#include <fstream>
#include <sstream>

std::string ExeFolder()
{
    char path[1024];
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string s(path, n);
    return s.substr(0, s.find_last_of('\\') + 1);
}

void RemoveTree(const std::string& path)
{
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((path + "\\*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string child = path + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(child);
            else {
                SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(child.c_str());
            }
        } while (FindNextFileA(find, &found));
        FindClose(find);
    }
    RemoveDirectoryA(path.c_str());
}

void FreshFolder(const std::string& path)
{
    RemoveTree(path);
    CreateDirectoryA(path.c_str(), nullptr);
}

std::string ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteFileBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string FromUnixPath(const std::string& unixPath)
{
    std::string s = "Z:" + unixPath;
    for (char& c : s)
        if (c == '/')
            c = '\\';
    return s;
}

std::string ToUnixPath(const std::string& windowsPath)
{
    std::string s = windowsPath.substr(2);
    for (char& c : s)
        if (c == '\\')
            c = '/';
    return s;
}
