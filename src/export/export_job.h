// Writing a rendered performance to its two files, on a thread of its own
// so that the window showing its progress stays answering.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>

#include "export/performance_render.h"

class ExportJob {
public:
    // midi holds the whole MIDI file; the sound is rendered as it is written.
    ExportJob(PerformanceRender& render, uint32_t rate, std::string midi, const char* wavPath, const char* midPath);
    ~ExportJob();
    ExportJob(const ExportJob&) = delete;
    ExportJob& operator=(const ExportJob&) = delete;

    bool start();
    // True once the job has ended, waiting at most ms for it.
    bool wait(DWORD ms);
    // Asks the job to stop; it then removes what it wrote.
    void cancel() { cancelled_ = true; }
    // Frames rendered so far, out of render.frames().
    uint64_t done() const { return done_; }
    // Once ended: ERROR_SUCCESS, ERROR_CANCELLED, or why a file could not be
    // written; failedPath names that file.
    DWORD result() const { return result_; }
    const char* failedPath() const { return failedPath_; }

private:
    static DWORD WINAPI runThread(void* self);
    DWORD run();

    PerformanceRender& render_;
    uint32_t rate_;
    std::string midi_;
    const char* wavPath_;
    const char* midPath_;
    const char* failedPath_ = "";
    HANDLE thread_ = nullptr;
    std::atomic<bool> cancelled_{false};
    std::atomic<uint64_t> done_{0};
    DWORD result_ = ERROR_SUCCESS;
};
