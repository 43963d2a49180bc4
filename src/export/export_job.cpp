#include "export/export_job.h"

#include <vector>

#include "export/wav_header.h"
#include "util/file_contents.h"
#include "util/file_handles.h"

namespace {

// Frames written at a time: the whole take is never held in memory.
constexpr uint32_t kWriteFrames = 65536;

}  // namespace

ExportJob::ExportJob(PerformanceRender& render, uint32_t rate, std::string midi, const char* wavPath,
                     const char* midPath)
    : render_(render), rate_(rate), midi_(std::move(midi)), wavPath_(wavPath), midPath_(midPath)
{
}

ExportJob::~ExportJob()
{
    if (thread_) {
        cancel();
        WaitForSingleObject(thread_, INFINITE);
        CloseAndClear(&thread_);
    }
}

bool ExportJob::start()
{
    thread_ = CreateThread(nullptr, 0, runThread, this, 0, nullptr);
    if (!thread_)
        result_ = GetLastError();
    return thread_ != nullptr;
}

bool ExportJob::wait(DWORD ms)
{
    return !thread_ || WaitForSingleObject(thread_, ms) == WAIT_OBJECT_0;
}

DWORD WINAPI ExportJob::runThread(void* self)
{
    auto* job = static_cast<ExportJob*>(self);
    job->result_ = job->run();
    return 0;
}

DWORD ExportJob::run()
{
    // Both files are written whole beside their places before either takes
    // its place; a failure or a cancel leaves neither.
    ReplacementFile wav, mid;
    failedPath_ = wavPath_;
    uint8_t header[kWavHeaderBytes];
    writeWavHeader(header, rate_, render_.frames());
    DWORD error = wav.open(wavPath_);
    if (error == ERROR_SUCCESS)
        error = wav.write(header, sizeof header);
    std::vector<int16_t> block(2 * kWriteFrames);
    while (error == ERROR_SUCCESS && render_.position() < render_.frames()) {
        if (cancelled_)
            return ERROR_CANCELLED;
        uint32_t n = 0;
        while (n < kWriteFrames && render_.position() < render_.frames())
            n += render_.mix(block.data() + 2 * n, kWriteFrames - n);
        error = wav.write(block.data(), n * 4u);
        done_ = render_.position();
    }
    if (error != ERROR_SUCCESS)
        return error;
    failedPath_ = midPath_;
    if ((error = mid.open(midPath_)) != ERROR_SUCCESS || (error = mid.write(midi_.data(), midi_.size())) != ERROR_SUCCESS)
        return error;
    if (cancelled_)
        return ERROR_CANCELLED;
    failedPath_ = wavPath_;
    if ((error = wav.commit()) != ERROR_SUCCESS)
        return error;
    failedPath_ = midPath_;
    return mid.commit();
}
