// Owners for the platform's paired calls, so that no path out of a block
// forgets the second half.
#pragma once

#include <windows.h>

// Holds a critical section for the life of the guard.
class LockGuard {
public:
    explicit LockGuard(CRITICAL_SECTION* lock) : lock_(lock) { EnterCriticalSection(lock_); }
    ~LockGuard() { LeaveCriticalSection(lock_); }
    LockGuard(const LockGuard&) = delete;
    LockGuard& operator=(const LockGuard&) = delete;

private:
    CRITICAL_SECTION* lock_;
};

// A handle closed at the end of the block; null when nothing was opened.
class OwnedHandle {
public:
    explicit OwnedHandle(HANDLE handle) : handle_(handle) {}
    ~OwnedHandle()
    {
        if (handle_)
            CloseHandle(handle_);
    }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_;
};

// A memory DC compatible with another, with one object selected into it:
// the object is selected out again and the DC deleted at the end.
class SelectedDC {
public:
    SelectedDC(HDC compatible, HGDIOBJ object)
        : dc_(CreateCompatibleDC(compatible)), old_(SelectObject(dc_, object))
    {
    }
    ~SelectedDC()
    {
        SelectObject(dc_, old_);
        DeleteDC(dc_);
    }
    SelectedDC(const SelectedDC&) = delete;
    SelectedDC& operator=(const SelectedDC&) = delete;
    HDC get() const { return dc_; }

private:
    HDC dc_;
    HGDIOBJ old_;
};
