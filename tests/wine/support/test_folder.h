// Folders and files for the tests that run under Wine.
#pragma once

#include <string>

// The folder of the running test program, ending with a backslash.
std::string ExeFolder();
// Deletes a folder with everything in it; fine when it does not exist.
void RemoveTree(const std::string& path);
// An empty folder at path (removed first when it exists).
void FreshFolder(const std::string& path);
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);
// A Linux path as the Windows side sees it (drive Z:).
std::string FromUnixPath(const std::string& unixPath);
// A path on drive Z: as the Unix side sees it.
std::string ToUnixPath(const std::string& windowsPath);
