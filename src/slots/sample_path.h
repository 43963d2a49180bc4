// Which sample files the program opens: files on this machine only, of a
// size it reads whole.
#pragma once

constexpr long long kMaxSampleFileBytes = 4000000;

// False for a network path (\\host\share\x.wav, and the \\?\ and \\.\ forms),
// which Windows opens by connecting to that host with the user's credentials
// and may stall on, and for a device name such as NUL, CON or COM1, which
// Windows opens as the device whatever folder or extension is written with it.
bool isLocalFilePath(const char* path);
